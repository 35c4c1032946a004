#pragma once

#include <QObject>

class QTabBar;
class QWidget;

// The tabs by keyboard, as in other tabbed windows: Ctrl+PageDown and Ctrl+Tab go to the next
// tab, Ctrl+PageUp and Ctrl+Shift+Tab to the one before, round the end.
class TabKeys : public QObject {
    Q_OBJECT
public:
    TabKeys(QWidget* window, QTabBar* tabs);
};
