#pragma once

#include <QString>

// One phone book entry is held as one line: the name, EntryPadding, the number, "~" and the
// zero-flag digit. The padding pushes the number far to the right of what a list shows.
// Decoding relies only on the padding and the position from the end, never on "~", so names
// and numbers may hold any character.

// 150 blanks and the character with code 1.
const QString& EntryPadding();

// A name holding the padding would be cut there when the line is read back.
bool HoldsEntryPadding(const QString& text);

// Trims name and number and joins the pieces.
QString MakeEntryLine(const QString& name, const QString& number, int zeroFlag);

QString GetEntryTail(const QString& line);
// The number and the zero flag of what follows the padding.
QString NumberOfTail(const QString& tail);
int ZeroFlagOfTail(QStringView tail);
QString GetEntryName(const QString& line);
QString GetEntryNumber(const QString& line);
int GetEntryZeroFlag(const QString& line);

// Every double quote becomes an apostrophe; the length stays the same.
void ReplaceQuotes(QString& text);
