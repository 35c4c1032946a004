// The registry store on Linux and the autostart entry, against a temporary XDG_CONFIG_HOME.
#include "support/AutoStartRules.h"
#include "support/DesktopEntry.h"
#include "support/Paths.h"
#include "support/RegistryStore.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

using Hive = RegistryStore::Hive;

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray expectedEntry(const QString& commandLine) {
    const QString exec = DesktopEntry::execLine(DesktopEntry::splitCommandLine(commandLine));
    return QStringLiteral("[Desktop Entry]\nType=Application\nName=Kurbelfon\nExec=%1\n"
                          "Icon=kurbelfon\nTerminal=false\nX-GNOME-Autostart-enabled=true\n")
        .arg(DesktopEntry::escapeValue(exec))
        .toUtf8();
}

} // namespace

class TestAutoStart : public QObject {
    Q_OBJECT
private slots:
    void init() {
        m_config = std::make_unique<QTemporaryDir>();
        QVERIFY(m_config->isValid());
        qputenv("XDG_CONFIG_HOME", m_config->path().toUtf8());
    }

    void tickWritesEntryUntickRemovesIt() {
        RegistryStore store;
        const QString entry = store.autostartPath(AutoStartRules::ValueName);
        QVERIFY(!AutoStartRules::InitAutoStart(store).checked);
        QVERIFY(!QFile::exists(entry));

        AutoStartRules::Apply(store, true);
        QCOMPARE(readAll(entry),
                 expectedEntry(Paths::ProgramPath() + QStringLiteral(" /AUTOSTART")));
        QCOMPARE(store.RegReadString(Hive::HKEY_CURRENT_USER, RegistryStore::RunEntryKey(false),
                                     AutoStartRules::ValueName),
                 AutoStartRules::CommandLine());
        QVERIFY(AutoStartRules::InitAutoStart(store).checked);

        AutoStartRules::Apply(store, false);
        QVERIFY(!QFile::exists(entry));
        AutoStartRules::Apply(store, false); // none there: nothing changes, nothing appears
        QVERIFY(!QFile::exists(entry));
        QVERIFY(QDir(m_config->path()).entryList(QDir::Files).isEmpty());
    }

    // Whatever its data, an existing entry ticks the box and is left as it is.
    void existingEntryTicksWithoutRewriting() {
        RegistryStore store;
        const QString entry = store.autostartPath(AutoStartRules::ValueName);
        const QByteArray foreign = "[Desktop Entry]\nType=Application\nExec=/alt/kurbelfon\n";
        QVERIFY(writeFile(entry, foreign));
        const AutoStartRules::StartState state = AutoStartRules::InitAutoStart(store);
        QVERIFY(state.checked);
        QVERIFY(!state.shortcutReplaced);
        QCOMPARE(readAll(entry), foreign);

        // The desktop was told to skip it: the box shows the program does not start.
        for (const char* off : {"Hidden=true\n", "X-GNOME-Autostart-enabled=false\n"}) {
            QVERIFY(writeFile(entry, foreign + off));
            QVERIFY(!AutoStartRules::InitAutoStart(store).checked);
        }
    }

