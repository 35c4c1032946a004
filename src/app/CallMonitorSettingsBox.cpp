#include "app/CallMonitorSettingsBox.h"

#include "router/CallMonitorMessages.h"
#include "router/RouterSettings.h"

#include <QCheckBox>
#include <QLabel>
#include <QVBoxLayout>

CallMonitorSettingsBox::CallMonitorSettingsBox(QWidget* parent)
    : QWidget(parent), m_monitor(new QCheckBox(CallMonitorMessages::Switch, this)),
      m_state(new QLabel(CallMonitorMessages::Off, this)) {
    m_monitor->setObjectName(QStringLiteral("CallMonitorChk"));
    m_state->setObjectName(QStringLiteral("CallMonitorState"));
    // The reason may quote what the network said.
    m_state->setTextFormat(Qt::PlainText);
    m_state->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_monitor);
    layout->addWidget(m_state);
}

void CallMonitorSettingsBox::load(const RouterSettings& settings) {
    m_monitor->setChecked(settings.callMonitor);
}

void CallMonitorSettingsBox::store(RouterSettings& settings) const {
    settings.callMonitor = m_monitor->isChecked();
}

void CallMonitorSettingsBox::setStateText(const QString& text) {
    m_state->setText(text);
}
