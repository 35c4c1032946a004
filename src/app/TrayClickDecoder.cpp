#include "app/TrayClickDecoder.h"

TrayClickDecoder::TrayClickDecoder(QObject* parent) : QObject(parent) {
    m_dblClkDelay.setInterval(DelayMs);
    // A coarse timer may fire up to 5 % early; a single click must not act before its second.
    m_dblClkDelay.setTimerType(Qt::PreciseTimer);
    connect(&m_dblClkDelay, &QTimer::timeout, this, &TrayClickDecoder::DblClkDelay_Timer);
}

void TrayClickDecoder::MouseMessage(int message) {
    switch (message) {
    case LeftButtonDown:
        buttonDown(1);
        break;
    case RightButtonDown:
        buttonDown(2);
        break;
    case LeftDoubleClick:
    case RightDoubleClick:
        m_trayDoubleClick = DoubleClickFlag;
        break;
    default:
        break;
    }
}

void TrayClickDecoder::buttonDown(int button) {
    m_trayDoubleClick = 0;
    m_trayButton = button;
    m_dblClkDelay.stop();
    m_dblClkDelay.start();
}

void TrayClickDecoder::DblClkDelay_Timer() {
    m_dblClkDelay.stop();
    emit NiKeyEvent(m_trayDoubleClick | m_trayButton);
}
