#include "providers/BestProvider.h"

namespace {

bool coversDay(int dayCode, int weekday) {
    switch (dayCode) {
    case 1:
        return weekday <= 5;
    case 2:
        return weekday >= 6;
    case 3:
        return true;
    default:
        return false;
    }
}

// The call-type letter by position in "NFA"; any other distance matches no row.
bool coversDistance(const ProviderEntry& row, int distance) {
    switch (distance) {
    case 1:
        return row.Local;
    case 2:
        return row.LongDistance;
    case 3:
        return row.Abroad;
    default:
        return false;
    }
}

} // namespace

bool ProviderCovers(const ProviderEntry& row, int weekday, int hour, int distance) {
    return row.StartHour <= hour && row.EndHour > hour && coversDistance(row, distance) &&
           coversDay(row.DayCode, weekday);
}

QString BestProvider(const QList<ProviderEntry>& rows, int weekday, int hour, int distance) {
    const ProviderEntry* row = BestProviderRow(rows, weekday, hour, distance);
    return row ? row->NetworkNumber : QString();
}

const ProviderEntry* BestProviderRow(const QList<ProviderEntry>& rows, int weekday, int hour,
                                     int distance) {
    for (const ProviderEntry& row : rows) {
        if (ProviderCovers(row, weekday, hour, distance))
            return &row;
    }
    return nullptr;
}
