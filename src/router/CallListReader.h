#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

// One call of the router's call list.
struct JournalCall {
    enum class Kind { Answered, Missed, Rejected, Dialed };
    Kind kind = Kind::Answered;
    bool underWay = false; // still going on when the list was read
    qint64 routerId = 0;
    QString number;     // the other side as dialed on the line; empty when withheld
    QString routerName; // the router's phone-book name, often empty
    QString device;     // the telephone it rang on or was dialed from
    QDateTime start;    // the router's local time, to the minute
    int durationSeconds = 0;
};

// The router's call list (TR-064 X_AVM-DE_OnTel GetCallList), read as an answer from the
// network must be: no document type and so no entities, a bounded size and count, every field
// cut to a length that fits a line, a call with a date that does not exist left out.
class CallListReader {
public:
    static constexpr qint64 MaxBytes = 5 * 1024 * 1024;
    static constexpr int MaxCalls = 10000;
    static constexpr int MaxFieldLength = 200;

    struct Result {
        bool ok = false;
        QString error;            // why nothing could be taken, for the status line
        QList<JournalCall> calls; // as the router lists them, newest first
        int skipped = 0;          // calls of an unknown type or with a date that does not exist
    };
    static Result read(const QByteArray& xml);
};
