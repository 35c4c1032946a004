#pragma once

#include <QWidget>
#include <array>

class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSlider;
class QTreeView;
class PhoneRegister;

// Page 5, "Optionen": the controls and the reactions that stay on the page. Copying values
// between the controls and the register is the main window's (it owns the register).
class OptionsPage : public QWidget {
    Q_OBJECT
public:
    explicit OptionsPage(QWidget* parent = nullptr);

    // Text1(0..3): outside-line prefix, international prefix, own country code, own area code.
    std::array<QLineEdit*, 4> Text1{};
    // Text2(1..4) are Text2[0..3]: the card names.
    std::array<QLineEdit*, 4> Text2{};
    QSlider* Slider1 = nullptr;
    QFrame* FntFrm = nullptr;
    QLabel* FntSmpl = nullptr;
    QComboBox* WahlArtList = nullptr;
    QComboBox* ComList = nullptr;
    QLineEdit* Text3 = nullptr;
    QPushButton* DebugButton = nullptr; // Btn(0)
    QPushButton* ImportContactsButton = nullptr;
    // DialHardwareChk(0) "&Modem", DialHardwareChk(1) "&Lautsprecher".
    std::array<QRadioButton*, 2> DialHardwareChk{};
    QGroupBox* Frame5 = nullptr;
    QCheckBox* TelcoListChk = nullptr;
    QTreeView* TelcoList = nullptr;
    QGroupBox* WeiterleitenFrame = nullptr;
    QCheckBox* UebergabeChk = nullptr;
    QLineEdit* UebergabeNrText = nullptr;

    // Register to controls when the page is entered; the controls' click reactions follow.
    void loadFrom(const PhoneRegister& reg);
    // Controls to register when the page is left: settings, card names, entry font size.
    void saveTo(PhoneRegister& reg) const;

    // The size the slider shows.
    int sliderSize() const;
    void UpdateFntSmpl();
    void WahlArtList_Click();
    void UebergabeChk_Click();

    // The third dial hardware, "&Router (Wählhilfe)"; it is not held in the register.
    bool routerChosen() const;
    void setRouterChosen(bool chosen);

signals:
    void routerChoiceChanged(bool chosen);
    // "Router-Ein&stellungen …"
    void routerSettingsRequested();

private:
    QGroupBox* makeFrame(const QString& objectName, const QString& title);
    QWidget* buildCodesAndPrefixes();
    QWidget* buildCardNames();
    QWidget* buildFontSize();
    QWidget* buildModem();
    QWidget* buildDialHardware();
    QWidget* buildHandover();
    QWidget* buildProviders();

    QRadioButton* m_routerChk = nullptr;
};
