#pragma once

#include <QString>

// What the end-to-end tests look for: the program's windows and files.
namespace ProgramNames {

inline const QString Title = QStringLiteral("Kurbelfon");
inline const QString Register = QStringLiteral("Telefonregister.ini");
inline const QString Backup = QStringLiteral("Telefonregister.bak");
// A message box is a dialog; the main window is an ordinary one.
inline const QString MessageBox = QStringLiteral("DIALOG");
inline const QString MainWindow = QStringLiteral("NORMAL");

} // namespace ProgramNames
