#include "dialing/ModemDialer.h"

#include "dialing/ModemMessages.h"
#include "support/Cp1252.h"
#include "support/ProgramModule.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QIODevice>
#include <QThread>

#ifdef Q_OS_UNIX
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>
#endif

namespace {
// Long enough for a modem that holds CTS low a moment; a dead line must not freeze the window.
constexpr int WriteLimitMs = 3000;
// A command of 40 characters takes 170 ms on the line at 2400 bit/s.
constexpr int DrainLimitMs = 1000;
} // namespace

ModemDialer::ModemDialer(QObject* parent) : QObject(parent) {}

ModemDialer::~ModemDialer() {
    // Closed while the answer and the flags it may report to still exist.
    m_awaitingAnswer = false;
    m_line.reset();
}

SerialLine* ModemDialer::line() {
    if (m_line)
        return m_line.get();
    m_line =
        ProgramModule::createPart<SerialLine>(QStringLiteral("Modemanbindung"), &m_moduleError);
    if (!m_line)
        return nullptr;
    connect(m_line->device(), &QIODevice::readyRead, this, &ModemDialer::Comm_OnComm);
    m_line->onLineLost([this] { onLineLost(); });
    return m_line.get();
}

bool ModemDialer::isPortOpen() const {
    return m_line && m_line->device()->isOpen();
}

QString ModemDialer::portErrorString() const {
    return m_line ? m_line->device()->errorString() : m_moduleError;
}

QString ModemDialer::failureReason(const QString& device) const {
    if (!m_line)
        return m_moduleError;
    switch (m_line->failure()) {
    case SerialLine::Failure::NoDevice:
        return ModemMessages::NoDevice(device);
    case SerialLine::Failure::NoPermission: {
        // Either the device's rights, or another program holds its lock.
        if (::access(QFile::encodeName(device).constData(), R_OK | W_OK) == 0)
            return ModemMessages::InUse(device);
        const QString group = QFileInfo(device).group();
        return ModemMessages::NoAccess(device, group.isEmpty() ? QStringLiteral("dialout") : group);
    }
    case SerialLine::Failure::None:
    case SerialLine::Failure::Other:
        break;
    }
    return ModemMessages::SystemReason(device, portErrorString());
}

bool ModemDialer::dial(const QString& device, const QString& dialString) {
    m_inCall = true;
    m_awaitingAnswer = false;
    m_answer.clear();
    SerialLine* port = line();
    if (port && port->device()->isOpen())
        closeWithoutHanging();
    const QByteArray command = Cp1252::encode(dialString).value_or(dialString.toLatin1());
    const bool sent = port && port->open(device) &&
                      port->device()->write(command) == command.size() &&
                      port->device()->waitForBytesWritten(WriteLimitMs);
    m_inCall = false;
    if (!sent)
        return fail();
    m_awaitingAnswer = true;
    return true;
}

void ModemDialer::abort() {
    m_awaitingAnswer = false;
    if (!isPortOpen())
        return;
    m_inCall = true;
    QIODevice* port = m_line->device();
    // Without waiting for it, close() would drop the carriage return unsent.
    const bool sent = port->write("\r", 1) == 1 && port->waitForBytesWritten(WriteLimitMs);
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
    if (!isPortOpen())
        return;
    m_answer += Cp1252::decode(m_line->device()->readAll()).toUpper();
    // Searched before the cut: an "OK" split over two reads may straddle it.
    const bool ok = m_answer.contains(QLatin1String("OK"));
    if (m_answer.size() > AnswerLimit)
        m_answer.remove(0, m_answer.size() - AnswerLimit);
    if (ok) {
        m_line->device()->close();
        m_awaitingAnswer = false;
        emit answeredOk();
    }
}

void ModemDialer::onLineLost() {
    // A vanished device reports it again on every turn of the event loop for as long as the
    // port stays open.
    if (m_inCall)
        return;
    if (isPortOpen())
        m_line->device()->close();
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
    while (::ioctl(m_line->handle(), TIOCOUTQ, &queued) == 0 && queued > 0 &&
           !deadline.hasExpired())
        QThread::msleep(10);
    if (queued > 0)
        m_line->dropOutput();
    m_line->device()->close();
}

bool ModemDialer::fail() {
    emit portFailed();
    return false;
}
