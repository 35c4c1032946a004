// The "&Autostart" box of the main window against a temporary XDG_CONFIG_HOME: start-up sets it
// from the entry without writing, and turns an old start-up shortcut into the entry.
#include "WindowFixture.h"
#include "support/AutoStartRules.h"
#include "support/RegistryStore.h"

#include <QCheckBox>
#include <QDir>

class TestAutoStartCheck : public QObject {
    Q_OBJECT
private slots:
    void init() {
        m_config = std::make_unique<QTemporaryDir>();
        qputenv("XDG_CONFIG_HOME", m_config->path().toUtf8());
    }

    void existingEntryTicksTheBoxUntouched() {
        RegistryStore store;
        const QString entry = store.autostartPath(AutoStartRules::ValueName);
        QDir().mkpath(QFileInfo(entry).absolutePath());
        const QByteArray foreign = "[Desktop Entry]\nType=Application\nExec=/alt/kurbelfon\n";
        QFile file(entry);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(foreign) == foreign.size());
        file.close();

        WindowFixture f;
        f.write(QStringLiteral("Telefonregister.ini"), FirstStartFile);
        QVERIFY(f.start());
        QVERIFY(f.window->findChild<QCheckBox*>(QStringLiteral("AutoStartCHK"))->isChecked());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), foreign);
        QVERIFY(f.modals.titles.isEmpty());
    }

    // A shortcut that cannot be deleted is reported, and the entry is written all the same.
    void undeletableShortcutIsReportedAndReplaced() {
        RegistryStore store;
        const QString startup = m_config->filePath(QStringLiteral("Autostart"));
        store.RegWriteValue(RegistryStore::Hive::HKEY_CURRENT_USER, AutoStartRules::ShellFoldersKey,
                            QStringLiteral("Startup"), startup, RegistryStore::REG_SZ);
        const QString shortcut = startup + QStringLiteral("/Kurbelfon.lnk");
        QVERIFY(QDir().mkpath(shortcut + QStringLiteral("/voll")));

        WindowFixture f;
        f.write(QStringLiteral("Telefonregister.ini"), FirstStartFile);
        QVERIFY(f.start());
        QCOMPARE(f.modals.titles, QStringList{QStringLiteral("Kurbelfon")});
        QCOMPARE(f.modals.texts, QStringList{QStringLiteral("Datei nicht löschbar: ") + shortcut});
        QVERIFY(f.window->findChild<QCheckBox*>(QStringLiteral("AutoStartCHK"))->isChecked());
        QVERIFY(store.HasRunEntry(AutoStartRules::ValueName, false, false));
    }

private:
    std::unique_ptr<QTemporaryDir> m_config;
};

QTEST_MAIN(TestAutoStartCheck)
#include "test_autostartcheck.moc"
