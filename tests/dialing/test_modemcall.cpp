// The modem dial through a real serial port: a pseudo-terminal with a scripted modem at its far
// end, linked as COM3 of a program folder of its own.
#include "ScriptedModem.h"
#include "app/ModalWatcher.h"
#include "dialing/ComPort.h"
#include "dialing/ModemCall.h"
#include "dialing/ModemDialer.h"
#include "register/PhoneRegister.h"

#include <QKeyEvent>
#include <QLabel>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <atomic>
#include <sys/resource.h>
#include <thread>

namespace {

const QString Command = QStringLiteral("ATX3DT0301234567;H\r");
const QByteArray CommandBytes = Command.toLatin1();
constexpr int PeerLimitMs = 10000;

double cpuSeconds() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

QString labelText(QWidget* dialog, const char* name) {
    auto* label = dialog->findChild<QLabel*>(QLatin1String(name));
    return label ? label->text() : QStringLiteral("<none>");
}

void clickAbortOnceTrue(QWidget* dialog, const std::function<bool()>& ready) {
    if (ready()) {
        dialog->findChild<QPushButton*>(QStringLiteral("Command1"))->click();
        return;
    }
    QPointer<QWidget> guard(dialog);
    QTimer::singleShot(20, dialog, [guard, ready] {
        if (guard)
            clickAbortOnceTrue(guard, ready);
    });
}

} // namespace

class TestModemCall : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    PhoneRegister m_register;
    QWidget m_window;
    std::unique_ptr<ModemCall> m_call;
    std::unique_ptr<ModalWatcher> m_modals;
    std::unique_ptr<ScriptedModem> m_modem;
    QStringList m_modalStates; // modalDialogOpenChanged, as "1"/"0"
    int m_optionsRequests = 0;
    QStringList m_dialogLabels;
    std::atomic<bool> m_dialogShown = false;

    QString folder() const { return m_dir.path() + QLatin1Char('/'); }
    QString link(int port) const { return folder() + QStringLiteral("dosdevices/com%1").arg(port); }

    // Notes the "Anwahl" dialog when it shows, then does `then` with it.
    void watchDialog(const std::function<void(QWidget*)>& then = {}) {
        m_modals->queue([this, then](QWidget* dialog) {
            m_dialogLabels << dialog->objectName() << labelText(dialog, "Label1_3")
                           << labelText(dialog, "Label1_0") << labelText(dialog, "Label1_1");
            m_dialogShown = true;
            if (then)
                then(dialog);
        });
    }
    // For the modem's thread: until the user could see the dialog.
    bool waitForDialog() {
        QDeadlineTimer deadline(PeerLimitMs);
        while (!m_dialogShown && !deadline.hasExpired())
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        return m_dialogShown;
    }

    // Runs the dial on this thread while `peer` plays the modem on its own.
    void dialWith(const std::function<void()>& peer) {
        std::thread modem(peer);
        m_call->dial(Command, QStringLiteral("Müller, Anna"), QStringLiteral("030 1234567"));
        modem.join();
    }

