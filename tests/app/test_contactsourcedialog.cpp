// "Kontakte holen" by keyboard: the last source offered first, the other one a key away, and
// "OK" asking for the books until one is listed.
#include "app/ContactSourceDialog.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

class TestContactSourceDialog : public QObject {
    Q_OBJECT
private slots:
    void lastSourceFirstAndKeyboardThroughout() {
        ContactSourceSettings last;
        last.kind = ContactSourceSettings::Kind::CardDav;
        last.cardDavAddress = QStringLiteral("https://cloud.example/");
        last.cardDavUser = QStringLiteral("anna");
        last.cardDavBookUrl = QStringLiteral("https://cloud.example/dav/anna/contacts/");
        last.cardDavBookName = QStringLiteral("Kontakte");
        ContactSourceDialog dialog(last);
        QSignalSpy books(&dialog, &ContactSourceDialog::booksWanted);
        QSignalSpy contacts(&dialog, &ContactSourceDialog::contactsWanted);
        dialog.show();
        QApplication::setActiveWindow(&dialog);
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        auto* routerBooks = dialog.findChild<QComboBox*>(QStringLiteral("ContactRouterBooks"));
        QVERIFY(!dialog.routerChosen() && !routerBooks->isEnabled());
        QCOMPARE(dialog.source().cardDavBookName, last.cardDavBookName);

        // Switching to the router asks for its books; back again, the last book is still there.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_R, Qt::AltModifier);
        QTRY_VERIFY(dialog.routerChosen() && routerBooks->hasFocus());
        QCOMPARE(books.size(), 1);
        dialog.showBooks({{QStringLiteral("0"), QStringLiteral("Telefonbuch")},
                          {QStringLiteral("1"), QStringLiteral("Familie")}});
        QTest::keyClick(routerBooks, Qt::Key_Down);
        QCOMPARE(dialog.source().routerBookId, 1);
        QTest::keyClick(routerBooks, Qt::Key_C, Qt::AltModifier);
        QTRY_VERIFY(!dialog.routerChosen());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(contacts.size(), 1);
        QCOMPARE(dialog.source().cardDavBookUrl, last.cardDavBookUrl);

        // Another server: its books are looked for before anything is read.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_D, Qt::AltModifier);
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("x"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(books.size(), 2);
        QCOMPARE(contacts.size(), 1);
        QCOMPARE(dialog.source().kind, ContactSourceSettings::Kind::CardDav);
    }
};

QTEST_MAIN(TestContactSourceDialog)
#include "test_contactsourcedialog.moc"
