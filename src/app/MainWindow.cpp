#include "app/MainWindow.h"

#include "app/AfterFirstFrame.h"
#include "app/AppMessages.h"
#include "app/BannerView.h"
#include "app/ButtonRow.h"
#include "app/CardListView.h"
#include "app/ContactFetch.h"
#include "app/ContactImport.h"
#include "app/DialPreview.h"
#include "app/DialogFocusReturn.h"
#include "app/InfoDialog.h"
#include "app/NameListFocus.h"
#include "app/NameListMenu.h"
#include "app/OptionsPage.h"
#include "app/PageTabs.h"
#include "app/RegisterLoadDialogs.h"
#include "app/RouterCall.h"
#include "app/TabKeys.h"
#include "app/TaskbarHint.h"
#include "app/TrayIcon.h"
#include "app/WindowCentring.h"
#include "app/WindowHiding.h"
#include "dialing/EntryDialer.h"
#include "dialing/ModemCall.h"
#include "dialing/SoundModulePlayer.h"
#include "dialing/ToneDialMessages.h"
#include "dialing/ToneDialer.h"
#include "providers/ProviderList.h"
#include "register/EntryEditor.h"
#include "register/EntryLine.h"
#include "register/PhoneRegister.h"
#include "register/RegisterMessages.h"
#include "support/AutoStart.h"
#include "support/FileSaver.h"
#include "support/ShellOpen.h"
#include "support/UserMessage.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTabBar>
#include <QVBoxLayout>

MainWindow::MainWindow(const QString& programFolder, const QString& dataFolder, QWidget* parent)
    : QMainWindow(parent), m_file(dataFolder.isEmpty() ? programFolder : dataFolder),
      m_register(new PhoneRegister(this)), m_banner(new BannerView(programFolder, this)),
      m_tray(new TrayIcon([this] { return m_modalDialogOpen; }, this)) {
    setObjectName(QStringLiteral("Form1"));
    // A dialog frame without minimise and maximise; the tray icon stands in for a taskbar
    // button (TaskbarHint). No tool window: openbox hands a tool window no focus back after a
    // dialog closes.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    m_centring = new WindowCentring(this);
    m_hiding = std::make_unique<WindowHiding>(this);
    new DialogFocusReturn(this);
    buildWindow();
    m_nameListMenu = new NameListMenu(this);
    buildDialing(programFolder);
    connect(m_tray, &TrayIcon::showWindowRequested, this, &MainWindow::bringToFront);
    connect(m_tray, &TrayIcon::infoRequested, this, &MainWindow::showInfo);
    connect(m_tray, &TrayIcon::quitRequested, this, &MainWindow::Unload);
}

MainWindow::~MainWindow() {
    // ~QWidget hides the window and moves the focus while this object is no MainWindow any
    // more: the application must not call back into it then.
    disconnect(qApp, nullptr, this, nullptr);
}

