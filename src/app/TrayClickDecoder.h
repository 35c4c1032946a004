#pragma once

#include <QObject>
#include <QTimer>

// Tells single from double clicks on the tray icon. It is fed the mouse message numbers of the
// notification area (513 left down, 515 left double click, 516 right down, 518 right double
// click) and answers one second after the last button-down with one NiKeyEvent: 1 left click,
// 2 right click, 257 left double click, 258 right double click.
class TrayClickDecoder : public QObject {
    Q_OBJECT
public:
    static constexpr int LeftButtonDown = 513;
    static constexpr int LeftDoubleClick = 515;
    static constexpr int RightButtonDown = 516;
    static constexpr int RightDoubleClick = 518;
    static constexpr int DoubleClickFlag = 256;
    static constexpr int DelayMs = 1000;

    explicit TrayClickDecoder(QObject* parent = nullptr);

    // One mouse message of the icon; any other number, the button-ups included, does nothing.
    void MouseMessage(int message);
    void DblClkDelay_Timer();

    int TrayButton() const { return m_trayButton; }
    int TrayDoubleClick() const { return m_trayDoubleClick; }
    const QTimer& DblClkDelay() const { return m_dblClkDelay; }

signals:
    void NiKeyEvent(int keyEvent);

private:
    void buttonDown(int button);

    int m_trayButton = 0;
    int m_trayDoubleClick = 0;
    QTimer m_dblClkDelay;
};
