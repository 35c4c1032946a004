#include "support/FileSaver.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString SaveFailed =
    QStringLiteral("Die Datei „%1“ konnte nicht gespeichert werden.\rGrund: %2");
const QString CopyFailed =
    QStringLiteral("Die Datei „%1“ konnte nicht nach „%2“ kopiert werden.\rGrund: %3");
const QString ReadFailed = QStringLiteral("Die Datei „%1“ konnte nicht gelesen werden.\rGrund: %2");
const QString NoWritePermission = QStringLiteral("Keine Schreibberechtigung für den Ordner.");
const QString NoReadPermission = QStringLiteral("Keine Leseberechtigung für die Datei.");
const QString ReadOnlyMedium = QStringLiteral("Der Datenträger ist schreibgeschützt.");
const QString MediumFull = QStringLiteral("Der Datenträger ist voll.");
const QString NotFound = QStringLiteral("Die Datei oder der Ordner wurde nicht gefunden.");
const QString AlreadyThere = QStringLiteral("Die Zieldatei ist bereits vorhanden.");
const QString SystemError = QStringLiteral("Systemfehler: %1");

// What went wrong, kept as errno so the reason can be told exactly.
struct Failure {
    int error = 0;
    bool reading = false;
};

QString reasonFor(const Failure& failure) {
    switch (failure.error) {
    case EACCES:
    case EPERM:
        return failure.reading ? NoReadPermission : NoWritePermission;
    case EROFS:
        return ReadOnlyMedium;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return MediumFull;
    case ENOENT:
        return NotFound;
    case EEXIST:
        return AlreadyThere;
    default:
        return SystemError.arg(QString::fromLocal8Bit(std::strerror(failure.error)));
    }
}

void setError(QString* errorText, const QString& text) {
    if (errorText)
        *errorText = text;
}

// A file name beside the target that only this call uses; removed again unless released.
class TempPath {
public:
    TempPath() = default;
    TempPath(const TempPath&) = delete;
    TempPath& operator=(const TempPath&) = delete;
    ~TempPath() {
        if (!m_path.isEmpty())
            ::unlink(m_path.constData());
    }
    void take(const QByteArray& path) { m_path = path; }
    const QByteArray& path() const { return m_path; }
    bool isSet() const { return !m_path.isEmpty(); }
    void release() { m_path.clear(); }

private:
    QByteArray m_path;
};

QByteArray candidateName(const QString& target, const char* purpose) {
    static std::atomic<unsigned> counter{0};
    const QFileInfo info(target);
    const QString name = QStringLiteral("%1/.%2.%3-%4-%5")
                             .arg(info.absolutePath(), info.fileName(), QLatin1String(purpose))
                             .arg(::getpid())
                             .arg(counter++);
    return QFile::encodeName(name);
}

// Creates a new, empty file beside target; the file descriptor, or -1 with errno set.
int createBeside(const QString& target, const char* purpose, mode_t mode, TempPath& temp) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QByteArray name = candidateName(target, purpose);
        const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0) {
            temp.take(name);
            return fd;
        }
        if (errno != EEXIST)
            return -1;
    }
    return -1;
}

bool writeAll(int fd, const char* data, qsizetype size, Failure& failure) {
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size_t(size));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            failure.error = errno;
            return false;
        }
        data += written;
        size -= written;
    }
    return true;
}

// Syncs and closes fd in every case.
bool syncAndClose(int fd, Failure& failure) {
    bool ok = true;
    if (::fsync(fd) != 0) {
        failure.error = errno;
        ok = false;
    }
    if (::close(fd) != 0 && ok) {
        failure.error = errno;
        ok = false;
    }
    return ok;
}

bool copyContent(int from, int to, Failure& failure) {
    char buffer[64 * 1024];
    for (;;) {
        const ssize_t got = ::read(from, buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            failure = {errno, true};
            return false;
        }
        if (got == 0)
            return true;
        if (!writeAll(to, buffer, got, failure))
            return false;
    }
}

