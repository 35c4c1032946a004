#pragma once

#include <QObject>
#include <QString>

class QTabBar;

// The tab strip's tabs by the page each shows (1..4 the cards, then the options and the calls
// page), whatever their places: a page can come and go without renumbering the others.
class PageTabs : public QObject {
    Q_OBJECT
public:
    explicit PageTabs(QTabBar* tabs);

    void add(const QString& title, int page);
    // -1 when no tab shows the page.
    int indexOf(int page) const;
    int current() const;
    // The page's tab, placed before the tab of `before`, or gone.
    void setShown(int page, const QString& title, int before, bool shown);
    // Makes the page's tab current; false when it already was, so nothing changed.
    bool select(int page);

private:
    QTabBar* m_tabs;
};
