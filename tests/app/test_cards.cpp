#include "WindowFixture.h"

#include "app/CardListView.h"
#include "dialing/EntryDialer.h"
#include "register/PhoneRegister.h"
#include "support/GermanTranslation.h"

#include <QPushButton>
#include <QTabBar>
#include <QtTest>

namespace {
const QByteArray Register = FirstStartFile + "2,\"Bernd\",\"49 30 2\",1\r\n"
                                             "2,\"anna\",\"49 30 1\",1\r\n"
                                             "3,\"Carl\",\"1 212 3\",0\r\n";
}

class TestCards : public QObject {
    Q_OBJECT

    WindowFixture* f = nullptr;
    void selectTab(int tab) { f->window->tabStrip()->setCurrentIndex(tab - 1); }

private slots:
    void initTestCase() { installGermanTranslation(*qApp); }
    void init() {
        f = new WindowFixture;
        f->write(QStringLiteral("Telefonregister.ini"), Register);
        QVERIFY(f->startActive());
        // These tests stop at the request to dial; the dialers have tests of their own and would
        // wait here on a modem or a sound server.
        QObject::disconnect(f->window->entryDialer(), nullptr, nullptr, nullptr);
    }
    void cleanup() { delete f; }

    void switchingCardsKeepsStatusAndFocusesList() {
        selectTab(2);
        CardListView* list2 = f->window->nameList(2);
        QCOMPARE(QApplication::focusWidget(), list2);
        QTest::keyClick(list2, Qt::Key_Down); // selects "anna", sorted first
        QCOMPARE(f->window->statusText(), QStringLiteral("49 30 1"));
        selectTab(3);
        QCOMPARE(f->window->statusText(), QStringLiteral("49 30 1"));
        QCOMPARE(QApplication::focusWidget(), f->window->nameList(3));
        QVERIFY(f->window->nameList(3)->isVisible());
        QVERIFY(!list2->isVisible());
        QCOMPARE(f->window->CurrentTab(), 3);
        QVERIFY(!QFile::exists(f->path(QStringLiteral("Telefonregister.bak"))));
    }

    void dialKeysAndDoubleClickAskToDial() {
        selectTab(2);
        CardListView* list = f->window->nameList(2);
        QSignalSpy dial(f->window.get(), &MainWindow::dialRequested);
        list->setCurrentIndex(f->window->phoneRegister()->card(2)->index(1));
        QTest::keyClick(list, Qt::Key_Return);
        QTest::keyClick(list, Qt::Key_Space);
        QTest::keyClick(list, Qt::Key_Enter);
        QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QString(), true);
        QApplication::sendEvent(list, &repeat); // a held key has dialed once already
        const QRect second = list->visualRect(f->window->phoneRegister()->card(2)->index(1));
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, second.center());
        QCOMPARE(dial.size(), 4);
        for (const QList<QVariant>& call : dial) {
            QCOMPARE(call.at(0).toInt(), 2);
            QCOMPARE(call.at(1).toInt(), 1);
        }
        QTest::keyClick(list, Qt::Key_A); // any other key: the list's own
        QCOMPARE(dial.size(), 4);

        // An empty card still asks; there is nothing selected.
        selectTab(4);
        QTest::keyClick(f->window->nameList(4), Qt::Key_Return);
        QCOMPARE(dial.size(), 5);
        QCOMPARE(dial.last().at(1).toInt(), -1);
    }

    void listHandsFocusToTabStrip() {
        selectTab(2);
        QCOMPARE(QApplication::focusWidget(), f->window->nameList(2));
        f->window->findChild<QPushButton*>(QStringLiteral("Btn21"))->setFocus();
        QCOMPARE(QApplication::focusWidget(), f->window->tabStrip());
        selectTab(3); // Tab goes on to the button row
        QTest::keyClick(f->window->nameList(3), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("AutoStartCHK"));
    }

    void programSelectedTabBringsWindowUp() {
        f->window->Btn_Click(1); // "&Ausblenden"
        QVERIFY(!f->window->isVisible());
        f->window->ShowOptionsPage();
        QVERIFY(f->window->isVisible());
        QCOMPARE(f->window->CurrentTab(), 5);
    }
};

QTEST_MAIN(TestCards)
#include "test_cards.moc"
