#include "router/CallMonitorLine.h"

#include <QList>

namespace {

bool isDigits(const QByteArray& field) {
    if (field.isEmpty())
        return false;
    for (const char c : field) {
        if (c < '0' || c > '9')
            return false;
    }
    return true;
}

// A number as the router writes it; the trailing "#" of some lines is no part of it.
bool readNumber(QByteArray field, QString& number) {
    field = field.trimmed();
    if (field.endsWith('#'))
        field.chop(1);
    constexpr int MaxNumberLength = 40;
    if (field.size() > MaxNumberLength)
        return false;
    for (qsizetype i = 0; i < field.size(); ++i) {
        const char c = field.at(i);
        if (!(c >= '0' && c <= '9') && c != '*' && !(c == '+' && i == 0))
            return false;
    }
    number = QString::fromLatin1(field);
    return true;
}

// "DD.MM.YY HH:MM:SS": checked for its shape only; the time is never used.
bool isTimestamp(const QByteArray& field) {
    if (field.size() != 17)
        return false;
    for (qsizetype i = 0; i < field.size(); ++i) {
        const char c = field.at(i);
        const char expected = QByteArrayView("00.00.00 00:00:00").at(i);
        if (expected == '0' ? !(c >= '0' && c <= '9') : c != expected)
            return false;
    }
    return true;
}

} // namespace

CallEvent CallEvent::fromLine(const QByteArray& line) {
    CallEvent event;
    const QList<QByteArray> fields = line.split(';');
    constexpr int MaxIdLength = 9;
    if (fields.size() < 3 || !isTimestamp(fields.at(0)) || !isDigits(fields.at(2)) ||
        fields.at(2).size() > MaxIdLength)
        return event;
    const QByteArray& kind = fields.at(1);
    // The fields each type must have before the closing ";" (which leaves one empty field).
    const auto has = [&](int count) { return fields.size() > count; };
    Type type = Unknown;
    QString number;
    if (kind == "RING") {
        if (!has(5) || !readNumber(fields.at(3), number))
            return event;
        if (!readNumber(fields.at(4), event.ownNumber))
            event.ownNumber.clear();
        type = Ring;
    } else if (kind == "CALL") {
        if (!has(6) || !readNumber(fields.at(5), number))
            return event;
        type = Call;
    } else if (kind == "CONNECT") {
        if (!has(4))
            return event;
        type = Connect;
    } else if (kind == "DISCONNECT") {
        bool ok = false;
        const int seconds = fields.value(3).trimmed().toInt(&ok);
        if (!has(3) || !isDigits(fields.at(3).trimmed()) || !ok)
            return event;
        event.durationSeconds = seconds;
        type = Disconnect;
    }
    event.type = type;
    event.id = QString::fromLatin1(fields.at(2));
    if (type == Ring || type == Call)
        event.number = number;
    return event;
}