    void shortcutIsReplacedByTheEntry_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QStringList>("messages"); // %1: the shortcut's path
        QTest::newRow("file") << "file" << QStringList{};
        QTest::newRow("folder cannot be deleted")
            << "folder" << QStringList{"Datei nicht löschbar: %1"};
        QTest::newRow("dangling link has no attributes")
            << "link" << QStringList{"Attribute nicht löschbar: %1"};
    }
    void shortcutIsReplacedByTheEntry() {
        QFETCH(QString, kind);
        QFETCH(QStringList, messages);
        RegistryStore store;
        const QString startup = m_config->filePath(QStringLiteral("Startmenü/Autostart"));
        QVERIFY(QDir().mkpath(startup));
        store.RegWriteValue(Hive::HKEY_CURRENT_USER, AutoStartRules::ShellFoldersKey,
                            QStringLiteral("Startup"), startup, RegistryStore::REG_SZ);
        const QString shortcut = startup + QStringLiteral("/Kurbelfon.lnk");
        QCOMPARE(AutoStartRules::ShortcutPath(store), shortcut);
        if (kind == QStringLiteral("file"))
            QVERIFY(writeFile(shortcut, "L\0\0\0"));
        else if (kind == QStringLiteral("folder"))
            QVERIFY(QDir().mkpath(shortcut + QStringLiteral("/inhalt")));
        else
            QVERIFY(QFile::link(startup + QStringLiteral("/fehlt"), shortcut));

        const AutoStartRules::StartState state = AutoStartRules::InitAutoStart(store);
        for (QString& message : messages)
            message = message.arg(shortcut);
        QCOMPARE(state.messages, messages);
        QVERIFY(state.checked);
        QVERIFY(state.shortcutReplaced);
        QCOMPARE(Paths::FileExists(shortcut), kind == QStringLiteral("folder"));
    }

    void iniValuesRoundTrip() {
        RegistryStore store;
        const QString key = QStringLiteral("SOFTWARE\\Kurbelfon\\Test Schlüssel");
        QCOMPARE(store.RegReadString(Hive::HKEY_CURRENT_USER, key, QStringLiteral("Wert")),
                 QString());
        QVERIFY(!store.RegValueExists(Hive::HKEY_CURRENT_USER, key, QStringLiteral("Wert")));
        QVERIFY(store.RegWriteValue(Hive::HKEY_CURRENT_USER, key, QStringLiteral("Wert"),
                                    QStringLiteral("Müller = \"x\"; y"), RegistryStore::REG_SZ));
        QCOMPARE(
            RegistryStore().RegReadString(Hive::HKEY_CURRENT_USER, key, QStringLiteral("Wert")),
            QStringLiteral("Müller = \"x\"; y"));
        // The other hive and RunOnce live in the INI file too, apart from each other.
        QVERIFY(!store.RegValueExists(Hive::HKEY_LOCAL_MACHINE, key, QStringLiteral("Wert")));
        store.SetRunEntry(QStringLiteral("Kurbelfon"), QStringLiteral("x /AUTOSTART"), false, true);
        QVERIFY(store.HasRunEntry(QStringLiteral("Kurbelfon"), false, true));
        QVERIFY(!store.HasRunEntry(QStringLiteral("Kurbelfon"), false, false));
        QVERIFY(store.RegRemoveValue(Hive::HKEY_CURRENT_USER, key, QStringLiteral("Wert")));
        QVERIFY(!store.RegValueExists(Hive::HKEY_CURRENT_USER, key, QStringLiteral("Wert")));
    }

    void execQuotingRoundTrips_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("plain") << QStringList{"/opt/kurbelfon/kurbelfon", "/AUTOSTART"};
        QTest::newRow("blank") << QStringList{"/home/anna/Meine Programme/kurbelfon", "/AUTOSTART"};
        QTest::newRow("reserved") << QStringList{
            "/h/a \"b\" $c `d` \\e 100% f;g&h|i<j>k~l*m?n#o(p)q'r/kurbelfon", "x"};
        QTest::newRow("empty argument") << QStringList{"/p", "", "y"};
        QTest::newRow("tab and newline") << QStringList{"/p/a\tb\nc"};
    }
    void execQuotingRoundTrips() {
        QFETCH(QStringList, arguments);
        const QString written = DesktopEntry::escapeValue(DesktopEntry::execLine(arguments));
        QVERIFY2(!written.contains(QLatin1Char('\n')), qPrintable(written));
        QCOMPARE(DesktopEntry::execArguments(DesktopEntry::unescapeValue(written)), arguments);
    }

    // A program folder with blanks and worse: the desktop's own tools accept the entry and
    // start the program from it with its switch.
    void entryForOddPathStartsTheProgram_data() {
        QTest::addColumn<QString>("folder");
        QTest::newRow("blank") << "Meine Programme";
        // GLib looks for the program before it turns "%%" into "%", so no "%" here.
        QTest::newRow("reserved") << "Anna's \"Telefon\" $HOME & (alt) \\ `x`";
    }
    void entryForOddPathStartsTheProgram() {
        QFETCH(QString, folder);
        for (const char* tool : {"desktop-file-validate", "gio"}) {
            if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
                QFAIL(qPrintable(
                    QStringLiteral("%1 is missing: run scripts/install-deps.sh").arg(tool)));
        }
        const QString programFolder = m_config->filePath(folder);
        const QString program = programFolder + QStringLiteral("/kurbelfon");
        const QString record = m_config->filePath(QStringLiteral("started"));
        QVERIFY(writeFile(
            program,
            QStringLiteral("#!/bin/sh\nprintf '%s|' \"$0\" \"$@\" > '%1'\n").arg(record).toUtf8()));
        QVERIFY(
            QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));

        RegistryStore store;
        const QString data = program + QStringLiteral(" /AUTOSTART");
        store.SetRunEntry(AutoStartRules::ValueName, data, false, false);
        QCOMPARE(store.RegReadString(Hive::HKEY_CURRENT_USER, RegistryStore::RunEntryKey(false),
                                     AutoStartRules::ValueName),
                 data);

        const QString entry = store.autostartPath(AutoStartRules::ValueName);
        QProcess validate;
        validate.start(QStringLiteral("desktop-file-validate"), {entry});
        QVERIFY(validate.waitForFinished(30000));
        const QByteArray complaints = validate.readAll();
        QVERIFY2(validate.exitCode() == 0 && complaints.trimmed().isEmpty(),
                 complaints.constData());

        QProcess launch;
        launch.setProcessChannelMode(QProcess::MergedChannels);
        launch.start(QStringLiteral("gio"), {QStringLiteral("launch"), entry});
        QVERIFY(launch.waitForFinished(30000));
        QVERIFY2(launch.exitCode() == 0, launch.readAll().constData());
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(record), 30000);
        QTRY_COMPARE_WITH_TIMEOUT(QString::fromUtf8(readAll(record)),
                                  program + QStringLiteral("|/AUTOSTART|"), 30000);
    }

private:
    std::unique_ptr<QTemporaryDir> m_config;
};

QTEST_GUILESS_MAIN(TestAutoStart)
#include "test_autostart.moc"
