#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// "Anruf über den Router": which telephone rings and what the router dials once it is picked
// up, with "&Auflegen" and "&Schließen". Not modal: the router is asked in the background.
class RouterCallDialog : public QDialog {
    Q_OBJECT
public:
    static const QString Title;

    explicit RouterCallDialog(QWidget* parent = nullptr);

    void setEntry(const QString& name, const QString& digits);
    // A "\\r" in the text is a line break; the router's words are shown as plain text.
    void showStatus(const QString& text, bool hangUpPossible);

signals:
    void hangUpRequested();

private:
    QLabel* m_name;
    QLabel* m_status;
    QPushButton* m_hangUp;
};
