#pragma once

#include <QObject>
#include <array>
#include <functional>

class CardListView;
class QTabBar;
class QWidget;

// A name list hands the keyboard focus back to the tab strip when it loses it, except to a
// modal dialog of the program and except by Tab, which goes on to the buttons below.
class NameListFocus : public QObject {
    Q_OBJECT
public:
    NameListFocus(QWidget* window, QTabBar* tabStrip, const std::array<CardListView*, 4>& lists,
                  std::function<bool()> modalDialogOpen);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void focusChanged(QWidget* old, QWidget* now);

    QWidget* m_window;
    QTabBar* m_tabStrip;
    std::array<CardListView*, 4> m_lists;
    std::function<bool()> m_modalDialogOpen;
    bool m_leftByTab = false;
};
