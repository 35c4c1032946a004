#include "SoundServer.h"

#include "Poll.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <csignal>
#include <sys/prctl.h>

namespace {

void dieWithParent() {
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
}

void stop(std::unique_ptr<QProcess>& process, int signal) {
    if (!process || process->state() == QProcess::NotRunning)
        return;
    ::kill(static_cast<pid_t>(process->processId()), signal);
    if (!process->waitForFinished(5000)) {
        process->kill();
        process->waitForFinished(5000);
    }
}

} // namespace

SoundServer::SoundServer() = default;

SoundServer::~SoundServer() {
    stop(m_recorder, SIGINT);
    stop(m_server, SIGTERM);
}

QProcessEnvironment SoundServer::environment() const {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), m_home.path());
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_home.filePath(QStringLiteral("runtime")));
    env.insert(QStringLiteral("PULSE_SERVER"), address());
    env.remove(QStringLiteral("DISPLAY")); // no server address from an X display's properties
    env.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
    return env;
}

QString SoundServer::address() const {
    return QStringLiteral("unix:") + m_home.filePath(QStringLiteral("native"));
}

bool SoundServer::start() {
    for (const char* program : {"pulseaudio", "pactl", "parec"}) {
        if (QStandardPaths::findExecutable(QString::fromLatin1(program)).isEmpty())
            return fail(QStringLiteral("%1 is missing: run scripts/install-deps.sh")
                            .arg(QString::fromLatin1(program)));
    }
    if (!m_home.isValid() || !QDir(m_home.path()).mkdir(QStringLiteral("runtime")))
        return fail(QStringLiteral("no temporary folder"));
    QFile::setPermissions(m_home.filePath(QStringLiteral("runtime")),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    m_server = std::make_unique<QProcess>();
    m_server->setProcessEnvironment(environment());
    m_server->setChildProcessModifier(dieWithParent);
    m_server->setProcessChannelMode(QProcess::MergedChannels);
    m_server->setStandardOutputFile(m_home.filePath(QStringLiteral("pulseaudio.log")));
    // norewinds and a short recording latency keep the recorded timing close to the played one.
    m_server->start(
        QStringLiteral("pulseaudio"),
        {QStringLiteral("--daemonize=no"), QStringLiteral("-n"),
         QStringLiteral("--exit-idle-time=-1"), QStringLiteral("--disallow-exit"),
         QStringLiteral("--use-pid-file=no"),
         QStringLiteral("--load=module-native-protocol-unix auth-anonymous=1 socket=%1")
             .arg(m_home.filePath(QStringLiteral("native"))),
         QStringLiteral("--load=module-null-sink sink_name=dtmf rate=%1 channels=1 format=s16le "
                        "norewinds=1")
             .arg(RecordRate)});
    if (!m_server->waitForStarted(Poll::StartLimitMs))
        return fail(QStringLiteral("cannot start pulseaudio: %1").arg(m_server->errorString()));
    if (!Poll::until(
            [&] {
                return m_server->state() == QProcess::NotRunning ||
                       tool(QStringLiteral("pactl"), {QStringLiteral("info")});
            },
            Poll::StartLimitMs) ||
        m_server->state() == QProcess::NotRunning)
        return fail(QStringLiteral("pulseaudio does not answer; see %1")
                        .arg(m_home.filePath(QStringLiteral("pulseaudio.log"))));
    return tool(QStringLiteral("pactl"),
                {QStringLiteral("set-default-sink"), QStringLiteral("dtmf")}) ||
           fail(QStringLiteral("no null sink"));
}

bool SoundServer::startRecording(const QString& rawPath) {
    m_recorder = std::make_unique<QProcess>();
    m_recorder->setProcessEnvironment(environment());
    m_recorder->setChildProcessModifier(dieWithParent);
    m_recorder->setStandardOutputFile(rawPath);
    m_recorder->start(QStringLiteral("parec"),
                      {QStringLiteral("--device=dtmf.monitor"), QStringLiteral("--raw"),
                       QStringLiteral("--format=s16le"),
                       QStringLiteral("--rate=%1").arg(RecordRate), QStringLiteral("--channels=1"),
                       QStringLiteral("--latency-msec=20")});
    if (!m_recorder->waitForStarted(Poll::StartLimitMs))
        return fail(QStringLiteral("cannot start parec: %1").arg(m_recorder->errorString()));
    return Poll::until(
               [&] {
                   QByteArray outputs;
                   return tool(QStringLiteral("pactl"),
                               {QStringLiteral("list"), QStringLiteral("short"),
                                QStringLiteral("source-outputs")},
                               &outputs) &&
                          !outputs.trimmed().isEmpty();
               },
               Poll::StartLimitMs) ||
           fail(QStringLiteral("parec does not record"));
}

bool SoundServer::stopRecording() {
    if (!m_recorder)
        return false;
    stop(m_recorder, SIGINT);
    m_recorder.reset();
    return true;
}

bool SoundServer::tool(const QString& program, const QStringList& arguments,
                       QByteArray* output) const {
    QProcess process;
    process.setProcessEnvironment(environment());
    process.start(program, arguments);
    if (!process.waitForFinished(Poll::ChangeLimitMs)) {
        process.kill();
        process.waitForFinished();
        return false;
    }
    if (output)
        *output = process.readAllStandardOutput();
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

bool SoundServer::fail(const QString& error) {
    m_error = error;
    return false;
}