// A complete, synced copy of `source` beside `target`, named by `temp`.
bool copyBeside(const QByteArray& source, const QString& target, const char* purpose,
                TempPath& temp, Failure& failure) {
    const int from = ::open(source.constData(), O_RDONLY | O_CLOEXEC);
    if (from < 0) {
        failure = {errno, true};
        return false;
    }
    const int to = createBeside(target, purpose, 0666, temp);
    if (to < 0) {
        failure.error = errno;
        ::close(from);
        return false;
    }
    const bool copied = copyContent(from, to, failure);
    ::close(from);
    if (!copied) {
        ::close(to);
        return false;
    }
    return syncAndClose(to, failure);
}

// The new content as a complete, synced file beside target, with the current file's mode.
bool writeBeside(const QString& target, const QByteArray& content, const struct stat* current,
                 TempPath& temp, Failure& failure) {
    const int fd = createBeside(target, "neu", 0666, temp);
    if (fd < 0) {
        failure.error = errno;
        return false;
    }
    if (current && ::fchmod(fd, current->st_mode & 07777) != 0) {
        failure.error = errno;
        ::close(fd);
        return false;
    }
    if (!writeAll(fd, content.constData(), content.size(), failure)) {
        ::close(fd);
        return false;
    }
    return syncAndClose(fd, failure);
}

// Makes the renames in the folder durable; a folder that cannot be synced is no failure.
void syncFolder(const QString& target) {
    const QByteArray folder = QFile::encodeName(QFileInfo(target).absolutePath());
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

bool exists(const QByteArray& path) {
    struct stat info;
    return ::lstat(path.constData(), &info) == 0;
}

} // namespace

bool FileSaver::saveWithBackup(const QString& path, const QString& backupPath,
                               const QByteArray& content, QString* errorText) {
    const QByteArray target = QFile::encodeName(path);
    const QByteArray backup = QFile::encodeName(backupPath);
    Failure failure;
    auto fail = [&] {
        setError(errorText, SaveFailed.arg(path, reasonFor(failure)));
        return false;
    };

    struct stat current;
    const bool haveCurrent = ::stat(target.constData(), &current) == 0;
    if (!haveCurrent && errno != ENOENT) {
        failure.error = errno;
        return fail();
    }

    // Saving what is already there would only make the backup equal to it: the one earlier
    // state the user has (an entry deleted a moment ago) would be gone without any change.
    QByteArray present;
    if (haveCurrent && current.st_size == content.size() &&
        FileSaver::readFile(path, &present, nullptr) && present == content)
        return true;

    TempPath newFile;
    if (!writeBeside(path, content, haveCurrent ? &current : nullptr, newFile, failure))
        return fail();

    // Without a current file the existing backup is the only earlier state: it stays.
    TempPath oldBackup;
    const bool hadBackup = exists(backup);
    if (haveCurrent) {
        // The current file is never moved away: the backup is a second name for it (or a
        // copy where the file system has no hard links), put in place in one rename.
        TempPath newBackup;
        const QByteArray linkName = candidateName(path, "bak");
        if (::link(target.constData(), linkName.constData()) == 0) {
            newBackup.take(linkName);
        } else if (!copyBeside(target, path, "bak", newBackup, failure)) {
            return fail();
        }
        // Keeps the old backup reachable so a failed last step can put it back.
        const QByteArray keepName = candidateName(path, "alt");
        if (hadBackup && ::link(backup.constData(), keepName.constData()) == 0)
            oldBackup.take(keepName);
        if (::rename(newBackup.path().constData(), backup.constData()) != 0) {
            failure.error = errno;
            return fail();
        }
        newBackup.release();
    }

    if (::rename(newFile.path().constData(), target.constData()) != 0) {
        failure.error = errno;
        if (haveCurrent) {
            if (oldBackup.isSet()) {
                if (::rename(oldBackup.path().constData(), backup.constData()) == 0)
                    oldBackup.release();
            } else if (!hadBackup) {
                ::unlink(backup.constData());
            }
        }
        return fail();
    }
    newFile.release();
    syncFolder(path);
    return true;
}