void MainWindow::buildWindow() {
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);

    m_tabStrip = new QTabBar(central);
    m_tabStrip->setObjectName(QStringLiteral("TabStrip1"));
    m_tabStrip->setExpanding(false);
    m_tabStrip->setDrawBase(true);
    m_pages = new QStackedWidget(central);
    m_pages->setObjectName(QStringLiteral("Pages"));
    m_pageTabs = new PageTabs(m_tabStrip);
    for (int card = 1; card <= PhoneRegister::CardCount; ++card) {
        m_pageTabs->add(m_register->cardNames[card - 1], card);
        auto* page = new QWidget(m_pages);
        page->setObjectName(QStringLiteral("Picture1_%1").arg(card));
        auto* list = new CardListView(card, m_register->card(card), page);
        auto* pageLayout = new QVBoxLayout(page);
        pageLayout->setContentsMargins(0, 0, 0, 0);
        pageLayout->addWidget(list);
        m_pages->addWidget(page);
        m_nameLists[card - 1] = list;
        connect(list, &CardListView::entrySelected, this, &MainWindow::NamList_Click);
        connect(list, &CardListView::dialRequested, this, &MainWindow::DialSelectedEntry);
        connect(list, &CardListView::popupRequested, this, &MainWindow::NamList_MouseDown);
    }
    m_pageTabs->add(QStringLiteral("Optionen"), OptionsTab);
    // The tallest page: it scrolls where the screen is too low for the whole window.
    auto* optionsArea = new QScrollArea(m_pages);
    optionsArea->setFrameShape(QFrame::NoFrame);
    optionsArea->setFocusPolicy(Qt::NoFocus); // no Tab stop of its own
    optionsArea->setWidgetResizable(true);
    m_options = new OptionsPage(optionsArea);
    optionsArea->setWidget(m_options);
    optionsArea->setMinimumSize(m_options->sizeHint()); // until the window has its size
    m_pages->addWidget(optionsArea);
    applyEntryFont(m_register->EntryFontSize);

    layout->addWidget(m_banner);
    layout->addWidget(m_tabStrip);
    layout->addWidget(m_pages, 1);
    auto* buttons = new ButtonRow(this);
    m_autoStartChk = buttons->autoStartCheck();
    connect(buttons, &ButtonRow::clicked, this, &MainWindow::Btn_Click);
    layout->addWidget(buttons);
    setCentralWidget(central);

    auto* status = new QStatusBar(this);
    status->setObjectName(QStringLiteral("StatusBar1"));
    status->setSizeGripEnabled(false);
    m_statusText = new QLabel(AppMessages::UsageHint, status);
    m_statusText->setObjectName(QStringLiteral("StatusText"));
    m_statusText->setTextFormat(Qt::PlainText);
    status->addWidget(m_statusText, 1);
    setStatusBar(status);

    connect(m_tabStrip, &QTabBar::currentChanged, this, &MainWindow::TabStrip1_Click);
    connect(m_options->DebugButton, &QPushButton::clicked, this, [this] { Btn_Click(0); });
    for (int index : {0, 1}) {
        connect(m_options->DialHardwareChk[index], &QRadioButton::toggled, this,
                [this, index](bool checked) { DialHardwareChk_Click(index, checked); });
    }
    new NameListFocus(this, m_tabStrip, m_nameLists, [this] { return m_modalDialogOpen; });
    new TabKeys(this, m_tabStrip);
    connect(m_autoStartChk, &QCheckBox::toggled, this,
            [this] { ApplyAutoStartCheck(m_autoStartChk); });

    setWindowTitle(UserMessage::ProgramName);
    adjustSize();
    setFixedSize(sizeHint().expandedTo(QSize(640, 0)));
    optionsArea->setMinimumSize(0, 0); // WindowCentring may shrink the window to its screen
}

