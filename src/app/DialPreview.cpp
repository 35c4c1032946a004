#include "app/DialPreview.h"

#include "app/CardListView.h"

#include "dialing/EntryDialer.h"
#include "providers/ProviderList.h"
#include "providers/ProviderTableModel.h"
#include "register/CardModel.h"
#include "register/EntryLine.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QDateTime>
#include <QItemSelectionModel>
#include <QTabBar>
#include <QTextDocument>
#include <QTimer>

#include <algorithm>

namespace {

// The provider list's words for the call types.
QString distanceWord(int distance) {
    switch (distance) {
    case LocalCall:
        return QStringLiteral("Nah");
    case NationalCall:
        return QStringLiteral("Fern");
    default:
        return QStringLiteral("Ausland");
    }
}

// Any change of a model's rows.
void followModel(QAbstractItemModel* model, DialPreview* preview) {
    const auto refresh = [preview] { preview->refresh(); };
    QObject::connect(model, &QAbstractItemModel::dataChanged, preview, refresh);
    QObject::connect(model, &QAbstractItemModel::rowsInserted, preview, refresh);
    QObject::connect(model, &QAbstractItemModel::rowsRemoved, preview, refresh);
    QObject::connect(model, &QAbstractItemModel::modelReset, preview, refresh);
    QObject::connect(model, &QAbstractItemModel::layoutChanged, preview, refresh);
}

} // namespace

DialPreview::DialPreview(const EntryDialer* entryDialer, const ProviderList* providers,
                         const std::array<CardListView*, 4>& lists, QTabBar* tabs, QWidget* parent)
    : QLabel(parent), m_entryDialer(entryDialer), m_providers(providers), m_lists(lists),
      m_clock(new QTimer(this)) {
    setObjectName(QStringLiteral("DialPreview"));
    setTextInteractionFlags(Qt::TextSelectableByMouse);
    setTextFormat(Qt::PlainText);
    followModel(m_providers->model(), this);
    connect(m_providers->TelcoListChk(), &QCheckBox::toggled, this, &DialPreview::refresh);
    for (int card = 1; card <= int(m_lists.size()); ++card) {
        CardListView* list = m_lists[card - 1];
        followModel(list->model(), this);
        connect(list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
                &DialPreview::refresh);
        connect(list->selectionModel(), &QItemSelectionModel::currentChanged, this, [this, card] {
            m_card = card;
            refresh();
        });
    }
    connect(tabs, &QTabBar::currentChanged, this, [this](int index) {
        if (index >= 0 && index < int(m_lists.size()))
            m_card = index + 1;
        refresh();
    });
    m_clock->setSingleShot(true);
    m_clock->setTimerType(Qt::PreciseTimer);
    connect(m_clock, &QTimer::timeout, this, &DialPreview::refresh);
}

void DialPreview::showEvent(QShowEvent* event) {
    QLabel::showEvent(event);
    refresh(); // the hour may have passed while hidden
}

void DialPreview::hideEvent(QHideEvent* event) {
    QLabel::hideEvent(event);
    m_clock->stop();
}

void DialPreview::followClock(const QDateTime& now, bool providerShown) {
    if (!providerShown || !isVisible()) {
        m_clock->stop();
        return;
    }
    // Fired a moment early, it finds the same hour and waits for the rest of it.
    const QDateTime hourStart(now.date(), QTime(now.time().hour(), 0));
    m_clock->start(int(std::max<qint64>(1, now.msecsTo(hourStart.addSecs(3600)))));
}

void DialPreview::refresh() {
    const CardListView* list = m_lists[m_card - 1];
    const int row = list->selectedRow();
    const QString line =
        row >= 0 ? list->model()->index(row, 0).data(CardModel::LineRole).toString() : QString();
    if (line.isEmpty()) {
        clear();
        setToolTip(QString());
        followClock({}, false);
        return;
    }
    const QDateTime now = QDateTime::currentDateTime();
    if (m_entryDialer->routerChosen()) {
        setText(m_entryDialer->composeForRouter(GetEntryNumber(line), GetEntryZeroFlag(line), now));
        setToolTip(QStringLiteral("Wählhilfe des Routers"));
        return;
    }
    const ComposedDial dial =
        m_entryDialer->compose(GetEntryNumber(line), GetEntryZeroFlag(line), now);
    const int weekday = now.date().dayOfWeek();
    const int hour = now.time().hour();
    const std::optional<QString> network =
        m_providers->ProviderFor(weekday, hour, dial.CallDistance);
    QString shown = dial.displayNumber;
    if (network && !network->isEmpty())
        shown = *network + QLatin1Char(' ') + shown;
    setText(shown);

    QString tip = distanceWord(dial.CallDistance);
    if (network) {
        const std::optional<ProviderEntry> provider =
            m_providers->ChosenProvider(weekday, hour, dial.CallDistance);
        tip += provider ? QStringLiteral(", Anbieter: ") + provider->Name
                        : QStringLiteral(", kein passender Anbieter");
    }
    // A provider's name comes from its file; as a tooltip it would be read as markup.
    setToolTip(Qt::mightBeRichText(tip) ? Qt::convertFromPlainText(tip) : tip);
    followClock(now, network.has_value());
}
