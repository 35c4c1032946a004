#pragma once

#include <QString>

// The keys that the loudspeaker plays for a modem command, in order: "0"-"9" and "#" as
// themselves, "x" for "*". The scan starts after the first "D" or "d", so a "D" among the extra
// modem commands moves it forward; every other character makes no sound and no pause.
QString ToneKeys(const QString& dialString);
