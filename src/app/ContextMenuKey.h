#pragma once

#include <QObject>

// Shift+F10 opens the focused widget's context menu, as the menu key does: many keyboards have
// no menu key, and the name lists' menu is the only way to add an entry.
class ContextMenuKey : public QObject {
    Q_OBJECT
public:
    // Watches the key presses of the whole application.
    explicit ContextMenuKey(QObject* application);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
