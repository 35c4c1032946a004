#pragma once

#include "router/JournalEntry.h"

#include <QWidget>

class CallJournalModel;
class QCheckBox;
class QLabel;
class QPushButton;
class QTreeView;

// "Anrufe": the journal's calls, newest first, with the filter for missed calls, the button that
// reads the router's list again and the line that says how current the list is. Return or a
// double click calls back; the context menu also takes a number into a card or copies it.
class CallJournalPage : public QWidget {
    Q_OBJECT
public:
    explicit CallJournalPage(QWidget* parent = nullptr);

    CallJournalModel* model() const { return m_model; }
    QTreeView* list() const { return m_list; }
    // Keeps the current call current, or the newest when there was none.
    void setEntries(const QList<JournalEntry>& entries);
    // Plain text.
    void showStatus(const QString& text);
    QString statusText() const;
    // The keyboard focus on the newest call shown.
    void focusNewest();

signals:
    void callBackRequested(const JournalCall& call);
    void takeIntoCardRequested(const JournalCall& call);
    void refreshRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    const JournalEntry* currentEntry() const;
    void showMenu(const QPoint& globalPos);

    CallJournalModel* m_model;
    QTreeView* m_list;
    QCheckBox* m_onlyMissed;
    QPushButton* m_refresh;
    QLabel* m_status;
};
