#include "WindowFixture.h"

#include "app/CardListView.h"
#include "app/OptionsPage.h"
#include "dialing/EntryDialer.h"
#include "register/PhoneRegister.h"
#include "router/RouterSettings.h"
#include "support/GermanTranslation.h"
#include "support/RegistryStore.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>
#include <QTabBar>
#include <QtTest>

namespace {

const QByteArray Register = FirstStartFile + "1,\"Anna\",\"49 89 1\",1\r\n";

QByteArray settingsLine(const QByteArray& file) {
    return file.split('\n').value(1);
}

} // namespace

class TestOptionsPage : public QObject {
    Q_OBJECT

    WindowFixture* f = nullptr;
    OptionsPage* page() const { return f->window->optionsPage(); }
    QString ini() const {
        return QString::fromLatin1(f->read(QStringLiteral("Telefonregister.ini")));
    }
    void selectTab(int tab) { f->window->tabStrip()->setCurrentIndex(tab - 1); }

private slots:
    void initTestCase() { installGermanTranslation(*qApp); }
    void init() {
        f = new WindowFixture;
        f->write(QStringLiteral("Telefonregister.ini"), Register);
        QVERIFY(f->startActive());
    }
    void cleanup() { delete f; }

    void enteringLoadsOnceLeavingSavesOnce() {
        selectTab(5);
        QCOMPARE(f->window->CurrentTab(), 5);
        QCOMPARE(f->window->statusText(), QStringLiteral("Bitte gewünschte Änderungen vornehmen"));
        QCOMPARE(page()->Text1[2]->text(), QStringLiteral("49"));
        QCOMPARE(QApplication::focusWidget(), page()->Text1[2]);

        page()->Text1[3]->setText(QStringLiteral("089"));
        f->window->ShowOptionsPage(); // selected again: nothing reloads
        QCOMPARE(page()->Text1[3]->text(), QStringLiteral("089"));
        QVERIFY(!QFile::exists(f->path(QStringLiteral("Telefonregister.bak"))));

        selectTab(2);
        // "089" is kept as "89": the same bytes, so neither file is written.
        QVERIFY(!QFile::exists(f->path(QStringLiteral("Telefonregister.bak"))));
        QCOMPARE(f->read(QStringLiteral("Telefonregister.ini")), Register);
        QCOMPARE(f->window->statusText(),
                 QStringLiteral("Doppelklick für Anwahl oder rechte Maustaste für Menü"));
        QCOMPARE(f->window->phoneRegister()->settings.OwnAreaCode, QStringLiteral("89"));
        selectTab(5);
        QCOMPARE(page()->Text1[3]->text(), QStringLiteral("89"));
    }

    void codesAndTextsAreNormalisedOnlyWhereMeant_data() {
        QTest::addColumn<QString>("country");
        QTest::addColumn<QString>("area");
        QTest::addColumn<QString>("storedCountry");
        QTest::addColumn<QString>("storedArea");
        QTest::newRow("leading zero") << "49"
                                      << "089"
                                      << "49"
                                      << "89";
        QTest::newRow("empty and trailing blank") << ""
                                                  << "30 "
                                                  << "0"
                                                  << "30";
        QTest::newRow("blanks before, text after") << "  43abc"
                                                   << "x1"
                                                   << "43"
                                                   << "0";
        QTest::newRow("plus sign as German users write it") << "+49"
                                                            << " +43 1"
                                                            << "49"
                                                            << "43";
        QTest::newRow("plus with zeros, minus") << "+0049"
                                                << "-89"
                                                << "49"
                                                << "0";
        QTest::newRow("long digit string stays exact") << "12345678901234567890123"
                                                       << "007"
                                                       << "12345678901234567890123"
                                                       << "7";
    }
    void codesAndTextsAreNormalisedOnlyWhereMeant() {
        QFETCH(QString, country);
        QFETCH(QString, area);
        selectTab(5);
        page()->Text1[2]->setText(country);
        page()->Text1[3]->setText(area);
        page()->Text1[0]->setText(QStringLiteral(" 0 "));
        page()->Text1[1]->setText(QStringLiteral(" 00 "));
        page()->Text3->setText(QStringLiteral(" L1 "));
        page()->UebergabeNrText->setText(QStringLiteral(" 123 "));
        selectTab(1);
        const DialSettings& s = f->window->phoneRegister()->settings;
        QTEST(s.OwnCountryCode, "storedCountry");
        QTEST(s.OwnAreaCode, "storedArea");
        QCOMPARE(s.OutsideLinePrefix, QStringLiteral("0"));
        QCOMPARE(s.InternationalPrefix, QStringLiteral("00"));
        QCOMPARE(s.ExtraModemCommands, QStringLiteral(" L1 "));
        QCOMPARE(s.HandoverNumber, QStringLiteral(" 123 "));
        QVERIFY(ini().contains(QStringLiteral("\" L1 \",\" 123 \"")));
    }

    void sliderSetsSampleAndListsOnLeaving() {
        selectTab(5);
        QSlider* slider = page()->Slider1;
        QCOMPARE(slider->value(), 18); // 12 points
        slider->setValue(slider->minimum());
        QCOMPARE(page()->sliderSize(), 24);
        slider->setValue(slider->maximum());
        QCOMPARE(page()->sliderSize(), 6);
        slider->setValue(18);
        slider->setFocus();
        QTest::keyClick(slider, Qt::Key_Up); // upwards is larger
        QCOMPARE(page()->sliderSize(), 13);
        QCOMPARE(page()->FntSmpl->font().pointSize(), 13);
        const QRect sample = page()->FntSmpl->geometry();
        QVERIFY(qAbs(sample.center().x() - page()->FntFrm->width() / 2) <= 1);
        QCOMPARE(f->window->nameList(1)->font().pointSizeF(), 12.0);
        selectTab(3);
        for (int card = 1; card <= 4; ++card)
            QCOMPARE(f->window->nameList(card)->font().pointSizeF(), 13.0);
        QVERIFY(settingsLine(f->read(QStringLiteral("Telefonregister.ini"))).contains(",13,"));
    }

