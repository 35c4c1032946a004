#include "app/CallJournalPage.h"

#include "app/CallJournalModel.h"
#include "support/HeldKeys.h"

#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

CallJournalPage::CallJournalPage(QWidget* parent)
    : QWidget(parent), m_model(new CallJournalModel(this)), m_list(new QTreeView(this)),
      m_onlyMissed(new QCheckBox(QStringLiteral("Nur &verpasste"), this)),
      m_refresh(new QPushButton(QStringLiteral("A&ktualisieren"), this)),
      m_status(new QLabel(this)) {
    setObjectName(QStringLiteral("CallsPage"));
    m_list->setObjectName(QStringLiteral("CallList"));
    m_onlyMissed->setObjectName(QStringLiteral("OnlyMissedChk"));
    m_refresh->setObjectName(QStringLiteral("RefreshCallsBtn"));
    m_status->setObjectName(QStringLiteral("CallStatus"));
    m_status->setTextFormat(Qt::PlainText);
    m_status->setWordWrap(true);

    m_list->setModel(m_model);
    m_list->setRootIsDecorated(false);
    m_list->setItemsExpandable(false);
    // Every row the same height: a journal of thousands is laid out without measuring each.
    m_list->setUniformRowHeights(true);
    m_list->setAllColumnsShowFocus(true);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setContextMenuPolicy(Qt::CustomContextMenu);
    m_list->header()->setStretchLastSection(true);
    // Wide enough for the bold of a missed call.
    QFont bold = font();
    bold.setBold(true);
    const QFontMetrics metrics(bold);
    for (const auto& [column, sample] :
         {std::pair{CallJournalModel::Time, "00.00.00 00:00 \u2003"},
          std::pair{CallJournalModel::Kind, "Angenommen "},
          std::pair{CallJournalModel::Who, "Mustermann, Anna (Privat 1)"},
          std::pair{CallJournalModel::Number, "00431555123456 "},
          std::pair{CallJournalModel::Duration, "00:00 "}})
        m_list->setColumnWidth(column, metrics.horizontalAdvance(QString::fromUtf8(sample)));
    m_list->installEventFilter(this);
    HeldKeys::instance(); // it must see a key's releases before its repeats

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_onlyMissed);
    buttons->addStretch(1);
    buttons->addWidget(m_refresh);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_list, 1);
    layout->addLayout(buttons);
    layout->addWidget(m_status);

    connect(m_onlyMissed, &QCheckBox::toggled, this, [this](bool only) {
        m_model->setOnlyMissed(only);
        focusNewest();
    });
    connect(m_refresh, &QPushButton::clicked, this, &CallJournalPage::refreshRequested);
    connect(m_list, &QTreeView::doubleClicked, this, [this] {
        if (const JournalEntry* entry = currentEntry())
            emit callBackRequested(entry->call);
    });
    connect(m_list, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        // The keyboard's menu key asks at the view's corner: the menu goes to the current row.
        const QModelIndex current = m_list->currentIndex();
        const QPoint local = m_list->indexAt(at).isValid() || !current.isValid()
                                 ? at
                                 : m_list->visualRect(current).center();
        showMenu(m_list->viewport()->mapToGlobal(local));
    });
}

void CallJournalPage::setEntries(const QList<JournalEntry>& entries) {
    const JournalEntry* current = currentEntry();
    const qint64 key = current ? current->key : 0;
    m_model->setEntries(entries);
    int row = 0;
    while (key != 0 && m_model->entryAt(row) && m_model->entryAt(row)->key != key)
        ++row;
    if (!m_model->entryAt(row))
        row = 0;
    if (m_model->entryAt(row))
        m_list->setCurrentIndex(m_model->index(row, 0));
}

void CallJournalPage::showStatus(const QString& text) {
    m_status->setText(text);
}

QString CallJournalPage::statusText() const {
    return m_status->text();
}

void CallJournalPage::focusNewest() {
    m_list->setFocus(Qt::OtherFocusReason);
    if (m_model->rowCount() == 0)
        return;
    m_list->setCurrentIndex(m_model->index(0, 0));
    m_list->scrollToTop();
}

const JournalEntry* CallJournalPage::currentEntry() const {
    const QModelIndex current = m_list->currentIndex();
    return current.isValid() ? m_model->entryAt(current.row()) : nullptr;
}

bool CallJournalPage::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_list && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            // A held key calls back once.
            const JournalEntry* entry = currentEntry();
            if (entry && !HeldKeys::instance()->isRepeat(key))
                emit callBackRequested(entry->call);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void CallJournalPage::showMenu(const QPoint& globalPos) {
    const JournalEntry* entry = currentEntry();
    if (!entry)
        return;
    const JournalCall call = entry->call;
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("CallMenu"));
    QAction* callBack = menu.addAction(QStringLiteral("&Zurückrufen"));
    QAction* toCard = menu.addAction(QStringLiteral("In &Karte übernehmen …"));
    QAction* copy = menu.addAction(QStringLiteral("Nummer &kopieren"));
    toCard->setEnabled(!call.number.isEmpty());
    copy->setEnabled(!call.number.isEmpty());
    QAction* chosen = menu.exec(globalPos);
    if (chosen == callBack)
        emit callBackRequested(call);
    else if (chosen == toCard)
        emit takeIntoCardRequested(call);
    else if (chosen == copy)
        QGuiApplication::clipboard()->setText(call.number);
}
