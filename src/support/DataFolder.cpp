#include "support/DataFolder.h"

#include "support/Paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <unistd.h>

namespace DataFolder {

namespace {

const QString FolderName = QStringLiteral("Kurbelfon");

struct DataFile {
    QString file;
    QString backup;
};
const DataFile DataFiles[] = {
    {QStringLiteral("Telefonregister.ini"), QStringLiteral("Telefonregister.bak")},
    {QStringLiteral("Provider.ini"), QStringLiteral("Provider.bak")},
};

bool MakePrivateFolder(const QString& folder) {
    if (QFileInfo(folder).isDir())
        return true;
    // The phone book is nobody else's business: 0700, as the XDG rules suggest.
    const QFileInfo info(QDir::cleanPath(folder));
    return QDir().mkpath(info.path()) &&
           QDir().mkdir(info.filePath(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

} // namespace

bool IsWritable(const QString& folder) {
    // access() rather than a trial file: nothing may appear in a shared program folder.
    return ::access(QFile::encodeName(folder).constData(), W_OK | X_OK) == 0;
}

QString Choose(const QString& programFolder, const QString& xdgDataHome, const QString& home,
               const WritableProbe& writable) {
    if (writable(programFolder))
        return Paths::addTrailingSeparator(programFolder);
    const QString dataHome = QDir::isAbsolutePath(xdgDataHome) ? xdgDataHome
                                                               : Paths::addTrailingSeparator(home) +
                                                                     QStringLiteral(".local/share");
    return Paths::addTrailingSeparator(dataHome) + FolderName + u'/';
}

bool AdoptPreparedFiles(const QString& programFolder, const QString& dataFolder) {
    const QString from = Paths::addTrailingSeparator(programFolder);
    const QString to = Paths::addTrailingSeparator(dataFolder);
    if (QFileInfo(from).canonicalFilePath() == QFileInfo(to).canonicalFilePath())
        return true;
    bool allCopied = true;
    for (const DataFile& data : DataFiles) {
        // Only the first time: a user with a backup left has a phone book of their own to
        // restore.
        if (!QFileInfo::exists(from + data.file) || Paths::FileExists(to + data.file) ||
            Paths::FileExists(to + data.backup))
            continue;
        // The copy is the user's to change, whatever rights the prepared file had.
        allCopied = QFile::copy(from + data.file, to + data.file) &&
                    QFile::setPermissions(to + data.file, QFile::ReadOwner | QFile::WriteOwner) &&
                    allCopied;
    }
    return allCopied;
}

QString ForThisStart() {
    const QString programFolder = Paths::ProgramFolder();
    const QString folder =
        Choose(programFolder, qEnvironmentVariable("XDG_DATA_HOME"), QDir::homePath());
    if (folder != programFolder && MakePrivateFolder(folder))
        AdoptPreparedFiles(programFolder, folder);
    return folder;
}

} // namespace DataFolder