void MainWindow::buildDialing(const QString& programFolder) {
    m_providers =
        new ProviderList(m_options->TelcoListChk, m_options->TelcoList,
                         ProviderFile(m_file.ProviderFilePath(), m_file.ProviderBackupPath()),
                         {&m_loading, &m_modalDialogOpen, &m_editInsertMode}, this);
    m_entryDialer = new EntryDialer(m_register, this);
    m_entryDialer->setProviderChoice([this](int weekday, int hour, int distance) {
        return m_providers->ProviderFor(weekday, hour, distance);
    });
    m_modemCall = new ModemCall(m_register, m_file.folder(), this);
    connect(m_entryDialer, &EntryDialer::modemDialRequested, m_modemCall, &ModemCall::dial);
    connect(m_modemCall, &ModemCall::modalDialogOpenChanged, this, &MainWindow::setModalDialogOpen);
    connect(m_modemCall, &ModemCall::optionsPageRequested, this, &MainWindow::ShowOptionsPage);
    m_toneDialer = new ToneDialer(programFolder + QStringLiteral("snd/"),
                                  std::make_unique<SoundModulePlayer>(), this);
    connect(m_entryDialer, &EntryDialer::toneDialRequested, m_toneDialer, &ToneDialer::dial);
    m_routerCall = new RouterCall(m_options, this);
    auto* router = m_routerCall;
    m_entryDialer->setRouterChoice([router] { return router->chosen(); });
    connect(m_entryDialer, &EntryDialer::routerDialRequested, router, &RouterCall::dial);
    connect(router, &RouterCall::modalDialogOpenChanged, this, &MainWindow::setModalDialogOpen);
    connect(m_toneDialer, &ToneDialer::noSoundOutput, this,
            [this] { UserMessage::error(this, ToneDialMessages::NoSoundOutput); });
    statusBar()->addPermanentWidget(
        new DialPreview(m_entryDialer, m_providers, m_nameLists, m_tabStrip, this));
    m_contacts = new ContactImport(
        m_register, [this] { return SaveRegisterFile(); }, this);
    m_contacts->acceptDropsOn(m_nameLists);
    connect(m_options->ImportContactsButton, &QPushButton::clicked, m_contacts,
            [this] { m_contacts->chooseAndImport(1); });
    connect(m_contacts, &ContactImport::modalDialogOpenChanged, this,
            &MainWindow::setModalDialogOpen);
    m_fetch = new ContactFetch(m_routerCall, m_contacts, this);
    connect(m_fetch, &ContactFetch::modalDialogOpenChanged, this, &MainWindow::setModalDialogOpen);
}

bool MainWindow::Form_Load() {
    m_banner->ChooseBanner();
    InitAutoStartCheck(m_autoStartChk);
    for (int port = 1; port <= 16; ++port)
        m_options->ComList->addItem(QStringLiteral("COM%1").arg(port));
    m_options->WahlArtList->addItem(QStringLiteral("Ton"));
    m_options->WahlArtList->addItem(QStringLiteral("Puls"));
    setWindowTitle(UserMessage::ProgramName);
    AfterFirstFrame::run(this, [this] {
        if (!m_unloaded)
            m_tray->ShowSysTrayIcon(windowIcon(), UserMessage::ProgramName);
    });
    setWindowState(Qt::WindowNoState);
    return LoadRegister();
}

bool MainWindow::LoadRegister() {
    m_loading = true;
    m_currentTab = 1;
    m_tabStrip->blockSignals(true);
    m_tabStrip->setCurrentIndex(0);
    m_tabStrip->blockSignals(false);
    m_pages->setCurrentIndex(0);

    RegisterFile::LoadResult result = m_file.load(*m_register);
    if (result.status == RegisterFile::LoadStatus::MissingWithBackup &&
        RegisterLoadDialogs::offerBackupRestore(this, m_file))
        result = m_file.load(*m_register);

    switch (result.status) {
    case RegisterFile::LoadStatus::Incompatible:
        UserMessage::error(this,
                           result.error.isEmpty() ? RegisterMessages::Incompatible : result.error);
        m_loading = false;
        return false;
    case RegisterFile::LoadStatus::Missing:
    case RegisterFile::LoadStatus::MissingWithBackup:
        m_register->resetToDefaults();
        applyRegisterToWindow();
        // A register that could not be written is no new file: the save error has said so,
        // and the next change tries again.
        if (SaveRegisterFile())
            UserMessage::information(this, RegisterMessages::NewFileCreated);
        ShowOptionsPage();
        break;
    case RegisterFile::LoadStatus::Loaded:
    case RegisterFile::LoadStatus::LoadedWithProblems:
        applyRegisterToWindow();
        if (result.status == RegisterFile::LoadStatus::LoadedWithProblems)
            RegisterLoadDialogs::reportLoadProblems(this, result);
        break;
    }
    m_providers->LoadProviderFile();
    m_loading = false;
    return true;
}

