#include "support/Cp1252.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace {
constexpr const char* CodecName = "windows-1252";
}

namespace Cp1252 {

QString decode(const QByteArray& bytes) {
    QStringDecoder decoder(CodecName);
    QString text = decoder.decode(bytes);
    return text;
}

std::optional<QByteArray> encode(const QString& text) {
    // A fresh encoder each time: its error flag never resets.
    QStringEncoder encoder(CodecName);
    if (!encoder.isValid())
        return std::nullopt;
    // The conversion runs only when the result is taken, so take it before asking.
    QByteArray bytes = encoder.encode(text);
    if (encoder.hasError())
        return std::nullopt;
    return bytes;
}

bool canEncode(const QString& text) {
    return encode(text).has_value();
}

} // namespace Cp1252
