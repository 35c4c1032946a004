#include "app/PageTabs.h"

#include <QTabBar>

PageTabs::PageTabs(QTabBar* tabs) : QObject(tabs), m_tabs(tabs) {}

void PageTabs::add(const QString& title, int page) {
    m_tabs->setTabData(m_tabs->addTab(title), page);
}

int PageTabs::indexOf(int page) const {
    for (int index = 0; index < m_tabs->count(); ++index) {
        if (m_tabs->tabData(index).toInt() == page)
            return index;
    }
    return -1;
}

int PageTabs::current() const {
    return m_tabs->tabData(m_tabs->currentIndex()).toInt();
}

void PageTabs::setShown(int page, const QString& title, int before, bool shown) {
    const int index = indexOf(page);
    if (shown && index < 0)
        m_tabs->setTabData(m_tabs->insertTab(indexOf(before), title), page);
    else if (!shown && index >= 0)
        m_tabs->removeTab(index);
}

bool PageTabs::select(int page) {
    if (m_tabs->currentIndex() == indexOf(page))
        return false;
    m_tabs->setCurrentIndex(indexOf(page));
    return true;
}
