#pragma once

#include "register/RegisterFile.h"

#include <QMainWindow>
#include <array>
#include <memory>

class BannerView;
class CardListView;
class EntryDialer;
class ModemCall;
class NameListMenu;
class ContactImport;
class ContactFetch;
class InfoDialog;
class OptionsPage;
class PageTabs;
class PhoneRegister;
class ProviderList;
class RouterCall;
class QCheckBox;
class QLabel;
class QMenu;
class QPushButton;
class QStackedWidget;
class QTabBar;
class TrayIcon;
class WindowCentring;
class WindowHiding;
class ToneDialer;

// "Kurbelfon": the four cards and the options page on one tab strip, the button row and the
// status line. It shows the register and forwards what the user does to it; every completed
// change is saved at once.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    static constexpr int OptionsTab = 5;
    // The call journal's page, between the last card and the options when the router is set up.
    static constexpr int CallsTab = 6;

    // programFolder: the program's own files; dataFolder: the data files, when elsewhere (both
    // with a trailing separator).
    explicit MainWindow(const QString& programFolder, const QString& dataFolder = QString(),
                        QWidget* parent = nullptr);
    ~MainWindow() override;

    // Prepares the controls and loads the register. false: the program must end now.
    bool Form_Load();
    // The program's own end ("&Ende", a signal, the end of the session): saves the options
    // page when it is shown, then emits unloaded(). Runs once.
    void Unload();
    bool isUnloaded() const { return m_unloaded; }
    // A second start asked for the window.
    void bringToFront();

    PhoneRegister* phoneRegister() const { return m_register; }
    const RegisterFile& registerFile() const { return m_file; }
    int CurrentTab() const { return m_currentTab; }
    bool Loading() const { return m_loading; }
    bool ModalDialogOpen() const { return m_modalDialogOpen; }
    QString statusText() const;
    CardListView* nameList(int card) const { return m_nameLists.at(card - 1); }
    OptionsPage* optionsPage() const { return m_options; }
    EntryDialer* entryDialer() const { return m_entryDialer; }
    RouterCall* routerCall() const { return m_routerCall; }
    ProviderList* providerList() const { return m_providers; }
    ModemCall* modemCall() const { return m_modemCall; }
    QTabBar* tabStrip() const { return m_tabStrip; }
    QMenu* nameListMenu() const;
    TrayIcon* trayIcon() const { return m_tray; }
    InfoDialog* infoDialog() const { return m_info; }

    bool LoadRegister();
    bool SaveRegisterFile();
    void ShowOptionsPage();
    void addCallsPage(QWidget* page);
    void setCallsTabShown(bool shown);
    bool callsTabShown() const;
    void ShowCallsPage();
    void setModalDialogOpen(bool open) { m_modalDialogOpen = open; }
    void SetStatusText(const QString& text);
    void StatusListe();
    void LoadOptionControls();
    void SaveOptionControls();
    void OpenEntryEditor(const QString& name, const QString& number, int zeroFlag);
    void RemoveSelectedEntry();
    void pum_Click(int index);
    void Btn_Click(int index);

signals:
    void unloaded();
    // A double click, Space or Enter on the current card's list.
    void dialRequested(int card, int row);
    void callsPageShown();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildWindow();
    void buildDialing(const QString& programFolder);
    void TabStrip1_Click();
    void showTab(int page);
    void NamList_Click(int card, int row);
    void NamList_MouseDown(int card, const QPoint& globalPos);
    void DialHardwareChk_Click(int index, bool checked);
    void DialSelectedEntry();
    void showInfo();
    void applyRegisterToWindow();
    void applyEntryFont(double size);
    void Form_QueryUnload();

public slots:
    // The session manager wants what is typed: the options page, if shown.
    void commitData() { Form_QueryUnload(); }

private:
    void Form_Unload();

    RegisterFile m_file;
    PhoneRegister* m_register = nullptr;
    BannerView* m_banner = nullptr;
    TrayIcon* m_tray = nullptr;
    InfoDialog* m_info = nullptr;
    EntryDialer* m_entryDialer = nullptr;
    RouterCall* m_routerCall = nullptr;
    ProviderList* m_providers = nullptr;
    ModemCall* m_modemCall = nullptr;
    ToneDialer* m_toneDialer = nullptr;
    QTabBar* m_tabStrip = nullptr;
    PageTabs* m_pageTabs = nullptr;
    QStackedWidget* m_pages = nullptr;
    std::array<CardListView*, 4> m_nameLists{};
    OptionsPage* m_options = nullptr;
    QLabel* m_statusText = nullptr;
    QCheckBox* m_autoStartChk = nullptr;
    NameListMenu* m_nameListMenu = nullptr;
    ContactImport* m_contacts = nullptr;
    ContactFetch* m_fetch = nullptr;

    int m_currentTab = 1;
    bool m_loading = false;
    bool m_modalDialogOpen = false;
    bool m_editInsertMode = false;
    bool m_unloaded = false;
    WindowCentring* m_centring = nullptr;
    std::unique_ptr<WindowHiding> m_hiding;
};
