#include "dialing/EntryDialer.h"

#include "register/EntryLine.h"
#include "register/PhoneRegister.h"

EntryDialer::EntryDialer(const PhoneRegister* phoneRegister, QObject* parent)
    : QObject(parent), m_register(phoneRegister) {}

ComposedDial EntryDialer::compose(const QString& number, int zeroFlag, const QDateTime& now) const {
    const DialSettings& settings = m_register->settings;
    const CallPlan plan = PlanCall(settings, number, zeroFlag);
    std::optional<QString> provider;
    if (m_providerChoice)
        provider = m_providerChoice(now.date().dayOfWeek(), now.time().hour(), plan.CallDistance);
    return ComposeDial(settings, plan, provider);
}

QString EntryDialer::composeForRouter(const QString& number, int zeroFlag,
                                      const QDateTime& now) const {
    const DialSettings& settings = m_register->settings;
    const CallPlan plan = PlanCall(settings, number, zeroFlag);
    std::optional<QString> provider;
    if (m_providerChoice)
        provider = m_providerChoice(now.date().dayOfWeek(), now.time().hour(), plan.CallDistance);
    return ComposeRouterDial(settings, plan, provider);
}

void EntryDialer::dialEntry(const QString& entryLine) {
    if (routerChosen()) {
        emit routerDialRequested(composeForRouter(GetEntryNumber(entryLine),
                                                  GetEntryZeroFlag(entryLine),
                                                  QDateTime::currentDateTime()),
                                 GetEntryName(entryLine));
        return;
    }
    const ComposedDial dial = compose(GetEntryNumber(entryLine), GetEntryZeroFlag(entryLine),
                                      QDateTime::currentDateTime());
    if (m_register->DialHardware == 1)
        emit toneDialRequested(dial.DialString);
    else
        emit modemDialRequested(dial.DialString, GetEntryName(entryLine), dial.displayNumber);
}
