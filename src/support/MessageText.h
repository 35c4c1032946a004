#pragma once

#include <QString>

// What a message box can show of a text that came from outside (a modem's answer, a file's
// value): a box taller or wider than the screen cannot be read or closed, and laying out a
// megabyte freezes the window.
namespace MessageText {

// Characters per row; a longer run without blanks is broken after this many.
constexpr int RowLength = 100;
// Rows shown at most, counting each line's wrapped rows; the rest is cut.
constexpr int MaxRows = 30;
// Stands where a text was cut.
const QString CutMark = QStringLiteral("[… gekürzt]");

// Lines are separated by "\n". A text that fits comes back unchanged.
QString FitForMessageBox(const QString& text);

// One value quoted inside a message: control characters shown as "\uFFFD", cut after maxLength
// characters with "…".
QString Quoted(const QString& value, int maxLength);

} // namespace MessageText
