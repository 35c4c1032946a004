#include "support/Paths.h"

#include <QCoreApplication>

namespace Paths {

QString addTrailingSeparator(const QString& path) {
    if (path.endsWith(u'/'))
        return path;
    return path + u'/';
}

QString ProgramFolder() {
    return addTrailingSeparator(QCoreApplication::applicationDirPath());
}

QString ProgramPath() {
    return QCoreApplication::applicationFilePath();
}

} // namespace Paths
