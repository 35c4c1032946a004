#pragma once

#include <QString>

// The registry of the program's Windows ancestry, kept where a Linux desktop looks: the values
// of the per-user "Run" key are XDG autostart entries ($XDG_CONFIG_HOME/autostart/<value>.desktop,
// Exec = the value's data), and the value exists exactly when its file does. Every other key and
// value lives in one INI file, $XDG_CONFIG_HOME/Kurbelfon/Registry.ini.
class RegistryStore {
public:
    enum class Hive { HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE };
    static constexpr int REG_SZ = 1;
    static constexpr int REG_EXPAND_SZ = 2;
    static constexpr int REG_MULTI_SZ = 7;
    static const QString RunKeyBase; // "SOFTWARE\Microsoft\Windows\CurrentVersion\"
    // Icon of the autostart entries: the name the launcher's icon is installed under.
    static const QString IconName;

    // configHome empty: $XDG_CONFIG_HOME, else ~/.config.
    explicit RegistryStore(const QString& configHome = QString());

    bool RegValueExists(Hive hive, const QString& key, const QString& valueName) const;
    // Empty when the key or value does not exist.
    QString RegReadString(Hive hive, const QString& key, const QString& valueName) const;
    // The registry's callers do not examine the result; tests do.
    bool RegWriteValue(Hive hive, const QString& key, const QString& valueName, const QString& data,
                       int type);
    bool RegRemoveValue(Hive hive, const QString& key, const QString& valueName);

    static Hive RunEntryHive(bool allUsers);
    static QString RunEntryKey(bool runOnce);
    void SetRunEntry(const QString& valueName, const QString& commandLine, bool allUsers,
                     bool runOnce);
    void ClearRunEntry(const QString& valueName, bool allUsers, bool runOnce);
    bool HasRunEntry(const QString& valueName, bool allUsers, bool runOnce) const;

    QString autostartPath(const QString& valueName) const;
    QString iniPath() const;

private:
    static bool isAutostartKey(Hive hive, const QString& key);
    static QString iniKey(Hive hive, const QString& key, const QString& valueName);

    QString m_configHome;
};
