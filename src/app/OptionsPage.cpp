#include "app/OptionsPage.h"

#include "app/OptionRules.h"
#include "register/PhoneRegister.h"
#include "support/Cp1252Validator.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTreeView>
#include <QVBoxLayout>

namespace {

QLineEdit* makeField(QWidget* parent, const QString& objectName, int width = 0) {
    auto* field = new QLineEdit(parent);
    field->setObjectName(objectName);
    field->setValidator(new Cp1252Validator(field));
    if (width > 0)
        field->setFixedWidth(width);
    return field;
}

QLabel* makeLabel(const QString& objectName, const QString& text, QWidget* buddy = nullptr) {
    auto* label = new QLabel(text);
    label->setObjectName(objectName);
    if (buddy)
        label->setBuddy(buddy);
    return label;
}

} // namespace

OptionsPage::OptionsPage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Picture1_5"));
    auto* grid = new QGridLayout(this);
    grid->addWidget(buildCodesAndPrefixes(), 0, 0);
    grid->addWidget(buildCardNames(), 1, 0);
    grid->addWidget(buildFontSize(), 0, 1, 2, 1);
    grid->addWidget(buildModem(), 0, 2, 2, 1);
    grid->addWidget(buildDialHardware(), 2, 0);
    grid->addWidget(buildHandover(), 2, 1, 1, 2);
    grid->addWidget(buildProviders(), 3, 0, 1, 3);
    grid->setRowStretch(3, 1);

    setTabOrder(Text1[2], Text1[3]);
    setTabOrder(Text1[3], Text1[0]);
    setTabOrder(Text1[0], Text1[1]);
    setTabOrder(Text1[1], Text2[0]);
    for (int i = 0; i < 3; ++i)
        setTabOrder(Text2[i], Text2[i + 1]);
    setTabOrder(Text2[3], Slider1);
    setTabOrder(Slider1, WahlArtList);
    setTabOrder(WahlArtList, ComList);
    setTabOrder(ComList, Text3);
    setTabOrder(Text3, DebugButton);
    setTabOrder(DebugButton, DialHardwareChk[1]);
    setTabOrder(DialHardwareChk[1], DialHardwareChk[0]);
    setTabOrder(DialHardwareChk[0], m_routerChk);
    setTabOrder(m_routerChk, findChild<QPushButton*>(QStringLiteral("RouterSettingsButton")));
    setTabOrder(findChild<QPushButton*>(QStringLiteral("RouterSettingsButton")), UebergabeChk);
    setTabOrder(UebergabeChk, UebergabeNrText);
    setTabOrder(UebergabeNrText, TelcoListChk);
    setTabOrder(TelcoListChk, TelcoList);

    connect(Slider1, &QSlider::valueChanged, this, &OptionsPage::UpdateFntSmpl);
    connect(WahlArtList, &QComboBox::currentIndexChanged, this, &OptionsPage::WahlArtList_Click);
    connect(UebergabeChk, &QCheckBox::toggled, this, &OptionsPage::UebergabeChk_Click);
}

QGroupBox* OptionsPage::makeFrame(const QString& objectName, const QString& title) {
    auto* frame = new QGroupBox(title, this);
    frame->setObjectName(objectName);
    return frame;
}

