#pragma once

#include "router/CallListReader.h"

#include <QObject>
#include <QPointer>
#include <QSet>
#include <QTimer>

class CallerDirectory;
class CallJournal;
class CallJournalPage;
class IncomingCalls;
class MainWindow;
class RouterCallList;
struct RouterSettings;
struct Tr64Result;

// The "Anrufe" page and what feeds it: the journal kept on disk, the router's call list read
// when the page is shown, on request and after each call the monitor saw end, and the monitor's
// calls as they happen. Calls back through the same path as a notification's "Zurückrufen".
// Nothing runs on a timer while the window is hidden.
class CallHistory : public QObject {
    Q_OBJECT
public:
    // More than the routers keep; the journal adds only what it does not have.
    static constexpr int CallsToRead = 1000;
    // The router writes a call into its list a moment after the call ended.
    static constexpr int ReadAfterCallMs = 4000;

    CallHistory(MainWindow* window, IncomingCalls* incoming, QObject* parent = nullptr);

    CallJournal* journal() const { return m_journal; }
    CallJournalPage* page() const { return m_page; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void applySettings(const RouterSettings& settings);
    void onPageShown();
    // asked: the user pressed the button; a password or a certificate may then be asked for.
    void read(bool asked);
    void onRead(const Tr64Result& result, const CallListReader::Result& list, bool asked);
    void showEntries();
    void showStatus();
    void callBack(const JournalCall& call);
    void takeIntoCard(const JournalCall& call);
    void seeMissedCalls();
    bool pageSeen() const;

    MainWindow* m_window;
    IncomingCalls* m_incoming;
    CallerDirectory* m_directory;
    CallJournal* m_journal;
    CallJournalPage* m_page;
    QPointer<RouterCallList> m_reading;
    QTimer m_readAfterCall;
    QString m_readState;  // when the list was last read, or why it could not be
    QSet<qint64> m_fresh; // missed calls unseen when the page was opened: bold while it shows
    QString m_setAside;   // the damaged journal set aside at the start of this run
    QString m_notice;     // a one-off word on the last action (a call that cannot be called back)
};
