#include "app/TrayIcon.h"

#include "app/TrayClickDecoder.h"
#include "support/NumberedMenu.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QMenu>
#include <QSystemTrayIcon>

TrayIcon::TrayIcon(std::function<bool()> modalDialogOpen, QObject* parent)
    : QObject(parent), m_modalDialogOpen(std::move(modalDialogOpen)),
      m_decoder(new TrayClickDecoder(this)) {
    buildMenu();
    connect(m_decoder, &TrayClickDecoder::NiKeyEvent, this, &TrayIcon::NiKeyEvent);
}

TrayIcon::~TrayIcon() = default;

QSystemTrayIcon* TrayIcon::systemTrayIcon() {
    if (m_icon)
        return m_icon;
    m_icon = new QSystemTrayIcon(this);
    m_icon->setObjectName(QStringLiteral("SysTrayIcon"));
    m_icon->setToolTip(m_tip);
    connect(m_icon, &QSystemTrayIcon::messageClicked, this, &TrayIcon::messageClicked);
    connect(m_icon, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                // An XEmbed tray reports a press as Trigger or Context and the second press of a
                // left double click as DoubleClick; a right double click arrives as one Context
                // only.
                switch (reason) {
                case QSystemTrayIcon::Trigger:
                    m_decoder->MouseMessage(TrayClickDecoder::LeftButtonDown);
                    break;
                case QSystemTrayIcon::DoubleClick:
                    m_decoder->MouseMessage(TrayClickDecoder::LeftDoubleClick);
                    break;
                case QSystemTrayIcon::Context:
                    m_decoder->MouseMessage(TrayClickDecoder::RightButtonDown);
                    break;
                default:
                    break;
                }
            });
    return m_icon;
}

QMenu* TrayIcon::menu() const {
    return m_pummain2.get();
}

void TrayIcon::buildMenu() {
    m_pummain2 = std::make_unique<QMenu>(QStringLiteral("Taskleiste"));
    m_pummain2->setObjectName(QStringLiteral("pummain2"));
    m_pummain2->setWindowTitle(m_pummain2->title());
    m_pum2 = AddNumberedItems(m_pummain2.get(),
                              {QStringLiteral("&Einblenden"), QStringLiteral("&Info"),
                               QStringLiteral("-"), QStringLiteral("&Beenden"), QStringLiteral("-"),
                               QStringLiteral("&Abbrechen")},
                              QStringLiteral("pum2_"));
    connect(m_pummain2.get(), &QMenu::triggered, this,
            [this](QAction* action) { pum2_Click(action->data().toInt()); });
}

void TrayIcon::ShowSysTrayIcon(const QIcon& icon, const QString& text) {
    NotifyIcon(Add, icon, text);
}

void TrayIcon::ChangeSysTrayIcon(const QIcon& icon, const QString& text) {
    NotifyIcon(Modify, icon, text);
}

void TrayIcon::KillSysTrayIcon() {
    NotifyIcon(Delete, QIcon(), QString());
}

void TrayIcon::NotifyIcon(Command command, const QIcon& icon, const QString& text) {
    if (command == Delete) {
        if (m_icon)
            m_icon->hide();
        return;
    }
    // The icon is shown after the first frame; a tip given before that (the call monitor's
    // state) stays.
    if (command == Modify || m_tip.isEmpty())
        m_tip = text.left(TipLength);
    if (command == Modify && !m_icon)
        return;
    systemTrayIcon()->setIcon(icon);
    m_icon->setToolTip(m_tip);
    if (command == Add)
        m_icon->show();
}

void TrayIcon::NiKeyEvent(int keyEvent) {
    switch (keyEvent) {
    case 1:
    case 257:
        showWindowOrBeep();
        break;
    case 258:
        QApplication::beep();
        break;
    case 2:
        // The menu's "&Einblenden" and "&Beenden" have no place over an open dialog.
        if (m_modalDialogOpen && m_modalDialogOpen())
            QApplication::beep();
        else
            m_pummain2->popup(QCursor::pos());
        break;
    default:
        break;
    }
}

void TrayIcon::pum2_Click(int index) {
    switch (index) {
    case 1:
        showWindowOrBeep();
        break;
    case 2:
        emit infoRequested();
        break;
    case 4:
        emit quitRequested();
        break;
    default:
        break;
    }
}

void TrayIcon::showWindowOrBeep() {
    if (m_modalDialogOpen && m_modalDialogOpen())
        QApplication::beep();
    else
        emit showWindowRequested();
}
