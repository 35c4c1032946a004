#include "ModalWatcher.h"
#include "register/EntryEditor.h"
#include "register/EntryLine.h"
#include "support/GermanTranslation.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

class TestEntryEditor : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { installGermanTranslation(*qApp); }

    void layoutAndStartState() {
        EntryEditor editor;
        editor.setEntry(QStringLiteral("Muster, Anna"), QStringLiteral("49 89 123"), 0);
        editor.show();
        QVERIFY(QTest::qWaitForWindowExposed(&editor));
        QCOMPARE(editor.windowTitle(), QStringLiteral("Telefonbuch"));
        auto* name = editor.findChild<QLineEdit*>(QStringLiteral("Text1_0"));
        auto* number = editor.findChild<QLineEdit*>(QStringLiteral("Text1_1"));
        auto* zero = editor.findChild<QCheckBox*>(QStringLiteral("ZeroChk"));
        auto* ok = editor.findChild<QPushButton*>(QStringLiteral("Command1_0"));
        auto* cancel = editor.findChild<QPushButton*>(QStringLiteral("Command1_1"));
        QVERIFY(name && number && zero && ok && cancel);
        QCOMPARE(ok->text(), QStringLiteral("&OK"));
        QCOMPARE(cancel->text(), QStringLiteral("&Abbrechen"));
        QVERIFY(cancel->x() < ok->x());
        QVERIFY(!zero->isChecked());
        QCOMPARE(QApplication::focusWidget(), name);

        // Tab order: name, number, check box, OK, Abbrechen.
        const QList<QWidget*> order{number, zero, ok, cancel, name};
        for (QWidget* expected : order) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), expected);
        }
    }

    void enterWalksToOkAndPressesIt() {
        EntryEditor editor;
        editor.setEntry(QString(), QString(), 1);
        editor.show();
        QVERIFY(QTest::qWaitForWindowExposed(&editor));
        auto* name = editor.findChild<QLineEdit*>(QStringLiteral("Text1_0"));
        auto* number = editor.findChild<QLineEdit*>(QStringLiteral("Text1_1"));
        auto* ok = editor.findChild<QPushButton*>(QStringLiteral("Command1_0"));
        QTest::keyClicks(name, QStringLiteral("Meier"));
        QTest::keyClick(name, Qt::Key_Return);
        QCOMPARE(name->text(), QStringLiteral("Meier")); // Enter adds no character
        QCOMPARE(QApplication::focusWidget(), number);
        QVERIFY(editor.isVisible());
        QTest::keyClicks(number, QStringLiteral("49 30 1"));
        QTest::keyClick(number, Qt::Key_Enter);
        QCOMPARE(QApplication::focusWidget(), ok);
        QVERIFY(editor.isVisible());
        QTest::keyClick(ok, Qt::Key_Return);
        QCOMPARE(editor.result(), int(QDialog::Accepted));
        QCOMPARE(editor.zeroFlag(), 1);
    }

    void escapeCancelsAndEnterElsewhereDoesNothing_data() {
        QTest::addColumn<bool>("escape");
        QTest::newRow("Escape") << true;
        QTest::newRow("close box") << false;
    }
    void escapeCancelsAndEnterElsewhereDoesNothing() {
        QFETCH(bool, escape);
        EntryEditor editor;
        editor.setEntry(QStringLiteral("A"), QStringLiteral("1"), 1);
        editor.show();
        QVERIFY(QTest::qWaitForWindowExposed(&editor));
        auto* zero = editor.findChild<QCheckBox*>(QStringLiteral("ZeroChk"));
        zero->setFocus();
        QTest::keyClick(zero, Qt::Key_Return);
        QVERIFY(editor.isVisible());
        QVERIFY(zero->isChecked());
        // Both are the same as "&Abbrechen".
        if (escape)
            QTest::keyClick(editor.findChild<QLineEdit*>(QStringLiteral("Text1_0")),
                            Qt::Key_Escape);
        else
            editor.close();
        QVERIFY(!editor.isVisible());
        QCOMPARE(editor.result(), int(QDialog::Rejected));
    }

    void numberWithCharactersNotDialedIsNamed() {
        EntryEditor editor;
        editor.setEntry(QStringLiteral("A"), QStringLiteral("+49 89 1"), 1);
        auto* hint = editor.findChild<QLabel*>(QStringLiteral("NumberHint"));
        QVERIFY(hint && hint->text().isEmpty());
        QTest::keyClicks(editor.findChild<QLineEdit*>(QStringLiteral("Text1_1")), ";ATZ<b>");
        QCOMPARE(hint->text(), "Die Nummer enthält Zeichen, die nicht gewählt werden: „;AZ<b>“");
        QCOMPARE(hint->textFormat(), Qt::PlainText);
        // Typed the way one dials at home: stored in international form, and the note says so.
        editor.setEntry(QStringLiteral("A"), QStringLiteral("030 1234567"), 1);
        QCOMPARE(hint->text(), "Gespeichert wird die internationale Form „49 30 1234567“.");
        QCOMPARE(editor.number(), QStringLiteral("49 30 1234567"));
    }

    // The padding inside a name would split the line at the wrong place when read back.
    void nameHoldingThePaddingIsRefused() {
        EntryEditor editor;
        editor.setEntry(QStringLiteral("x") + EntryPadding() + QStringLiteral("y"),
                        QStringLiteral("1"), 1);
        editor.show();
        QVERIFY(QTest::qWaitForWindowExposed(&editor));
        ModalWatcher watcher;
        editor.findChild<QPushButton*>(QStringLiteral("Command1_0"))->click();
        QTRY_COMPARE(watcher.texts.size(), 1);
        QVERIFY(watcher.texts.at(0).contains(QStringLiteral("150 Leerzeichen")));
        QVERIFY(editor.isVisible());
        QCOMPARE(editor.result(), 0);
    }
};

QTEST_MAIN(TestEntryEditor)
#include "test_entryeditor.moc"
