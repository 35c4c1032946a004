#pragma once

#include <QString>

namespace Paths {

// The folder with exactly one trailing separator ("" gives "/").
QString addTrailingSeparator(const QString& path);
// The folder of the running executable, with a trailing separator: every data file lives here.
QString ProgramFolder();
// The executable itself.
QString ProgramPath();

} // namespace Paths
