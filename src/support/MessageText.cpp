#include "support/MessageText.h"

#include <QStringList>

namespace MessageText {

namespace {

// The line's blank-free runs broken into rows a label can wrap.
QStringList rowsOf(const QString& line) {
    QStringList pieces{QString()};
    int run = 0;
    for (const QChar c : line) {
        if (c == QLatin1Char(' ')) {
            run = 0;
        } else if (++run > RowLength) {
            pieces << QString();
            run = 1;
        }
        pieces.last() += c;
    }
    return pieces;
}

int rowCount(const QString& piece) {
    return qMax(1, int((piece.size() + RowLength - 1) / RowLength));
}

} // namespace

QString FitForMessageBox(const QString& text) {
    QStringList shown;
    int rows = 0;
    bool broken = false;
    for (QStringView line : QStringView(text).split(QLatin1Char('\n'))) {
        // A megabyte on one line is not broken into rows only to be cut again.
        const QStringList pieces = rowsOf(line.left(RowLength * (MaxRows + 1)).toString());
        broken = broken || pieces.size() > 1;
        for (const QString& piece : pieces) {
            rows += rowCount(piece);
            if (rows > MaxRows) {
                shown << CutMark;
                return shown.join(QLatin1Char('\n'));
            }
            shown << piece;
        }
    }
    return broken ? shown.join(QLatin1Char('\n')) : text;
}

QString Quoted(const QString& value, int maxLength) {
    QString shown;
    for (const QChar c : value.left(maxLength))
        shown += c.unicode() < 32 || (c.unicode() >= 127 && c.unicode() <= 159) ? QChar(0xFFFD) : c;
    if (value.size() > maxLength)
        shown += QStringLiteral("…");
    return shown;
}

} // namespace MessageText
