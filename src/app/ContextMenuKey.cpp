#include "app/ContextMenuKey.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QWidget>

ContextMenuKey::ContextMenuKey(QObject* application) : QObject(application) {
    application->installEventFilter(this);
}

bool ContextMenuKey::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || watched != QApplication::focusWidget())
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_F10 ||
        (key->modifiers() & ~Qt::KeypadModifier) != Qt::KeyboardModifiers(Qt::ShiftModifier))
        return false;
    auto* widget = static_cast<QWidget*>(watched);
    const QPoint centre = widget->rect().center();
    QContextMenuEvent menu(QContextMenuEvent::Keyboard, centre, widget->mapToGlobal(centre),
                           key->modifiers());
    QApplication::sendEvent(widget, &menu);
    return true;
}
