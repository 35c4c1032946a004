#pragma once

#include <QObject>
#include <QString>

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

public slots:
    // Reads the router's settings again; the settings dialog calls it after saving.
    void applySettings();

signals:
    void stateChanged(const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void onLine(const QByteArray& line);
    void onRinging(const QString& callId, const QString& number);
    void onMissed(const QString& callId, const QString& number);
    void callBack(const QString& storedNumber);
    // "Muster, Anna (Büro 1)" for a number on a card, else the number itself.
    QString callerText(const QString& number);
    void updateTrayTip();

    MainWindow* m_window;
    LinkDialer* m_linkDialer;
    CallMonitorConnection* m_connection;
    CallTracker* m_tracker;
    CallerDirectory* m_directory;
    CallNotifier* m_notifier;
    bool m_monitorOn = false;
    int m_missed = 0;
};
