#include "WindowFixture.h"

#include "app/CardListView.h"
#include "app/OptionsPage.h"
#include "app/TrayIcon.h"
#include "dialing/LinkDialer.h"
#include "register/EntryLine.h"
#include "register/PhoneRegister.h"
#include "register/RegisterMessages.h"
#include "support/GermanTranslation.h"
#include "support/UserMessage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>
#include <QTabBar>
#include <QtTest>
#include <csignal>
#include <sys/resource.h>

namespace {

QString shown(QString text) {
    return text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
}

const QByteArray TwoCardFile = FirstStartFile + "2,\"Meier, Hans\",\"49 30 123\",1\r\n"
                                                "2,\"Zoe\",\"49 89 5\",0\r\n"
                                                "3,\"Privat\",\"1 555 0100\",0\r\n";

// Fills the entry editor that is open and presses one of its buttons.
ModalWatcher::Answer fillEditor(const QString& name, const QString& number, bool zero,
                                bool ok = true) {
    return [=](QWidget* editor) {
        editor->findChild<QLineEdit*>(QStringLiteral("Text1_0"))->setText(name);
        editor->findChild<QLineEdit*>(QStringLiteral("Text1_1"))->setText(number);
        editor->findChild<QCheckBox*>(QStringLiteral("ZeroChk"))->setChecked(zero);
        editor
            ->findChild<QPushButton*>(ok ? QStringLiteral("Command1_0")
                                         : QStringLiteral("Command1_1"))
            ->click();
    };
}

QStringList names(const MainWindow& window, int card) {
    QStringList result;
    for (const QString& line : window.phoneRegister()->card(card)->lines())
        result << GetEntryName(line) + QLatin1Char('|') + GetEntryTail(line);
    return result;
}

// A file size limit makes every write fail like a full disk, also for root.
class TinyFileSizeLimit {
public:
    TinyFileSizeLimit() {
        getrlimit(RLIMIT_FSIZE, &m_old);
        m_previous = std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit tiny = m_old;
        tiny.rlim_cur = 16;
        setrlimit(RLIMIT_FSIZE, &tiny);
    }
    ~TinyFileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_previous);
    }

