#pragma once

#include "register/CardModel.h"
#include "register/DialSettings.h"

#include <QObject>
#include <QString>
#include <array>

// Everything the register file keeps: settings, dial hardware, card names, entry font size
// and the four cards. The window shows it; the file is written from it.
class PhoneRegister : public QObject {
    Q_OBJECT
public:
    static constexpr int CardCount = 4;
    static constexpr double DefaultFontSize = 12;

    explicit PhoneRegister(QObject* parent = nullptr);

    DialSettings settings;
    int DialHardware = 0; // 0 "&Modem", 1 "&Lautsprecher"
    std::array<QString, CardCount> cardNames;
    double EntryFontSize = DefaultFontSize;
    int ReservedSetting = 0;

    // card: 1..4
    CardModel* card(int card) const { return m_cards.at(card - 1); }

    // Back to the state of a new register (default settings, default card names, no entries).
    void resetToDefaults();

private:
    std::array<CardModel*, CardCount> m_cards{};
};