private slots:
    void init() {
        m_register.settings.ComPort = 3;
        m_call = std::make_unique<ModemCall>(&m_register, folder(), &m_window);
        m_modals = std::make_unique<ModalWatcher>();
        m_modalStates.clear();
        m_optionsRequests = 0;
        m_dialogLabels.clear();
        m_dialogShown = false;
        connect(m_call.get(), &ModemCall::modalDialogOpenChanged, this,
                [this](bool open) { m_modalStates << QString::number(open); });
        connect(m_call.get(), &ModemCall::optionsPageRequested, this,
                [this] { ++m_optionsRequests; });
        m_modem = std::make_unique<ScriptedModem>();
        QVERIFY2(m_modem->isValid(), qPrintable(m_modem->errorString()));
        QVERIFY(m_modem->linkAt(link(3)));
    }
    void cleanup() {
        m_call.reset();
        m_modem.reset();
    }

    void okClosesTheDialog_data() {
        QTest::addColumn<QList<QByteArray>>("replies");
        QTest::addColumn<int>("delayMs");
        QTest::newRow("echo, then OK") << QList<QByteArray>{CommandBytes + "\r\nOK\r\n"} << 0;
        QTest::newRow("O, then K") << QList<QByteArray>{"O", "K"} << 500;
        QTest::newRow("lower case") << QList<QByteArray>{"\r\nok\r\n"} << 0;
    }
    void okClosesTheDialog() {
        QFETCH(QList<QByteArray>, replies);
        QFETCH(int, delayMs);
        watchDialog();
        QByteArray received;
        QString line;
        QList<QByteArray> reads;
        dialWith([&] {
            received = m_modem->waitForCommand(PeerLimitMs);
            line = m_modem->lineSettings();
            reads = m_modem->reads();
            if (waitForDialog())
                m_modem->sendSplit(replies, delayMs);
        });
        QCOMPARE(received, CommandBytes);
        QCOMPARE(reads.value(0), CommandBytes); // in one piece
        QCOMPARE(line, QStringLiteral("2400 8N1 RTS/CTS"));
        QCOMPARE(m_dialogLabels,
                 (QStringList{"Form4", " Anwahl läuft ... ", "Müller, Anna", "030 1234567"}));
        QCOMPARE(m_modals->titles, QStringList{"Anwahl"}); // no message after it
        QCOMPARE(m_modalStates, (QStringList{"1", "0"}));
        QCOMPARE(m_call->dialer()->ModemAnswer(), QString::fromLatin1(replies.join()).toUpper());
        QVERIFY(!m_call->dialer()->isPortOpen());
        QCOMPARE(m_optionsRequests, 0);
    }

    // Escape and a fresh Return abort as "&Abbruch" does; the repeats of a key held since the
    // dial do not.
    void keysAbortTheDial_data() {
        QTest::addColumn<QString>("how");
        for (const char* how : {"Escape", "held Return, then a fresh one"})
            QTest::newRow(how) << QString::fromLatin1(how);
    }
    void keysAbortTheDial() {
        QFETCH(QString, how);
        const bool held = how.startsWith(QLatin1String("held"));
        bool stoodTheRepeats = false;
        watchDialog([&](QWidget* dialog) {
            QWidget* target = dialog->focusWidget() ? dialog->focusWidget() : dialog;
            for (int repeat = 0; held && repeat < 3; ++repeat) {
                QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QString(), true);
                QApplication::sendEvent(target, &press);
            }
            stoodTheRepeats = dialog->isVisible();
            QTest::keyClick(target, held ? Qt::Key_Return : Qt::Key_Escape);
        });
        QByteArray afterAbort;
        dialWith([&] {
            m_modem->waitForCommand(PeerLimitMs);
            afterAbort = m_modem->waitForBytes(1, PeerLimitMs);
        });
        QCOMPARE(afterAbort, QByteArray("\r"));
        QCOMPARE(m_modalStates, (QStringList{"1", "0"}));
        QVERIFY(stoodTheRepeats);
    }

    void withoutOkOnlyAbortCloses_data() {
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<QString>("debugShows");
        QTest::newRow("silence") << QByteArray() << QStringLiteral("(keine Rückmeldung)");
        QTest::newRow("ERROR") << QByteArray("\r\nerror\r\n") << QStringLiteral("\r\nERROR\r\n");
        // The last 4 kB of a megabyte without a line end, shown as rows the box can hold.
        QTest::newRow("flood") << QByteArray(1 << 20, 'a')
                               << (QString(100, 'A') + '\n').repeated(28) + "[… gekürzt]";
    }
    void withoutOkOnlyAbortCloses() {
        QFETCH(QByteArray, reply);
        QFETCH(QString, debugShows);
        std::atomic<bool> answered = false;
        ModemDialer* dialer = m_call->dialer();
        const QString expectedAnswer = QString::fromLatin1(reply).toUpper().right(4096);
        // "&Abbruch" once the modem has had its say and the dialog still stands.
        watchDialog([&](QWidget* dialog) {
            clickAbortOnceTrue(dialog,
                               [&] { return answered && dialer->ModemAnswer() == expectedAnswer; });
        });
        QByteArray received;
        QByteArray afterAbort;
        dialWith([&] {
            received = m_modem->waitForCommand(PeerLimitMs);
            m_modem->send(reply);
            answered = true;
            afterAbort = m_modem->waitForBytes(1, PeerLimitMs);
        });
        QCOMPARE(received, CommandBytes);
        QCOMPARE(afterAbort, QByteArray("\r"));
        QVERIFY(!dialer->isPortOpen());
        QCOMPARE(m_modalStates, (QStringList{"1", "0"}));

        m_call->showModemAnswer();
        QCOMPARE(m_modals->titles, (QStringList{"Anwahl", "Kurbelfon"}));
        QCOMPARE(m_modals->texts.last(),
                 "Das Modem gab nach der letzten Anwahl folgende Zeichenkette zurück:\n\n" +
                     QString(debugShows).replace('\r', '\n'));
        QCOMPARE(m_optionsRequests, 0);
    }

    void missingDeviceIsReported_data() {
        QTest::addColumn<int>("port");
        QTest::addColumn<QString>("why"); // the line after the device's name
        const QString missing =
            QStringLiteral(": Gerät nicht gefunden – ist das Modem angeschlossen?");
        QTest::newRow("link to nothing") << 3 << missing;
        QTest::newRow("no link, no such port") << 16 << missing;
        QTest::newRow("held by another program")
            << 3 << QStringLiteral(": wird schon von einem anderen Programm benutzt.");
    }
    void missingDeviceIsReported() {
        QFETCH(int, port);
        QFETCH(QString, why);
        ModemDialer holder;
        if (why.contains(QStringLiteral("Programm")))
            QVERIFY(holder.dial(m_modem->devicePath(), QStringLiteral("ATZ\r")));
        else
            m_modem.reset(); // its link now points to nothing
        const QString device = ComPortDevice(port, folder());
        m_register.settings.ComPort = port;
        m_call->dial(Command, QStringLiteral("Anna"), QStringLiteral("1"));
        QCOMPARE(m_modals->titles, QStringList{"Kurbelfon"});
        QCOMPARE(
            m_modals->texts,
            QStringList{
                QStringLiteral("Der angegebene Anschluß COM%1 ist nicht verfügbar.\n").arg(port) +
                device + why});
        QCOMPARE(m_optionsRequests, 1);
        QVERIFY(m_modalStates.isEmpty());
    }

    // The first dial finds no modem; the next, with the modem there, opens the port anew. A dial
    // while the port is still open closes it first.
    void nextDialOpensAgain() {
        QVERIFY(QFile::remove(link(3)));
        QVERIFY(QFile::link(folder() + QStringLiteral("nothing"), link(3)));
        m_call->dial(Command, QStringLiteral("Anna"), QStringLiteral("1"));
        QCOMPARE(m_optionsRequests, 1);
        m_call->showModemAnswer();
        QVERIFY(m_modals->texts.last().endsWith(QStringLiteral("(keine Rückmeldung)")));

        QVERIFY(m_modem->linkAt(link(3)));
        QVERIFY(m_call->dialer()->dial(m_modem->devicePath(), QStringLiteral("ATZ\r")));
        QVERIFY(m_call->dialer()->isPortOpen());
        watchDialog();
        QByteArray first;
        QByteArray second;
        dialWith([&] {
            first = m_modem->waitForCommand(PeerLimitMs);
            second = m_modem->waitForCommand(PeerLimitMs);
            if (waitForDialog())
                m_modem->send("OK");
        });
        QCOMPARE(first, QByteArray("ATZ\r"));
        QCOMPARE(second, CommandBytes);
        QCOMPARE(m_call->dialer()->ModemAnswer(), QStringLiteral("OK")); // only the last dial's
        QCOMPARE(m_modalStates, (QStringList{"1", "0"}));
        QCOMPARE(m_optionsRequests, 1);
    }

    // A USB modem unplugged mid-dial: the port is closed at once, the user told, and the
    // program does not spin on the dead line.
    void vanishingModemIsReported() {
        watchDialog();
        double cpuAtVanish = 0;
        QElapsedTimer sinceVanish;
        dialWith([&] {
            m_modem->waitForCommand(PeerLimitMs);
            waitForDialog();
            cpuAtVanish = cpuSeconds();
            sinceVanish.start();
            m_modem->vanish();
        });
        QVERIFY(!m_call->dialer()->isPortOpen());
        QTest::qWait(300); // a port left open would keep raising errors meanwhile
        const double cpu = cpuSeconds() - cpuAtVanish;
        const double wall = sinceVanish.elapsed() / 1000.0;
        QVERIFY2(cpu < wall / 3, qPrintable(QStringLiteral("%1 s CPU in %2 s").arg(cpu).arg(wall)));
        QCOMPARE(m_modals->titles, (QStringList{"Anwahl", "Kurbelfon"}));
        QVERIFY(m_modals->texts.last().startsWith(
            QStringLiteral("Der angegebene Anschluß COM3 ist nicht verfügbar.\n") +
            m_modem->devicePath() + QStringLiteral(": ")));
        QCOMPARE(m_modalStates, (QStringList{"1", "0"}));
        QCOMPARE(m_optionsRequests, 1);
    }
};

QTEST_MAIN(TestModemCall)
#include "test_modemcall.moc"
