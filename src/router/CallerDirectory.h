#pragma once

#include <QHash>
#include <QObject>
#include <QString>
#include <optional>

class PhoneRegister;
struct DialSettings;

// Who is calling, by the numbers on all four cards. The cards' numbers are indexed once after
// each change of the register, so that a call costs one hash look-up however large the book.
class CallerDirectory : public QObject {
    Q_OBJECT
public:
    struct Caller {
        int card = 0; // 1..4
        QString name;
        QString cardName;
    };

    explicit CallerDirectory(const PhoneRegister* phoneRegister, QObject* parent = nullptr);

    // number: as the router gives it ("0891234567", "1234567" without the own area code,
    // "0043..."). nullopt when no entry has it; several entries with it: the first card's first.
    std::optional<Caller> find(const QString& number);

    // The number as the register stores it ("49 89 1234567"); nullopt for no outside number.
    static std::optional<QString> StoredCallerNumber(const QString& number,
                                                     const DialSettings& settings);

private:
    void rebuild();

    const PhoneRegister* m_register;
    // Digits of the international number -> card (1..4) and row.
    QHash<QString, std::pair<int, int>> m_index;
    bool m_stale = true;
};
