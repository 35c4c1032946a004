# Files of this subsystem, relative to this folder (main.cpp is the executable's own).
set(_dir ${CMAKE_CURRENT_LIST_DIR})
list(APPEND CORE_SOURCES
    ${_dir}/OptionRules.cpp
    ${_dir}/TrayClickDecoder.cpp
)
list(APPEND GUI_SOURCES
    ${_dir}/MainWindow.cpp
    ${_dir}/ButtonRow.cpp
    ${_dir}/PageTabs.cpp
    ${_dir}/CallHistory.cpp
    ${_dir}/CallJournalModel.cpp
    ${_dir}/CallJournalPage.cpp
    ${_dir}/WindowCentring.cpp
    ${_dir}/RegisterLoadDialogs.cpp
    ${_dir}/CardListView.cpp
    ${_dir}/OptionsPage.cpp
    ${_dir}/SingleInstance.cpp
    ${_dir}/UnixSignalWatcher.cpp
    ${_dir}/TaskbarHint.cpp
    ${_dir}/WindowHiding.cpp
    ${_dir}/TrayIcon.cpp
    ${_dir}/NameListMenu.cpp
    ${_dir}/ContactSourceDialog.cpp
    ${_dir}/ContactFetch.cpp
    ${_dir}/TabKeys.cpp
    ${_dir}/NameListFocus.cpp
    ${_dir}/ContextMenuKey.cpp
    ${_dir}/InfoDialog.cpp
    ${_dir}/BannerView.cpp
    ${_dir}/DialPreview.cpp
    ${_dir}/ContactImport.cpp
    ${_dir}/CallNotifier.cpp
    ${_dir}/CallMonitorSettingsBox.cpp
    ${_dir}/IncomingCalls.cpp
    ${_dir}/RouterCall.cpp
    ${_dir}/RouterCallDialog.cpp
    ${_dir}/RouterSettingsDialog.cpp
    ${_dir}/DialogFocusReturn.cpp
    ${_dir}/AfterFirstFrame.cpp
)
