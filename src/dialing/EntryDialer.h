#pragma once

#include "dialing/DialComposition.h"

#include <QDateTime>
#include <QObject>
#include <functional>
#include <optional>

class PhoneRegister;

// Turns a chosen phone book entry into its modem command and hands it to the dialer that the
// options page selected. The composition reads the settings and the clock afresh for each call.
class EntryDialer : public QObject {
    Q_OBJECT
public:
    // The provider list's answer for a call: nullopt while the list is off, else the chosen
    // provider's network number (empty when none fits). weekday: Monday 1 .. Sunday 7.
    using ProviderChoice =
        std::function<std::optional<QString>(int weekday, int hour, int distance)>;

    explicit EntryDialer(const PhoneRegister* phoneRegister, QObject* parent = nullptr);

    void setProviderChoice(ProviderChoice choice) { m_providerChoice = std::move(choice); }
    // True while the options choose the router; it then takes the call instead of both dialers.
    void setRouterChoice(std::function<bool()> chosen) { m_routerChosen = std::move(chosen); }
    bool routerChosen() const { return m_routerChosen && m_routerChosen(); }

    ComposedDial compose(const QString& number, int zeroFlag, const QDateTime& now) const;
    // The digits the router's dial helper gets for the same call.
    QString composeForRouter(const QString& number, int zeroFlag, const QDateTime& now) const;
    // entryLine: a card's line (name, padding, number, zero flag).
    void dialEntry(const QString& entryLine);

signals:
    void modemDialRequested(const QString& dialString, const QString& name,
                            const QString& displayNumber);
    void toneDialRequested(const QString& dialString);
    void routerDialRequested(const QString& digits, const QString& name);

private:
    const PhoneRegister* m_register;
    ProviderChoice m_providerChoice;
    std::function<bool()> m_routerChosen;
};
