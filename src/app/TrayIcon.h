#pragma once

#include <QIcon>
#include <QList>
#include <QObject>
#include <functional>
#include <memory>

class QAction;
class QMenu;
class QSystemTrayIcon;
class TrayClickDecoder;

// The program's icon in the notification area and its menu "Taskleiste". Qt's activation
// reasons become the notification area's mouse messages for the click decoder; its events
// show the window, open the menu or beep. What the window does is left to its owner's slots.
class TrayIcon : public QObject {
    Q_OBJECT
public:
    enum Command { Add = 0, Modify = 1, Delete = 2 };
    static constexpr int TipLength = 63;

    // modalDialogOpen: whether a modal dialog of the program is open (the icon then beeps).
    explicit TrayIcon(std::function<bool()> modalDialogOpen, QObject* parent = nullptr);
    ~TrayIcon() override;

    void ShowSysTrayIcon(const QIcon& icon, const QString& text);
    void ChangeSysTrayIcon(const QIcon& icon, const QString& text);
    void KillSysTrayIcon();
    void NotifyIcon(Command command, const QIcon& icon, const QString& text);

    void NiKeyEvent(int keyEvent);
    void pum2_Click(int index);

    // Made when first needed: Qt asks the session bus about the notification area right when it
    // is made, which kept the window from its first frame.
    QSystemTrayIcon* systemTrayIcon();
    TrayClickDecoder* decoder() const { return m_decoder; }
    QMenu* menu() const;

signals:
    void showWindowRequested();
    void infoRequested();
    void quitRequested();
    // A click on a balloon message.
    void messageClicked();

private:
    void buildMenu();
    void showWindowOrBeep();

    std::function<bool()> m_modalDialogOpen;
    QSystemTrayIcon* m_icon = nullptr;
    QString m_tip; // given before the icon was made
    TrayClickDecoder* m_decoder = nullptr;
    std::unique_ptr<QMenu> m_pummain2; // a menu has no QObject parent
    QList<QAction*> m_pum2;            // pum2(1)..pum2(6), index 0 unused
};
