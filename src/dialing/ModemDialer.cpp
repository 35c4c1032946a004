#include "dialing/ModemDialer.h"

#include "dialing/ModemMessages.h"
#include "support/Cp1252.h"

#include <QDeadlineTimer>
#include <QThread>

#ifdef Q_OS_UNIX
#include <sys/ioctl.h>
#include <termios.h>
#endif

namespace {
// Long enough for a modem that holds CTS low a moment; a dead line must not freeze the window.
constexpr int WriteLimitMs = 3000;
// A command of 40 characters takes 170 ms on the line at 2400 bit/s.
constexpr int DrainLimitMs = 1000;
} // namespace

ModemDialer::ModemDialer(QObject* parent) : QObject(parent), m_port(this) {
    connect(&m_port, &QSerialPort::readyRead, this, &ModemDialer::Comm_OnComm);
    connect(&m_port, &QSerialPort::errorOccurred, this, &ModemDialer::onPortError);
}

bool ModemDialer::dial(const QString& device, const QString& dialString) {
    m_inCall = true;
    m_awaitingAnswer = false;
    m_answer.clear();
    if (m_port.isOpen())
        closeWithoutHanging();
    m_port.clearError();
    m_port.setPortName(device);
    const QByteArray command = Cp1252::encode(dialString).value_or(dialString.toLatin1());
    const bool sent =
        m_port.setBaudRate(2400) && m_port.setDataBits(QSerialPort::Data8) &&
        m_port.setParity(QSerialPort::NoParity) && m_port.setStopBits(QSerialPort::OneStop) &&
        m_port.setFlowControl(QSerialPort::HardwareControl) && m_port.open(QIODevice::ReadWrite) &&
        m_port.write(command) == command.size() && m_port.waitForBytesWritten(WriteLimitMs);
    m_inCall = false;
    if (!sent)
        return fail();
    m_awaitingAnswer = true;
    return true;
}

void ModemDialer::abort() {
    m_awaitingAnswer = false;
    if (!m_port.isOpen())
        return;
    m_inCall = true;
    // Without waiting for it, close() would drop the carriage return unsent.
    const bool sent = m_port.write("\r", 1) == 1 && m_port.waitForBytesWritten(WriteLimitMs);
    closeWithoutHanging();
    m_inCall = false;
    if (!sent)
        fail();
}

QString ModemDialer::answerForDisplay() {
    if (m_answer.isEmpty())
        m_answer = ModemMessages::NoModemAnswer;
    return m_answer;
}

void ModemDialer::Comm_OnComm() {
    if (!m_port.isOpen())
        return;
    m_answer += Cp1252::decode(m_port.readAll()).toUpper();
    // Searched before the cut: an "OK" split over two reads may straddle it.
    const bool ok = m_answer.contains(QLatin1String("OK"));
    if (m_answer.size() > AnswerLimit)
        m_answer.remove(0, m_answer.size() - AnswerLimit);
    if (ok) {
        m_port.close();
        m_awaitingAnswer = false;
        emit answeredOk();
    }
}

void ModemDialer::onPortError(QSerialPort::SerialPortError error) {
    // A vanished device (a USB modem unplugged, the line hung up) raises these again on every
    // turn of the event loop for as long as the port stays open.
    if (m_inCall || (error != QSerialPort::ReadError && error != QSerialPort::ResourceError))
        return;
    if (m_port.isOpen())
        m_port.close();
    if (m_awaitingAnswer) {
        m_awaitingAnswer = false;
        emit portFailed();
    }
}

void ModemDialer::closeWithoutHanging() {
    // A modem that is switched off holds CTS low and never takes what waits in the driver; the
    // kernel's close would then wait for it for half a minute. Let it go out while it can, then
    // drop the rest.
    QDeadlineTimer deadline(DrainLimitMs);
    int queued = 0;
    while (::ioctl(m_port.handle(), TIOCOUTQ, &queued) == 0 && queued > 0 && !deadline.hasExpired())
        QThread::msleep(10);
    if (queued > 0)
        m_port.clear(QSerialPort::Output);
    m_port.close();
}

bool ModemDialer::fail() {
    emit portFailed();
    return false;
}
