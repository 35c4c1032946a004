#pragma once

#include <QWidget>

class QCheckBox;
class QLabel;
struct RouterSettings;

// "&Anrufmonitor" and the line that tells how the call monitor stands, for the router's
// settings dialog.
class CallMonitorSettingsBox : public QWidget {
    Q_OBJECT
public:
    explicit CallMonitorSettingsBox(QWidget* parent = nullptr);

    void load(const RouterSettings& settings);
    void store(RouterSettings& settings) const;

    QCheckBox* monitorCheckBox() const { return m_monitor; }
    QLabel* stateLabel() const { return m_state; }

public slots:
    void setStateText(const QString& text);

private:
    QCheckBox* m_monitor;
    QLabel* m_state;
};
