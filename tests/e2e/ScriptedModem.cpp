#include "ScriptedModem.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <thread>
#include <unistd.h>
#include <utility>

ScriptedModem::ScriptedModem() {
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_master < 0) {
        fail(QStringLiteral("posix_openpt"));
        return;
    }
    char name[128] = {};
    if (::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0 ||
        ::ptsname_r(m_master, name, sizeof name) != 0) {
        fail(QStringLiteral("grantpt/unlockpt/ptsname"));
        return;
    }
    m_devicePath = QString::fromLocal8Bit(name);
    m_slave = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    termios tio{};
    if (m_slave < 0 || ::tcgetattr(m_slave, &tio) != 0) {
        fail(QStringLiteral("open %1").arg(m_devicePath));
        return;
    }
    // A serial line passes bytes unchanged: no echo, no CR/LF translation.
    ::cfmakeraw(&tio);
    ::tcsetattr(m_slave, TCSANOW, &tio);
}

ScriptedModem::~ScriptedModem() {
    vanish();
    if (!m_linkPath.isEmpty())
        QFile::remove(m_linkPath);
}

void ScriptedModem::fail(const QString& what) {
    m_error = QStringLiteral("%1: %2").arg(what, QString::fromLocal8Bit(std::strerror(errno)));
    vanish();
}

bool ScriptedModem::linkAt(const QString& linkPath) {
    if (!isValid())
        return false;
    const QFileInfo link(linkPath);
    if (!QDir().mkpath(link.absolutePath()))
        return false;
    if (link.isSymLink() || link.exists())
        QFile::remove(linkPath);
    if (!QFile::link(m_devicePath, linkPath))
        return false;
    m_linkPath = linkPath;
    return true;
}

bool ScriptedModem::readSome(int waitMs) {
    if (m_master < 0)
        return false;
    pollfd fd{m_master, POLLIN, 0};
    if (::poll(&fd, 1, waitMs) <= 0 || !(fd.revents & POLLIN))
        return false;
    char buffer[4096];
    const ssize_t got = ::read(m_master, buffer, sizeof buffer);
    if (got <= 0)
        return false;
    const QByteArray bytes(buffer, got);
    m_reads << bytes;
    m_pending += bytes;
    return true;
}

QByteArray ScriptedModem::waitForCommand(int timeoutMs) {
    QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        const qsizetype end = m_pending.indexOf('\r');
        if (end >= 0) {
            const QByteArray command = m_pending.left(end + 1);
            m_pending.remove(0, end + 1);
            return command;
        }
        if (deadline.hasExpired() || m_master < 0)
            return {};
        readSome(static_cast<int>(qMin<qint64>(deadline.remainingTime(), 50)));
    }
}

QByteArray ScriptedModem::waitForBytes(int count, int timeoutMs) {
    QDeadlineTimer deadline(timeoutMs);
    while (m_pending.size() < count) {
        if (deadline.hasExpired() || m_master < 0)
            return {};
        readSome(static_cast<int>(qMin<qint64>(deadline.remainingTime(), 50)));
    }
    return unread();
}

QByteArray ScriptedModem::unread() {
    while (readSome(0)) {
    }
    QByteArray all;
    all.swap(m_pending);
    return all;
}

QString ScriptedModem::lineSettings() const {
    termios tio{};
    if (m_slave < 0 || ::tcgetattr(m_slave, &tio) != 0)
        return {};
    const std::pair<speed_t, int> speeds[] = {{B300, 300},     {B1200, 1200},   {B2400, 2400},
                                              {B4800, 4800},   {B9600, 9600},   {B19200, 19200},
                                              {B38400, 38400}, {B57600, 57600}, {B115200, 115200}};
    int speed = 0;
    for (const auto& [code, bits] : speeds) {
        if (::cfgetospeed(&tio) == code)
            speed = bits;
    }
    const tcflag_t size = tio.c_cflag & CSIZE;
    const int dataBits = size == CS5 ? 5 : size == CS6 ? 6 : size == CS7 ? 7 : 8;
    const char parity = !(tio.c_cflag & PARENB) ? 'N' : (tio.c_cflag & PARODD) ? 'O' : 'E';
    return QStringLiteral("%1 %2%3%4 %5")
        .arg(speed)
        .arg(dataBits)
        .arg(QLatin1Char(parity))
        .arg((tio.c_cflag & CSTOPB) ? 2 : 1)
        .arg((tio.c_cflag & CRTSCTS) ? QStringLiteral("RTS/CTS") : QStringLiteral("none"));
}

bool ScriptedModem::send(const QByteArray& bytes) {
    qsizetype done = 0;
    while (m_master >= 0 && done < bytes.size()) {
        const ssize_t written = ::write(m_master, bytes.constData() + done, bytes.size() - done);
        if (written < 0 && errno != EINTR && errno != EAGAIN)
            return false;
        if (written > 0)
            done += written;
    }
    return done == bytes.size();
}

bool ScriptedModem::sendSplit(const QList<QByteArray>& parts, int delayMs) {
    for (qsizetype i = 0; i < parts.size(); ++i) {
        if (i > 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
        if (!send(parts[i]))
            return false;
    }
    return true;
}

void ScriptedModem::vanish() {
    if (m_slave >= 0)
        ::close(m_slave);
    if (m_master >= 0)
        ::close(m_master);
    m_slave = m_master = -1;
}
