#pragma once

#include <QString>

// The device behind "COM"n on Linux: where the link dosdevices/com<n> in the program folder
// points (the convention Wine users know), else /dev/ttyS<n-1>. A link that points nowhere is
// still taken, so that a missing modem is reported rather than another port dialed.
// programFolder ends with a separator.
QString ComPortDevice(int port, const QString& programFolder);
