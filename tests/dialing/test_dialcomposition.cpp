// The modem command and display number for a stored number, under the caller's settings.
#include "contacts/PhoneNumbers.h"
#include "dialing/DialComposition.h"
#include "dialing/EntryDialer.h"
#include "register/EntryLine.h"
#include "register/PhoneRegister.h"

#include <QSignalSpy>
#include <QTest>

namespace {

// One change against the default settings, written as "field=value" pairs.
DialSettings settingsWith(const QStringList& changes) {
    DialSettings s;
    for (const QString& change : changes) {
        const QString field = change.section(QLatin1Char('='), 0, 0);
        const QString value = change.section(QLatin1Char('='), 1);
        if (field == QLatin1String("country"))
            s.OwnCountryCode = value;
        else if (field == QLatin1String("area"))
            s.OwnAreaCode = value;
        else if (field == QLatin1String("outside"))
            s.OutsideLinePrefix = value;
        else if (field == QLatin1String("intl"))
            s.InternationalPrefix = value;
        else if (field == QLatin1String("extra"))
            s.ExtraModemCommands = value;
        else if (field == QLatin1String("pulse"))
            s.PulseDialing = value.toInt();
        else if (field == QLatin1String("handover"))
            s.HandoverEnabled = 1, s.HandoverNumber = value;
        else if (field == QLatin1String("router"))
            continue;
        else
            qFatal("unknown field %s", qPrintable(field));
    }
    return s;
}

} // namespace

