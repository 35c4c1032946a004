#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <optional>

// Both data files are 8-bit Windows-1252 text; these are the only conversions used for them.
namespace Cp1252 {

QString decode(const QByteArray& bytes);

// nullopt when a character has no Windows-1252 byte: it must never be written as another one.
std::optional<QByteArray> encode(const QString& text);

bool canEncode(const QString& text);

// The text with each character Windows-1252 lacks written with the nearest letters it has
// ("Łukasz" -> "Lukasz", "Nguyễn" -> "Nguyen"); one without such letters (a Chinese name)
// stays as it is, and so still cannot be encoded.
QString nearest(const QString& text);

// The same mapping, one byte at a time from a table, for the many short texts of a phone book.
void appendDecoded(QString& out, QByteArrayView bytes);
// false, with `out` as it was, when a character has no Windows-1252 byte.
bool appendEncoded(QByteArray& out, QStringView text);
// Without the bytes at either end whose characters QString::trimmed() removes.
QByteArrayView trimmed(QByteArrayView bytes);

} // namespace Cp1252
