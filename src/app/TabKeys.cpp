#include "app/TabKeys.h"

#include <QKeySequence>
#include <QShortcut>
#include <QTabBar>
#include <QWidget>
#include <array>
#include <utility>

TabKeys::TabKeys(QWidget* window, QTabBar* tabs) : QObject(window) {
    const std::array<std::pair<QKeySequence, int>, 4> tabKeys{
        {{QKeySequence(Qt::CTRL | Qt::Key_PageDown), 1},
         {QKeySequence(Qt::CTRL | Qt::Key_Tab), 1},
         {QKeySequence(Qt::CTRL | Qt::Key_PageUp), -1},
         {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab), -1}}};
    for (const auto& [keys, step] : tabKeys) {
        connect(new QShortcut(keys, window), &QShortcut::activated, tabs, [tabs, step] {
            const int count = tabs->count();
            tabs->setCurrentIndex((tabs->currentIndex() + step + count) % count);
        });
    }
}