class TestDialComposition : public QObject {
    Q_OBJECT

private slots:
    void compose_data() {
        QTest::addColumn<QStringList>("settings");
        QTest::addColumn<QString>("number");
        QTest::addColumn<int>("zeroFlag");
        QTest::addColumn<QVariant>("provider"); // invalid: provider list off
        QTest::addColumn<int>("distance");
        QTest::addColumn<QString>("dialString");
        QTest::addColumn<QString>("display");

        const QVariant off;
        QTest::newRow("local") << QStringList() << "49 89 1234567" << 1 << off << 1
                               << "ATDT1234567;H\r"
                               << "1234567";
        QTest::newRow("national, zero")
            << QStringList() << "49 30 1234567" << 1 << off << 2 << "ATDT030 1234567;H\r"
            << "030 1234567";
        QTest::newRow("national, no zero")
            << QStringList() << "49 30 1234567" << 0 << off << 2 << "ATDT30 1234567;H\r"
            << "30 1234567";
        QTest::newRow("abroad") << QStringList() << "43 1 5551234" << 1 << off << 3
                                << "ATDT0043 1 5551234;H\r"
                                << "+43 1 5551234";
        QTest::newRow("abroad, provider")
            << QStringList() << "43 1 5551234" << 1 << QVariant(QStringLiteral("01234")) << 3
            << "ATDT012340043 1 5551234;H\r"
            << "+43 1 5551234";
        QTest::newRow("local, provider")
            << QStringList() << "49 89 1234567" << 1 << QVariant(QStringLiteral("01234")) << 1
            << "ATDT012341234567;H\r"
            << "1234567";
        QTest::newRow("list on, no provider fits") << QStringList() << "49 89 1234567" << 1
                                                   << QVariant(QString()) << 1 << "ATDT1234567;H\r"
                                                   << "1234567";
        QTest::newRow("outside line, pulse, extra")
            << QStringList{"outside=0", "pulse=1", "extra=X3"} << "49 89 1234567" << 1 << off << 1
            << "ATX3DP01234567;H\r"
            << "1234567";
        QTest::newRow("handover, tone") << QStringList{"handover=22"} << "49 89 1234567" << 1 << off
                                        << 1 << "ATDT1234567,!,22;H\r"
                                        << "1234567";
        QTest::newRow("handover, pulse") << QStringList{"handover=22", "pulse=1"} << "49 89 1234567"
                                         << 1 << off << 1 << "ATDP1234567;H\r"
                                         << "1234567";
        QTest::newRow("empty own country code") << QStringList{"country="} << "49 89 1234567" << 1
                                                << off << 3 << "ATDT0049 89 1234567;H\r"
                                                << "+49 89 1234567";
        QTest::newRow("empty own area code")
            << QStringList{"area="} << "49 89 1234567" << 1 << off << 2 << "ATDT089 1234567;H\r"
            << "089 1234567";
        QTest::newRow("plain prefix comparison")
            << QStringList() << "49 891234" << 1 << off << 1 << "ATDT1234;H\r"
            << "1234";
        QTest::newRow("leading plus, own country")
            << QStringList() << "+49 89 1234567" << 1 << off << 1 << "ATDT1234567;H\r"
            << "1234567";
        QTest::newRow("leading plus, abroad")
            << QStringList() << " + 43 1 5551234" << 1 << off << 3 << "ATDT0043 1 5551234;H\r"
            << "+43 1 5551234";
        QTest::newRow("command in the number") << QStringList{"handover=22;Z"} << "49 30 12;ATZ"
                                               << 1 << off << 2 << "ATDT030 12T,!,22;H\r"
                                               << "030 12T";
        QTest::newRow("brackets and dashes")
            << QStringList() << "49 (30) 12-34" << 1 << off << 2 << "ATDT030 1234;H\r"
            << "030 1234";
        QTest::newRow("DEL and C1 dropped")
            << QStringList{"extra=X3\x7f\u008d\u0085Z"} << "49 89 12\u008d34\x7f" << 1
            << QVariant(QStringLiteral("01\u009f1")) << 1 << "ATX3ZDT0111234;H\r"
            << "1234";
        QTest::newRow("extra commands verbatim") << QStringList{"extra= M0 L1 "} << "49 89 1234567"
                                                 << 1 << off << 1 << "AT M0 L1 DT1234567;H\r"
                                                 << "1234567";
        QTest::newRow("control characters dropped")
            << QStringList{"extra=X3\rATZ", "outside=0\n", "handover=2\r2"} << "49 89 12\r34\x01"
            << 1 << QVariant(QStringLiteral("01\r1")) << 1 << "ATX3ATZDT00111234,!,22;H\r"
            << "1234";
        // "router": the dial string column holds the digits the router gets.
        QTest::newRow("router, national, outside line and modem parts left out")
            << QStringList{"router", "outside=0", "extra=X3", "pulse=1", "handover=22"}
            << "49 30 1234567" << 1 << off << 2 << "0301234567"
            << "030 1234567";
        QTest::newRow("router, abroad, provider")
            << QStringList{"router"} << "43 1 5551234" << 1 << QVariant(QStringLiteral("01 23"))
            << 3 << "0123004315551234"
            << "+43 1 5551234";
        QTest::newRow("router, only digits, star and hash")
            << QStringList{"router", "intl=0\r0"} << "+43 (1) 555-12;34*#\x01a" << 1 << off << 3
            << "004315551234*#"
            << "++43 (1) 555-12;34*#a";
    }
    void compose() {
        QFETCH(QStringList, settings);
        QFETCH(QString, number);
        QFETCH(int, zeroFlag);
        QFETCH(QVariant, provider);
        const DialSettings s = settingsWith(settings);
        const std::optional<QString> providerNumber =
            provider.isValid() ? std::optional(provider.toString()) : std::nullopt;
        const ComposedDial dial = ComposeDial(s, PlanCall(s, number, zeroFlag), providerNumber);
        QTEST(dial.CallDistance, "distance");
        if (settings.contains(QLatin1String("router"))) {
            QTEST(ComposeRouterDial(s, PlanCall(s, number, zeroFlag), providerNumber),
                  "dialString");
            return;
        }
        QTEST(dial.DialString, "dialString");
        QTEST(dial.displayNumber, "display");
        QCOMPARE(dial.DialString.count(QLatin1Char('\r')), 1);
    }

