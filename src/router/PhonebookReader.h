#pragma once

#include "contacts/VCardReader.h"
#include "router/CallListReader.h"

#include <QByteArray>
#include <QList>
#include <QString>

// A phone book of the router (TR-064 X_AVM-DE_OnTel GetPhonebook), read as an answer from the
// network must be: no document type and so no entities, a bounded size, depth and count, every
// field cut to a length that fits a line. The numbers stay as the user typed them in the router.
class PhonebookReader {
public:
    static constexpr qint64 MaxBytes = 20 * 1024 * 1024;
    static constexpr int MaxContacts = 10000;
    static constexpr int MaxFieldLength = CallListReader::MaxFieldLength;

    struct Result {
        bool ok = false;
        QString error; // why nothing could be taken, for the status line
        QList<VCardContact> contacts;
        QString bookName; // the first book's name as the router gives it
    };
    static Result read(const QByteArray& xml);
};
