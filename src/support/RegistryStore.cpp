#include "support/RegistryStore.h"

#include "support/DesktopEntry.h"

#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

const QString RegistryStore::RunKeyBase =
    QStringLiteral("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\");
const QString RegistryStore::IconName = QStringLiteral("kurbelfon");

RegistryStore::RegistryStore(const QString& configHome)
    : m_configHome(configHome.isEmpty()
                       ? QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
                       : configHome) {}

QString RegistryStore::autostartPath(const QString& valueName) const {
    return m_configHome + QStringLiteral("/autostart/") + valueName + QStringLiteral(".desktop");
}

QString RegistryStore::iniPath() const {
    return m_configHome + QStringLiteral("/Kurbelfon/Registry.ini");
}

bool RegistryStore::isAutostartKey(Hive hive, const QString& key) {
    // Registry keys are case-insensitive.
    return hive == Hive::HKEY_CURRENT_USER &&
           key.compare(RunEntryKey(false), Qt::CaseInsensitive) == 0;
}

QString RegistryStore::iniKey(Hive hive, const QString& key, const QString& valueName) {
    // QSettings groups are separated by "/"; its INI file writes them back as "\".
    const QString hiveName = hive == Hive::HKEY_CURRENT_USER ? QStringLiteral("HKEY_CURRENT_USER")
                                                             : QStringLiteral("HKEY_LOCAL_MACHINE");
    return hiveName + QLatin1Char('/') + QString(key).replace(QLatin1Char('\\'), QLatin1Char('/')) +
           QLatin1Char('/') + valueName;
}

bool RegistryStore::RegValueExists(Hive hive, const QString& key, const QString& valueName) const {
    if (isAutostartKey(hive, key))
        return QFileInfo::exists(autostartPath(valueName));
    return QSettings(iniPath(), QSettings::IniFormat).contains(iniKey(hive, key, valueName));
}

QString RegistryStore::RegReadString(Hive hive, const QString& key,
                                     const QString& valueName) const {
    if (isAutostartKey(hive, key)) {
        const QString exec =
            DesktopEntry::readValue(autostartPath(valueName), QStringLiteral("Exec"));
        return DesktopEntry::execArguments(exec).join(QLatin1Char(' '));
    }
    return QSettings(iniPath(), QSettings::IniFormat)
        .value(iniKey(hive, key, valueName))
        .toString();
}

bool RegistryStore::RegWriteValue(Hive hive, const QString& key, const QString& valueName,
                                  const QString& data, int /*type: every value here is text*/) {
    if (isAutostartKey(hive, key)) {
        // The data is a command line whose program path may hold blanks; the Exec line quotes it
        // so that the entry starts the program.
        const DesktopEntry::Fields fields{
            {QStringLiteral("Type"), QStringLiteral("Application")},
            {QStringLiteral("Name"), valueName},
            {QStringLiteral("Exec"), DesktopEntry::execLine(DesktopEntry::splitCommandLine(data))},
            {QStringLiteral("Icon"), IconName},
            {QStringLiteral("Terminal"), QStringLiteral("false")},
            {QStringLiteral("X-GNOME-Autostart-enabled"), QStringLiteral("true")}};
        return DesktopEntry::write(autostartPath(valueName), fields);
    }
    QSettings settings(iniPath(), QSettings::IniFormat);
    settings.setValue(iniKey(hive, key, valueName), data);
    settings.sync();
    return settings.status() == QSettings::NoError;
}

bool RegistryStore::RegRemoveValue(Hive hive, const QString& key, const QString& valueName) {
    if (isAutostartKey(hive, key)) {
        const QString path = autostartPath(valueName);
        return !QFileInfo::exists(path) || QFile::remove(path);
    }
    QSettings settings(iniPath(), QSettings::IniFormat);
    if (!settings.contains(iniKey(hive, key, valueName)))
        return true;
    settings.remove(iniKey(hive, key, valueName));
    settings.sync();
    return settings.status() == QSettings::NoError;
}

RegistryStore::Hive RegistryStore::RunEntryHive(bool allUsers) {
    return allUsers ? Hive::HKEY_LOCAL_MACHINE : Hive::HKEY_CURRENT_USER;
}

QString RegistryStore::RunEntryKey(bool runOnce) {
    return RunKeyBase + (runOnce ? QStringLiteral("RunOnce") : QStringLiteral("Run"));
}

void RegistryStore::SetRunEntry(const QString& valueName, const QString& commandLine, bool allUsers,
                                bool runOnce) {
    RegWriteValue(RunEntryHive(allUsers), RunEntryKey(runOnce), valueName, commandLine, REG_SZ);
}

void RegistryStore::ClearRunEntry(const QString& valueName, bool allUsers, bool runOnce) {
    RegRemoveValue(RunEntryHive(allUsers), RunEntryKey(runOnce), valueName);
}

bool RegistryStore::HasRunEntry(const QString& valueName, bool allUsers, bool runOnce) const {
    return RegValueExists(RunEntryHive(allUsers), RunEntryKey(runOnce), valueName);
}
