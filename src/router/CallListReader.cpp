#include "router/CallListReader.h"

#include <QHash>
#include <QXmlStreamReader>
#include <algorithm>
#include <iterator>

namespace {

// root, Call, its fields: anything deeper is no call list.
constexpr int MaxDepth = 3;
constexpr int MaxNumberLength = 40;

QString numberOf(const QString& text) {
    QString number;
    for (const QChar c : text) {
        if (c.isDigit() || c == QLatin1Char('*') || c == QLatin1Char('#') ||
            (c == QLatin1Char('+') && number.isEmpty()))
            number += c;
    }
    return number.left(MaxNumberLength);
}

// "DD.MM.YY HH:MM"; a date that does not exist gives an invalid one.
QDateTime startOf(const QString& text) {
    QDateTime start = QDateTime::fromString(text.trimmed(), QStringLiteral("dd.MM.yy HH:mm"));
    // Two-digit years are read as 19xx; the router's list holds calls of this century.
    return start.isValid() ? start.addYears(100) : start;
}

// "H:MM"
int secondsOf(const QString& text) {
    const QStringList parts = text.trimmed().split(QLatin1Char(':'));
    bool hoursOk = false, minutesOk = false;
    const int hours = parts.value(0).toInt(&hoursOk);
    const int minutes = parts.value(1).toInt(&minutesOk);
    if (parts.size() != 2 || !hoursOk || !minutesOk || hours < 0 || hours > 999 || minutes < 0 ||
        minutes > 59)
        return 0;
    return hours * 3600 + minutes * 60;
}

bool callOf(const QHash<QString, QString>& fields, JournalCall& call) {
    using Kind = JournalCall::Kind;
    // The router's types: answered, missed, outgoing, incoming under way, rejected, outgoing
    // under way.
    struct TypeOf {
        int type;
        Kind kind;
        bool underWay;
    };
    static constexpr TypeOf Types[] = {{1, Kind::Answered, false},  {2, Kind::Missed, false},
                                       {3, Kind::Dialed, false},    {9, Kind::Answered, true},
                                       {10, Kind::Rejected, false}, {11, Kind::Dialed, true}};
    const int type = fields.value(QStringLiteral("Type")).trimmed().toInt();
    const auto known = std::find_if(std::begin(Types), std::end(Types),
                                    [type](const TypeOf& t) { return t.type == type; });
    if (known == std::end(Types))
        return false;
    call.kind = known->kind;
    call.underWay = known->underWay;
    call.start = startOf(fields.value(QStringLiteral("Date")));
    if (!call.start.isValid())
        return false;
    call.number = numberOf(fields.value(call.kind == Kind::Dialed ? QStringLiteral("Called")
                                                                  : QStringLiteral("Caller")));
    call.routerId = fields.value(QStringLiteral("Id")).trimmed().toLongLong();
    call.routerName = fields.value(QStringLiteral("Name")).trimmed();
    call.device = fields.value(QStringLiteral("Device")).trimmed();
    call.durationSeconds = secondsOf(fields.value(QStringLiteral("Duration")));
    return true;
}

} // namespace

CallListReader::Result CallListReader::read(const QByteArray& xml) {
    Result result;
    const auto refuse = [&result](const QString& why) {
        result.calls.clear();
        result.error = why;
        return result;
    };
    if (xml.size() > MaxBytes)
        return refuse(QStringLiteral("Die Anrufliste des Routers ist zu groß."));
    QXmlStreamReader reader(xml);
    int depth = 0;
    QHash<QString, QString> fields;
    while (!reader.atEnd()) {
        switch (reader.readNext()) {
        case QXmlStreamReader::DTD:
            // Entities of a document type could expand without end or reach out of the file.
            return refuse(QStringLiteral("Die Anrufliste des Routers enthält einen Dokumenttyp."));
        case QXmlStreamReader::StartElement:
            if (++depth > MaxDepth)
                return refuse(QStringLiteral("Die Anrufliste des Routers ist unverständlich."));
            if (depth == 1 && reader.name() != QLatin1String("root"))
                return refuse(QStringLiteral("Der Router hat keine Anrufliste geschickt."));
            if (depth == 2 && reader.name() == QLatin1String("Call"))
                fields.clear();
            if (depth == 3) {
                const QString name = reader.name().toString();
                fields.insert(name, reader.readElementText(QXmlStreamReader::IncludeChildElements)
                                        .left(MaxFieldLength));
                --depth;
            }
            break;
        case QXmlStreamReader::EndElement:
            if (depth-- == 2 && reader.name() == QLatin1String("Call")) {
                JournalCall call;
                if (!callOf(fields, call))
                    ++result.skipped;
                else if (result.calls.size() < MaxCalls)
                    result.calls.append(call);
            }
            break;
        default:
            break;
        }
    }
    if (reader.hasError())
        return refuse(QStringLiteral("Die Anrufliste des Routers ist unverständlich."));
    result.ok = true;
    return result;
}
