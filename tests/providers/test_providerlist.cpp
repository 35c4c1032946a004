// The provider list and its editor in the real main window, on the offscreen platform.
#include "app/WindowFixture.h"

#include "app/OptionsPage.h"
#include "dialing/EntryDialer.h"
#include "providers/ProviderList.h"
#include "providers/ProviderTableModel.h"
#include "providers/TimeSlider.h"
#include "support/GermanTranslation.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionSlider>
#include <QTabBar>
#include <QTreeView>
#include <QtTest>

namespace {

const QString ProviderIni = QStringLiteral("Provider.ini");
const QString ProviderBak = QStringLiteral("Provider.bak");
const QByteArray TwoRows = "0\r\n\"Tag\",\"01111\",1,0,9,18,0,1,0\r\n"
                           "\"Immer\",\"02345\",1,1,0,24,1,1,1\r\n";
// The same rows in display order (Name ascending), as the next save writes them.
const QByteArray TwoRowsSorted = "0\r\n\"Immer\",\"02345\",1,1,0,24,1,1,1\r\n"
                                 "\"Tag\",\"01111\",1,0,9,18,0,1,0\r\n";

template <typename T> T* child(QWidget* parent, const QString& name) {
    T* found = parent->findChild<T*>(name);
    if (!found)
        qWarning("no %s", qPrintable(name));
    return found;
}

QPoint handleCentre(QSlider* slider) {
    QStyleOptionSlider option;
    option.initFrom(slider);
    option.orientation = slider->orientation();
    option.minimum = slider->minimum();
    option.maximum = slider->maximum();
    option.sliderPosition = slider->sliderPosition();
    option.sliderValue = slider->value();
    option.singleStep = slider->singleStep();
    option.pageStep = slider->pageStep();
    option.tickPosition = slider->tickPosition();
    option.tickInterval = slider->tickInterval();
    option.subControls = QStyle::SC_All;
    return slider->style()
        ->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, slider)
        .center();
}

// A press on the thumb with these keys held, then the thumb dragged to `hour`; or the arrow keys
// with them until it is there.
void moveThumb(TimeSlider* slider, Qt::KeyboardModifiers keys, int hour, bool byArrows = false) {
    while (byArrows && slider->value() != hour)
        QTest::keyClick(slider, slider->value() < hour ? Qt::Key_Right : Qt::Key_Left, keys);
    if (byArrows)
        return;
    QTest::mousePress(slider, Qt::LeftButton, keys, handleCentre(slider));
    slider->setSliderPosition(hour);
    QTest::mouseRelease(slider, Qt::LeftButton, keys, handleCentre(slider));
}

QString label(QWidget* editor) {
    return child<QLabel>(editor, QStringLiteral("TimeLbl"))->text();
}

} // namespace

class TestProviderList : public QObject {
    Q_OBJECT

    WindowFixture* f = nullptr;
    ProviderList* list() const { return f->window->providerList(); }
    QTreeView* view() const { return f->window->optionsPage()->TelcoList; }
    QStringList names() const {
        QStringList all;
        for (const ProviderEntry& row : list()->model()->rows())
            all << row.Name;
        return all;
    }
    void start(const QByteArray& providers) {
        f = new WindowFixture;
        f->write(QStringLiteral("Telefonregister.ini"),
                 FirstStartFile + "1,\"Anna\",\"49 30 1234\",1\r\n");
        if (!providers.isNull())
            f->write(ProviderIni, providers);
        QVERIFY(f->start());
    }
    void selectRow(int row) {
        view()->selectionModel()->select(list()->model()->index(row, 0),
                                         QItemSelectionModel::ClearAndSelect |
                                             QItemSelectionModel::Rows);
    }
    // Right press on the list: which of "&Ändern" and "&Löschen" the menu offered.
    QPair<bool, bool> openMenu() {
        f->window->tabStrip()->setCurrentIndex(MainWindow::OptionsTab - 1);
        QPair<bool, bool> enabled{true, true};
        QTimer::singleShot(50, this, [&enabled] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (!menu)
                return;
            enabled = {menu->actions().at(1)->isEnabled(), menu->actions().at(2)->isEnabled()};
            QVERIFY(menu->defaultAction());
            QCOMPARE(menu->defaultAction()->text(), QStringLiteral("&Abbrechen"));
            QCOMPARE(menu->title(), QStringLiteral("Anbieter"));
            menu->close();
        });
        QTest::mouseClick(view()->viewport(), Qt::RightButton, {}, QPoint(20, 40));
        return enabled;
    }

