#pragma once

#include <QString>
#include <functional>

class QObject;

// What the key store module offers: one secret of the desktop's key store read or written.
// done comes once, later, unless context is gone by then.
enum class KeyStoreResult { Done, NotFound, Failed };
using KeyStoreDone =
    std::function<void(KeyStoreResult result, const QString& text, const QString& error)>;
using ReadSecretFunction = void(const QString& service, const QString& key, QObject* context,
                                KeyStoreDone done);
using WriteSecretFunction = void(const QString& service, const QString& key, const QString& text,
                                 QObject* context, KeyStoreDone done);
constexpr const char* KeyStoreModuleName = "kurbelfon-keystore";
constexpr const char* ReadSecretSymbol = "kurbelfonReadSecret";
constexpr const char* WriteSecretSymbol = "kurbelfonWriteSecret";
