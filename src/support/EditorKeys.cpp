#include "support/EditorKeys.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>

EditorKeys::EditorKeys(QDialog* dialog, const QList<QWidget*>& fields, QWidget* ok,
                       QPushButton* cancel)
    : QObject(dialog), m_dialog(dialog), m_cancel(cancel), m_walk(fields) {
    m_walk << ok;
    for (QWidget* field : fields)
        field->installEventFilter(this);
    dialog->installEventFilter(this);
}

bool EditorKeys::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<QKeyEvent*>(event)->key();
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    if (watched == m_dialog) {
        // What the focused widget left unhandled reaches the dialog.
        if (enter) {
            if (auto* button = qobject_cast<QPushButton*>(m_dialog->focusWidget()))
                button->click();
            return true;
        }
        if (key == Qt::Key_Escape) {
            m_cancel->click();
            return true;
        }
        return false;
    }
    const qsizetype place = m_walk.indexOf(static_cast<QWidget*>(watched));
    if (enter && place >= 0 && place + 1 < m_walk.size()) {
        m_walk.at(place + 1)->setFocus(Qt::TabFocusReason);
        return true;
    }
    return false;
}

QHBoxLayout* EditorKeys::makeButtonRow(QDialog* dialog, QPushButton** ok, QPushButton** cancel) {
    *cancel = new QPushButton(QStringLiteral("&Abbrechen"), dialog);
    (*cancel)->setObjectName(QStringLiteral("Command1_1"));
    *ok = new QPushButton(QStringLiteral("&OK"), dialog);
    (*ok)->setObjectName(QStringLiteral("Command1_0"));
    for (QPushButton* button : {*ok, *cancel}) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(*cancel);
    buttons->addStretch();
    buttons->addWidget(*ok);
    return buttons;
}
