#pragma once

#include <QList>
#include <QObject>

class QDialog;
class QHBoxLayout;
class QPushButton;
class QWidget;

// The keys both editors share: Enter in a text field moves on to the next field, and from the
// last one to the OK button, without typing a character; Enter on a focused button presses it
// and does nothing elsewhere; Escape presses "&Abbrechen", as in any other dialog.
class EditorKeys : public QObject {
public:
    // fields: the text fields in the order Enter walks them; ok: where the last one leads.
    EditorKeys(QDialog* dialog, const QList<QWidget*>& fields, QWidget* ok, QPushButton* cancel);

    // The editors' button row: "&Abbrechen" on the left, "&OK" on the right, neither of them a
    // default button, since the keys above decide what Enter does.
    static QHBoxLayout* makeButtonRow(QDialog* dialog, QPushButton** ok, QPushButton** cancel);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QDialog* m_dialog;
    QPushButton* m_cancel;
    QList<QWidget*> m_walk; // the fields, then the OK button
};
