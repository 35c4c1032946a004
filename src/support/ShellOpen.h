#pragma once

#include <QString>

class QWidget;

// Opening documents and addresses with the desktop's own programs (xdg-open on Linux). When
// nothing opens the target, a message over `parent` names it, with the opener's reason.
void ShellOpen(const QString& target, int showMode, QWidget* parent = nullptr);
// The help document (hilfe.htm, then index.htm beside the program), or a message that there
// is none. An empty path asks for the program's own help.
void ShowHelpFile(const QString& path, QWidget* parent = nullptr);
void OpenMakerSite(QWidget* parent = nullptr);
void OpenPartnerSite(QWidget* parent = nullptr);
