#pragma once

#include "dialing/SerialLine.h"

#include <QObject>
#include <QString>
#include <memory>

// Sends a dial command to a Hayes modem on a serial port and listens for its answer. Reports
// through signals; the window that shows the dial decides what the user sees.
class ModemDialer : public QObject {
    Q_OBJECT
public:
    explicit ModemDialer(QObject* parent = nullptr);
    ~ModemDialer() override;

    // Empties the answer, closes the port if it is open, sets it to 2400 8N1 with RTS/CTS,
    // opens `device` and writes the whole command in one piece. On failure emits portFailed()
    // and returns false; a port that did open then stays open until the next dial.
    bool dial(const QString& device, const QString& dialString);
    // "&Abbruch": one carriage return stops a dialing modem; it is sent before the port closes.
    void abort();

    // Characters of the answer kept: enough for every result code and an echo, while a line that
    // sends without end cannot fill the memory.
    static constexpr qsizetype AnswerLimit = 4096;

    // The last AnswerLimit characters the modem sent since the last dial, upper-cased.
    const QString& ModemAnswer() const { return m_answer; }
    // For "Debug": an empty answer reads "(keine Rückmeldung)" from now until the next dial.
    QString answerForDisplay();
    bool isPortOpen() const;
    QString portErrorString() const;
    // Why the last dial failed on `device`, for the line under the port's message.
    QString failureReason(const QString& device) const;

signals:
    // "OK" came; the port is closed.
    void answeredOk();
    // Any failure of a dial: setting up, opening or writing (a port that did open stays open),
    // the line breaking down while the answer is awaited, or the abort not getting through (the
    // port is closed then).
    void portFailed();

private:
    void Comm_OnComm();
    void onLineLost();
    // The port from the modem module, made at the first dial; null when the module is missing.
    SerialLine* line();
    void closeWithoutHanging();
    bool fail();

    std::unique_ptr<SerialLine> m_line;
    QString m_moduleError;
    QString m_answer;
    bool m_awaitingAnswer = false;
    bool m_inCall = false; // inside dial() or abort(), which check every step themselves
};