void MainWindow::applyRegisterToWindow() {
    const int hardware = m_register->DialHardware == 1 ? 1 : 0;
    if (!m_options->routerChosen()) // the router's choice is kept outside the register
        m_options->DialHardwareChk[hardware]->setChecked(true);
    for (int card = 1; card <= PhoneRegister::CardCount; ++card)
        m_tabStrip->setTabText(card - 1, m_register->cardNames[card - 1]);
    applyEntryFont(m_register->EntryFontSize);
}

void MainWindow::applyEntryFont(double size) {
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(size);
    for (CardListView* list : m_nameLists)
        list->setFont(font);
}

bool MainWindow::SaveRegisterFile() {
    QString error;
    if (m_file.save(*m_register, &error))
        return true;
    // What is in memory stays; the next change tries again.
    UserMessage::error(this, error);
    return false;
}

void MainWindow::ShowOptionsPage() {
    showTab(OptionsTab);
}

void MainWindow::ShowCallsPage() {
    showTab(CallsTab);
}

void MainWindow::showTab(int page) {
    if (!m_pageTabs->select(page))
        TabStrip1_Click();
}

void MainWindow::addCallsPage(QWidget* page) {
    m_pages->insertWidget(CallsTab - 1, page);
}

void MainWindow::setCallsTabShown(bool shown) {
    m_pageTabs->setShown(CallsTab, QStringLiteral("Anrufe"), OptionsTab, shown);
}

bool MainWindow::callsTabShown() const {
    return m_pageTabs->indexOf(CallsTab) >= 0;
}

void MainWindow::TabStrip1_Click() {
    if (!isVisible() || isMinimized())
        bringToFront();
    const int t = m_pageTabs->current();
    m_pages->setCurrentIndex(t - 1);
    if (t != OptionsTab) {
        if (m_currentTab == OptionsTab) {
            SaveOptionControls();
            StatusListe();
        }
        if (t != CallsTab)
            nameList(t)->setFocus(Qt::OtherFocusReason);
    } else if (m_currentTab != OptionsTab) {
        LoadOptionControls();
        SetStatusText(AppMessages::OptionsHint);
        m_options->Text1[2]->setFocus(Qt::OtherFocusReason);
    }
    m_currentTab = t;
    if (t == CallsTab)
        emit callsPageShown();
}

QString MainWindow::statusText() const {
    return m_statusText->text();
}

void MainWindow::SetStatusText(const QString& text) {
    m_statusText->setText(text);
}

void MainWindow::StatusListe() {
    SetStatusText(AppMessages::UsageHint);
}

void MainWindow::LoadOptionControls() {
    m_options->loadFrom(*m_register);
}

void MainWindow::SaveOptionControls() {
    m_options->saveTo(*m_register);
    applyRegisterToWindow();
    SaveRegisterFile();
}

void MainWindow::NamList_Click(int card, int row) {
    SetStatusText(GetEntryNumber(m_register->card(card)->line(row)));
}

QMenu* MainWindow::nameListMenu() const {
    return m_nameListMenu->menu();
}

void MainWindow::NamList_MouseDown(int card, const QPoint& globalPos) {
    if (const int chosen = m_nameListMenu->choose(globalPos, nameList(card)->selectedRow() >= 0))
        pum_Click(chosen);
    StatusListe();
}

void MainWindow::pum_Click(int index) {
    if (m_currentTab < 1 || m_currentTab > PhoneRegister::CardCount)
        return;
    CardListView* list = nameList(m_currentTab);
    const int row = list->selectedRow();
    switch (index) {
    case 1:
        OpenEntryEditor(QString(), QString(), 1);
        break;
    case 2:
        if (row >= 0) {
            const QString line = m_register->card(m_currentTab)->line(row);
            OpenEntryEditor(GetEntryName(line), GetEntryNumber(line), GetEntryZeroFlag(line));
        }
        break;
    case 3:
        if (row >= 0) {
            const QString line = m_register->card(m_currentTab)->line(row);
            const QString text = RegisterMessages::DeleteQuestion + GetEntryName(line) +
                                 QStringLiteral(" (") + GetEntryNumber(line) + QStringLiteral(")");
            if (UserMessage::askYesNo(this, RegisterMessages::DeleteTitle, text)) {
                RemoveSelectedEntry();
                SaveRegisterFile();
            }
        }
        break;
    case NameListMenu::FetchContacts:
        m_fetch->fetch(m_currentTab);
        break;
    case NameListMenu::SaveAsVCard:
        m_contacts->saveAsVCard(m_currentTab);
        break;
    default:
        break;
    }
}

