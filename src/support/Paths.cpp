#include "support/Paths.h"

#include <QCoreApplication>
#include <QFileInfo>

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
    // The real file behind any link: an autostart entry must still find it. No ".exe" here.
    const QString path = QCoreApplication::applicationFilePath();
    const QString real = QFileInfo(path).canonicalFilePath();
    return real.isEmpty() ? path : real;
}

bool FileExists(const QString& path) {
    // As a directory listing sees it: a dangling link is a name, too.
    const QFileInfo info(path);
    return !path.isEmpty() && (info.exists() || info.isSymLink());
}

} // namespace Paths
