#pragma once

#include <QString>

// One row of the provider list. The list shows and compares the texts of its six columns;
// the numbers behind them are kept so that a hand-edited hour is saved as it was read.
struct ProviderEntry {
    enum Column { NameColumn, NetworkColumn, DayColumn, StartColumn, EndColumn, CallTypeColumn };
    static constexpr int ColumnCount = 6;

    QString Name;              // trimmed, no double quote
    QString NetworkNumber;     // trimmed, no double quote
    int DayCode = 0;           // 1 "Mo-Fr", 2 "Sa-So", 3 "Immer", 0 none
    int StartHour = 0;         // included
    int EndHour = 0;           // excluded
    bool Local = false;        // "N"
    bool LongDistance = false; // "F"
    bool Abroad = false;       // "A"

    // A row as the file and the editor give it: the day code is (2 * saSo) | moFr, any
    // value other than 1..3 leaves the day range empty; a call-type flag counts when not 0.
    static ProviderEntry fromFlags(const QString& name, const QString& networkNumber, int moFr,
                                   int saSo, int startHour, int endHour, int local,
                                   int longDistance, int abroad);

    int moFrFlag() const { return DayCode == 1 || DayCode == 3 ? 1 : 0; }
    int saSoFlag() const { return DayCode == 2 || DayCode == 3 ? 1 : 0; }

    QString dayText() const;      // "Mo-Fr", "Sa-So", "Immer" or empty
    QString callTypeText() const; // "N", "F", "A" in this order, e.g. "NFA", "FA"
    QString columnText(int column) const;

    bool operator==(const ProviderEntry&) const = default;
};

// 9 -> "09h", 24 -> "24h"; an hour outside 0..99 (only from a hand-edited file) keeps all
// its digits, so that it is saved as it was read.
QString HourText(int hour);

// The editor's range text: 9, 18 -> "09h - 18h".
QString FormatHourRange(int startHour, int endHour);
