#pragma once

#include <QString>
#include <QStringList>

class RegistryStore;

// The autostart entry behind the "&Autostart" check box, without the box: what start-up finds
// (turning a left-over start-up shortcut into the entry) and what a click writes.
class AutoStartRules {
public:
    static const QString ValueName;        // "Kurbelfon"
    static const QString ShellFoldersKey;  // where the store keeps the "Startup" folder
    static const QString AttributesFailed; // "Attribute nicht löschbar: "
    static const QString DeleteFailed;     // "Datei nicht löschbar: "

    struct StartState {
        bool checked = false;
        // A shortcut was found: ticking the box must write the entry (the tag is already set).
        bool shortcutReplaced = false;
        // Failed steps of the shortcut removal, in order, each ready to be shown.
        QStringList messages;
    };

    // ProgramPath(), a blank and "/AUTOSTART".
    static QString CommandLine();
    static QString ShortcutPath(const RegistryStore& store);
    static StartState InitAutoStart(const RegistryStore& store);
    static void Apply(RegistryStore& store, bool checked);
};
