#include "contacts/ContactSourceSettings.h"

#include "support/RegistryStore.h"

#include <QList>
#include <QPair>

namespace {
constexpr auto hive = RegistryStore::Hive::HKEY_CURRENT_USER;
const QString CardDavKind = QStringLiteral("CardDAV");
} // namespace

QString ContactSourceSettings::keyFor(int card) {
    return QStringLiteral("SOFTWARE\\Kurbelfon\\Contacts\\Card%1").arg(card);
}

ContactSourceSettings ContactSourceSettings::load(const RegistryStore& store, int card) {
    const QString key = keyFor(card);
    const auto read = [&](const char* name) {
        return store.RegReadString(hive, key, QString::fromLatin1(name));
    };
    ContactSourceSettings s;
    s.kind = read("Kind") == CardDavKind ? Kind::CardDav : Kind::Router;
    s.routerBookId = read("RouterBookId").toInt();
    s.routerBookName = read("RouterBookName");
    s.cardDavAddress = read("CardDavAddress");
    s.cardDavUser = read("CardDavUser");
    s.cardDavBookUrl = read("CardDavBook");
    s.cardDavBookName = read("CardDavBookName");
    s.cardDavCertificateSha256 = read("CardDavCertificateSha256");
    s.cardDavPlainHttp = read("CardDavPlainHttp") == QLatin1String("1");
    return s;
}

bool ContactSourceSettings::save(RegistryStore& store, int card) const {
    const QList<QPair<QString, QString>> values{
        {QStringLiteral("Kind"), kind == Kind::CardDav ? CardDavKind : QStringLiteral("Router")},
        {QStringLiteral("RouterBookId"), QString::number(routerBookId)},
        {QStringLiteral("RouterBookName"), routerBookName},
        {QStringLiteral("CardDavAddress"), cardDavAddress},
        {QStringLiteral("CardDavUser"), cardDavUser},
        {QStringLiteral("CardDavBook"), cardDavBookUrl},
        {QStringLiteral("CardDavBookName"), cardDavBookName},
        {QStringLiteral("CardDavCertificateSha256"), cardDavCertificateSha256},
        {QStringLiteral("CardDavPlainHttp"),
         cardDavPlainHttp ? QStringLiteral("1") : QStringLiteral("0")}};
    bool ok = true;
    for (const auto& [name, data] : values)
        ok = store.RegWriteValue(hive, keyFor(card), name, data, RegistryStore::REG_SZ) && ok;
    return ok;
}

QString ContactSourceSettings::passwordKey() const {
    return QStringLiteral("CardDAV %1 %2").arg(cardDavUser, cardDavAddress);
}
