#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// One telephone number of a contact as the address book wrote it.
struct VCardPhone {
    QString number;
    // "mobil", "privat", "Arbeit", "Fax", "intern" (a router's own telephones) or empty
    QString type;
};

struct VCardContact {
    QString familyName;
    QString givenName;
    QString formattedName;
    QList<VCardPhone> phones;
};

// Reads the vCards of a file or a dragged text: versions 2.1 (QUOTED-PRINTABLE, CHARSET=),
// 3.0 and 4.0, folded lines; text is UTF-8 unless a CHARSET says otherwise.
QList<VCardContact> ReadVCards(const QByteArray& bytes);
