#pragma once

#include <QObject>

class QWidget;

// Hands the keyboard back to the window when a dialog over it closes, message boxes and file
// dialogs included: openbox leaves it with nobody, and keys then do nothing until a click.
class DialogFocusReturn : public QObject {
    Q_OBJECT
public:
    explicit DialogFocusReturn(QWidget* window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void activateWindow();

    QWidget* m_window;
};
