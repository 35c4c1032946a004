// The built Debian package, unpacked where the test user cannot write, started as that user:
// first start, one entry, end, next start. Root writes anywhere and would hide the fault.
#include "Poll.h"
#include "ProgramNames.h"
#include "XDesktop.h"
#include "XWindows.h"

#include <QDir>
#include <QDirIterator>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <grp.h>
#include <pwd.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <memory>

namespace {

using namespace ProgramNames;

const char* const TestUser = "kurbelfon-ci";
const QByteArray EntryLine = QByteArrayLiteral("1,\"Zander, Ute\",\"49 89 7654321\",1\r\n");
const QByteArray NewRegister =
    QByteArrayLiteral("[KURBELFON VERSION 4]\r\n"
                      "0,1,0,0,\"\",0,\"00\",\"49\",\"89\",12,\"\",\"\",0\r\n"
                      "\"B\xFCro 1\",\"B\xFCro 2\",\"Privat 1\",\"Privat 2\"\r\n");

QStringList listing(const QString& folder) {
    QStringList names;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        names << it.next();
    names.sort();
    return names;
}

} // namespace

class TestE2ePackage : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        const QStringList packages =
            QDir(QStringLiteral(KURBELFON_BUILD_DIR))
                .entryList(
                    {QStringLiteral("kurbelfon_%1_*.deb").arg(QStringLiteral(KURBELFON_VERSION))});
        QVERIFY2(packages.size() == 1, "no package: make deb");
        QVERIFY(m_root.isValid());
        QVERIFY(QFile::setPermissions(m_root.path(), QFile::ReadOwner | QFile::WriteOwner |
                                                         QFile::ExeOwner | QFile::ReadOther |
                                                         QFile::ExeOther));
        QCOMPARE(QProcess::execute(QStringLiteral("dpkg-deb"),
                                   {QStringLiteral("-x"),
                                    QStringLiteral(KURBELFON_BUILD_DIR "/") + packages.first(),
                                    m_root.filePath(QStringLiteral("usr-root"))}),
                 0);
        QVERIFY(makeUserFolder(QStringLiteral("home")));
        QVERIFY(makeUserFolder(QStringLiteral("runtime")));
        m_desktop = std::make_unique<XDesktop>();
        QVERIFY2(m_desktop->start(), qPrintable(m_desktop->errorString()));
        m_windows = std::make_unique<XWindows>(m_desktop->display());
    }

    void firstStartThenEntryInTheUsersOwnFolder() {
        const QStringList installed = listing(m_root.filePath(QStringLiteral("usr-root")));
        const QString data = m_root.filePath(QStringLiteral("home/.local/share/Kurbelfon/"));

        QProcess* program = start();
        const qint64 pid = program->processId();
        const XWindows::Id box = m_windows->waitFor(Title, MessageBox, pid, Poll::StartLimitMs);
        QVERIFY2(box != 0, "no message box about the new register");
        QVERIFY(m_windows->pressKey(box, QStringLiteral("Return")));
        const XWindows::Id main = m_windows->waitFor(Title, MainWindow, pid, Poll::StartLimitMs);
        QVERIFY2(main != 0, "no main window");
        QCOMPARE(read(data + Register), NewRegister);

        // A first start shows the options page; the next card is the first.
        QVERIFY(m_windows->pressKey(main, QStringLiteral("ctrl+Next")));
        QVERIFY(chooseFromMenu(main, pid, true, QStringLiteral("e"))); // "&Einfügen"
        const XWindows::Id editor =
            m_windows->waitFor(QStringLiteral("Telefonbuch"), MessageBox, pid, Poll::ChangeLimitMs);
        QVERIFY2(editor != 0, "no entry editor");
        QVERIFY(type(editor, QStringLiteral("Zander, Ute")));
        QVERIFY(m_windows->pressKey(editor, QStringLiteral("Tab")));
        QVERIFY(type(editor, QStringLiteral("49 89 7654321")));
        QVERIFY(m_windows->pressKey(editor, QStringLiteral("alt+o")));
        QVERIFY(Poll::until([&] { return read(data + Register) == NewRegister + EntryLine; },
                            Poll::ChangeLimitMs));
        QVERIFY(m_windows->pressKey(main, QStringLiteral("alt+e"))); // "&Ende"
        QVERIFY(Poll::until([&] { return program->state() == QProcess::NotRunning; },
                            Poll::ChangeLimitMs));
        QCOMPARE(program->exitCode(), 0);

        QCOMPARE(read(data + Register), NewRegister + EntryLine);
        QCOMPARE(QFileInfo(data).ownerId(), m_user);
        QCOMPARE(QFile::permissions(data) & 0x0077, QFileDevice::Permissions());
        QCOMPARE(listing(m_root.filePath(QStringLiteral("usr-root"))), installed);

        // The next start reads it back: the entry is there to be deleted.
        program = start();
        const XWindows::Id again =
            m_windows->waitFor(Title, MainWindow, program->processId(), Poll::StartLimitMs);
        QVERIFY2(again != 0, "no main window at the next start");
        QVERIFY(!m_windows->shows(Title, MessageBox, program->processId()));
        QVERIFY(m_windows->pressKey(again, QStringLiteral("Tab")));
        QVERIFY(m_windows->pressKey(again, QStringLiteral("Down")));
        QVERIFY(
            chooseFromMenu(again, program->processId(), false, QStringLiteral("l"))); // "&Löschen"
        QVERIFY2(m_windows->waitFor(QStringLiteral("Eintrag löschen"), MessageBox,
                                    program->processId(), Poll::ChangeLimitMs),
                 "the entry was not there to delete");
    }

    void cleanupTestCase() {
        for (const auto& process : m_processes) {
            process->kill();
            process->waitForFinished(5000);
        }
        // As a normal user the unpacked package was made read-only; it must go again.
        QProcess::execute(QStringLiteral("chmod"),
                          {QStringLiteral("-R"), QStringLiteral("u+w"), m_root.path()});
        if (QTest::currentTestFailed() && m_windows) {
            m_root.setAutoRemove(false);
            m_windows->screenshot(m_root.filePath(QStringLiteral("screen.png")));
            qWarning("kept for inspection: %s", qPrintable(m_root.path()));
        }
    }