void FileSaver::removeLeftovers(const QString& path) {
    const QFileInfo info(path);
    const QString prefix = QLatin1Char('.') + info.completeBaseName();
    // The names candidateName() gives: ".<file>.<purpose>-<pid>-<counter>". Matched only where
    // the name may be one: matching every file of the folder was a noticeable part of the start.
    const QRegularExpression leftover(
        QStringLiteral("^\\.%1[^/]*\\.(neu|bak|alt|kopie)-\\d+-\\d+$")
            .arg(QRegularExpression::escape(info.completeBaseName())));
    const QDir folder = info.absoluteDir();
    for (const QString& name : folder.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        if (name.startsWith(prefix) && leftover.match(name).hasMatch())
            QFile::remove(folder.filePath(name));
    }
}

bool FileSaver::copyFile(const QString& from, const QString& to, QString* errorText) {
    const QByteArray source = QFile::encodeName(from);
    const QByteArray target = QFile::encodeName(to);
    Failure failure;
    auto fail = [&] {
        setError(errorText, CopyFailed.arg(from, to, reasonFor(failure)));
        return false;
    };

    TempPath copy;
    if (!copyBeside(source, to, "kopie", copy, failure))
        return fail();
    // A second name never replaces an existing file; where the file system has no hard
    // links, a rename after a check is the next best thing.
    if (::link(copy.path().constData(), target.constData()) != 0) {
        if (errno == EEXIST || exists(target)) {
            failure.error = EEXIST;
            return fail();
        }
        if (::rename(copy.path().constData(), target.constData()) != 0) {
            failure.error = errno;
            return fail();
        }
        copy.release();
    }
    syncFolder(to);
    return true;
}

QString FileSaver::keepDamagedCopy(const QString& path, QStringList* problems) {
    const QFileInfo original(path);
    // The damage is reported at every start until something changes; one copy of it is enough.
    QByteArray content;
    QString readError;
    if (readFile(path, &content, &readError)) {
        const QString pattern =
            original.completeBaseName() + QStringLiteral("-defekt-*.") + original.suffix();
        for (const QFileInfo& copy : original.dir().entryInfoList({pattern}, QDir::Files)) {
            QByteArray kept;
            if (copy.size() == content.size() && readFile(copy.filePath(), &kept, &readError) &&
                kept == content)
                return copy.filePath();
        }
    }
    const QString copyPath = damagedCopyPath(path);
    QString error;
    if (copyFile(path, copyPath, &error))
        return copyPath;
    *problems << error;
    return QString();
}

QString FileSaver::damagedCopyPath(const QString& path) {
    const QFileInfo original(path);
    const QString stem = original.dir().filePath(
        original.completeBaseName() + QStringLiteral("-defekt-") +
        QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss")));
    const QString suffix = u'.' + original.suffix();
    QString copyPath = stem + suffix;
    for (int n = 2; QFileInfo::exists(copyPath); ++n)
        copyPath = stem + u'-' + QString::number(n) + suffix;
    return copyPath;
}

bool FileSaver::readFile(const QString& path, QByteArray* content, QString* errorText) {
    const QByteArray name = QFile::encodeName(path);
    Failure failure{0, true};
    auto fail = [&] {
        setError(errorText, ReadFailed.arg(path, reasonFor(failure)));
        return false;
    };

    const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        failure.error = errno;
        return fail();
    }
    QByteArray bytes;
    struct stat info;
    if (::fstat(fd, &info) == 0 && info.st_size > 0)
        bytes.reserve(qsizetype(info.st_size));
    char buffer[64 * 1024];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            failure.error = errno;
            ::close(fd);
            return fail();
        }
        if (got == 0)
            break;
        bytes.append(buffer, got);
    }
    ::close(fd);
    *content = bytes;
    return true;
}
