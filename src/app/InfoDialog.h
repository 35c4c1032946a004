#pragma once

#include <QDialog>

// The program's name, version and purpose, with the maker's web page and mail. Not modal: it
// opens beside the main window and the program goes on meanwhile.
class InfoDialog : public QDialog {
    Q_OBJECT
public:
    // dataFolder: shown, so that a user knows which phone book is theirs.
    InfoDialog(const QString& dataFolder, QWidget* mainWindow);

    // Shows it beside the main window (right of it, or left where the screen ends), or raises it.
    void showBeside();

private:
    QWidget* m_mainWindow;
    QWidget* m_close = nullptr;
};
