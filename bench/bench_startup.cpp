// How soon the program shows its first frame, set against a bare Qt window (a tab bar and a
// list) started the same way, in interleaved runs; and how often it wakes up while it sits
// hidden in the tray. Both on a private X desktop (Xvfb, openbox, trayer).
//
// The first frame is the first drawing into a top-level window of the started process, as the
// X server's DAMAGE extension reports it: the moment the user sees the window's content.
#include "Poll.h"
#include "ProgramNames.h"
#include "ProgramRun.h"
#include "XDesktop.h"
#include "XWindows.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <xcb/damage.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <poll.h>

namespace {

class FirstFrameWatch {
public:
    explicit FirstFrameWatch(const QString& display) {
        const QByteArray name = display.toLocal8Bit();
        m_connection = xcb_connect(name.constData(), nullptr);
        if (xcb_connection_has_error(m_connection))
            return;
        m_root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
        const xcb_query_extension_reply_t* damage =
            xcb_get_extension_data(m_connection, &xcb_damage_id);
        if (!damage || !damage->present)
            return;
        m_damageEvent = damage->first_event + XCB_DAMAGE_NOTIFY;
        free(xcb_damage_query_version_reply(m_connection,
                                            xcb_damage_query_version(m_connection, 1, 1), nullptr));
        const char pidName[] = "_NET_WM_PID";
        xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(
            m_connection, xcb_intern_atom(m_connection, 0, sizeof pidName - 1, pidName), nullptr);
        m_pidAtom = atom ? atom->atom : XCB_NONE;
        free(atom);
        const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(m_connection, m_root, XCB_CW_EVENT_MASK, &mask);
        m_valid = m_pidAtom != XCB_NONE;
    }
    ~FirstFrameWatch() { xcb_disconnect(m_connection); }

    bool isValid() const { return m_valid; }

    // Forgets what earlier runs left behind; returns once the server has seen everything asked.
    void reset() {
        free(xcb_get_input_focus_reply(m_connection, xcb_get_input_focus(m_connection), nullptr));
        while (xcb_generic_event_t* event = xcb_poll_for_event(m_connection))
            free(event);
    }

    // Milliseconds from `started` until a window of `pid`, at least 200 x 100 pixels, is first
    // drawn into; -1 after `timeoutMs`.
    qint64 wait(qint64 pid, const QElapsedTimer& started, int timeoutMs) {
        while (started.elapsed() < timeoutMs) {
            xcb_generic_event_t* event = xcb_poll_for_event(m_connection);
            if (!event) {
                pollfd descriptor{xcb_get_file_descriptor(m_connection), POLLIN, 0};
                ::poll(&descriptor, 1, 5);
                if (xcb_connection_has_error(m_connection))
                    return -1;
                continue;
            }
            const qint64 now = started.elapsed();
            const uint8_t type = event->response_type & 0x7f;
            if (type == XCB_CREATE_NOTIFY) {
                const auto* created = reinterpret_cast<xcb_create_notify_event_t*>(event);
                xcb_damage_create(m_connection, xcb_generate_id(m_connection), created->window,
                                  XCB_DAMAGE_REPORT_LEVEL_NON_EMPTY);
                xcb_flush(m_connection);
            } else if (type == m_damageEvent) {
                const auto* damage = reinterpret_cast<xcb_damage_notify_event_t*>(event);
                if (damage->geometry.width >= 200 && damage->geometry.height >= 100 &&
                    windowPid(damage->drawable) == pid) {
                    free(event);
                    return now;
                }
            }
            free(event);
        }
        return -1;
    }

private:
    qint64 windowPid(xcb_window_t window) {
        xcb_get_property_reply_t* reply = xcb_get_property_reply(
            m_connection,
            xcb_get_property(m_connection, 0, window, m_pidAtom, XCB_ATOM_CARDINAL, 0, 1), nullptr);
        qint64 pid = -1;
        if (reply && xcb_get_property_value_length(reply) == 4)
            pid = *static_cast<const uint32_t*>(xcb_get_property_value(reply));
        free(reply);
        return pid;
    }

    xcb_connection_t* m_connection = nullptr;
    xcb_window_t m_root = XCB_NONE;
    xcb_atom_t m_pidAtom = XCB_NONE;
    uint8_t m_damageEvent = 0;
    bool m_valid = false;
};

// In card order, as the program writes it.
QByteArray registerWith(int entries) {
    QByteArray bytes = "[KURBELFON VERSION 4]\r\n"
                       "0,1,0,0,\"\",0,\"00\",\"49\",\"89\",12,\"\",\"\",0\r\n"
                       "\"B\xFCro 1\",\"B\xFCro 2\",\"Privat 1\",\"Privat 2\"\r\n";
    for (int i = 0; i < entries; ++i)
        bytes += QStringLiteral("1,\"Teilnehmer %1, Vorname\",\"49 30 %2\",1\r\n")
                     .arg(i, 4, 10, QLatin1Char('0'))
                     .arg(1000000 + i)
                     .toLatin1();
    return bytes;
}

void stop(QProcess* process) {
    process->terminate();
    if (!process->waitForFinished(10000)) {
        process->kill();
        process->waitForFinished(5000);
    }
}

double median(QList<double> values) {
    std::sort(values.begin(), values.end());
    const qsizetype n = values.size();
    return n == 0 ? 0 : n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

int environmentNumber(const char* name, int fallback) {
    const int value = qEnvironmentVariableIntValue(name);
    return value > 0 ? value : fallback;
}

// Milliseconds to the first frame of one start, -1 if none came.
qint64 bareWindowRun(const XDesktop& desktop, FirstFrameWatch& watch) {
    QTemporaryDir home;
    QProcessEnvironment environment = desktop.environment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    environment.insert(QStringLiteral("HOME"), home.path());
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), home.path());
    QProcess process;
    process.setProgram(QStringLiteral(BARE_WINDOW_BINARY));
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    watch.reset();
    QElapsedTimer started;
    started.start();
    process.start();
    if (!process.waitForStarted(Poll::StartLimitMs))
        return -1;
    const qint64 ms = watch.wait(process.processId(), started, Poll::StartLimitMs);
    stop(&process);
    return ms;
}

