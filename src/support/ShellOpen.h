#pragma once

#include <QString>

class QWidget;

// Opening documents and addresses with the desktop's own programs (xdg-open on Linux).
// Failures are not reported: the desktop shows its own message if it has one.
void ShellOpen(const QString& target, int showMode);
// The help document (hilfe.htm, then index.htm beside the program), or a message that there
// is none. An empty path asks for the program's own help.
void ShowHelpFile(const QString& path, QWidget* parent = nullptr);
void OpenMakerSite();
void OpenPartnerSite();
