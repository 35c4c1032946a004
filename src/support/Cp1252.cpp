#include "support/Cp1252.h"

#include <QHash>

#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>
#include <array>
#include <utility>
#include <vector>

namespace {
constexpr const char* CodecName = "windows-1252";

// Taken from the codec itself, so both ways agree with decode() and encode().
struct Tables {
    std::array<char16_t, 256> characters{};
    std::array<bool, 256> blank{};
    std::array<bool, 256> sameCode{}; // the byte is the character's code
    // Characters whose byte differs from their code, sorted: the few of 0x80 to 0x9F.
    std::vector<std::pair<char16_t, char>> moved;

    Tables() {
        QByteArray all(256, '\0');
        for (int byte = 0; byte < 256; ++byte)
            all[byte] = char(byte);
        QString decoded = Cp1252::decode(all);
        if (decoded.size() != 256)
            decoded = QString(256, QChar::ReplacementCharacter);
        // One conversion for the usual case that every byte comes back.
        const bool allReturn = Cp1252::encode(decoded) == all;
        for (int byte = 0; byte < 256; ++byte) {
            const QChar c = decoded.at(byte);
            characters[size_t(byte)] = c.unicode();
            blank[size_t(byte)] = c.isSpace();
            const bool returns = c != QChar::ReplacementCharacter &&
                                 (allReturn || Cp1252::encode(QString(c)) == all.mid(byte, 1));
            if (!returns)
                continue;
            if (c.unicode() == byte)
                sameCode[size_t(byte)] = true;
            else
                moved.emplace_back(c.unicode(), char(byte));
        }
        std::sort(moved.begin(), moved.end());
    }

    std::optional<char> byteOf(char16_t c) const {
        if (c < 256 && sameCode[c])
            return char(c);
        const auto it =
            std::lower_bound(moved.begin(), moved.end(), c,
                             [](const auto& entry, char16_t key) { return entry.first < key; });
        if (it != moved.end() && it->first == c)
            return it->second;
        return std::nullopt;
    }
};

const Tables& tables() {
    static const Tables built;
    return built;
}

} // namespace

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

QString nearest(const QString& text) {
    if (canEncode(text))
        return text;
    // Letters that Unicode does not decompose into a base letter and marks.
    static const QHash<QChar, QString> Letters{
        {u'Ł', QStringLiteral("L")},  {u'ł', QStringLiteral("l")}, {u'Đ', QStringLiteral("D")},
        {u'đ', QStringLiteral("d")},  {u'Ħ', QStringLiteral("H")}, {u'ħ', QStringLiteral("h")},
        {u'ı', QStringLiteral("i")},  {u'Ŀ', QStringLiteral("L")}, {u'ŀ', QStringLiteral("l")},
        {u'ẞ', QStringLiteral("SS")}, {u'Ŧ', QStringLiteral("T")}, {u'ŧ', QStringLiteral("t")}};
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const QString one(c);
        if (canEncode(one)) {
            out += c;
            continue;
        }
        if (const auto letter = Letters.constFind(c); letter != Letters.cend()) {
            out += *letter;
            continue;
        }
        QString base;
        for (const QChar part : one.normalized(QString::NormalizationForm_KD)) {
            if (part.category() != QChar::Mark_NonSpacing)
                base += part;
        }
        out += !base.isEmpty() && canEncode(base) ? base : one;
    }
    return out;
}

void appendDecoded(QString& out, QByteArrayView bytes) {
    const Tables& t = tables();
    const qsizetype start = out.size();
    out.resize(start + bytes.size());
    char16_t* to = reinterpret_cast<char16_t*>(out.data()) + start;
    for (const char byte : bytes)
        *to++ = t.characters[uchar(byte)];
}

bool appendEncoded(QByteArray& out, QStringView text) {
    const Tables& t = tables();
    const qsizetype start = out.size();
    out.resize(start + text.size());
    char* to = out.data() + start;
    for (const QChar c : text) {
        const std::optional<char> byte = t.byteOf(c.unicode());
        if (!byte) {
            out.truncate(start);
            return false;
        }
        *to++ = *byte;
    }
    return true;
}

QByteArrayView trimmed(QByteArrayView bytes) {
    const Tables& t = tables();
    qsizetype begin = 0;
    qsizetype end = bytes.size();
    while (begin < end && t.blank[uchar(bytes[begin])])
        ++begin;
    while (end > begin && t.blank[uchar(bytes[end - 1])])
        --end;
    return bytes.sliced(begin, end - begin);
}

} // namespace Cp1252
