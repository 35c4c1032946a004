#include "app/RegisterLoadDialogs.h"

#include "app/AppMessages.h"
#include "support/FileSaver.h"
#include "support/UserMessage.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLocale>

namespace RegisterLoadDialogs {

bool offerBackupRestore(QWidget* parent, const RegisterFile& file) {
    const QFileInfo backup(file.RegisterBackupPath());
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    const QString asideName = QStringLiteral("Telefonregister-%1.bak").arg(stamp);
    const QString question = AppMessages::RestoreBackupQuestion.arg(
        QLocale().toString(backup.lastModified(), QStringLiteral("dd.MM.yyyy HH:mm")), asideName);
    QString error;
    if (UserMessage::askYesNoDefaultYes(parent, question)) {
        if (file.restoreBackup(&error))
            return true;
        UserMessage::error(parent, AppMessages::RestoreFailed.arg(error));
    }
    // A new register will rotate the backup away at its second save: keep it under a name of
    // its own first.
    if (!FileSaver::copyFile(backup.filePath(), backup.dir().filePath(asideName), &error))
        UserMessage::error(parent, error);
    return false;
}

void reportLoadProblems(QWidget* parent, const RegisterFile::LoadResult& result) {
    constexpr int shownProblems = 12;
    QStringList lines = result.problems.mid(0, shownProblems);
    if (result.problems.size() > shownProblems)
        lines << AppMessages::MoreProblems.arg(result.problems.size() - shownProblems);
    QString text = AppMessages::LoadProblems.arg(lines.join(QLatin1Char('\r')));
    if (!result.preservedCopyPath.isEmpty())
        text += AppMessages::OriginalKept.arg(result.preservedCopyPath);
    UserMessage::information(parent, text);
}

} // namespace RegisterLoadDialogs
