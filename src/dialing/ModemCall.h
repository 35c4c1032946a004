#pragma once

#include <QObject>
#include <QString>

class ModemDialer;
class PhoneRegister;
class QWidget;

// The modem half of a dial as the user sees it: the port opened and the command sent, then the
// modal "Anwahl" dialog until the modem answers "OK" or the user aborts; a port that fails is
// reported with its number, and the options page is asked for so another port can be chosen.
class ModemCall : public QObject {
    Q_OBJECT
public:
    // programFolder: where dosdevices/com<n> is looked for; window: the dialogs' parent.
    ModemCall(const PhoneRegister* phoneRegister, const QString& programFolder, QWidget* window);

    ModemDialer* dialer() const { return m_dialer; }

    // Returns when the dialog has closed, or at once after a port failure.
    void dial(const QString& dialString, const QString& name, const QString& displayNumber);
    // "Debug": what the modem answered to the last modem dial.
    void showModemAnswer();

signals:
    void modalDialogOpenChanged(bool open);
    void optionsPageRequested();

private:
    void reportPortFailure(int port, const QString& device);

    const PhoneRegister* m_register;
    QString m_programFolder;
    QWidget* m_window;
    ModemDialer* m_dialer;
};