    // As the entry editor stores a typed number, and what a dial of it sends.
    void typedNumbers_data() {
        QTest::addColumn<QStringList>("settings");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("dialString");
        QTest::newRow("national") << QStringList() << "030 1234567"
                                  << "49 30 1234567"
                                  << "ATDT030 1234567;H\r";
        QTest::newRow("own area, no blanks") << QStringList() << " 0891234567"
                                             << "49 89 1234567"
                                             << "ATDT1234567;H\r";
        QTest::newRow("international prefix") << QStringList() << "0043 1 5551234"
                                              << "43 1 5551234"
                                              << "ATDT0043 1 5551234;H\r";
        QTest::newRow("the options' prefix") << QStringList{"intl=011"} << "011 43 1 5551234"
                                             << "43 1 5551234"
                                             << "ATDT01143 1 5551234;H\r";
        QTest::newRow("pause and hash kept") << QStringList() << "030 12,,34#"
                                             << "49 30 12,,34#"
                                             << "ATDT030 12,,34#;H\r";
        QTest::newRow("own country Austria") << QStringList{"country=43", "area=1"} << "01 5551234"
                                             << "43 1 5551234"
                                             << "ATDT5551234;H\r";
        QTest::newRow("plus kept") << QStringList() << "+49 89 1234567"
                                   << "+49 89 1234567"
                                   << "ATDT1234567;H\r";
        QTest::newRow("no own country code") << QStringList{"country="} << "030 1"
                                             << "030 1"
                                             << "ATDT00030 1;H\r";
    }
    void typedNumbers() {
        QFETCH(QStringList, settings);
        QFETCH(QString, typed);
        const DialSettings s = settingsWith(settings);
        const QString stored = PhoneNumbers::EntryNumber(typed, s);
        QTEST(stored, "stored");
        QTEST(ComposeDial(s, PlanCall(s, stored, 1), std::nullopt).DialString, "dialString");
    }

    // The provider list is asked with the local weekday and hour and the call's distance, and the
    // dial goes to the hardware that the options chose.
    void entryDialerAsksProviderAndDispatches() {
        PhoneRegister reg;
        EntryDialer dialer(&reg);
        QList<QList<int>> asked;
        dialer.setProviderChoice([&](int weekday, int hour, int distance) {
            asked.append({weekday, hour, distance});
            return std::optional<QString>(QStringLiteral("010"));
        });
        const QDateTime sundayNight(QDate(2026, 12, 6), QTime(0, 30));
        const QDateTime saturday(QDate(2026, 12, 5), QTime(23, 59));
        QCOMPARE(dialer.compose(QStringLiteral("43 1 2"), 1, sundayNight).DialString,
                 QStringLiteral("ATDT0100043 1 2;H\r"));
        dialer.compose(QStringLiteral("49 30 2"), 1, saturday);
        QCOMPARE(asked, (QList<QList<int>>{{7, 0, 3}, {6, 23, 2}}));

        QSignalSpy modem(&dialer, &EntryDialer::modemDialRequested);
        QSignalSpy tone(&dialer, &EntryDialer::toneDialRequested);
        const QString line = MakeEntryLine(QStringLiteral("Anna"), QStringLiteral("49 89 5"), 1);
        dialer.dialEntry(line);
        QCOMPARE(modem.size(), 1);
        QCOMPARE(modem.at(0).at(0).toString(), QStringLiteral("ATDT0105;H\r"));
        QCOMPARE(modem.at(0).at(1).toString(), QStringLiteral("Anna"));
        QCOMPARE(modem.at(0).at(2).toString(), QStringLiteral("5"));
        reg.DialHardware = 1;
        dialer.dialEntry(line);
        QCOMPARE(tone.size(), 1);
        QCOMPARE(modem.size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestDialComposition)
#include "test_dialcomposition.moc"