QWidget* OptionsPage::buildCodesAndPrefixes() {
    auto* box = new QWidget(this);
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);

    auto* codes = makeFrame(QStringLiteral("Frame1_2"), QStringLiteral("Kennzahlen"));
    Text1[2] = makeField(codes, QStringLiteral("Text1_2"), 48);
    Text1[3] = makeField(codes, QStringLiteral("Text1_3"), 48);
    auto* codesLayout = new QGridLayout(codes);
    codesLayout->addWidget(makeLabel(QStringLiteral("Label1_0"), QStringLiteral("Land"), Text1[2]),
                           0, 0);
    codesLayout->addWidget(Text1[2], 0, 1);
    codesLayout->addWidget(makeLabel(QStringLiteral("Label1_1"), QStringLiteral("Ort"), Text1[3]),
                           1, 0);
    codesLayout->addWidget(Text1[3], 1, 1);

    auto* prefixes = makeFrame(QStringLiteral("Frame1_0"), QStringLiteral("Präfixzahlen"));
    Text1[0] = makeField(prefixes, QStringLiteral("Text1_0"), 48);
    Text1[1] = makeField(prefixes, QStringLiteral("Text1_1"), 48);
    auto* prefixLayout = new QGridLayout(prefixes);
    prefixLayout->addWidget(makeLabel(QStringLiteral("Label1_2"), QStringLiteral("Amt"), Text1[0]),
                            0, 0);
    prefixLayout->addWidget(Text1[0], 0, 1);
    prefixLayout->addWidget(
        makeLabel(QStringLiteral("Label1_3"), QStringLiteral("Aus-\nland"), Text1[1]), 1, 0);
    prefixLayout->addWidget(Text1[1], 1, 1);

    row->addWidget(codes);
    row->addWidget(prefixes);
    return box;
}

QWidget* OptionsPage::buildCardNames() {
    auto* frame = makeFrame(QStringLiteral("Frame2"), QStringLiteral("Kartennamen"));
    auto* layout = new QGridLayout(frame);
    for (int i = 0; i < 4; ++i) {
        Text2[i] = makeField(frame, QStringLiteral("Text2_%1").arg(i + 1));
        layout->addWidget(Text2[i], i / 2, i % 2);
    }
    return frame;
}

QWidget* OptionsPage::buildFontSize() {
    auto* frame = makeFrame(QStringLiteral("Frame3"), QStringLiteral("Eintragsgröße"));
    Slider1 = new QSlider(Qt::Vertical, frame);
    Slider1->setObjectName(QStringLiteral("Slider1"));
    Slider1->setRange(OptionRules::MinFontSize, OptionRules::MaxFontSize);
    // Smallest value at the top, as the stored mapping expects; keys follow what is seen.
    Slider1->setInvertedAppearance(true);
    Slider1->setInvertedControls(true);
    Slider1->setPageStep(2);
    Slider1->setMinimumHeight(110);

    FntFrm = new QFrame(frame);
    FntFrm->setObjectName(QStringLiteral("FntFrm"));
    FntFrm->setFrameShape(QFrame::Box);
    FntFrm->setFixedSize(64, 64);
    FntSmpl = new QLabel(QStringLiteral("Aa"), FntFrm);
    FntSmpl->setObjectName(QStringLiteral("FntSmpl"));

    auto* marks = new QVBoxLayout;
    marks->addWidget(makeLabel(QStringLiteral("Label1_8"), QStringLiteral("+")));
    marks->addWidget(makeLabel(QStringLiteral("Label1_9"), QStringLiteral("_")));
    marks->addStretch();

    auto* layout = new QHBoxLayout(frame);
    layout->addLayout(marks);
    layout->addWidget(Slider1);
    layout->addWidget(FntFrm, 0, Qt::AlignVCenter);
    return frame;
}

QWidget* OptionsPage::buildModem() {
    auto* frame = makeFrame(QStringLiteral("Frame4"), QStringLiteral("Modemeinstellungen"));
    WahlArtList = new QComboBox(frame);
    WahlArtList->setObjectName(QStringLiteral("WahlArtList"));
    ComList = new QComboBox(frame);
    ComList->setObjectName(QStringLiteral("ComList"));
    Text3 = makeField(frame, QStringLiteral("Text3"));
    DebugButton = new QPushButton(QStringLiteral("Debug"), frame);
    DebugButton->setObjectName(QStringLiteral("Btn0"));

    auto* layout = new QGridLayout(frame);
    layout->addWidget(makeLabel(QStringLiteral("Label1_6"), QStringLiteral("Wahlart"), WahlArtList),
                      0, 0);
    layout->addWidget(WahlArtList, 0, 1, 1, 2);
    layout->addWidget(makeLabel(QStringLiteral("Label1_5"), QStringLiteral("Anschluß"), ComList), 1,
                      0);
    layout->addWidget(ComList, 1, 1, 1, 2);
    layout->addWidget(
        makeLabel(QStringLiteral("Label1_4"), QStringLiteral("Zusatz-\nbefehle"), Text3), 2, 0);
    layout->addWidget(makeLabel(QStringLiteral("Label2"), QStringLiteral("AT")), 2, 1);
    layout->addWidget(Text3, 2, 2);
    layout->addWidget(makeLabel(QStringLiteral("Label1_7"), QStringLiteral("Modem-\nantwort")), 3,
                      0);
    layout->addWidget(DebugButton, 3, 1, 1, 2);
    layout->setRowStretch(4, 1);
    return frame;
}

