// vCard files onto a card: a real drop on the list, and the options page's button.
#include "WindowFixture.h"
#include "app/CardListView.h"
#include "app/OptionsPage.h"
#include "contacts/ContactEntries.h"
#include "contacts/VCardReader.h"
#include "register/CardModel.h"
#include "register/EntryLine.h"
#include "register/PhoneRegister.h"

#include <QDropEvent>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QUrl>

namespace {

using namespace RegisterTestData;

const QByteArray RegisterWithBerg = FirstStart + "2,\"Berg, Otto\",\"49 30 1234567\",1\r\n";
const QString VCards = QStringLiteral(VCARD_DIR "/");

QStringList names(const CardModel* card) {
    QStringList all;
    for (int row = 0; row < card->count(); ++row)
        all << GetEntryName(card->line(row));
    return all;
}

const QStringList ExpectedCard2{"Berg, Otto",
                                "Köhler, Jürgen (mobil)",
                                "Köhler, Jürgen (privat)",
                                "Müller-Lüdenscheidt, Anna Maria (Arbeit)",
                                "Müller-Lüdenscheidt, Anna Maria (mobil)",
                                "Straßenmeisterei Überlingen Abteilung Süd"};

} // namespace

class TestContactDrop : public QObject {
    Q_OBJECT
private slots:
    void dropOnCard2AddsEntriesInGermanOrderSavedOnce() {
        WindowFixture f;
        f.write(QStringLiteral("Telefonregister.ini"), RegisterWithBerg);
        QVERIFY(f.start());
        const QByteArray before = f.read(QStringLiteral("Telefonregister.ini"));

        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(VCards + QStringLiteral("kaddressbook.vcf")),
                      QUrl::fromLocalFile(VCards + QStringLiteral("oldphone21.vcf"))});
        QWidget* target = f.window->nameList(2)->viewport();
        const QPointF at(10, 10);
        QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &drop);
        QVERIFY(drop.isAccepted());

        QCOMPARE(names(f.window->phoneRegister()->card(2)), ExpectedCard2);
        QCOMPARE(f.window->phoneRegister()->card(1)->count(), 0);
        QTRY_COMPARE(f.modals.texts.size(), 1);
        QVERIFY2(f.modals.texts.first().startsWith(QStringLiteral("5 Einträge wurden übernommen.")),
                 qPrintable(f.modals.texts.first()));
        QVERIFY(f.modals.texts.first().contains(QStringLiteral("Mailbox")));
        // One save: the backup holds the register as it was before the drop.
        QCOMPARE(f.read(QStringLiteral("Telefonregister.bak")), before);
        const QByteArray saved = f.read(QStringLiteral("Telefonregister.ini"));
        QVERIFY(saved.contains("2,\"K\xF6hler, J\xFCrgen (mobil)\",\"49 170 1234567\",1\r\n"));
        QVERIFY(saved.contains("2,\"Stra\xDF"
                               "enmeisterei \xDC"
                               "berlingen Abteilung S\xFC"
                               "d\",\"49 7551 12345\",1\r\n"));
    }

    void otherFilesAreNotTaken() {
        WindowFixture f;
        f.write(QStringLiteral("Telefonregister.ini"), RegisterWithBerg);
        QVERIFY(f.start());
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(f.path(QStringLiteral("Telefonregister.ini")))});
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(f.window->nameList(2)->viewport(), &enter);
        QVERIFY(!enter.isAccepted());
    }

    void buttonAsksForFilesAndCard() {
        WindowFixture f;
        f.write(QStringLiteral("Telefonregister.ini"), RegisterWithBerg);
        QVERIFY(f.start());
        f.modals.queue([](QWidget* w) {
            auto* dialog = qobject_cast<QFileDialog*>(w);
            QVERIFY(dialog);
            dialog->setDirectory(VCards);
            auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            QVERIFY(name);
            name->setText(QStringLiteral("evolution1252.vcf"));
            QMetaObject::invokeMethod(dialog, "accept");
        });
        f.modals.queue([](QWidget* w) {
            auto* dialog = qobject_cast<QInputDialog*>(w);
            QVERIFY(dialog);
            dialog->setTextValue(QStringLiteral("Privat 1"));
            dialog->accept();
        });
        f.window->optionsPage()->ImportContactsButton->click();
        QTRY_COMPARE(f.modals.titles.size(), 3);
        QCOMPARE(names(f.window->phoneRegister()->card(3)), QStringList{"Björk, Åsa"});
        QTRY_COMPARE(f.modals.texts.size(), 3);
        QCOMPARE(f.modals.texts.last(), QStringLiteral("1 Eintrag wurde übernommen."));
        QVERIFY(f.read(QStringLiteral("Telefonregister.ini"))
                    .contains("3,\"Bj\xF6rk, \xC5sa\",\"46 70 1234567\",1\r\n"));
        QVERIFY(!f.window->ModalDialogOpen());
    }

    // "Karte als vCard speichern …" in a card's menu writes a file the import reads back.
    void menuSavesTheCardAsVCard() {
        WindowFixture f;
        f.write(QStringLiteral("Telefonregister.ini"), RegisterWithBerg);
        QVERIFY(f.start());
        f.window->tabStrip()->setCurrentIndex(1);
        const QString target = f.path(QStringLiteral("Büro 2.vcf"));
        f.modals.queue([target](QWidget* w) {
            auto* dialog = qobject_cast<QFileDialog*>(w);
            QVERIFY(dialog);
            dialog->selectFile(target);
            QMetaObject::invokeMethod(dialog, "accept");
        });
        QTimer::singleShot(50, [] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            QVERIFY(menu);
            menu->setActiveAction(menu->findChild<QAction*>(QStringLiteral("pumSaveAsVCard")));
            QTest::keyClick(menu, Qt::Key_Return);
        });
        QTest::mouseClick(f.window->nameList(2)->viewport(), Qt::RightButton, {}, QPoint(10, 5));
        QTRY_VERIFY(QFile::exists(target));
        QFile file(target);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(EntriesFromContacts(ReadVCards(file.readAll()), "49", {}).lines,
                 QStringList{MakeEntryLine("Berg, Otto", "49 30 1234567", 1)});
        QVERIFY(!f.window->ModalDialogOpen());
    }
};

QTEST_MAIN(TestContactDrop)
#include "test_contactdrop.moc"
