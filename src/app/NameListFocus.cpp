#include "app/NameListFocus.h"

#include "app/CardListView.h"

#include <QApplication>
#include <QFocusEvent>
#include <QTabBar>
#include <algorithm>

NameListFocus::NameListFocus(QWidget* window, QTabBar* tabStrip,
                             const std::array<CardListView*, 4>& lists,
                             std::function<bool()> modalDialogOpen)
    : QObject(window), m_window(window), m_tabStrip(tabStrip), m_lists(lists),
      m_modalDialogOpen(std::move(modalDialogOpen)) {
    for (CardListView* list : m_lists)
        list->installEventFilter(this);
    // In the window's name: the window cuts its ties to the application before it is torn down.
    connect(qApp, &QApplication::focusChanged, window,
            [this](QWidget* old, QWidget* now) { focusChanged(old, now); });
}

bool NameListFocus::eventFilter(QObject* /*watched*/, QEvent* event) {
    // The focus-out comes before focusChanged, and only it tells why.
    if (event->type() == QEvent::FocusOut) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        m_leftByTab = reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason;
    }
    return false;
}

void NameListFocus::focusChanged(QWidget* old, QWidget* now) {
    if (m_leftByTab || m_modalDialogOpen() || !old || !now || now == m_tabStrip ||
        now->window() != m_window)
        return;
    if (std::find(m_lists.begin(), m_lists.end(), old) != m_lists.end())
        m_tabStrip->setFocus(Qt::OtherFocusReason);
}
