#include "XDesktop.h"

#include "Poll.h"
#include "XWindows.h"

#include <QDir>
#include <QRegularExpression>
#include <QStandardPaths>

#include <csignal>
#include <sys/prctl.h>

namespace {

// A test that is killed (ctest's timeout) must not leave an X server behind.
void dieWithParent() {
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
}

void stop(std::unique_ptr<QProcess>& process) {
    if (!process || process->state() == QProcess::NotRunning)
        return;
    process->terminate();
    if (!process->waitForFinished(5000)) {
        process->kill();
        process->waitForFinished(5000);
    }
}

} // namespace

XDesktop::XDesktop(QSize screen, bool panelReservesSpace)
    : m_screen(screen), m_panelReservesSpace(panelReservesSpace) {}

XDesktop::~XDesktop() {
    stop(m_wayland);
    stop(m_tray);
    stop(m_windowManager);
    stop(m_server);
}

bool XDesktop::start() {
    for (const char* tool : {"Xvfb", "xdpyinfo", "openbox", "wmctrl", "trayer", "xdotool", "xprop",
                             "xwininfo", "import"}) {
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
            return fail(QStringLiteral("%1 is missing: run scripts/install-deps.sh")
                            .arg(QString::fromLatin1(tool)));
    }
    if (!m_home.isValid())
        return fail(QStringLiteral("no temporary folder: %1").arg(m_home.errorString()));
    QDir(m_home.path()).mkdir(QStringLiteral("runtime"));
    QFile::setPermissions(m_home.filePath(QStringLiteral("runtime")),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    return startServer() && startWindowManager() && startTray();
}

QProcessEnvironment XDesktop::environment() const {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), m_display);
    env.insert(QStringLiteral("HOME"), m_home.path());
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_home.filePath(QStringLiteral("runtime")));
    for (const char* name :
         {"DBUS_SESSION_BUS_ADDRESS", "SESSION_MANAGER", "WAYLAND_DISPLAY", "XDG_CONFIG_HOME",
          "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_STATE_HOME", "XAUTHORITY"})
        env.remove(QString::fromLatin1(name));
    return env;
}

bool XDesktop::startServer() {
    // -displayfd lets the server pick a free display and tell us which one on our stdout.
    // -noreset: otherwise the server resets when xdpyinfo hangs up, and a client connecting
    // during that reset (openbox, next) is turned away.
    const QString screen = QStringLiteral("%1x%2x24").arg(m_screen.width()).arg(m_screen.height());
    m_server = launch(QStringLiteral("Xvfb"),
                      {"-displayfd", "1", "-screen", "0", screen, "-nolisten", "tcp", "-noreset"});
    if (!m_server)
        return false;
    QByteArray number;
    Poll::until(
        [&] {
            m_server->waitForReadyRead(100);
            number += m_server->readAllStandardOutput();
            return number.contains('\n') || m_server->state() == QProcess::NotRunning;
        },
        Poll::StartLimitMs);
    if (!number.contains('\n'))
        return fail(QStringLiteral("Xvfb did not name its display"));
    m_display = QLatin1Char(':') + QString::fromLatin1(number.trimmed());
    XWindows windows(m_display);
    if (!Poll::until([&] { return windows.tool(QStringLiteral("xdpyinfo"), {}); },
                     Poll::StartLimitMs))
        return fail(QStringLiteral("Xvfb on %1 does not answer xdpyinfo").arg(m_display));
    return true;
}

bool XDesktop::startWindowManager() {
    m_windowManager = launch(QStringLiteral("openbox"), {QStringLiteral("--sm-disable")});
    if (!m_windowManager)
        return false;
    XWindows windows(m_display);
    if (!Poll::until(
            [&] {
                return windows.tool(QStringLiteral("wmctrl"), {"-m"}) ||
                       m_windowManager->state() == QProcess::NotRunning;
            },
            Poll::StartLimitMs) ||
        m_windowManager->state() == QProcess::NotRunning)
        return fail(QStringLiteral("openbox did not come up on %1").arg(m_display));
    return true;
}

bool XDesktop::setTray(bool on) {
    const bool running = m_tray && m_tray->state() != QProcess::NotRunning;
    if (on)
        return running || startTray();
    stop(m_tray);
    return true;
}

bool XDesktop::startTray() {
    // The tray host must be there before the program starts: Qt asks for it only once.
    m_tray = launch(QStringLiteral("trayer"),
                    {"--edge", "top", "--align", "right", "--widthtype", "request", "--height",
                     "24", "--SetDockType", "true", "--SetPartialStrut",
                     m_panelReservesSpace ? "true" : "false", "--transparent", "false"});
    if (!m_tray)
        return false;
    XWindows windows(m_display);
    if (!Poll::until(
            [&] {
                return windows.tool(QStringLiteral("xdotool"),
                                    {"search", "--onlyvisible", "--class", "^trayer$"}) ||
                       m_tray->state() == QProcess::NotRunning;
            },
            Poll::StartLimitMs) ||
        m_tray->state() == QProcess::NotRunning)
        return fail(QStringLiteral("trayer did not show its panel on %1").arg(m_display));
    return true;
}

QString XDesktop::startWayland() {
    m_wayland = launch(QStringLiteral("weston"), {"--backend=headless-backend.so", "--xwayland",
                                                  "--idle-time=0", "--socket=wayland-e2e"});
    // "xserver listening on display :1": Xwayland itself starts with the first X client.
    static const QRegularExpression listening(QStringLiteral("listening on display (:\\d+)"));
    QString display;
    Poll::until(
        [&] {
            QFile log(m_home.filePath(QStringLiteral("weston.log")));
            display = log.open(QIODevice::ReadOnly) ? listening.match(log.readAll()).captured(1)
                                                    : QString();
            return !display.isEmpty() || !m_wayland || m_wayland->state() == QProcess::NotRunning;
        },
        Poll::StartLimitMs);
    if (display.isEmpty())
        fail(QStringLiteral("weston with Xwayland did not come up"));
    return display;
}

std::unique_ptr<QProcess> XDesktop::launch(const QString& program, const QStringList& arguments) {
    auto process = std::make_unique<QProcess>();
    process->setProgram(program);
    process->setArguments(arguments);
    QProcessEnvironment env = environment();
    if (m_display.isEmpty())
        env.remove(QStringLiteral("DISPLAY"));
    process->setProcessEnvironment(env);
    process->setChildProcessModifier(dieWithParent);
    // Only the server's stdout is read; the others would fill a pipe nobody empties.
    if (program != QStringLiteral("Xvfb"))
        process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(m_home.filePath(program + QStringLiteral(".log")));
    process->start();
    if (!process->waitForStarted(Poll::StartLimitMs)) {
        fail(QStringLiteral("cannot start %1 (is it installed?): %2")
                 .arg(program, process->errorString()));
        return nullptr;
    }
    return process;
}

bool XDesktop::fail(const QString& error) {
    m_error = error;
    // What the tools said is gone with the temporary home, so keep it in the message.
    const QDir home(m_home.path());
    for (const QString& name : home.entryList({QStringLiteral("*.log")}, QDir::Files)) {
        QFile log(home.filePath(name));
        if (log.open(QIODevice::ReadOnly))
            m_error += QStringLiteral("\n%1:\n%2").arg(name, QString::fromLocal8Bit(log.readAll()));
    }
    return false;
}
