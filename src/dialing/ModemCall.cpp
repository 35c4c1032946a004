#include "dialing/ModemCall.h"

#include "dialing/ComPort.h"
#include "dialing/DialingDialog.h"
#include "dialing/ModemDialer.h"
#include "dialing/ModemMessages.h"
#include "register/PhoneRegister.h"
#include "support/UserMessage.h"

ModemCall::ModemCall(const PhoneRegister* phoneRegister, const QString& programFolder,
                     QWidget* window)
    : QObject(window), m_register(phoneRegister), m_programFolder(programFolder), m_window(window),
      m_dialer(new ModemDialer(this)) {}

void ModemCall::dial(const QString& dialString, const QString& name, const QString& displayNumber) {
    const int port = m_register->settings.ComPort;
    const QString device = ComPortDevice(port, m_programFolder);
    if (!m_dialer->dial(device, dialString)) {
        reportPortFailure(port, device);
        return;
    }
    DialingDialog dialog(m_window);
    dialog.setEntry(name, displayNumber);
    bool failed = false;
    connect(m_dialer, &ModemDialer::answeredOk, &dialog, &QDialog::accept);
    connect(m_dialer, &ModemDialer::portFailed, &dialog, [&dialog, &failed] {
        failed = true;
        dialog.done(QDialog::Rejected);
    });
    connect(&dialog, &DialingDialog::abortRequested, m_dialer, &ModemDialer::abort);
    emit modalDialogOpenChanged(true);
    dialog.exec();
    emit modalDialogOpenChanged(false);
    if (failed)
        reportPortFailure(port, device);
}

void ModemCall::showModemAnswer() {
    UserMessage::information(m_window,
                             ModemMessages::ModemAnswerIntro + m_dialer->answerForDisplay());
}

void ModemCall::reportPortFailure(int port, const QString& device) {
    UserMessage::error(m_window, ModemMessages::PortUnavailable(port) + QLatin1Char('\r') +
                                     m_dialer->failureReason(device));
    emit optionsPageRequested();
}
