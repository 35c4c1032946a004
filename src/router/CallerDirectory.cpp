#include "router/CallerDirectory.h"

#include "contacts/PhoneNumbers.h"
#include "register/PhoneRegister.h"

namespace {

// A stored number's blanks only group it: "49 89 1234567" and "49 891234567" are one number.
// What follows a pause or another dial control ("49 30 9876543,,22") is dialed after the
// call is up, never part of the caller's number.
QString digitsOf(QStringView number) {
    QString digits;
    digits.reserve(number.size());
    for (const QChar c : number) {
        if (c.isDigit())
            digits += c;
        else if (QStringView(u",WwPpTt!@*#").contains(c))
            break;
    }
    return digits;
}

} // namespace

CallerDirectory::CallerDirectory(const PhoneRegister* phoneRegister, QObject* parent)
    : QObject(parent), m_register(phoneRegister) {
    for (int card = 1; card <= PhoneRegister::CardCount; ++card) {
        const CardModel* model = m_register->card(card);
        const auto stale = [this] { m_stale = true; };
        connect(model, &CardModel::modelReset, this, stale);
        connect(model, &CardModel::rowsInserted, this, stale);
        connect(model, &CardModel::rowsRemoved, this, stale);
        connect(model, &CardModel::rowsMoved, this, stale);
        connect(model, &CardModel::dataChanged, this, stale);
        connect(model, &CardModel::layoutChanged, this, stale);
    }
}

std::optional<QString> CallerDirectory::StoredCallerNumber(const QString& number,
                                                           const DialSettings& settings) {
    QString raw = number.trimmed();
    if (raw.endsWith(QLatin1Char('#')))
        raw.chop(1);
    // Internal calls ("**610") and withheld numbers come from no outside number.
    if (raw.isEmpty() || raw.contains(QLatin1Char('*')))
        return std::nullopt;
    // Calls from the own area may arrive without the area code.
    if (!raw.startsWith(QLatin1Char('0')) && !raw.startsWith(QLatin1Char('+')) &&
        !settings.OwnAreaCode.isEmpty())
        raw = QLatin1Char('0') + settings.OwnAreaCode + raw;
    return PhoneNumbers::StoredNumber(raw, settings.OwnCountryCode);
}

std::optional<CallerDirectory::Caller> CallerDirectory::find(const QString& number) {
    const std::optional<QString> stored = StoredCallerNumber(number, m_register->settings);
    if (!stored)
        return std::nullopt;
    if (m_stale)
        rebuild();
    const auto found = m_index.constFind(digitsOf(*stored));
    if (found == m_index.cend())
        return std::nullopt;
    const auto [card, row] = *found;
    return Caller{card, m_register->card(card)->name(row), m_register->cardNames.at(card - 1)};
}

void CallerDirectory::rebuild() {
    m_index.clear();
    for (int card = 1; card <= PhoneRegister::CardCount; ++card) {
        const CardModel* model = m_register->card(card);
        for (int row = 0; row < model->count(); ++row) {
            const QString digits = digitsOf(model->numberView(row));
            // The first entry with a number keeps it.
            if (!digits.isEmpty() && !m_index.contains(digits))
                m_index.insert(digits, {card, row});
        }
    }
    m_stale = false;
}