void MainWindow::OpenEntryEditor(const QString& name, const QString& number, int zeroFlag) {
    EntryEditor editor(m_register->settings, this);
    editor.setEntry(name, number, zeroFlag);
    m_editInsertMode = name.isEmpty() && number.isEmpty();
    m_modalDialogOpen = true;
    const int result = editor.exec();
    m_modalDialogOpen = false;
    if (result != QDialog::Accepted)
        return;
    if (!m_editInsertMode)
        RemoveSelectedEntry();
    if (!editor.name().isEmpty() && !editor.number().isEmpty()) {
        m_register->card(m_currentTab)
            ->addLine(MakeEntryLine(editor.name(), editor.number(), editor.zeroFlag()));
    }
    SaveRegisterFile();
}

void MainWindow::RemoveSelectedEntry() {
    CardListView* list = nameList(m_currentTab);
    const int row = list->selectedRow();
    if (row >= 0)
        m_register->card(m_currentTab)->removeLineAt(row);
}

void MainWindow::DialSelectedEntry() {
    if (m_currentTab < 1 || m_currentTab > PhoneRegister::CardCount)
        return;
    const int row = nameList(m_currentTab)->selectedRow();
    emit dialRequested(m_currentTab, row);
    // An empty card, or nothing selected: nothing to dial.
    if (row >= 0)
        m_entryDialer->dialEntry(m_register->card(m_currentTab)->line(row));
}

void MainWindow::DialHardwareChk_Click(int index, bool checked) {
    if (!checked)
        return;
    m_register->DialHardware = index;
    if (!m_loading)
        SaveRegisterFile();
}

void MainWindow::Btn_Click(int index) {
    switch (index) {
    case 0:
        m_modemCall->showModemAnswer();
        break;
    case 1:
        m_hiding->hide();
        break;
    case 20:
        showInfo();
        break;
    case 21:
        ShowHelpFile(QString(), this);
        break;
    case 22:
        Unload();
        break;
    default:
        break;
    }
}

void MainWindow::showInfo() {
    if (!m_info)
        m_info = new InfoDialog(m_file.folder(), this);
    m_info->showBeside();
}

void MainWindow::Unload() {
    if (m_unloaded)
        return;
    m_unloaded = true;
    Form_QueryUnload();
    Form_Unload();
}

void MainWindow::Form_QueryUnload() {
    // The program itself ends: the options page must not be lost.
    if (m_currentTab == OptionsTab)
        SaveOptionControls();
}

void MainWindow::Form_Unload() {
    // The options page was saved in Form_QueryUnload: a second save would leave the backup
    // holding the same state as the file.
    hide();
    m_tray->KillSysTrayIcon();
    // An open info dialog keeps the program until it is closed.
    if (m_info && m_info->isVisible())
        connect(m_info, &QDialog::finished, this, &MainWindow::unloaded);
    else
        emit unloaded();
}

void MainWindow::bringToFront() {
    if (m_unloaded) // ended; only the info dialog still keeps the program
        return;
    // A window manager may minimise the window although it has no such button.
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
    TaskbarHint::activate(this);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (m_unloaded) {
        event->accept();
        return;
    }
    // The user's close box only hides the window; nothing is saved.
    event->ignore();
    m_hiding->hide();
}

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    m_hiding->shown();
    m_centring->shown();
}