QWidget* OptionsPage::buildDialHardware() {
    auto* frame = makeFrame(QStringLiteral("Frame6"), QStringLiteral("Anwahl ausführen über ..."));
    DialHardwareChk[1] = new QRadioButton(QStringLiteral("&Lautsprecher"), frame);
    DialHardwareChk[1]->setObjectName(QStringLiteral("DialHardwareChk_1"));
    DialHardwareChk[0] = new QRadioButton(QStringLiteral("&Modem"), frame);
    DialHardwareChk[0]->setObjectName(QStringLiteral("DialHardwareChk_0"));
    DialHardwareChk[0]->setChecked(true);
    // The router is a choice of its own, kept apart from the register's two.
    m_routerChk = new QRadioButton(QStringLiteral("&Router (Wählhilfe)"), frame);
    m_routerChk->setObjectName(QStringLiteral("DialHardwareChk_2"));
    auto* routerSettings = new QPushButton(QStringLiteral("Router-Ein&stellungen …"), frame);
    routerSettings->setObjectName(QStringLiteral("RouterSettingsButton"));
    routerSettings->setAutoDefault(false);
    auto* layout = new QGridLayout(frame);
    layout->addWidget(DialHardwareChk[1], 0, 0);
    layout->addWidget(DialHardwareChk[0], 0, 1);
    layout->addWidget(m_routerChk, 1, 0);
    layout->addWidget(routerSettings, 1, 1);
    connect(m_routerChk, &QRadioButton::toggled, this, &OptionsPage::routerChoiceChanged);
    connect(routerSettings, &QPushButton::clicked, this, &OptionsPage::routerSettingsRequested);
    return frame;
}

QWidget* OptionsPage::buildHandover() {
    WeiterleitenFrame = makeFrame(QStringLiteral("WeiterleitenFrame"), QString());
    UebergabeChk = new QCheckBox(QStringLiteral("&Übergabe"), WeiterleitenFrame);
    UebergabeChk->setObjectName(QStringLiteral("UebergabeChk"));
    UebergabeNrText = makeField(WeiterleitenFrame, QStringLiteral("UebergabeNrText"));
    auto* layout = new QHBoxLayout(WeiterleitenFrame);
    layout->addWidget(UebergabeChk);
    layout->addWidget(makeLabel(QStringLiteral("Label3"), QStringLiteral("an"), UebergabeNrText));
    layout->addWidget(UebergabeNrText, 1);
    return WeiterleitenFrame;
}

QWidget* OptionsPage::buildProviders() {
    Frame5 = makeFrame(QStringLiteral("Frame5"), QString());
    TelcoListChk = new QCheckBox(QStringLiteral("&Provider-Liste"), Frame5);
    TelcoListChk->setObjectName(QStringLiteral("TelcoListChk"));
    TelcoList = new QTreeView(Frame5);
    TelcoList->setObjectName(QStringLiteral("TelcoList"));
    TelcoList->setRootIsDecorated(false);
    TelcoList->setToolTip(QStringLiteral("Änderungen über Kontextmenü (rechte Maustaste)"));
    TelcoList->setMinimumHeight(90);
    ImportContactsButton = new QPushButton(QStringLiteral("&Kontakte importieren …"), Frame5);
    ImportContactsButton->setObjectName(QStringLiteral("ImportContactsButton"));
    ImportContactsButton->setAutoDefault(false);
    auto* layout = new QVBoxLayout(Frame5);
    layout->addWidget(TelcoListChk);
    layout->addWidget(TelcoList);
    layout->addWidget(ImportContactsButton, 0, Qt::AlignLeft);
    return Frame5;
}

