#pragma once

#include "router/CallListReader.h"

// One call of the journal, as the page shows it.
struct JournalEntry {
    JournalCall call; // call.routerId 0: only the monitor saw it
    qint64 key = 0;   // the store's row id (0 before stored; below 0: kept in memory only)
    bool seen = true; // false: a missed call nobody looked at yet
};