    void dialModeGreysHandover() {
        selectTab(5);
        page()->UebergabeChk->setChecked(false);
        page()->WahlArtList->setCurrentIndex(1); // "Puls"
        QVERIFY(!page()->WeiterleitenFrame->isEnabled());
        QVERIFY(!page()->UebergabeChk->isEnabled());
        QVERIFY(!page()->UebergabeNrText->isEnabled());
        page()->WahlArtList->setCurrentIndex(0); // "Ton"
        QVERIFY(page()->UebergabeChk->isEnabled());
        QVERIFY(!page()->UebergabeNrText->isEnabled());
        page()->UebergabeChk->setChecked(true);
        QVERIFY(page()->UebergabeNrText->isEnabled());
        QVERIFY(!QFile::exists(f->path(QStringLiteral("Telefonregister.bak"))));
    }

    void dialHardwareIsSavedAtOnceWithoutPendingEdits() {
        selectTab(5);
        page()->Text1[3]->setText(QStringLiteral("30"));
        QTest::mouseClick(page()->DialHardwareChk[1], Qt::LeftButton);
        QVERIFY(page()->DialHardwareChk[1]->isChecked());
        QCOMPARE(settingsLine(f->read(QStringLiteral("Telefonregister.ini"))),
                 QByteArray("1,1,0,0,\"\",0,\"00\",\"49\",\"89\",12,\"\",\"\",0\r"));
        selectTab(1);
        QVERIFY(settingsLine(f->read(QStringLiteral("Telefonregister.ini"))).startsWith("1,"));
        QVERIFY(ini().contains(QStringLiteral("\"30\"")));
    }

    // The router is chosen in the settings store; leaving the page re-applies the register's
    // modem/loudspeaker choice, which must not take the router's place.
    void routerChoiceLivesOutsideTheRegister() {
        QTemporaryDir config;
        const QByteArray shared = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
        delete f;
        f = new WindowFixture;
        f->write(QStringLiteral("Telefonregister.ini"), Register);
        QVERIFY(f->start());
        selectTab(5);
        auto* router = page()->findChild<QRadioButton*>(QStringLiteral("DialHardwareChk_2"));
        QCOMPARE(router->text(), QStringLiteral("&Router (Wählhilfe)"));
        QTest::mouseClick(router, Qt::LeftButton);
        selectTab(1);
        const bool stored = RouterSettings::load(RegistryStore()).dialThroughRouter;
        qputenv("XDG_CONFIG_HOME", shared);
        QVERIFY(router->isChecked() && stored && f->window->entryDialer()->routerChosen());
        QCOMPARE(f->read(QStringLiteral("Telefonregister.ini")), Register);
    }

    void cardNameReachesTabOnlyWhenLeaving() {
        selectTab(5);
        page()->Text2[1]->setText(QStringLiteral("Kunden \"A\""));
        QCOMPARE(f->window->tabStrip()->tabText(1), QStringLiteral("Büro 2"));
        selectTab(1);
        QCOMPARE(f->window->tabStrip()->tabText(1), QStringLiteral("Kunden \"A\""));
        QVERIFY(ini().contains(QStringLiteral("\"Kunden 'A'\"")));
    }

    void storedValuesOutOfRangeShowNearestChoice() {
        delete f;
        f = new WindowFixture;
        QByteArray content = Register;
        content.replace("0,1,0,0,", "0,27,5,0,");
        content.replace(",12,", ",30,");
        f->write(QStringLiteral("Telefonregister.ini"), content);
        QVERIFY(f->start());
        selectTab(5);
        QCOMPARE(page()->ComList->currentText(), QStringLiteral("COM16"));
        QCOMPARE(page()->WahlArtList->currentText(), QStringLiteral("Puls"));
        QCOMPARE(page()->sliderSize(), 24);
        selectTab(1);
        QVERIFY(settingsLine(f->read(QStringLiteral("Telefonregister.ini")))
                    .startsWith("0,16,1,0,\"\",0,\"00\",\"49\",\"89\",24,"));
    }

    void captionsOfThePage() {
        const QStringList expected{"Kennzahlen",         "Präfixzahlen",
                                   "Kartennamen",        "Eintragsgröße",
                                   "Modemeinstellungen", "Anwahl ausführen über ..."};
        QStringList titles;
        for (QGroupBox* frame : page()->findChildren<QGroupBox*>())
            titles << frame->title();
        for (const QString& title : expected)
            QVERIFY2(titles.contains(title), qPrintable(title));
        QStringList labels;
        for (QLabel* label : page()->findChildren<QLabel*>())
            labels << label->text().simplified();
        for (const char* text : {"Land", "Ort", "Amt", "Aus- land", "Wahlart", "Anschluß",
                                 "Zusatz- befehle", "AT", "Modem- antwort", "an"})
            QVERIFY2(labels.contains(QString::fromUtf8(text)), text);
        QCOMPARE(page()->TelcoListChk->text(), QStringLiteral("&Provider-Liste"));
        QCOMPARE(page()->UebergabeChk->text(), QStringLiteral("&Übergabe"));
    }
};

QTEST_MAIN(TestOptionsPage)
#include "test_optionspage.moc"
