#pragma once

#include <QLabel>
#include <array>

class EntryDialer;
class ProviderList;
class CardListView;
class QDateTime;
class QTabBar;
class QTimer;

// The status bar's field on the right: what a dial of the selected entry would send now, the
// provider's network number in front while the provider list is on. The tooltip names the
// call's distance and the provider.
class DialPreview : public QLabel {
    Q_OBJECT
public:
    // lists: the four cards' lists, whose selections and entries it follows; tabs: the options
    // page saves when it is left, so a tab change may change every number.
    DialPreview(const EntryDialer* entryDialer, const ProviderList* providers,
                const std::array<CardListView*, 4>& lists, QTabBar* tabs,
                QWidget* parent = nullptr);

    void refresh();

protected:
    // Only a shown preview follows the clock: hidden in the tray the program stays asleep.
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    // Wakes up at the next full hour, the only time the provider choice can change.
    void followClock(const QDateTime& now, bool providerShown);

    const EntryDialer* m_entryDialer;
    const ProviderList* m_providers;
    std::array<CardListView*, 4> m_lists;
    int m_card = 1; // the options page shows the last card's entry
    QTimer* m_clock;
};