private:
    struct rlimit m_old {};
    void (*m_previous)(int) = nullptr;
};

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { installGermanTranslation(*qApp); }

    void firstStartWritesMessageThenOptionsPage() {
        WindowFixture f;
        bool visibleDuringMessage = true;
        f.modals.queue([&](QWidget* box) {
            visibleDuringMessage = f.window->isVisible();
            qobject_cast<QMessageBox*>(box)->button(QMessageBox::Ok)->click();
        });
        QVERIFY(f.start());
        QCOMPARE(f.modals.texts, QStringList{shown(RegisterMessages::NewFileCreated)});
        QCOMPARE(f.modals.titles.first(), QStringLiteral("Kurbelfon"));
        QVERIFY(!visibleDuringMessage);
        QCOMPARE(f.read(QStringLiteral("Telefonregister.ini")), FirstStartFile);
        QVERIFY(!QFile::exists(f.path(QStringLiteral("Telefonregister.bak"))));
        QVERIFY(f.window->isVisible());
        QCOMPARE(f.window->CurrentTab(), 5);
        QCOMPARE(f.window->windowTitle(), QStringLiteral("Kurbelfon"));
        QCOMPARE(f.window->optionsPage()->ComList->count(), 16);
        QCOMPARE(f.window->optionsPage()->ComList->itemText(15), QStringLiteral("COM16"));
        QCOMPARE(f.window->optionsPage()->WahlArtList->itemText(1), QStringLiteral("Puls"));
    }

    // A register that could not be written is not announced as a new file.
    void firstStartThatCannotSaveSaysOnlyThat() {
        WindowFixture f;
        {
            TinyFileSizeLimit full;
            QVERIFY(f.start());
        }
        QCOMPARE(f.modals.texts.size(), 1);
        QVERIFY(f.modals.texts.at(0).contains(QStringLiteral("konnte nicht gespeichert")));
        QCOMPARE(f.window->CurrentTab(), 5);
        QVERIFY(!QFile::exists(f.path(QStringLiteral("Telefonregister.ini"))));
        f.window->tabStrip()->setCurrentIndex(0); // leaving the page saves again
        QCOMPARE(f.read(QStringLiteral("Telefonregister.ini")), FirstStartFile);
    }

    void incompatibleHeaderEndsWithoutWriting_data() {
        QTest::addColumn<QByteArray>("header");
        QTest::newRow("lower case") << QByteArray("[kurbelfon version 4]");
        QTest::newRow("version 3") << QByteArray("[KURBELFON VERSION 3]");
        QTest::newRow("empty file") << QByteArray();
    }
    void incompatibleHeaderEndsWithoutWriting() {
        QFETCH(QByteArray, header);
        WindowFixture f;
        const QByteArray content = header.isEmpty() ? header : header + TwoCardFile.mid(23);
        f.write(QStringLiteral("Telefonregister.ini"), content);
        QVERIFY(!f.start());
        QCOMPARE(f.modals.texts, QStringList{shown(RegisterMessages::Incompatible)});
        QVERIFY(!f.window->isVisible());
        QCOMPARE(f.read(QStringLiteral("Telefonregister.ini")), content);
        QCOMPARE(QDir(f.dir.path()).entryList(QDir::Files).size(), 1);
    }

    void loadsCardsAndNamesIntoWindow() {
        WindowFixture f;
        QByteArray content = TwoCardFile;
        content.replace("\"Privat 1\"", "\"Familie\"");
        f.write(QStringLiteral("Telefonregister.ini"), "  " + content);
        QVERIFY(f.start());
        QVERIFY(f.modals.texts.isEmpty());
        QCOMPARE(f.window->CurrentTab(), 1);
        QCOMPARE(f.window->tabStrip()->tabText(2), QStringLiteral("Familie"));
        QCOMPARE(f.window->tabStrip()->tabText(4), QStringLiteral("Optionen"));
        QCOMPARE(names(*f.window, 2).size(), 2);
        const CardListView* first = f.window->nameList(1);
        for (int card = 2; card <= 4; ++card) {
            QCOMPARE(f.window->nameList(card)->toolTip(), first->toolTip());
            QCOMPARE(f.window->nameList(card)->font().family(), QStringLiteral("Arial"));
        }
        QCOMPARE(first->font().pointSizeF(), 12.0);
        QCOMPARE(f.window->statusText(),
                 QStringLiteral("Doppelklick für Anwahl oder rechte Maustaste für Menü"));
    }

    void editorInsertsChangesAndCancels() {
        WindowFixture f;
        f.write(QStringLiteral("Telefonregister.ini"), TwoCardFile);
        QVERIFY(f.start());
        f.window->tabStrip()->setCurrentIndex(1);

        // Insert: blanks trimmed, the new line takes its sorted place.
        f.modals.queue(fillEditor(QStringLiteral(" Anna "), QStringLiteral(" 49 89 1 "), true));
        f.window->pum_Click(1);
        QCOMPARE(names(*f.window, 2), (QStringList{QStringLiteral("Anna|49 89 1~1"),
                                                   QStringLiteral("Meier, Hans|49 30 123~1"),
                                                   QStringLiteral("Zoe|49 89 5~0")}));
        QVERIFY(
            f.read(QStringLiteral("Telefonregister.ini")).contains("2,\"Anna\",\"49 89 1\",1\r\n"));
        QCOMPARE(f.read(QStringLiteral("Telefonregister.bak")), TwoCardFile);

        // Change = remove + add.
        f.window->nameList(2)->setCurrentIndex(f.window->phoneRegister()->card(2)->index(2));
        f.modals.queue(fillEditor(QStringLiteral("Ahrens"), QStringLiteral("49 89 5"), false));
        f.window->pum_Click(2);
        QCOMPARE(names(*f.window, 2).first(), QStringLiteral("Ahrens|49 89 5~0"));
        QCOMPARE(names(*f.window, 2).size(), 3);

        // Cancel changes nothing and writes nothing.
        const QByteArray before = f.read(QStringLiteral("Telefonregister.ini"));
        f.window->nameList(2)->setCurrentIndex(f.window->phoneRegister()->card(2)->index(0));
        f.modals.queue(fillEditor(QStringLiteral("X"), QStringLiteral("1"), true, false));
        f.window->pum_Click(2);
        QCOMPARE(names(*f.window, 2).size(), 3);
        QCOMPARE(f.read(QStringLiteral("Telefonregister.bak")).size() > 0, true);
        QCOMPARE(f.read(QStringLiteral("Telefonregister.ini")), before);

        // An emptied number deletes on OK; blanks only count as filled.
        f.modals.queue(fillEditor(QStringLiteral("Ahrens"), QString(), false));
        f.window->pum_Click(2);
        QCOMPARE(names(*f.window, 2).size(), 2);
        f.modals.queue(fillEditor(QStringLiteral("   "), QStringLiteral("7"), false));
        f.window->pum_Click(1);
        QCOMPARE(names(*f.window, 2).first(), QStringLiteral("|7~0"));

        // An insert with an empty field adds nothing but still saves: the same bytes, so the
        // backup keeps the state before the last change.
        const QByteArray beforeEmptyInsert = f.read(QStringLiteral("Telefonregister.ini"));
        const QByteArray backup = f.read(QStringLiteral("Telefonregister.bak"));
        f.modals.queue(fillEditor(QString(), QStringLiteral("5"), true));
        f.window->pum_Click(1);
        QCOMPARE(names(*f.window, 2).size(), 3);
        QCOMPARE(f.read(QStringLiteral("Telefonregister.ini")), beforeEmptyInsert);
        QCOMPARE(f.read(QStringLiteral("Telefonregister.bak")), backup);
    }

    void insertOpensEmptyEditorWithZeroTicked() {
        WindowFixture f;
        f.write(QStringLiteral("Telefonregister.ini"), TwoCardFile);
        QVERIFY(f.start());
        QString name = QStringLiteral("?"), number = QStringLiteral("?");
        bool zero = false;
        f.modals.queue([&](QWidget* editor) {
            name = editor->findChild<QLineEdit*>(QStringLiteral("Text1_0"))->text();
            number = editor->findChild<QLineEdit*>(QStringLiteral("Text1_1"))->text();
            zero = editor->findChild<QCheckBox*>(QStringLiteral("ZeroChk"))->isChecked();
            QVERIFY(f.window->ModalDialogOpen());
            editor->close();
        });
        f.window->pum_Click(1);
        QVERIFY(name.isEmpty() && number.isEmpty() && zero);
        QVERIFY(!f.window->ModalDialogOpen());
    }

    void deleteAsksWordForWord() {
        WindowFixture f;
        f.write(QStringLiteral("Telefonregister.ini"), TwoCardFile);
        QVERIFY(f.start());
        f.window->tabStrip()->setCurrentIndex(1);
        f.window->nameList(2)->setCurrentIndex(f.window->phoneRegister()->card(2)->index(0));

        f.modals.queueButton(QMessageBox::No);
        f.window->pum_Click(3);
        QCOMPARE(f.modals.titles.last(), QStringLiteral("Eintrag löschen"));
        QCOMPARE(f.modals.texts.last(),
                 QStringLiteral("Soll der folgende Eintrag wirklich gelöscht werden?\n\n"
                                "Meier, Hans (49 30 123)"));
        QCOMPARE(f.modals.defaults.last(), QMessageBox::No);
        QVERIFY(f.modals.buttonTexts.last().contains(QStringLiteral("Nein")));
        QVERIFY(f.modals.buttonTexts.last().contains(QStringLiteral("Ja")));
        QCOMPARE(names(*f.window, 2).size(), 2);
        QVERIFY(!QFile::exists(f.path(QStringLiteral("Telefonregister.bak"))));

        f.modals.queueButton(QMessageBox::Yes);
        f.window->pum_Click(3);
        QCOMPARE(names(*f.window, 2), QStringList{QStringLiteral("Zoe|49 89 5~0")});
        QVERIFY(!f.read(QStringLiteral("Telefonregister.ini")).contains("Meier"));
    }

    // Markup in a stored name or a link stays text: no box, status line or preview runs a link.
    void untrustedTextIsShownPlain() {
        WindowFixture f;
        f.write(QStringLiteral("Telefonregister.ini"),
                FirstStartFile + "1,\"<b>Fett</b> <a href=https://example.org/x>Hier</a>\",\"49 "
                                 "89 5\",0\r\n");
        QVERIFY(f.start());
        f.window->nameList(1)->setCurrentIndex(f.window->phoneRegister()->card(1)->index(0));
        f.modals.queueButton(QMessageBox::No);
        f.window->pum_Click(3);
        UserMessage::error(f.window.get(), LinkDialer::rejectionMessage(QStringLiteral(
                                               "tel:<a href=\"https://example.org/x\">Hier</a>")));
        QCOMPARE(f.modals.formats, (QList<Qt::TextFormat>{Qt::PlainText, Qt::PlainText}));
        QVERIFY(f.modals.texts.at(0).contains(QStringLiteral("<b>Fett</b> <a href=")));
        for (const char* label : {"StatusText", "DialPreview"})
            QCOMPARE(f.window->statusBar()->findChild<QLabel*>(label)->textFormat(), Qt::PlainText);
    }

    void unstorableCharacterIsRefusedInEditor() {
        WindowFixture f;
        f.write(QStringLiteral("Telefonregister.ini"), TwoCardFile);
        QVERIFY(f.start());
        f.modals.queue(fillEditor(QStringLiteral("Łukasz"), QStringLiteral("48 22 1"), true));
        f.modals.queue(
            [](QWidget* box) { qobject_cast<QMessageBox*>(box)->defaultButton()->click(); });
        f.modals.queue([](QWidget* editor) { editor->close(); });
        f.window->pum_Click(1);
        QCOMPARE(f.modals.texts.size(), 3);
        QVERIFY(f.modals.texts.at(1).contains(QStringLiteral("Łukasz")));
        QVERIFY(f.modals.texts.at(1).contains(QStringLiteral("nicht speichern")));
        QCOMPARE(names(*f.window, 1).size(), 0);
        QVERIFY(!QFile::exists(f.path(QStringLiteral("Telefonregister.bak"))));
    }

    void popupMenuFollowsSelection() {
        WindowFixture f;
        f.write(QStringLiteral("Telefonregister.ini"), TwoCardFile);
        QVERIFY(f.start());
        f.window->tabStrip()->setCurrentIndex(1);
        CardListView* list = f.window->nameList(2);
        QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));

        auto openMenu = [&](bool* changeEnabled, bool* deleteEnabled, QString* defaultText) {
            QTimer::singleShot(50, [=] {
                auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
                if (!menu)
                    return;
                *changeEnabled = menu->findChild<QAction*>(QStringLiteral("pum2")) &&
                                 menu->actions().at(1)->isEnabled();
                *deleteEnabled = menu->actions().at(2)->isEnabled();
                *defaultText = menu->defaultAction() ? menu->defaultAction()->text() : QString();
                menu->close();
            });
            QTest::mouseClick(list->viewport(), Qt::RightButton, {}, QPoint(10, 5));
        };
        bool change = true, remove = true;
        QString defaultText;
        openMenu(&change, &remove, &defaultText);
        QVERIFY(!change);
        QVERIFY(!remove);
        QCOMPARE(defaultText, QStringLiteral("&Abbrechen"));
        QCOMPARE(list->selectedRow(), -1); // the right click selects nothing

        list->setCurrentIndex(f.window->phoneRegister()->card(2)->index(1));
        QCOMPARE(f.window->statusText(), QStringLiteral("49 89 5"));
        openMenu(&change, &remove, &defaultText);
        QVERIFY(change);
        QVERIFY(remove);
        QCOMPARE(f.window->statusText(),
                 QStringLiteral("Doppelklick für Anwahl oder rechte Maustaste für Menü"));
    }

    void closeBoxHidesAndEndSavesOnlyTheOptionsPage() {
        WindowFixture f;
        f.write(QStringLiteral("Telefonregister.ini"), TwoCardFile);
        QVERIFY(f.start());
        QSignalSpy unloaded(f.window.get(), &MainWindow::unloaded);
        f.window->close();
        QVERIFY(!f.window->isVisible());
        QCOMPARE(unloaded.size(), 0);

        f.window->Btn_Click(22); // "&Ende" on a card writes nothing
        QCOMPARE(unloaded.size(), 1);
        QVERIFY(!QFile::exists(f.path(QStringLiteral("Telefonregister.bak"))));
        QCOMPARE(f.read(QStringLiteral("Telefonregister.ini")), TwoCardFile);

        WindowFixture g;
        g.write(QStringLiteral("Telefonregister.ini"), TwoCardFile);
        QVERIFY(g.start());
        g.window->ShowOptionsPage();
        g.window->close(); // hidden on the options page: still nothing written
        QVERIFY(!QFile::exists(g.path(QStringLiteral("Telefonregister.bak"))));
        g.window->Unload(); // saves the options page, which holds no change
        QVERIFY(!QFile::exists(g.path(QStringLiteral("Telefonregister.bak"))));
        QCOMPARE(g.read(QStringLiteral("Telefonregister.ini")), TwoCardFile);

        // Ending on the options page saves once: the backup keeps the change before.
        WindowFixture h;
        h.write(QStringLiteral("Telefonregister.ini"), TwoCardFile);
        QVERIFY(h.start());
        h.window->ShowOptionsPage();
        h.window->optionsPage()->Text1[0]->setText(QStringLiteral("7"));
        h.window->tabStrip()->setCurrentIndex(0);
        h.window->ShowOptionsPage();
        h.window->optionsPage()->Text1[0]->setText(QStringLiteral("8"));
        emit h.window->trayIcon()->quitRequested();
        QVERIFY(h.read(QStringLiteral("Telefonregister.bak")).contains(",\"7\","));
        QVERIFY(h.read(QStringLiteral("Telefonregister.ini")).contains(",\"8\","));
    }

    void failedSaveKeepsFilesAndTellsWhy() {
        WindowFixture f;
        f.write(QStringLiteral("Telefonregister.ini"), TwoCardFile);
        QVERIFY(f.start());
        f.window->tabStrip()->setCurrentIndex(1);

        f.modals.queue(fillEditor(QStringLiteral("Neu"), QStringLiteral("49 1"), true));
        {
            TinyFileSizeLimit full;
            f.window->pum_Click(1);
        }

        QCOMPARE(f.modals.texts.size(), 2);
        QVERIFY(f.modals.texts.at(1).contains(f.path(QStringLiteral("Telefonregister.ini"))));
        QVERIFY(f.modals.texts.at(1).contains(QStringLiteral("voll")));
        QCOMPARE(f.read(QStringLiteral("Telefonregister.ini")), TwoCardFile);
        QVERIFY(!QFile::exists(f.path(QStringLiteral("Telefonregister.bak"))));
        QCOMPARE(names(*f.window, 2).size(), 3); // kept in memory

        // The next change writes everything, the earlier entry included.
        f.modals.queue(fillEditor(QStringLiteral("Danach"), QStringLiteral("49 2"), true));
        f.window->pum_Click(1);
        const QByteArray saved = f.read(QStringLiteral("Telefonregister.ini"));
        QVERIFY(saved.contains("\"Neu\"") && saved.contains("\"Danach\""));
    }

    void missingRegisterOffersItsBackup_data() {
        QTest::addColumn<bool>("restore");
        QTest::newRow("Ja") << true;
        QTest::newRow("Nein") << false;
    }
    void missingRegisterOffersItsBackup() {
        QFETCH(bool, restore);
        WindowFixture f;
        f.write(QStringLiteral("Telefonregister.bak"), TwoCardFile);
        f.modals.queueButton(restore ? QMessageBox::Yes : QMessageBox::No);
        QVERIFY(f.start());
        QVERIFY(f.modals.texts.first().contains(QStringLiteral("Telefonregister.bak")));
        QCOMPARE(f.read(QStringLiteral("Telefonregister.bak")), TwoCardFile);
        if (restore) {
            QCOMPARE(f.modals.texts.size(), 1);
            QCOMPARE(f.read(QStringLiteral("Telefonregister.ini")), TwoCardFile);
            QCOMPARE(names(*f.window, 2).size(), 2);
        } else {
            QCOMPARE(f.modals.texts.at(1), shown(RegisterMessages::NewFileCreated));
            QCOMPARE(f.read(QStringLiteral("Telefonregister.ini")), FirstStartFile);
            const QStringList kept =
                QDir(f.dir.path()).entryList({QStringLiteral("Telefonregister-*.bak")});
            QCOMPARE(kept.size(), 1);
            QCOMPARE(f.read(kept.first()), TwoCardFile);
        }
    }

    void damagedContentIsReportedAndKept() {
        WindowFixture f;
        const QByteArray damaged = TwoCardFile + "7,\"Falsch\",\"1\",0\r\n";
        f.write(QStringLiteral("Telefonregister.ini"), damaged);
        QVERIFY(f.start());
        QCOMPARE(f.modals.texts.size(), 1);
        QVERIFY(f.modals.texts.first().contains(QStringLiteral("Zeile 7")));
        QCOMPARE(names(*f.window, 2).size(), 2);
        const QStringList kept =
            QDir(f.dir.path()).entryList({QStringLiteral("Telefonregister-defekt-*.ini")});
        QCOMPARE(kept.size(), 1);
        QCOMPARE(f.read(kept.first()), damaged);
    }
    // Enter on a card reaches the modem; a port that is not there turns to the options page,
    // and "Debug" then has no answer to show.
    void dialToMissingPortTurnsToOptions() {
        WindowFixture f;
        f.write(QStringLiteral("Telefonregister.ini"), TwoCardFile);
        QVERIFY(QDir(f.dir.path()).mkpath(QStringLiteral("dosdevices")));
        QVERIFY(QFile::link(f.path(QStringLiteral("nothing")),
                            f.path(QStringLiteral("dosdevices/com1"))));
        QVERIFY(f.start());
        f.window->tabStrip()->setCurrentIndex(1);
        f.window->nameList(2)->setCurrentIndex(f.window->phoneRegister()->card(2)->index(0));
        QTest::keyClick(f.window->nameList(2), Qt::Key_Return);
        QCOMPARE(
            f.modals.texts,
            QStringList{QStringLiteral("Der angegebene Anschluß COM1 ist nicht verfügbar.\n") +
                        f.path(QStringLiteral("dosdevices/com1")) +
                        QStringLiteral(": Gerät nicht gefunden – ist das Modem angeschlossen?")});
        QCOMPARE(f.window->CurrentTab(), MainWindow::OptionsTab);
        QVERIFY(!f.window->ModalDialogOpen());

        f.window->findChild<QPushButton*>(QStringLiteral("Btn0"))->click();
        QCOMPARE(f.modals.texts.last(),
                 shown(QStringLiteral("Das Modem gab nach der letzten Anwahl folgende "
                                      "Zeichenkette zurück:\r\r(keine Rückmeldung)")));
    }
};

QTEST_MAIN(TestMainWindow)
#include "test_mainwindow.moc"
