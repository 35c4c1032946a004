#include "app/InfoDialog.h"

#include "support/ShellOpen.h"
#include "support/UserMessage.h"
#include "support/WebAddresses.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace {

const QString Description = QStringLiteral(
    "Wählhilfe mit persönlichem Telefonbuch: wählt den ausgesuchten Eintrag über ein "
    "Modem, mit Wähltönen über den Lautsprecher oder über die Wählhilfe des Routers, auf "
    "Wunsch mit dem günstigsten Call-by-Call-Anbieter. Mit dem Anrufmonitor des Routers "
    "nennt es, wer anruft.\n\n"
    "Kurbelfon ist freie Software: Sie dürfen es unter den Bedingungen der GNU General "
    "Public License, Version 3 oder jeder späteren Version, weitergeben und verändern. "
    "Es kommt ohne jede Gewährleistung.");
constexpr int Gap = 8;
constexpr int DescriptionWidth = 320;

} // namespace

InfoDialog::InfoDialog(const QString& dataFolder, QWidget* mainWindow)
    : QDialog(mainWindow), m_mainWindow(mainWindow) {
    setObjectName(QStringLiteral("InfoDialog"));
    setWindowTitle(QStringLiteral("Info über ") + UserMessage::ProgramName);
    setModal(false);
    auto* layout = new QVBoxLayout(this);

    auto* icon = new QLabel(this);
    icon->setPixmap(QGuiApplication::windowIcon().pixmap(64, 64));
    auto* name = new QLabel(QStringLiteral("<b>%1</b>").arg(UserMessage::ProgramName), this);
    name->setObjectName(QStringLiteral("InfoName"));
    QFont big = name->font();
    big.setPointSizeF(big.pointSizeF() * 1.6);
    name->setFont(big);
    auto* version =
        new QLabel(QStringLiteral("Version %1").arg(QCoreApplication::applicationVersion()), this);
    version->setObjectName(QStringLiteral("InfoVersion"));
    auto* description = new QLabel(Description, this);
    description->setWordWrap(true);
    description->setAlignment(Qt::AlignHCenter);
    description->setFixedWidth(DescriptionWidth);
    for (QWidget* widget :
         {static_cast<QWidget*>(icon), static_cast<QWidget*>(name), static_cast<QWidget*>(version)})
        layout->addWidget(widget, 0, Qt::AlignHCenter);
    layout->addWidget(description);
    auto* data = new QLabel(QStringLiteral("Daten: ") + QDir::toNativeSeparators(dataFolder), this);
    data->setObjectName(QStringLiteral("InfoDataFolder"));
    // A folder name is no markup; a long one may break anywhere.
    data->setTextFormat(Qt::PlainText);
    data->setWordWrap(true);
    data->setTextInteractionFlags(Qt::TextSelectableByMouse);
    data->setFixedWidth(DescriptionWidth);
    layout->addWidget(data);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* site =
        buttons->addButton(QStringLiteral("&Webseite"), QDialogButtonBox::ActionRole);
    site->setObjectName(QStringLiteral("MakerSiteButton"));
    QPushButton* mail = buttons->addButton(QStringLiteral("&E-Mail"), QDialogButtonBox::ActionRole);
    mail->setObjectName(QStringLiteral("MakerMailButton"));
    QPushButton* close =
        buttons->addButton(QStringLiteral("&Schließen"), QDialogButtonBox::RejectRole);
    close->setObjectName(QStringLiteral("CloseButton"));
    close->setDefault(true);
    m_close = close;
    layout->addWidget(buttons);
    connect(site, &QPushButton::clicked, this, [this] { OpenMakerSite(this); });
    connect(mail, &QPushButton::clicked, this,
            [this] { ShellOpen(WebAddresses::MakerMail, 0, this); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    // A fixed size: no maximise button, and the wrapped text keeps its height.
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void InfoDialog::showBeside() {
    if (isVisible()) {
        raise();
        activateWindow();
        return;
    }
    adjustSize();
    const QRect main = m_mainWindow->frameGeometry();
    const QScreen* screen =
        m_mainWindow->screen() ? m_mainWindow->screen() : QGuiApplication::primaryScreen();
    QPoint place(main.right() + Gap, main.top());
    if (screen) {
        const QRect room = screen->availableGeometry();
        if (place.x() + width() > room.right())
            place.setX(std::max(room.left(), main.left() - Gap - width()));
        place.setY(
            std::clamp(place.y(), room.top(), std::max(room.top(), room.bottom() - height())));
    }
    move(place);
    show();
    // Return must close it, not open the browser from the first button.
    m_close->setFocus(Qt::OtherFocusReason);
    raise();
    activateWindow();
}
