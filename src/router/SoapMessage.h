#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QPair>
#include <QString>

// The SOAP envelope of one TR-064 action and what comes back. The answer is read with limits: a
// hostile router may send anything, and nothing in it may change what is dialed.
class SoapMessage {
public:
    using Arguments = QList<QPair<QString, QString>>;

    struct Answer {
        bool understood = false;       // a well-formed answer or fault for the action asked
        bool fault = false;            // a SOAP fault
        int upnpErrorCode = 0;         // from the fault's detail, 0 when none
        QString errorDescription;      // likewise
        QMap<QString, QString> values; // the out arguments by name
    };

    static QByteArray request(const QString& service, const QString& action,
                              const Arguments& arguments);
    static Answer parse(const QByteArray& body, const QString& action);
};
