#pragma once

#include <QString>
#include <optional>

// Reads the comma-separated fields that both data files store, one after the other and
// without regard to the line they stand on: a field ends at a comma or a line end, a
// field starting with a double quote runs to the next double quote and whatever follows
// it up to the next comma or line end is skipped, blanks before a field are skipped.
class FieldReader {
public:
    struct Field {
        QString text; // unquoted fields are trimmed
        bool quoted = false;
        int line = 0;            // 1-based line of the whole text the field starts on
        bool startsLine = false; // nothing but blanks before it on its line
        bool blankLine = false;  // the empty field a blank line reads as
    };

    // firstLine: the line number the text starts on, for messages about damaged content.
    explicit FieldReader(const QString& text, int firstLine = 1);

    bool atEnd() const;
    // nullopt once the text is used up.
    std::optional<Field> next();

    // An empty field reads as 0; nullopt for text that is no decimal number.
    static std::optional<double> toNumber(const Field& field);
    // toNumber, rounded to the nearest whole number with halves to the even neighbour.
    static std::optional<qint64> toWholeNumber(const Field& field);

private:
    void skipLineEnd();

    const QString m_text; // const: reading it must never detach a copy
    qsizetype m_pos = 0;
    int m_line = 1;
};
