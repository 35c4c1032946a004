#include "dialing/ComPort.h"

#include <QFileInfo>

QString ComPortDevice(int port, const QString& programFolder) {
    const QFileInfo link(programFolder + QStringLiteral("dosdevices/com%1").arg(port));
    if (link.exists())
        // The device's own name, so its lock file is the one other serial programs look for.
        return link.canonicalFilePath();
    if (link.isSymLink())
        return link.filePath();
    return QStringLiteral("/dev/ttyS%1").arg(port - 1);
}