qint64 programRun(const XDesktop& desktop, FirstFrameWatch& watch, const QByteArray& data) {
    ProgramRun run(desktop);
    run.setEnvironmentValue(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    if (!run.write(ProgramNames::Register, data))
        return -1;
    watch.reset();
    QElapsedTimer started;
    started.start();
    QProcess* process = run.start();
    if (!process)
        return -1;
    const qint64 ms = watch.wait(process->processId(), started, Poll::StartLimitMs);
    stop(process);
    return ms;
}

qint64 voluntarySwitches(qint64 pid) {
    qint64 sum = 0;
    const QDir tasks(QStringLiteral("/proc/%1/task").arg(pid));
    for (const QString& task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile status(tasks.filePath(task + QStringLiteral("/status")));
        if (!status.open(QIODevice::ReadOnly))
            continue;
        for (const QByteArray& line : status.readAll().split('\n')) {
            if (line.startsWith("voluntary_ctxt_switches:"))
                sum += line.mid(24).trimmed().toLongLong();
        }
    }
    return sum;
}

// With an entry selected and the provider list on, the shown window has a reason to watch the
// clock; hidden, it has none. Counts every thread's wake-ups while it sits in the tray.
bool idleInTray(const XDesktop& desktop, int seconds) {
    ProgramRun run(desktop);
    run.setEnvironmentValue(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    run.write(ProgramNames::Register, registerWith(3));
    run.write(QStringLiteral("Provider.ini"), "1\r\n\"Immer\",\"01013\",1,1,0,24,1,1,1\r\n");
    QProcess* process = run.start();
    const XWindows windows(desktop.display());
    const qint64 pid = process ? process->processId() : 0;
    const XWindows::Id main =
        windows.waitFor(ProgramNames::Title, ProgramNames::MainWindow, pid, Poll::StartLimitMs);
    if (!main || !windows.pressKey(main, QStringLiteral("Down")) || !windows.close(main) ||
        !Poll::until([&] { return !windows.isMapped(main); }, Poll::StartLimitMs)) {
        std::printf("idle: the program's window could not be selected in and hidden\n");
        return false;
    }
    QThread::sleep(2); // what hiding itself set off
    const qint64 before = voluntarySwitches(pid);
    QThread::sleep(seconds);
    const qint64 after = voluntarySwitches(pid);
    std::printf("hidden in the tray for %d s: %lld wake-ups (voluntary context switches of all "
                "threads)\n",
                seconds, after - before);
    stop(process);
    return true;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    // Fewer let one slow start of either move the ratio by a tenth.
    const int runs = environmentNumber("KURBELFON_BENCH_RUNS", 21);
    const int idleSeconds = environmentNumber("KURBELFON_BENCH_IDLE_SECONDS", 60);

    XDesktop desktop;
    if (!desktop.start()) {
        std::printf("no desktop: %s\n", qPrintable(desktop.errorString()));
        return 1;
    }
    FirstFrameWatch watch(desktop.display());
    if (!watch.isValid()) {
        std::printf("the X server does not report drawing (DAMAGE)\n");
        return 1;
    }

    const QByteArray data = registerWith(500);
    // One start of each first, unmeasured: fonts, caches and libraries then come from memory.
    bareWindowRun(desktop, watch);
    programRun(desktop, watch, data);
    QList<double> bare;
    QList<double> program;
    QList<double> ratios;
    for (int run = 0; run < runs; ++run) {
        const qint64 bareMs = bareWindowRun(desktop, watch);
        const qint64 programMs = programRun(desktop, watch, data);
        if (bareMs <= 0 || programMs <= 0) {
            std::printf("run %d: no first frame seen\n", run + 1);
            return 1;
        }
        bare << double(bareMs);
        program << double(programMs);
        ratios << double(programMs) / double(bareMs);
    }
    std::printf("first frame, 500 entries, %d interleaved runs: program %.0f ms, bare Qt window "
                "%.0f ms (medians); ratio of the medians %.2f, median of the run ratios %.2f "
                "(goal at most 1.2)\n",
                runs, median(program), median(bare), median(program) / median(bare),
                median(ratios));
    std::fflush(stdout);

    return idleInTray(desktop, idleSeconds) ? 0 : 1;
}
