#pragma once

#include "router/AnnouncementRate.h"

#include <QElapsedTimer>
#include <QObject>
#include <QSet>
#include <QString>
#include <QTimer>

class CallerDirectory;
class CallMonitorConnection;
class CallNotifier;
class CallTracker;
class LinkDialer;
class MainWindow;

// The router's calls on the desktop: the call monitor runs while the router's settings say so,
// ringing and missed calls are announced with the name from the cards, a missed call is called
// back like a tel: link, and the tray icon's tip counts the missed calls until the window shows.
class IncomingCalls : public QObject {
    Q_OBJECT
public:
    IncomingCalls(MainWindow* window, LinkDialer* linkDialer, QObject* parent = nullptr);
    ~IncomingCalls() override;

    QString stateText() const;
    int missedCalls() const { return m_missed; }
    CallTracker* tracker() const { return m_tracker; }
    // With the journal's page, the missed calls count as seen there, not when the window shows.
    void setMissedSeenOnPage(bool onPage) { m_missedSeenOnPage = onPage; }
    void clearMissedCalls();
    // storedNumber: the register's form, "49 89 1234567".
    void callBack(const QString& storedNumber);

public slots:
    // Reads the router's settings again; the settings dialog calls it after saving.
    void applySettings();

signals:
    void stateChanged(const QString& text);
    // A click on a missed call's notification: the user wants to see the calls.
    void journalRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void onLine(const QByteArray& line);
    void onRinging(const QString& callId, const QString& number, const QString& ownNumber);
    void onMissed(const QString& callId, const QString& number, const QString& ownNumber);
    // The entry on a card with this number, "Muster, Anna (Büro 1)"; empty for none.
    QString entryText(const QString& number);
    // What a notification says under its summary: the number when a name stands above it,
    // else the line that was called (the number is already in the summary).
    static QString bodyText(const QString& entry, const QString& number, const QString& ownNumber);
    void announceBurst();
    void updateTrayTip();

    MainWindow* m_window;
    LinkDialer* m_linkDialer;
    CallMonitorConnection* m_connection;
    CallTracker* m_tracker;
    CallerDirectory* m_directory;
    CallNotifier* m_notifier;
    bool m_monitorOn = false;
    bool m_missedSeenOnPage = false;
    int m_missed = 0;
    AnnouncementRate m_rate;
    QElapsedTimer m_clock;
    QTimer m_burstOver;
    QSet<QString> m_unannounced; // calls whose ringing came in a burst
    int m_burstMissed = 0;
};
