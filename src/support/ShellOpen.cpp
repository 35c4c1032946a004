#include "support/ShellOpen.h"

#include "support/HelpAndBanner.h"
#include "support/Paths.h"
#include "support/UserMessage.h"
#include "support/WebAddresses.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

void ShellOpen(const QString& target, int /*showMode: the desktop decides the window's size*/) {
    const QUrl url = QFileInfo(target).isAbsolute() ? QUrl::fromLocalFile(target)
                                                    : QUrl(target, QUrl::StrictMode);
    QDesktopServices::openUrl(url);
}

void ShowHelpFile(const QString& path, QWidget* parent) {
    const QString document = HelpAndBanner::HelpFilePath(path, Paths::ProgramFolder());
    if (document.isEmpty()) {
        UserMessage::information(parent, HelpAndBanner::HelpNotFound);
        return;
    }
    ShellOpen(document, 0);
}

void OpenMakerSite() {
    ShellOpen(WebAddresses::MakerSite, 3);
}

void OpenPartnerSite() {
    ShellOpen(WebAddresses::PartnerSite, 0);
}
