#pragma once

#include <QLabel>
#include <functional>

class EntryDialer;
class ProviderList;
class QAbstractItemView;
class QTabBar;
class QTimer;

// The status bar's field on the right: what a dial of the selected entry would send now, the
// provider's network number in front while the provider list is on. The tooltip names the
// call's distance and the provider.
class DialPreview : public QLabel {
    Q_OBJECT
public:
    // selectedLine: the selected entry line of a card (1..4), empty when none is selected.
    DialPreview(const EntryDialer* entryDialer, const ProviderList* providers,
                std::function<QString(int card)> selectedLine, QWidget* parent = nullptr);

    // card: 1..4; the preview follows its selection and its entries.
    void followList(int card, QAbstractItemView* list);
    // The options page saves when it is left: a tab change may change every number.
    void followTabs(QTabBar* tabs);

    void refresh();

private:
    const EntryDialer* m_entryDialer;
    const ProviderList* m_providers;
    std::function<QString(int)> m_selectedLine;
    int m_card = 1; // the options page shows the last card's entry
    QTimer* m_clock;
};
