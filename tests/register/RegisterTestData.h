#pragma once

#include "register/EntryLine.h"
#include "register/PhoneRegister.h"

#include <QFile>
#include <QTest>

// Register files as the program writes them (Windows-1252, CRLF), and small file helpers
// shared by the tests that read and write them.
namespace RegisterTestData {

inline const QByteArray Header = "[KURBELFON VERSION 4]\r\n";
inline const QByteArray Settings = "0,1,0,0,\"\",0,\"00\",\"49\",\"89\",12,\"\",\"\",0\r\n";
inline const QByteArray CardNames = "\"B\xFCro 1\",\"B\xFCro 2\",\"Privat 1\",\"Privat 2\"\r\n";
inline const QByteArray FirstStart = Header + Settings + CardNames;

inline QByteArray contentOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

inline void put(const QString& path, const QByteArray& content) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(content), content.size());
}

// "card|name|number|flag" for every entry, card by card in list order.
inline QStringList entries(const PhoneRegister& reg) {
    QStringList all;
    for (int card = 1; card <= PhoneRegister::CardCount; ++card) {
        for (const QString& line : reg.card(card)->lines())
            all << QStringLiteral("%1|%2|%3|%4")
                       .arg(card)
                       .arg(GetEntryName(line), GetEntryNumber(line))
                       .arg(GetEntryZeroFlag(line));
    }
    return all;
}

} // namespace RegisterTestData
