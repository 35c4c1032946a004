#include "support/FieldReader.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace {

bool isBlank(QChar c) {
    return c == u' ' || c == u'\t';
}
bool isLineEnd(QChar c) {
    return c == u'\r' || c == u'\n';
}
bool isDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

// CR LF, LF and CR alone each end one line.
int countLineEnds(QStringView text) {
    int count = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\n' ||
            (text[i] == u'\r' && (i + 1 >= text.size() || text[i + 1] != u'\n')))
            ++count;
    }
    return count;
}

double roundHalfToEven(double value) {
    double whole = std::floor(value);
    const double fraction = value - whole;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(whole, 2.0) != 0.0))
        whole += 1.0;
    return whole;
}

} // namespace

FieldReader::FieldReader(const QString& text, int firstLine) : m_text(text), m_line(firstLine) {}

bool FieldReader::atEnd() const {
    qsizetype pos = m_pos;
    while (pos < m_text.size() && isBlank(m_text[pos]))
        ++pos;
    return pos >= m_text.size();
}

void FieldReader::skipLineEnd() {
    if (m_text[m_pos] == u'\r' && m_pos + 1 < m_text.size() && m_text[m_pos + 1] == u'\n')
        ++m_pos;
    ++m_pos;
    ++m_line;
}

std::optional<FieldReader::Field> FieldReader::next() {
    const qsizetype size = m_text.size();
    qsizetype lineStart = m_pos;
    while (lineStart > 0 && isBlank(m_text[lineStart - 1]))
        --lineStart;
    const bool startsLine = lineStart == 0 || isLineEnd(m_text[lineStart - 1]);
    while (m_pos < size && isBlank(m_text[m_pos]))
        ++m_pos;
    if (m_pos >= size)
        return std::nullopt;

    Field field;
    field.line = m_line;
    field.startsLine = startsLine;
    const QChar first = m_text[m_pos];
    if (first == u',') {
        ++m_pos;
        return field;
    }
    if (isLineEnd(first)) {
        // A blank line, or a comma at the end of a line: one empty field.
        field.blankLine = startsLine;
        skipLineEnd();
        return field;
    }

    if (first == u'"') {
        field.quoted = true;
        const qsizetype start = m_pos + 1;
        const qsizetype close = m_text.indexOf(u'"', start);
        const qsizetype stop = close < 0 ? size : close;
        field.text = m_text.mid(start, stop - start);
        m_line += countLineEnds(field.text);
        m_pos = close < 0 ? size : close + 1;
        while (m_pos < size && m_text[m_pos] != u',' && !isLineEnd(m_text[m_pos]))
            ++m_pos;
    } else {
        const qsizetype start = m_pos;
        while (m_pos < size && m_text[m_pos] != u',' && !isLineEnd(m_text[m_pos]))
            ++m_pos;
        field.text = m_text.mid(start, m_pos - start).trimmed();
    }

    if (m_pos < size) {
        if (m_text[m_pos] == u',')
            ++m_pos;
        else
            skipLineEnd();
    }
    return field;
}

std::optional<double> FieldReader::toNumber(const Field& field) {
    // Most fields are a few plain digits (card numbers, flags): no allocation for those.
    if (!field.text.isEmpty() && field.text.size() <= 15) {
        qint64 whole = 0;
        bool plain = true;
        for (const QChar c : field.text) {
            if (!isDigit(c)) {
                plain = false;
                break;
            }
            whole = whole * 10 + (c.unicode() - u'0');
        }
        if (plain)
            return double(whole);
    }
    const QString text = field.text.trimmed();
    if (text.isEmpty())
        return 0.0;

    // Only plain decimals: an optional sign, digits, an optional point with more digits.
    qsizetype pos = 0;
    const bool negative = text[0] == u'-';
    if (text[0] == u'-' || text[0] == u'+')
        ++pos;
    const qsizetype numberStart = pos;
    int digits = 0;
    while (pos < text.size() && isDigit(text[pos])) {
        ++pos;
        ++digits;
    }
    if (pos < text.size() && text[pos] == u'.') {
        ++pos;
        while (pos < text.size() && isDigit(text[pos])) {
            ++pos;
            ++digits;
        }
    }
    if (pos != text.size() || digits == 0)
        return std::nullopt;

    // from_chars ignores the process locale, unlike strtod.
    const QByteArray ascii = text.mid(numberStart).toLatin1();
    double value = 0;
    const auto [end, error] = std::from_chars(ascii.constData(), ascii.constData() + ascii.size(),
                                              value, std::chars_format::fixed);
    if (error == std::errc::result_out_of_range)
        value = std::numeric_limits<double>::infinity();
    else if (error != std::errc() || end != ascii.constData() + ascii.size())
        return std::nullopt;
    return negative ? -value : value;
}

std::optional<qint64> FieldReader::toWholeNumber(const Field& field) {
    const std::optional<double> number = toNumber(field);
    if (!number)
        return std::nullopt;
    const double rounded = roundHalfToEven(*number);
    // Out-of-range values saturate, so the caller can still tell "too large" from "no number".
    constexpr double limit = 9223372036854775808.0; // 2^63
    if (rounded >= limit)
        return std::numeric_limits<qint64>::max();
    if (rounded < -limit)
        return std::numeric_limits<qint64>::min();
    return qint64(rounded);
}