void OptionsPage::loadFrom(const PhoneRegister& reg) {
    const DialSettings& settings = reg.settings;
    Text1[0]->setText(settings.OutsideLinePrefix);
    Text1[1]->setText(settings.InternationalPrefix);
    Text1[2]->setText(settings.OwnCountryCode);
    Text1[3]->setText(settings.OwnAreaCode);
    ComList->setCurrentIndex(OptionRules::comListIndexForPort(settings.ComPort));
    WahlArtList->setCurrentIndex(OptionRules::wahlArtIndexForPulseDialing(settings.PulseDialing));
    WahlArtList_Click();
    UebergabeChk->setChecked(settings.HandoverEnabled != 0);
    UebergabeChk_Click();
    for (int card = 1; card <= PhoneRegister::CardCount; ++card)
        Text2[card - 1]->setText(reg.cardNames[card - 1]);
    Text3->setText(settings.ExtraModemCommands);
    UebergabeNrText->setText(settings.HandoverNumber);
    Slider1->setValue(OptionRules::sliderValueForSize(reg.EntryFontSize));
    QFont sample = FntSmpl->font();
    sample.setFamily(QStringLiteral("Arial"));
    FntSmpl->setFont(sample);
    UpdateFntSmpl();
}

void OptionsPage::saveTo(PhoneRegister& reg) const {
    DialSettings& settings = reg.settings;
    settings.OutsideLinePrefix = Text1[0]->text().trimmed();
    settings.InternationalPrefix = Text1[1]->text().trimmed();
    settings.OwnCountryCode = OptionRules::normaliseCode(Text1[2]->text());
    settings.OwnAreaCode = OptionRules::normaliseCode(Text1[3]->text());
    settings.ExtraModemCommands = Text3->text();
    settings.HandoverNumber = UebergabeNrText->text();
    settings.HandoverEnabled = UebergabeChk->isChecked() ? 1 : 0;
    settings.ComPort = ComList->currentIndex() + 1;
    settings.PulseDialing = WahlArtList->currentIndex();
    for (int card = 1; card <= PhoneRegister::CardCount; ++card)
        reg.cardNames[card - 1] = Text2[card - 1]->text();
    reg.EntryFontSize = FntSmpl->font().pointSizeF();
}

int OptionsPage::sliderSize() const {
    return OptionRules::sizeForSliderValue(Slider1->value());
}

void OptionsPage::UpdateFntSmpl() {
    QFont font = FntSmpl->font();
    font.setPointSize(sliderSize());
    FntSmpl->setFont(font);
    FntSmpl->adjustSize();
    FntSmpl->move((FntFrm->width() - FntSmpl->width()) / 2,
                  (FntFrm->height() - FntSmpl->height()) / 2);
}

void OptionsPage::WahlArtList_Click() {
    const bool tone = WahlArtList->currentIndex() == 0;
    WeiterleitenFrame->setEnabled(tone);
    UebergabeChk->setEnabled(tone);
    UebergabeNrText->setEnabled(tone && UebergabeChk->isChecked());
}

void OptionsPage::UebergabeChk_Click() {
    UebergabeNrText->setEnabled(UebergabeChk->isChecked());
}

bool OptionsPage::routerChosen() const {
    return m_routerChk->isChecked();
}

void OptionsPage::setRouterChosen(bool chosen) {
    if (chosen)
        m_routerChk->setChecked(true);
    else if (m_routerChk->isChecked())
        DialHardwareChk[0]->setChecked(true);
}
