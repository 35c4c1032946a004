#include "ProgramRun.h"

#include "Poll.h"
#include "XDesktop.h"
#include "XWindows.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <csignal>
#include <sys/prctl.h>

namespace {

const QString ProgramFolder = QStringLiteral("program");

void dieWithParent() {
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
}

bool makePrivateFolder(const QString& path) {
    return QDir().mkpath(path) &&
           QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                           QFileDevice::ExeOwner);
}

bool copyTree(const QString& from, const QString& to) {
    if (!QDir().mkpath(to))
        return false;
    const QDir source(from);
    for (const QFileInfo& entry :
         source.entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString target = to + QLatin1Char('/') + entry.fileName();
        if (!(entry.isDir() ? copyTree(entry.filePath(), target)
                            : QFile::copy(entry.filePath(), target)))
            return false;
    }
    return true;
}

} // namespace

ProgramRun::ProgramRun(const XDesktop& desktop)
    : m_root(QDir::tempPath() + "/kurbelfon-e2e-XXXXXX") {
    if (!m_root.isValid()) {
        m_error = QStringLiteral("no temporary folder: %1").arg(m_root.errorString());
        return;
    }
    // A copy, not a link: the program finds its data beside its resolved executable.
    const QFileInfo binary(QStringLiteral(KURBELFON_BINARY));
    const QString program = m_root.filePath(ProgramFolder);
    if (!QDir().mkpath(program) ||
        !QFile::copy(binary.filePath(), program + QLatin1Char('/') + binary.fileName())) {
        m_error = QStringLiteral("cannot copy %1 to %2").arg(binary.filePath(), program);
        return;
    }
    for (const char* folder : {"snd", "modules"}) {
        const QString from = binary.dir().filePath(QString::fromLatin1(folder));
        if (QFileInfo(from).isDir() &&
            !copyTree(from, program + QLatin1Char('/') + QString::fromLatin1(folder))) {
            m_error = QStringLiteral("cannot copy %1").arg(from);
            return;
        }
    }
    // The help document and the banner pictures lie beside the program, as installed.
    for (const QFileInfo& file : binary.dir().entryInfoList(
             {QStringLiteral("*.htm"), QStringLiteral("*.png")}, QDir::Files)) {
        if (!QFile::copy(file.filePath(), program + QLatin1Char('/') + file.fileName())) {
            m_error = QStringLiteral("cannot copy %1").arg(file.filePath());
            return;
        }
    }
    for (const char* name : {"home", "runtime", "tmp"}) {
        if (!makePrivateFolder(m_root.filePath(QString::fromLatin1(name)))) {
            m_error = QStringLiteral("cannot create %1").arg(m_root.filePath(name));
            return;
        }
    }
    m_environment = desktop.environment();
    m_environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    m_environment.insert(QStringLiteral("HOME"), m_root.filePath(QStringLiteral("home")));
    m_environment.insert(QStringLiteral("XDG_RUNTIME_DIR"),
                         m_root.filePath(QStringLiteral("runtime")));
    m_environment.insert(QStringLiteral("TMPDIR"), m_root.filePath(QStringLiteral("tmp")));
}

ProgramRun::~ProgramRun() {
    for (const auto& process : m_processes) {
        if (process->state() != QProcess::NotRunning) {
            process->kill();
            process->waitForFinished(5000);
        }
    }
}

QString ProgramRun::folder() const {
    return m_root.filePath(ProgramFolder);
}

QString ProgramRun::homePath() const {
    return m_root.filePath(QStringLiteral("home"));
}

QString ProgramRun::filePath(const QString& name) const {
    return folder() + QLatin1Char('/') + name;
}

bool ProgramRun::exists(const QString& name) const {
    return QFileInfo::exists(filePath(name));
}

QByteArray ProgramRun::read(const QString& name) const {
    QFile file(filePath(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool ProgramRun::write(const QString& name, const QByteArray& bytes) const {
    QFile file(filePath(name));
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush();
}

bool ProgramRun::waitForChange(const QString& name, const QByteArray& before, int timeoutMs) const {
    return Poll::until([&] { return exists(name) && read(name) != before; }, timeoutMs);
}

void ProgramRun::setEnvironmentValue(const QString& name, const QString& value) {
    m_environment.insert(name, value);
}

QProcess* ProgramRun::start(const QStringList& arguments, const QString& program) {
    if (!isValid())
        return nullptr;
    auto process = std::make_shared<QProcess>();
    const qsizetype number = m_processes.size() + 1;
    process->setProgram(program.isEmpty()
                            ? filePath(QFileInfo(QStringLiteral(KURBELFON_BINARY)).fileName())
                            : program);
    process->setArguments(arguments);
    process->setWorkingDirectory(m_root.filePath(QStringLiteral("home")));
    process->setProcessEnvironment(m_environment);
    process->setChildProcessModifier(dieWithParent);
    process->setProcessChannelMode(QProcess::MergedChannels);
    process->setStandardOutputFile(m_root.filePath(QStringLiteral("run%1.log").arg(number)));
    process->start();
    if (!process->waitForStarted(Poll::StartLimitMs)) {
        m_error =
            QStringLiteral("cannot start %1: %2").arg(process->program(), process->errorString());
        return nullptr;
    }
    m_processes << process;
    return process.get();
}

bool ProgramRun::waitForEnd(QProcess* process, int timeoutMs) {
    return Poll::until([&] { return process->state() == QProcess::NotRunning; }, timeoutMs);
}

bool ProgramRun::isRunning(QProcess* process) {
    QTest::qWait(0);
    return process->state() != QProcess::NotRunning;
}

bool ProgramRun::sendSignal(QProcess* process, int signal) {
    return process->processId() > 0 &&
           ::kill(static_cast<pid_t>(process->processId()), signal) == 0;
}

QString ProgramRun::keepForInspection(const XWindows& windows) {
    m_root.setAutoRemove(false);
    const QString shot = m_root.filePath(QStringLiteral("screen.png"));
    QString report = windows.screenshot(shot) ? QStringLiteral("screenshot: %1\n").arg(shot)
                                              : QStringLiteral("no screenshot\n");
    report += QStringLiteral("program folder: %1\n").arg(folder());
    for (qsizetype number = 1; number <= m_processes.size(); ++number) {
        QFile log(m_root.filePath(QStringLiteral("run%1.log").arg(number)));
        if (log.open(QIODevice::ReadOnly))
            report += QStringLiteral("output of start %1:\n%2\n")
                          .arg(number)
                          .arg(QString::fromLocal8Bit(log.readAll()));
    }
    return report;
}
