#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// A modem for tests: the far end of a pseudo-terminal that the program opens as its serial port.
//
//   ScriptedModem modem;                                      // a fresh pty
//   QVERIFY2(modem.isValid(), qPrintable(modem.errorString()));
//   QVERIFY(modem.linkAt(programFolder + "/dosdevices/com3")); // COM3 of that program folder
//   ... start the dial ...
//   QByteArray command = modem.waitForCommand(10000);         // up to and including "\r"
//   modem.send("\r\nOK\r\n");                                 // or sendSplit({"O", "K"}, 500)
//   modem.vanish();                                           // as if the cable were pulled
//
// Every call blocks the calling thread (no event loop is needed). When the dialer runs in the
// same process as the test, drive the modem from a std::thread of its own while the test's main
// thread runs the dial; use one instance from one thread at a time.
class ScriptedModem {
public:
    ScriptedModem();
    // Removes the link and closes the pty.
    ~ScriptedModem();
    ScriptedModem(const ScriptedModem&) = delete;
    ScriptedModem& operator=(const ScriptedModem&) = delete;

    bool isValid() const { return m_master >= 0; }
    QString errorString() const { return m_error; }

    // The device the program opens, e.g. "/dev/pts/4".
    QString devicePath() const { return m_devicePath; }
    // A symbolic link at `linkPath` pointing to the device; missing folders are created and an
    // older link there is replaced.
    bool linkAt(const QString& linkPath);

    // The bytes received up to and including the next "\r", taken from what has arrived;
    // empty if no "\r" comes within the time limit (what did come stays for the next call).
    QByteArray waitForCommand(int timeoutMs);
    // Waits until at least `count` bytes are unread, then takes them all; empty on time-out.
    QByteArray waitForBytes(int count, int timeoutMs);
    // Everything received so far and not yet taken.
    QByteArray unread();
    // How every byte received so far arrived: one entry per read from the line, so a command
    // written in one piece is one entry (when the modem was waiting for it).
    QList<QByteArray> reads() const { return m_reads; }

    // The line as the program has set it up, e.g. "2400 8N1 RTS/CTS" (or "... none" without
    // hardware handshake); meaningful while the program holds the port open.
    QString lineSettings() const;

    // Sends the bytes to the program.
    bool send(const QByteArray& bytes);
    // Sends the parts one after another, waiting `delayMs` between them.
    bool sendSplit(const QList<QByteArray>& parts, int delayMs);

    // Closes the line from the modem's side: the program's port sees a hang-up, as when a USB
    // modem is unplugged.
    void vanish();

private:
    // Reads what the line holds, waiting up to `waitMs` for something to come.
    bool readSome(int waitMs);
    void fail(const QString& what);

    int m_master = -1;
    // Held open so that the line stays up between the program's own opens and closes.
    int m_slave = -1;
    QString m_devicePath;
    QString m_linkPath;
    QString m_error;
    QByteArray m_pending;
    QList<QByteArray> m_reads;
};
