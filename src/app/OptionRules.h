#pragma once

#include <QString>

// The few conversions the options page makes between what it shows and what is stored.
namespace OptionRules {

constexpr int MinFontSize = 6;
constexpr int MaxFontSize = 24;
constexpr int PortCount = 16;

// An own code read as a number: leading blanks and one plus sign skipped, digits up to the first
// other character, leading zeros dropped, no digits gives "0". Exact for any length.
QString normaliseCode(const QString& typed);

// The vertical slider runs inverted: its upper end is the largest size.
int sliderValueForSize(double size);
int sizeForSliderValue(int value);

// The nearest choice a drop-down list can show for a stored value.
int comListIndexForPort(int comPort);
int wahlArtIndexForPulseDialing(int pulseDialing);

} // namespace OptionRules
