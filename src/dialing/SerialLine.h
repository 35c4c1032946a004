#pragma once

#include <QString>
#include <functional>

class QIODevice;

// A modem's serial port as the modem module offers it: QtSerialPort and udev are loaded at the
// first dial, not before the first frame.
class SerialLine {
public:
    static constexpr const char* ModuleName = "kurbelfon-modem";
    static constexpr const char* CreateSymbol = "kurbelfonCreateSerialLine";
    using CreateFunction = SerialLine*();

    // Why the last open or write failed, as far as the user can act on it.
    enum class Failure { None, NoDevice, NoPermission, Other };

    virtual ~SerialLine() = default;

    // Reading, writing and closing; errorString() tells why opening or writing failed.
    virtual QIODevice* device() = 0;
    // Forgets the last error, sets the port to 2400 8N1 with RTS/CTS and opens `name`.
    virtual bool open(const QString& name) = 0;
    virtual int handle() const = 0;
    virtual Failure failure() const = 0;
    // Drops what still waits in the driver to go out.
    virtual void dropOutput() = 0;
    // `lost` runs whenever the open port can no longer be read or has vanished (a USB modem
    // unplugged, the line hung up).
    virtual void onLineLost(std::function<void()> lost) = 0;
};
