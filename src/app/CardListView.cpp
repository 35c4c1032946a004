#include "app/CardListView.h"

#include "register/CardModel.h"
#include "support/HeldKeys.h"

#include <QContextMenuEvent>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMouseEvent>

const QString CardListView::ToolTip =
    QStringLiteral("Klick links: Markieren / Doppelklick: Anwahl / Klick rechts: Menü");

CardListView::CardListView(int card, CardModel* model, QWidget* parent)
    : QListView(parent), m_card(card) {
    setObjectName(QStringLiteral("NamList%1").arg(card));
    setModel(model);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setUniformItemSizes(true);
    setToolTip(ToolTip);
    setContextMenuPolicy(Qt::DefaultContextMenu);
    HeldKeys::instance(); // it must see a key's releases before its repeats
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        const int row = selectedRow();
        if (row >= 0)
            emit entrySelected(m_card, row);
    });
}

int CardListView::selectedRow() const {
    const QModelIndexList rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void CardListView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        // The right button opens the menu and leaves the selection as it is.
        event->accept();
        emit popupRequested(m_card, event->globalPosition().toPoint());
        return;
    }
    QListView::mousePressEvent(event);
}

void CardListView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        QListView::mouseDoubleClickEvent(event);
        emit dialRequested(m_card);
        return;
    }
    event->accept();
}

void CardListView::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    // A held key dials once: its repeats would dial again, or abort the dial under way.
    if ((key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter) &&
        !HeldKeys::instance()->isRepeat(event))
        emit dialRequested(m_card);
    QListView::keyPressEvent(event);
}

void CardListView::contextMenuEvent(QContextMenuEvent* event) {
    // The mouse is handled at the press; only the keyboard's menu key arrives here.
    if (event->reason() == QContextMenuEvent::Keyboard) {
        QPoint local = viewport()->rect().topLeft();
        const int row = selectedRow();
        if (row >= 0)
            local = visualRect(model()->index(row, 0)).center();
        emit popupRequested(m_card, viewport()->mapToGlobal(local));
    }
    event->accept();
}

void CardListView::focusInEvent(QFocusEvent* event) {
    QListView::focusInEvent(event);
    // The view makes the first row current on focus without selecting it; the first arrow
    // key would then skip it. Nothing selected means nothing current.
    if (selectedRow() < 0 && currentIndex().isValid())
        selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
}
