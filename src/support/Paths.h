#pragma once

#include <QString>

namespace Paths {

// The folder with exactly one trailing separator ("" gives "/").
QString addTrailingSeparator(const QString& path);
// The folder of the running executable, with a trailing separator: every data file lives here.
QString ProgramFolder();
// The executable itself, links resolved.
QString ProgramPath();
// True when the folder's listing shows this name (a file, a folder or a link).
bool FileExists(const QString& path);

} // namespace Paths
