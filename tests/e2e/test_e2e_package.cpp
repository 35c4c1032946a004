// The built package, unpacked where the test user cannot write, started as that user: first
// start, one entry, end, next start. Root writes anywhere and would hide the fault.
#include "Poll.h"
#include "ProgramNames.h"
#include "ProgramRun.h"
#include "XDesktop.h"
#include "XWindows.h"

#include <QDir>
#include <QTemporaryDir>

#include <csignal>
#include <grp.h>
#include <list>
#include <optional>
#include <pwd.h>
#include <sys/prctl.h>
#include <unistd.h>

using namespace ProgramNames;

class TestE2ePackage : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        const QString deb =
            QStringLiteral(KURBELFON_BUILD_DIR "/kurbelfon_" KURBELFON_VERSION "_amd64.deb");
        // As root, the unprivileged user of the CI; otherwise the user running the test.
        if (::geteuid() == 0 && !::getpwnam("kurbelfon-ci"))
            QCOMPARE(QProcess::execute("useradd", {"-m", "kurbelfon-ci"}), 0);
        const passwd* user =
            ::geteuid() == 0 ? ::getpwnam("kurbelfon-ci") : ::getpwuid(::geteuid());
        QVERIFY(user);
        m_user = user->pw_uid;
        m_group = user->pw_gid;
        QVERIFY(QFile::setPermissions(m_root.path(), QFile::Permissions(0x7755)));
        QCOMPARE(QProcess::execute("dpkg-deb", {"-x", deb, path("usr-root")}), 0);
        QCOMPARE(QProcess::execute("chmod", {"-R", "a-w", path("usr-root")}), 0);
        for (const char* folder : {"home", "runtime"})
            QVERIFY(QDir().mkdir(path(folder), QFile::Permissions(0x7700)) &&
                    ::chown(QFile::encodeName(path(folder)).constData(), m_user, m_group) == 0);
        QVERIFY2(m_desktop.start(), qPrintable(m_desktop.errorString()));
        m_windows.emplace(m_desktop.display());
    }

    void firstStartThenEntryInTheUsersOwnFolder() {
        const QStringList installed = programFolder();
        const QString data = path("home/.local/share/Kurbelfon/");
        const QByteArray newRegister("[KURBELFON VERSION 4]\r\n"
                                     "0,1,0,0,\"\",0,\"00\",\"49\",\"89\",12,\"\",\"\",0\r\n"
                                     "\"B\xFCro 1\",\"B\xFCro 2\",\"Privat 1\",\"Privat 2\"\r\n");
        const QByteArray withEntry = newRegister + "1,\"Zander, Ute\",\"49 89 7654321\",1\r\n";

        QProcess* program = start();
        qint64 pid = program->processId();
        const XWindows::Id box = m_windows->waitFor(Title, MessageBox, pid, Poll::StartLimitMs);
        QVERIFY2(box != 0, "no message box about the new register");
        QVERIFY(m_windows->pressKey(box, "Return"));
        XWindows::Id main = m_windows->waitFor(Title, MainWindow, pid, Poll::StartLimitMs);
        QVERIFY2(main != 0, "no main window");
        QCOMPARE(read(data + Register), newRegister);
        // A first start shows the options page; the next card is the first, its list focused.
        QVERIFY(m_windows->pressKey(main, "ctrl+Next"));
        QVERIFY(chooseFromMenu(main, pid, "e")); // "&Einfügen"
        const XWindows::Id editor =
            m_windows->waitFor("Telefonbuch", MessageBox, pid, Poll::ChangeLimitMs);
        QVERIFY2(editor != 0, "no entry editor");
        QVERIFY(
            m_windows->activate(editor) &&
            m_windows->tool("xdotool", {"type", "--delay", "30", "Zander, Ute\t49 89 7654321"}) &&
            m_windows->pressKey(editor, "alt+o"));
        QVERIFY(
            Poll::until([&] { return read(data + Register) == withEntry; }, Poll::ChangeLimitMs));
        QVERIFY(m_windows->pressKey(main, "alt+e")); // "&Ende"
        QVERIFY(ProgramRun::waitForEnd(program, Poll::ChangeLimitMs));
        QCOMPARE(program->exitCode(), 0);

        QCOMPARE(QFileInfo(data).ownerId(), m_user);
        QCOMPARE(QFile::permissions(data) & 0x0077, QFileDevice::Permissions());
        QCOMPARE(programFolder(), installed);

        // The next start reads it back: the entry is there to be deleted.
        pid = start()->processId();
        main = m_windows->waitFor(Title, MainWindow, pid, Poll::StartLimitMs);
        QVERIFY2(main != 0, "no main window at the next start");
        QVERIFY(!m_windows->shows(Title, MessageBox, pid));
        QVERIFY(m_windows->pressKey(main, "Tab") && m_windows->pressKey(main, "Down"));
        QVERIFY(chooseFromMenu(main, pid, "l")); // "&Löschen"
        QVERIFY2(m_windows->waitFor("Eintrag löschen", MessageBox, pid, Poll::ChangeLimitMs),
                 "the entry was not there to delete");
    }

    void cleanupTestCase() {
        // Made read-only above; the running copies end with their QProcess.
        QProcess::execute("chmod", {"-R", "u+w", m_root.path()});
    }

private:
    QString path(const QString& name) const { return m_root.filePath(name); }
    QStringList programFolder() const {
        return QDir(path("usr-root/usr/lib/kurbelfon")).entryList(QDir::AllEntries | QDir::Hidden);
    }

    QProcess* start() {
        QProcess& process = m_processes.emplace_back();
        QProcessEnvironment env = m_desktop.environment();
        env.insert("QT_QPA_PLATFORM", "xcb");
        env.insert("HOME", path("home"));
        env.insert("TMPDIR", path("home"));
        env.insert("XDG_RUNTIME_DIR", path("runtime"));
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(path("home"));
        process.setChildProcessModifier([user = m_user, group = m_group] {
            if (::getuid() == 0 &&
                (::setgroups(0, nullptr) != 0 || ::setgid(group) != 0 || ::setuid(user) != 0))
                ::_exit(126);
            ::prctl(PR_SET_PDEATHSIG, SIGKILL); // after the change of user, which clears it
        });
        process.start(path("usr-root/usr/bin/kurbelfon"), {});
        process.waitForStarted(Poll::StartLimitMs);
        return &process;
    }

    // The card's menu by the keyboard's menu key. It comes as one more window and holds the
    // keyboard, so the item's key goes to no window in particular.
    bool chooseFromMenu(XWindows::Id main, qint64 pid, const QString& key) {
        const QStringList search{"search", "--onlyvisible", "--pid", QString::number(pid)};
        QByteArray before, now;
        return m_windows->tool("xdotool", search, &before) && m_windows->pressKey(main, "Menu") &&
               Poll::until(
                   [&] { return m_windows->tool("xdotool", search, &now) && now != before; },
                   Poll::ChangeLimitMs) &&
               m_windows->tool("xdotool", {"key", key});
    }

    static QByteArray read(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir m_root{QDir::tempPath() + "/kurbelfon-package-XXXXXX"};
    uid_t m_user = 0;
    gid_t m_group = 0;
    XDesktop m_desktop;
    std::optional<XWindows> m_windows;
    std::list<QProcess> m_processes;
};

QTEST_GUILESS_MAIN(TestE2ePackage)
#include "test_e2e_package.moc"