private slots:
    void initTestCase() { installGermanTranslation(*qApp); }
    void cleanup() {
        delete f;
        f = nullptr;
    }

    void insertOpensWithItsDefaultsAndAddsTheRow() {
        start(QByteArray());
        QVERIFY(!f->window->optionsPage()->TelcoListChk->isChecked());
        f->modals.queue([this](QWidget* editor) {
            QCOMPARE(editor->objectName(), QStringLiteral("Form3"));
            QCOMPARE(editor->windowTitle(), QStringLiteral("Anbieterliste"));
            QVERIFY(f->window->ModalDialogOpen());
            auto* name = child<QLineEdit>(editor, QStringLiteral("Text1_0"));
            auto* number = child<QLineEdit>(editor, QStringLiteral("Text1_1"));
            auto* slider = child<TimeSlider>(editor, QStringLiteral("TimeSlider"));
            QVERIFY(name && number && slider);
            QCOMPARE(name->text(), QString());
            QCOMPARE(number->text(), QString());
            QCOMPARE(QApplication::focusWidget(), name);
            QVERIFY(child<QRadioButton>(editor, QStringLiteral("OptTage_1"))->isChecked());
            QVERIFY(!child<QCheckBox>(editor, QStringLiteral("ChkWeite_1"))->isChecked());
            QVERIFY(child<QCheckBox>(editor, QStringLiteral("ChkWeite_2"))->isChecked());
            QVERIFY(!child<QCheckBox>(editor, QStringLiteral("ChkWeite_3"))->isChecked());
            QCOMPARE(slider->value(), 18);
            QCOMPARE(slider->selectionStart(), 9);
            QCOMPARE(slider->selectionLength(), 9);
            QCOMPARE(label(editor), QStringLiteral("09h - 18h"));

            // Enter walks name -> number -> OK without typing; Enter on OK presses it.
            QTest::keyClicks(name, QStringLiteral(" Spar \"24\" "));
            QTest::keyClick(name, Qt::Key_Return);
            QCOMPARE(QApplication::focusWidget(), number);
            QTest::keyClicks(number, QStringLiteral("01013"));
            child<QRadioButton>(editor, QStringLiteral("OptTage_3"))->setChecked(true);
            child<QCheckBox>(editor, QStringLiteral("ChkWeite_1"))->setChecked(true);
            QTest::keyClick(number, Qt::Key_Enter);
            QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("Command1_0"));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        });
        list()->pum3_Click(1);
        QVERIFY(!f->window->ModalDialogOpen());
        QCOMPARE(f->read(ProviderIni),
                 QByteArray("0\r\n\"Spar '24'\",\"01013\",1,1,9,18,1,1,0\r\n"));
        QCOMPARE(names(), QStringList{QStringLiteral("Spar '24'")});
    }

    void hourSlider_data() {
        QTest::addColumn<int>("extendKey");
        QTest::addColumn<bool>("byArrows");
        QTest::newRow("Ctrl") << int(Qt::ControlModifier) << false;
        QTest::newRow("Shift") << int(Qt::ShiftModifier) << false;
        QTest::newRow("Alt") << int(Qt::AltModifier) << false;
        QTest::newRow("Ctrl, arrow keys") << int(Qt::ControlModifier) << true;
        QTest::newRow("Shift, arrow keys") << int(Qt::ShiftModifier) << true;
    }
    void hourSlider() {
        QFETCH(int, extendKey);
        QFETCH(bool, byArrows);
        const auto extend = Qt::KeyboardModifiers(extendKey);
        start(TwoRows);
        f->modals.queue([extend, byArrows](QWidget* editor) {
            auto* slider = child<TimeSlider>(editor, QStringLiteral("TimeSlider"));
            QCOMPARE(slider->toolTip(), QStringLiteral("Zuerst Startzeit einstellen, dann "
                                                       "gleichzeitig [Strg] gedrückt halten ..."));
            moveThumb(slider, Qt::NoModifier, 6, byArrows);
            QCOMPARE(label(editor), QStringLiteral("06h - 06h"));
            moveThumb(slider, extend, 22, byArrows);
            QCOMPARE(label(editor), QStringLiteral("06h - 22h"));
            QCOMPARE(slider->selectionStart(), 6);
            QCOMPARE(slider->selectionLength(), 16);
            moveThumb(slider, extend, 3, byArrows);
            QCOMPARE(label(editor), QStringLiteral("03h - 03h"));
            moveThumb(slider, extend, 24, byArrows);
            QCOMPARE(label(editor), QStringLiteral("03h - 24h"));
            child<QPushButton>(editor, QStringLiteral("Command1_0"))->click();
        });
        list()->pum3_Click(1); // name and number empty: OK adds nothing, the file is written
        QCOMPARE(list()->model()->count(), 2);
        QCOMPARE(f->read(ProviderBak), TwoRows);
        QCOMPARE(f->read(ProviderIni), TwoRowsSorted);
    }

    void menuOffersChangeAndDeleteOnlyForASelectedRow() {
        start(TwoRows);
        QCOMPARE(openMenu(), qMakePair(false, false));
        QCOMPARE(list()->SelectedProvider(), 0);
        selectRow(1);
        QCOMPARE(openMenu(), qMakePair(true, true));
        QCOMPARE(list()->SelectedProvider(), 2);
        QCOMPARE(ProviderList::SelectedProviderIndex(view()), 2); // the right press kept it
    }

    void headerClicksSortTheList() {
        start(TwoRows);
        f->window->tabStrip()->setCurrentIndex(MainWindow::OptionsTab - 1);
        QHeaderView* header = view()->header();
        auto clickHeader = [header](int section) {
            QTest::mouseClick(
                header->viewport(), Qt::LeftButton, {},
                QPoint(header->sectionViewportPosition(section) + 5, header->height() / 2));
        };
        QCOMPARE(names(), QStringList({"Immer", "Tag"}));
        clickHeader(3); // "ab": 00h before 09h
        QCOMPARE(names(), QStringList({"Immer", "Tag"}));
        clickHeader(3);
        QCOMPARE(names(), QStringList({"Tag", "Immer"}));
        QCOMPARE(header->sortIndicatorOrder(), Qt::DescendingOrder);
        clickHeader(1); // "Netz", still descending
        QCOMPARE(names(), QStringList({"Immer", "Tag"}));
        QCOMPARE(header->sortIndicatorSection(), 1);
        QCOMPARE(header->sortIndicatorOrder(), Qt::DescendingOrder);
        QCOMPARE(list()->model()->LastSortColumn(), 2);
    }

    void doubleClickOpensInsertOrChange() {
        start(TwoRows);
        f->window->tabStrip()->setCurrentIndex(MainWindow::OptionsTab - 1);
        QStringList opened;
        auto record = [&opened, this](QWidget* editor) {
            opened << child<QLineEdit>(editor, QStringLiteral("Text1_0"))->text() + u'|' +
                          child<QLineEdit>(editor, QStringLiteral("Text1_1"))->text() + u'|' +
                          label(editor) + u'|' + QString::number(f->window->ModalDialogOpen());
            editor->close(); // the close box is "&Abbrechen"
        };
        f->modals.queue(record);
        QTest::mouseDClick(view()->viewport(), Qt::LeftButton, {}, QPoint(5, 200));
        selectRow(0); // "Immer" (Name ascending)
        f->modals.queue(record);
        list()->TelcoList_DblClick();
        QCOMPARE(opened, QStringList({"||09h - 18h|1", "Immer|02345|00h - 24h|1"}));
        QVERIFY(!QFile::exists(f->path(ProviderBak))); // cancelled: nothing written
    }

    void changeAndDelete() {
        start(TwoRows);
        // Name ascending: "Immer" above "Tag".
        QCOMPARE(names(), QStringList({"Immer", "Tag"}));
        selectRow(1);
        f->modals.queue([](QWidget* editor) { // OK without edits: removed and added again
            QVERIFY(child<QRadioButton>(editor, QStringLiteral("OptTage_1"))->isChecked());
            child<QPushButton>(editor, QStringLiteral("Command1_0"))->click();
        });
        list()->TelcoList_DblClick();
        QCOMPARE(names(), QStringList({"Immer", "Tag"}));
        QCOMPARE(f->read(ProviderIni), TwoRowsSorted); // the file takes the display order
        QCOMPARE(f->read(ProviderBak), TwoRows);

        selectRow(0);
        f->modals.queue([](QWidget* editor) { editor->close(); });
        list()->TelcoList_DblClick(); // SelectedProvider is set anew
        f->modals.queueButton(QMessageBox::No);
        list()->pum3_Click(3);
        QCOMPARE(f->modals.titles.last(), QStringLiteral("Eintrag löschen"));
        QCOMPARE(f->modals.texts.last(),
                 QStringLiteral("Soll der folgende Eintrag wirklich gelöscht werden?\n\n"
                                "Immer (02345)"));
        QCOMPARE(f->modals.defaults.last(), QMessageBox::No);
        QCOMPARE(names().size(), 2);

        f->modals.queueButton(QMessageBox::Yes);
        list()->pum3_Click(3);
        QCOMPARE(names(), QStringList{"Tag"});
        QCOMPARE(f->read(ProviderIni), QByteArray("0\r\n\"Tag\",\"01111\",1,0,9,18,0,1,0\r\n"));

        // Clearing the number of a row and pressing OK deletes it, without asking.
        selectRow(0);
        f->modals.queue([](QWidget* editor) {
            child<QLineEdit>(editor, QStringLiteral("Text1_1"))->clear();
            child<QPushButton>(editor, QStringLiteral("Command1_0"))->click();
        });
        list()->TelcoList_DblClick();
        QCOMPARE(list()->model()->count(), 0);
        QCOMPARE(f->read(ProviderIni), QByteArray("0\r\n"));
    }

    // A row without a day range must not start to match calls from an OK without an edit.
    void okWithoutAnEditKeepsTheRow() {
        const QByteArray noDays = "0\r\n\"Leer\",\"0100\",0,0,9,18,0,1,0\r\n";
        start(noDays);
        selectRow(0);
        f->modals.queue([](QWidget* editor) {
            child<QPushButton>(editor, QStringLiteral("Command1_0"))->click();
        });
        list()->TelcoList_DblClick();
        QCOMPARE(f->read(ProviderIni), noDays);
        QVERIFY(!QFile::exists(f->path(ProviderBak))); // nothing changed, nothing written
    }

    void checkBoxSavesExceptWhileLoading() {
        start(QByteArray("5\r\n"));
        QCheckBox* check = f->window->optionsPage()->TelcoListChk;
        QVERIFY(check->isChecked());
        QVERIFY(!QFile::exists(f->path(ProviderBak))); // reading set it without saving
        check->click();
        QCOMPARE(f->read(ProviderIni), QByteArray("0\r\n"));
        check->click();
        QCOMPARE(f->read(ProviderIni), QByteArray("1\r\n"));
        QCOMPARE(f->read(ProviderBak), QByteArray("0\r\n"));
    }

    void theTickedListPutsTheProviderInFront() {
        start("1\r\n\"Immer\",\"01013\",1,1,0,24,1,1,1\r\n");
        const EntryDialer* dialer = f->window->entryDialer();
        const QDateTime now = QDateTime::currentDateTime();
        QCOMPARE(dialer->compose(QStringLiteral("49 30 1234"), 1, now).DialString,
                 QStringLiteral("ATDT01013030 1234;H\r"));
        f->window->optionsPage()->TelcoListChk->click();
        QCOMPARE(dialer->compose(QStringLiteral("49 30 1234"), 1, now).DialString,
                 QStringLiteral("ATDT030 1234;H\r"));
    }

    void damagedFileIsReportedAndKept() {
        const QByteArray damaged = "1\r\n\"Tag\",\"01111\",1,0,9,18,0,1,0\r\n\"Kurz\",\"0";
        start(damaged);
        QCOMPARE(f->modals.texts.size(), 1);
        const QString text = f->modals.texts.first();
        QVERIFY2(text.contains(QStringLiteral("Zeile 3: Die Datei endet mitten im Anbieter "
                                              "„Kurz“")),
                 qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral("unverändert als")), qPrintable(text));
        QCOMPARE(names(), QStringList{"Tag"});
        QVERIFY(f->window->optionsPage()->TelcoListChk->isChecked());
        const QStringList copies =
            QDir(f->dir.path()).entryList({QStringLiteral("Provider-defekt-*.ini")});
        QCOMPARE(copies.size(), 1);
        QCOMPARE(f->read(copies.first()), damaged);
        QCOMPARE(f->read(ProviderIni), damaged); // nothing written until a change
        // The next start tells again, but the same damage is kept only once.
        f->window.reset();
        QVERIFY(f->start());
        QCOMPARE(f->modals.texts.size(), 2);
        QCOMPARE(QDir(f->dir.path()).entryList({QStringLiteral("Provider-defekt-*.ini")}), copies);
    }

    void failuresToReadAndSaveAreTold() {
        f = new WindowFixture;
        f->write(QStringLiteral("Telefonregister.ini"), FirstStartFile);
        QVERIFY(QDir(f->dir.path()).mkdir(ProviderIni)); // not readable
        f->write(QStringLiteral("Provider.bak"), "0\r\n");
        QVERIFY(f->start());
        QCOMPARE(f->modals.texts.size(), 1);
        QVERIFY2(f->modals.texts.at(0).contains(QStringLiteral("konnte nicht gelesen werden")),
                 qPrintable(f->modals.texts.at(0)));
        // Nothing goes over the file it could not read, nor over its backup.
        f->window->optionsPage()->TelcoListChk->click();
        QCOMPARE(f->modals.texts.size(), 2);
        QCOMPARE(f->modals.texts.at(1), f->modals.texts.at(0));
        QVERIFY(f->modals.texts.at(1).contains("nicht gespeichert, solange die Datei besteht"));
        QCOMPARE(f->read(QStringLiteral("Provider.bak")), QByteArray("0\r\n"));
        QVERIFY(QFileInfo(f->path(ProviderIni)).isDir());
        QVERIFY(f->window->optionsPage()->TelcoListChk->isChecked()); // the window keeps it
    }
};

QTEST_MAIN(TestProviderList)
#include "test_providerlist.moc"
