#include "app/SingleInstance.h"

#include "app/LocalRequestModule.h"
#include "support/ProgramModule.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QThread>
#include <QUrl>

namespace {
// One request a line: "show", or "dial " and the percent-encoded link (so it holds no line
// break). An older program ignores a request it does not know.
const QByteArray ShowRequest = QByteArrayLiteral("show\n");
const QByteArray DialRequest = QByteArrayLiteral("dial ");
constexpr int TimeoutMs = 5000;
constexpr int RetryMs = 50;
} // namespace

SingleInstance::SingleInstance(const QString& runtimeFolder, QObject* parent)
    : QObject(parent), m_lockPath(QDir(runtimeFolder).filePath(QStringLiteral("kurbelfon.lock"))),
      m_socketPath(QDir(runtimeFolder).filePath(QStringLiteral("kurbelfon.socket"))) {}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::acquire() {
    QDir().mkpath(QFileInfo(m_lockPath).path());
    m_lock = std::make_unique<QLockFile>(m_lockPath);
    m_lock->setStaleLockTime(0); // a lock left by a crashed run is taken over
    return m_lock->tryLock(100);
}

void SingleInstance::listen() {
    ProgramModule module(NetworkModuleName);
    auto* listenLocal = module.resolveAs<ListenLocalFunction>(ListenLocalSymbol);
    QString error = module.errorString();
    if (!listenLocal ||
        !listenLocal(
            m_socketPath, this, [this](const QByteArray& line) { handleRequest(line); }, &error))
        qWarning("Later starts cannot reach this program: %s", qPrintable(error));
}

void SingleInstance::handleRequest(const QByteArray& line) {
    if (line.startsWith(DialRequest))
        emit linkReceived(QUrl::fromPercentEncoding(line.mid(DialRequest.size())));
    else if (line.contains("show"))
        emit activationRequested();
}

bool SingleInstance::activateRunning() {
    return sendRequest(ShowRequest);
}

bool SingleInstance::handOverLink(const QString& link) {
    return sendRequest(DialRequest + QUrl::toPercentEncoding(link) + '\n');
}

bool SingleInstance::sendRequest(const QByteArray& request) {
    ProgramModule module(NetworkModuleName);
    auto* sendLocal = module.resolveAs<SendLocalFunction>(SendLocalSymbol);
    if (!sendLocal) {
        qWarning("%s", qPrintable(module.errorString()));
        return false;
    }
    // The running program listens once its first window is drawn; a start just then waits.
    // A request that got through is not sent twice.
    const QDeadlineTimer deadline(TimeoutMs);
    for (;;) {
        const LocalSendResult result =
            sendLocal(m_socketPath, request, int(qMax<qint64>(1, deadline.remainingTime())));
        if (result != LocalSendResult::NobodyListens || deadline.hasExpired())
            return result == LocalSendResult::Answered;
        QThread::msleep(RetryMs);
    }
}
