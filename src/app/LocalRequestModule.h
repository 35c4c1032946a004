#pragma once

#include "support/NetworkModule.h"

#include <QByteArray>
#include <QString>
#include <functional>

class QObject;

// What the network module offers the single-instance check: requests of one line each over a
// local socket that only this user can reach.
using LocalRequestHandler = std::function<void(const QByteArray& line)>;
// Listens at `path` with a server that is a child of `parent`; each whole line is answered
// "ok" first and then handed to onRequest. false with *error when it cannot listen.
using ListenLocalFunction = bool(const QString& path, QObject* parent,
                                 LocalRequestHandler onRequest, QString* error);
enum class LocalSendResult { Answered, NobodyListens, NoAnswer };
// One request, each step within timeoutMs.
using SendLocalFunction = LocalSendResult(const QString& path, const QByteArray& request,
                                          int timeoutMs);
constexpr const char* ListenLocalSymbol = "kurbelfonListenLocal";
constexpr const char* SendLocalSymbol = "kurbelfonSendLocal";