private:
    // A folder of the test user's own; as a normal user, the unpacked package is made read-only.
    bool makeUserFolder(const QString& name) {
        const QString path = m_root.filePath(name);
        if (!QDir().mkpath(path) ||
            !QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner))
            return false;
        if (::geteuid() != 0) {
            m_user = ::geteuid();
            m_group = ::getegid();
            return QProcess::execute(QStringLiteral("chmod"),
                                     {QStringLiteral("-R"), QStringLiteral("a-w"),
                                      m_root.filePath(QStringLiteral("usr-root"))}) == 0;
        }
        const passwd* user = ::getpwnam(TestUser);
        if (!user) {
            qWarning("no user %s: useradd -m %s", TestUser, TestUser);
            return false;
        }
        m_user = user->pw_uid;
        m_group = user->pw_gid;
        return ::chown(QFile::encodeName(path).constData(), m_user, m_group) == 0;
    }

    QProcess* start() {
        auto process = std::make_shared<QProcess>();
        QProcessEnvironment env = m_desktop->environment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        env.insert(QStringLiteral("HOME"), m_root.filePath(QStringLiteral("home")));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_root.filePath(QStringLiteral("runtime")));
        env.insert(QStringLiteral("TMPDIR"), m_root.filePath(QStringLiteral("home")));
        env.insert(QStringLiteral("USER"), QString::fromLatin1(TestUser));
        process->setProcessEnvironment(env);
        process->setWorkingDirectory(m_root.filePath(QStringLiteral("home")));
        const uid_t user = m_user;
        const gid_t group = m_group;
        process->setChildProcessModifier([user, group] {
            if (::getuid() == 0 &&
                (::setgroups(0, nullptr) != 0 || ::setgid(group) != 0 || ::setuid(user) != 0))
                ::_exit(126);
            // After the change of user, which clears it.
            ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        });
        process->setProcessChannelMode(QProcess::ForwardedChannels);
        process->start(m_root.filePath(QStringLiteral("usr-root/usr/bin/kurbelfon")), {});
        m_processes << process;
        return process->waitForStarted(Poll::StartLimitMs) ? process.get() : nullptr;
    }

    QList<XWindows::Id> visibleWindows(qint64 pid) const {
        QByteArray output;
        m_windows->tool(QStringLiteral("xdotool"),
                        {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                         QStringLiteral("--pid"), QString::number(pid)},
                        &output);
        QList<XWindows::Id> windows;
        for (const QByteArray& line : output.split('\n'))
            if (!line.trimmed().isEmpty())
                windows << line.trimmed().toULongLong();
        return windows;
    }

    // Opens the card's menu (the keyboard's menu key, or a right click on the list) and picks an
    // item by its accelerator.
    bool chooseFromMenu(XWindows::Id main, qint64 pid, bool byMouse, const QString& key) {
        const QList<XWindows::Id> before = visibleWindows(pid);
        if (byMouse) {
            const QSize size = m_windows->geometry(main).size();
            if (!m_windows->activate(main) ||
                !m_windows->tool(QStringLiteral("xdotool"),
                                 {QStringLiteral("mousemove"), QStringLiteral("--window"),
                                  QString::number(main), QString::number(size.width() / 2),
                                  QString::number(size.height() / 2), QStringLiteral("click"),
                                  QStringLiteral("3")}))
                return false;
        } else if (!m_windows->pressKey(main, QStringLiteral("Menu"))) {
            return false;
        }
        // The menu comes as one more window of the program's.
        const bool open = Poll::until(
            [&] {
                const QList<XWindows::Id> now = visibleWindows(pid);
                return std::any_of(now.begin(), now.end(),
                                   [&](XWindows::Id window) { return !before.contains(window); });
            },
            Poll::ChangeLimitMs);
        // The menu holds the keyboard: activating a window now would close it.
        return open && m_windows->tool(QStringLiteral("xdotool"), {QStringLiteral("key"), key});
    }

    bool type(XWindows::Id window, const QString& text) {
        return m_windows->activate(window) &&
               m_windows->tool(
                   QStringLiteral("xdotool"),
                   {QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("30"), text});
    }

    static QByteArray read(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir m_root{QDir::tempPath() + QStringLiteral("/kurbelfon-package-XXXXXX")};
    uid_t m_user = 0;
    gid_t m_group = 0;
    std::unique_ptr<XDesktop> m_desktop;
    std::unique_ptr<XWindows> m_windows;
    QList<std::shared_ptr<QProcess>> m_processes;
};

QTEST_GUILESS_MAIN(TestE2ePackage)
#include "test_e2e_package.moc"
