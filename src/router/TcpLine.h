#pragma once

#include "support/NetworkModule.h"
#include <QString>
#include <QtGlobal>
#include <functional>

class QIODevice;

// A TCP connection as the network module offers it: QtNetwork is loaded when the call monitor
// first connects, not before the first frame.
class TcpLine {
public:
    static constexpr const char* ModuleName = NetworkModuleName;
    static constexpr const char* CreateSymbol = "kurbelfonCreateTcpLine";
    using CreateFunction = TcpLine*();

    enum class Failure { Refused, ClosedByPeer, HostNotFound, TimedOut, NetworkDown, Other };
    struct Events {
        std::function<void()> connected;
        std::function<void(Failure)> failed;
        std::function<void()> disconnected;
    };

    virtual ~TcpLine() = default;

    // Reading; readyRead comes from here.
    virtual QIODevice* device() = 0;
    virtual void onEvents(Events events) = 0;
    virtual void connectToHost(const QString& host, quint16 port) = 0;
    virtual void abort() = 0;
    // On a connected line: a peer that vanished without a word (power cut, cable) is noticed
    // within about two minutes instead of the system's two hours.
    virtual void keepAlive() = 0;
};
