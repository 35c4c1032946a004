#include "register/PhoneRegister.h"

PhoneRegister::PhoneRegister(QObject* parent) : QObject(parent) {
    for (CardModel*& model : m_cards)
        model = new CardModel(this);
    resetToDefaults();
}

void PhoneRegister::resetToDefaults() {
    settings = DialSettings();
    DialHardware = 0;
    cardNames = {QStringLiteral("Büro 1"), QStringLiteral("Büro 2"), QStringLiteral("Privat 1"),
                 QStringLiteral("Privat 2")};
    EntryFontSize = DefaultFontSize;
    ReservedSetting = 0;
    for (CardModel* model : m_cards)
        model->clear();
}
