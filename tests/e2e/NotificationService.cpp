#include "NotificationService.h"

#include "Poll.h"
#include "XDesktop.h"

#include <QFile>
#include <QFileInfo>

#include <csignal>
#include <sys/prctl.h>

namespace {

void dieWithParent() {
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
}

// A session bus that activates nothing: only the dunst started here can answer.
const char* const BusConfig = R"(<!DOCTYPE busconfig PUBLIC
 "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:path=%1</listen>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
)";

} // namespace

NotificationService::NotificationService(const QString& daemon) : m_daemon(daemon) {}

NotificationService::~NotificationService() {
    for (auto* process : {&m_monitor, &m_dunst, &m_bus}) {
        if (*process && (*process)->state() != QProcess::NotRunning) {
            (*process)->kill();
            (*process)->waitForFinished(5000);
        }
    }
}

bool NotificationService::start(const XDesktop& desktop) {
    if (!m_folder.isValid())
        return fail(QStringLiteral("no temporary folder"));
    const QString socket = m_folder.filePath(QStringLiteral("bus"));
    QFile config(m_folder.filePath(QStringLiteral("bus.conf")));
    if (!config.open(QIODevice::WriteOnly) ||
        config.write(QString::fromLatin1(BusConfig).arg(socket).toUtf8()) < 0)
        return fail(QStringLiteral("cannot write the bus configuration"));
    config.close();
    m_address = QStringLiteral("unix:path=") + socket;
    m_environment = desktop.environment();
    m_environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), m_address);

    m_bus =
        launch(QStringLiteral("dbus-daemon"),
               {QStringLiteral("--nofork"), QStringLiteral("--config-file=") + config.fileName()});
    if (!m_bus || !Poll::until([&] { return QFileInfo::exists(socket); }, Poll::StartLimitMs))
        return fail(QStringLiteral("dbus-daemon did not come up"));
    m_monitor = launch(QStringLiteral("dbus-monitor"),
                       {QStringLiteral("--address"), m_address,
                        QStringLiteral("interface='org.freedesktop.Notifications'")});
    // dunst's menu of buttons runs a dmenu; ours picks the button the test names.
    const QString picker = m_folder.filePath(QStringLiteral("pick"));
    QFile script(picker);
    QFile dunstrc(m_folder.filePath(QStringLiteral("dunstrc")));
    if (!script.open(QIODevice::WriteOnly) ||
        script.write(QStringLiteral("#!/bin/sh\nexec grep -F -m1 -- \"$(cat '%1')\"\n")
                         .arg(m_folder.filePath(QStringLiteral("button")))
                         .toUtf8()) < 0 ||
        !script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner) ||
        !dunstrc.open(QIODevice::WriteOnly) ||
        dunstrc.write(QStringLiteral("[global]\n    dmenu = %1\n").arg(picker).toUtf8()) < 0)
        return fail(QStringLiteral("cannot write the dunst configuration"));
    script.close();
    dunstrc.close();
    m_dunst = launch(m_daemon, m_daemon == QLatin1String("dunst")
                                   ? QStringList{QStringLiteral("-config"), dunstrc.fileName()}
                                   : QStringList());
    if (!m_monitor || !m_dunst || !Poll::until([&] { return serviceOwned(); }, Poll::StartLimitMs))
        return fail(m_daemon + QStringLiteral(" did not come up"));
    return true;
}

bool NotificationService::serviceOwned() const {
    QProcess ask;
    ask.setProcessEnvironment(m_environment);
    ask.start(QStringLiteral("dbus-send"),
              {QStringLiteral("--session"), QStringLiteral("--print-reply"),
               QStringLiteral("--dest=org.freedesktop.DBus"), QStringLiteral("/"),
               QStringLiteral("org.freedesktop.DBus.NameHasOwner"),
               QStringLiteral("string:org.freedesktop.Notifications")});
    return ask.waitForFinished(5000) && ask.readAllStandardOutput().contains("boolean true");
}

QString NotificationService::sent() const {
    QFile log(m_folder.filePath(QStringLiteral("dbus-monitor.log")));
    return log.open(QIODevice::ReadOnly) ? QString::fromUtf8(log.readAll()) : QString();
}

int NotificationService::displayed() const {
    QByteArray output;
    bool ok = false;
    const int count = dunstctl({QStringLiteral("count"), QStringLiteral("displayed")}, &output)
                          ? output.trimmed().toInt(&ok)
                          : -1;
    return ok ? count : -1;
}

bool NotificationService::invokeAction() const {
    return dunstctl({QStringLiteral("action"), QStringLiteral("0")});
}

bool NotificationService::closeAll() const {
    return dunstctl({QStringLiteral("close-all")});
}

bool NotificationService::invokeButton(const QString& label) const {
    QFile wanted(m_folder.filePath(QStringLiteral("button")));
    return wanted.open(QIODevice::WriteOnly) && wanted.write(label.toUtf8()) >= 0 &&
           wanted.flush() && dunstctl({QStringLiteral("context")});
}

bool NotificationService::dunstctl(const QStringList& arguments, QByteArray* output) const {
    QProcess tool;
    tool.setProcessEnvironment(m_environment);
    tool.start(QStringLiteral("dunstctl"), arguments);
    if (!tool.waitForFinished(Poll::ChangeLimitMs) || tool.exitCode() != 0)
        return false;
    if (output)
        *output = tool.readAllStandardOutput();
    return true;
}

std::unique_ptr<QProcess> NotificationService::launch(const QString& program,
                                                      const QStringList& arguments) {
    auto process = std::make_unique<QProcess>();
    process->setProcessEnvironment(m_environment);
    process->setChildProcessModifier(dieWithParent);
    if (program == QLatin1String("dbus-monitor"))
        process->setStandardOutputFile(m_folder.filePath(QStringLiteral("dbus-monitor.log")));
    else
        process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(m_folder.filePath(program + QStringLiteral(".err")));
    process->start(program, arguments);
    if (!process->waitForStarted(Poll::StartLimitMs)) {
        m_error = QStringLiteral("cannot start %1 (install dunst and dbus)").arg(program);
        return nullptr;
    }
    return process;
}

bool NotificationService::fail(const QString& error) {
    if (m_error.isEmpty())
        m_error = error;
    return false;
}
