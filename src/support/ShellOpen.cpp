#include "support/ShellOpen.h"

#include "support/HelpAndBanner.h"
#include "support/Paths.h"
#include "support/UserMessage.h"
#include "support/WebAddresses.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QPointer>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QUrl>
#include <QWidget>

namespace {

void reportFailure(QWidget* parent, const QUrl& url, const QString& openerSays) {
    const QString target = url.isLocalFile() ? url.toLocalFile() : url.toString();
    QString text = url.scheme() == QLatin1String("mailto")
                       ? HelpAndBanner::MailNotOpened.arg(url.path())
                       : HelpAndBanner::NotOpened.arg(target);
    if (!openerSays.isEmpty())
        text += QLatin1Char('\r') + openerSays;
    UserMessage::error(parent, text);
}

// xdg-open says why it failed only in its exit code and on standard error; QDesktopServices
// starts it detached and hears neither. Its complaint goes to a file, not a pipe: a browser it
// starts inherits the handle and may outlive the program.
void openWithXdgOpen(const QString& opener, const QUrl& url, QWidget* parent) {
    auto* process = new QProcess(qApp);
    auto* complaint = new QTemporaryFile(process);
    if (!complaint->open()) {
        delete process;
        if (!QDesktopServices::openUrl(url))
            reportFailure(parent, url, QString());
        return;
    }
    process->setStandardInputFile(QProcess::nullDevice());
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(complaint->fileName());
    QPointer<QWidget> window(parent);
    const auto done = [process, complaint, url, window](bool failed) {
        if (failed) {
            const QList<QByteArray> lines = complaint->readAll().trimmed().split('\n');
            reportFailure(window, url, QString::fromLocal8Bit(lines.last()).trimmed());
        }
        process->deleteLater();
    };
    QObject::connect(process, &QProcess::finished, process,
                     [done](int code, QProcess::ExitStatus status) {
                         done(status == QProcess::NormalExit && code != 0);
                     });
    QObject::connect(process, &QProcess::errorOccurred, process, [done](QProcess::ProcessError e) {
        if (e == QProcess::FailedToStart)
            done(true);
    });
    process->start(opener, {QString::fromUtf8(url.toEncoded())});
}

} // namespace

void ShellOpen(const QString& target, int /*showMode: the desktop decides the window's size*/,
               QWidget* parent) {
    const QUrl url = QFileInfo(target).isAbsolute() ? QUrl::fromLocalFile(target)
                                                    : QUrl(target, QUrl::StrictMode);
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (!opener.isEmpty())
        openWithXdgOpen(opener, url, parent);
    else if (!QDesktopServices::openUrl(url))
        reportFailure(parent, url, QString());
}

void ShowHelpFile(const QString& path, QWidget* parent) {
    const QString document = HelpAndBanner::HelpFilePath(path, Paths::ProgramFolder());
    if (document.isEmpty()) {
        UserMessage::information(parent, HelpAndBanner::HelpNotFound);
        return;
    }
    ShellOpen(document, 0, parent);
}

void OpenMakerSite(QWidget* parent) {
    ShellOpen(WebAddresses::MakerSite, 3, parent);
}

void OpenPartnerSite(QWidget* parent) {
    ShellOpen(WebAddresses::PartnerSite, 0, parent);
}
