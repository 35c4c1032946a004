#pragma once

#include "router/RouterSettings.h"
#include "support/RegistryStore.h"

#include <QObject>
#include <QPointer>
#include <functional>

class CallMonitorSettingsBox;
class OptionsPage;
class QWidget;
class RouterCallDialog;
class RouterPassword;
struct Tr64Result;
struct Tr64Target;

// The router half of a dial as the user sees it: the call dialog while the router rings a
// telephone, the password from the key store (or asked once per run), the certificate question
// on first contact, and a message for each failure. Also the third dial choice and the router's
// settings dialog on the options page. Nothing here waits: the window stays usable throughout.
class RouterCall : public QObject {
    Q_OBJECT
public:
    RouterCall(OptionsPage* options, QWidget* window);

    bool chosen() const { return m_settings.dialThroughRouter; }
    const RouterSettings& settings() const { return m_settings; }

    void dial(const QString& digits, const QString& name);
    void openSettings();

    // For the router's other services: where and as whom to log in, with the password from the
    // key store or, with mayAsk, asked once per run; declined when there is none or the user
    // cancels the question.
    void withTarget(bool mayAsk, std::function<void(const Tr64Target&)> use,
                    std::function<void()> declined);
    // A failed request of those: a refused password is asked again next time; a first
    // certificate is offered for trust. true: it was trusted and pinned, try again.
    bool retryAfter(const Tr64Result& result, QWidget* parent);

signals:
    void modalDialogOpenChanged(bool open);
    // After the router's settings were stored, for whatever else talks to the router.
    void settingsChanged(const RouterSettings& settings);
    // The settings dialog is about to show; the call monitor puts its state into the box.
    void settingsDialogOpened(CallMonitorSettingsBox* callMonitorBox);

private:
    void withPassword(std::function<void(const QString&)> use, std::function<void()> declined,
                      bool mayAsk = true);
    void runDial(QPointer<RouterCallDialog> dialog, const QString& digits, const QString& password);
    void fail(QPointer<RouterCallDialog> dialog, const QString& message);
    void save();
    void rememberPasswordStored();

    RegistryStore m_store;
    RouterSettings m_settings;
    RouterPassword* m_password;
    OptionsPage* m_options;
    QWidget* m_window;
    QPointer<RouterCallDialog> m_dialog;
};
