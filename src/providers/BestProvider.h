#pragma once

#include "providers/ProviderEntry.h"

#include <QList>
#include <QString>

// The network number of the first row, in display order, whose days, hours and call types
// cover the call; empty when none does. weekday: Monday 1 .. Sunday 7; hour: 0..23;
// distance: 1 local, 2 long distance, 3 abroad. A row covers start <= hour < end, so a range
// never wraps past midnight.
QString BestProvider(const QList<ProviderEntry>& rows, int weekday, int hour, int distance);
// The same choice as the whole row; nullptr when none covers the call.
const ProviderEntry* BestProviderRow(const QList<ProviderEntry>& rows, int weekday, int hour,
                                     int distance);

// Whether one row covers the call.
bool ProviderCovers(const ProviderEntry& row, int weekday, int hour, int distance);
