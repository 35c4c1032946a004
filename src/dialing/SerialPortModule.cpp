#include "dialing/SerialLine.h"

#include <QSerialPort>

namespace {

class QtSerialLine : public SerialLine {
public:
    QIODevice* device() override { return &m_port; }

    bool open(const QString& name) override {
        m_port.clearError();
        m_port.setPortName(name);
        return m_port.setBaudRate(2400) && m_port.setDataBits(QSerialPort::Data8) &&
               m_port.setParity(QSerialPort::NoParity) &&
               m_port.setStopBits(QSerialPort::OneStop) &&
               m_port.setFlowControl(QSerialPort::HardwareControl) &&
               m_port.open(QIODevice::ReadWrite);
    }

    int handle() const override { return m_port.handle(); }

    Failure failure() const override {
        switch (m_port.error()) {
        case QSerialPort::NoError:
            return Failure::None;
        case QSerialPort::DeviceNotFoundError:
            return Failure::NoDevice;
        case QSerialPort::PermissionError: // forbidden, or locked by another program
            return Failure::NoPermission;
        default:
            return Failure::Other;
        }
    }

    void dropOutput() override { m_port.clear(QSerialPort::Output); }

    void onLineLost(std::function<void()> lost) override {
        QObject::connect(&m_port, &QSerialPort::errorOccurred, &m_port,
                         [lost](QSerialPort::SerialPortError error) {
                             if (error == QSerialPort::ReadError ||
                                 error == QSerialPort::ResourceError)
                                 lost();
                         });
    }

private:
    QSerialPort m_port;
};

} // namespace

extern "C" Q_DECL_EXPORT SerialLine* kurbelfonCreateSerialLine() {
    return new QtSerialLine;
}
