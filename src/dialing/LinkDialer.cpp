#include "dialing/LinkDialer.h"

#include "contacts/PhoneNumbers.h"
#include "dialing/EntryDialer.h"
#include "register/EntryLine.h"
#include "register/PhoneRegister.h"

#include <QTimer>
#include <utility>

namespace {
constexpr int WaitStepMs = 300;
} // namespace

LinkDialer::LinkDialer(const PhoneRegister* phoneRegister, EntryDialer* entryDialer,
                       QObject* parent)
    : QObject(parent), m_register(phoneRegister), m_entryDialer(entryDialer) {}

void LinkDialer::dialLink(const QString& link) {
    // A second call must not start inside the first one's dialog.
    if (m_busy && m_busy()) {
        m_waiting.append(link);
        if (m_waiting.size() == 1)
            QTimer::singleShot(WaitStepMs, this, &LinkDialer::dialWaitingLinks);
        return;
    }
    const std::optional<QString> number =
        PhoneNumbers::NumberFromLink(link, m_register->settings.OwnCountryCode);
    if (!number) {
        emit linkRejected(rejectionMessage(link));
        return;
    }
    m_entryDialer->dialEntry(MakeEntryLine(*number, *number, 1));
}

void LinkDialer::dialWaitingLinks() {
    if (m_busy && m_busy()) {
        QTimer::singleShot(WaitStepMs, this, &LinkDialer::dialWaitingLinks);
        return;
    }
    const QStringList links = std::exchange(m_waiting, {});
    for (const QString& link : links)
        dialLink(link);
}

QString LinkDialer::rejectionMessage(const QString& link) {
    return QStringLiteral("Der Link \u201E%1\u201C enthält keine wählbare Rufnummer. Es wird nicht "
                          "gewählt.")
        .arg(PhoneNumbers::LinkForDisplay(link));
}
