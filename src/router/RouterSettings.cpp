#include "router/RouterSettings.h"

#include "support/RegistryStore.h"

#include <QList>
#include <QPair>

const QString RouterSettings::Key = QStringLiteral("SOFTWARE\\Kurbelfon\\Router");
const QString RouterSettings::DefaultAddress = QStringLiteral("fritz.box");

namespace {
constexpr auto hive = RegistryStore::Hive::HKEY_CURRENT_USER;

bool readFlag(const RegistryStore& store, const QString& name) {
    return store.RegReadString(hive, RouterSettings::Key, name) == QLatin1String("1");
}
} // namespace

RouterSettings RouterSettings::load(const RegistryStore& store) {
    RouterSettings s;
    s.dialThroughRouter = readFlag(store, QStringLiteral("DialThroughRouter"));
    const QString address = store.RegReadString(hive, Key, QStringLiteral("Address")).trimmed();
    if (!address.isEmpty())
        s.address = address;
    s.user = store.RegReadString(hive, Key, QStringLiteral("User"));
    s.phone = store.RegReadString(hive, Key, QStringLiteral("Phone"));
    s.plainHttp = readFlag(store, QStringLiteral("PlainHttp"));
    s.certificateSha256 = store.RegReadString(hive, Key, QStringLiteral("CertificateSha256"));
    s.passwordStored = readFlag(store, QStringLiteral("PasswordStored"));
    s.callMonitor = readFlag(store, QStringLiteral("CallMonitor"));
    bool portOk = false;
    const uint port =
        store.RegReadString(hive, Key, QStringLiteral("CallMonitorPort")).trimmed().toUInt(&portOk);
    if (portOk && port > 0 && port <= 65535)
        s.callMonitorPort = quint16(port);
    return s;
}

bool RouterSettings::save(RegistryStore& store) const {
    const auto flag = [](bool on) { return on ? QStringLiteral("1") : QStringLiteral("0"); };
    const QList<QPair<QString, QString>> values{
        {QStringLiteral("DialThroughRouter"), flag(dialThroughRouter)},
        {QStringLiteral("Address"), address},
        {QStringLiteral("User"), user},
        {QStringLiteral("Phone"), phone},
        {QStringLiteral("PlainHttp"), flag(plainHttp)},
        {QStringLiteral("CertificateSha256"), certificateSha256},
        {QStringLiteral("PasswordStored"), flag(passwordStored)},
        {QStringLiteral("CallMonitor"), flag(callMonitor)},
        {QStringLiteral("CallMonitorPort"), QString::number(callMonitorPort)}};
    bool ok = true;
    for (const auto& [name, data] : values)
        ok = store.RegWriteValue(hive, Key, name, data, RegistryStore::REG_SZ) && ok;
    return ok;
}
