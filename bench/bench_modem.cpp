// How long a modem dial takes from the request to the last byte of the command on the line:
// composing, opening and setting up the port, writing. The line is a pseudo-terminal with a
// scripted modem; the dialog that follows is not counted. Run with `make bench`.
#include "ScriptedModem.h"
#include "dialing/ComPort.h"
#include "dialing/EntryDialer.h"
#include "dialing/ModemDialer.h"
#include "register/EntryLine.h"
#include "register/PhoneRegister.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>

class BenchModem : public QObject {
    Q_OBJECT

private slots:
    void requestToLastByte() {
        constexpr int Dials = 200;
        QTemporaryDir dir;
        ScriptedModem modem;
        QVERIFY2(modem.isValid(), qPrintable(modem.errorString()));
        QVERIFY(modem.linkAt(dir.filePath(QStringLiteral("dosdevices/com3"))));
        PhoneRegister reg;
        reg.settings.ComPort = 3;
        EntryDialer entries(&reg);
        ModemDialer dialer;
        const QString folder = dir.path() + QLatin1Char('/');
        connect(&entries, &EntryDialer::modemDialRequested, &dialer,
                [&](const QString& dialString) {
                    dialer.dial(ComPortDevice(reg.settings.ComPort, folder), dialString);
                });
        const QString line =
            MakeEntryLine(QStringLiteral("Zander, Ute"), QStringLiteral("43 1 5551234"), 0);
        QList<double> ms;
        for (int i = 0; i < Dials; ++i) {
            QElapsedTimer clock;
            clock.start();
            entries.dialEntry(line);
            const QByteArray command = modem.waitForCommand(5000);
            ms << clock.nsecsElapsed() / 1e6;
            QCOMPARE(command, QByteArray("ATDT0043 1 5551234;H\r"));
            // Every dial starts from a closed port, as after an "OK".
            modem.send("OK");
            QTRY_VERIFY(!dialer.isPortOpen());
        }
        std::sort(ms.begin(), ms.end());
        qInfo("request to last byte written, %d dials: median %.2f ms, 95%% %.2f ms, max %.2f ms",
              Dials, ms[Dials / 2], ms[Dials * 95 / 100], ms.last());
    }
};

QTEST_GUILESS_MAIN(BenchModem)
#include "bench_modem.moc"
