#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// Both data files are 8-bit Windows-1252 text; these are the only conversions used for them.
namespace Cp1252 {

QString decode(const QByteArray& bytes);

// nullopt when a character has no Windows-1252 byte: it must never be written as another one.
std::optional<QByteArray> encode(const QString& text);

bool canEncode(const QString& text);

} // namespace Cp1252
