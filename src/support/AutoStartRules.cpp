#include "support/AutoStartRules.h"

#include "support/DesktopEntry.h"
#include "support/Paths.h"
#include "support/RegistryStore.h"

#include <QFile>

const QString AutoStartRules::ValueName = QStringLiteral("Kurbelfon");
const QString AutoStartRules::ShellFoldersKey =
    RegistryStore::RunKeyBase + QStringLiteral("Explorer\\Shell Folders");
const QString AutoStartRules::AttributesFailed = QStringLiteral("Attribute nicht löschbar: ");
const QString AutoStartRules::DeleteFailed = QStringLiteral("Datei nicht löschbar: ");

QString AutoStartRules::CommandLine() {
    return Paths::ProgramPath() + QStringLiteral(" ") + QStringLiteral("/AUTOSTART");
}

QString AutoStartRules::ShortcutPath(const RegistryStore& store) {
    const QString folder = store.RegReadString(RegistryStore::Hive::HKEY_CURRENT_USER,
                                               ShellFoldersKey, QStringLiteral("Startup"));
    if (folder.isEmpty())
        return QString();
    return Paths::addTrailingSeparator(folder) + ValueName + QStringLiteral(".lnk");
}

AutoStartRules::StartState AutoStartRules::InitAutoStart(const RegistryStore& store) {
    StartState state;
    const QString shortcut = ShortcutPath(store);
    if (!shortcut.isEmpty() && Paths::FileExists(shortcut)) {
        // "Normal" attributes: the owner may write it.
        if (!QFile::setPermissions(shortcut, QFile::permissions(shortcut) | QFile::WriteOwner |
                                                 QFile::ReadOwner))
            state.messages << AttributesFailed + shortcut;
        if (!QFile::remove(shortcut))
            state.messages << DeleteFailed + shortcut;
        // The entry replaces the shortcut, also when it could not be deleted.
        state.checked = true;
        state.shortcutReplaced = true;
        return state;
    }
    // An entry the desktop was told to skip starts nothing; ticking the box writes it anew.
    const QString entry = store.autostartPath(ValueName);
    state.checked =
        store.HasRunEntry(ValueName, false, false) &&
        DesktopEntry::readValue(entry, QStringLiteral("Hidden")) != u"true" &&
        DesktopEntry::readValue(entry, QStringLiteral("X-GNOME-Autostart-enabled")) != u"false";
    return state;
}

void AutoStartRules::Apply(RegistryStore& store, bool checked) {
    if (checked)
        store.SetRunEntry(ValueName, CommandLine(), false, false);
    else
        store.ClearRunEntry(ValueName, false, false);
}
