#include "contacts/ContactEntries.h"
#include "contacts/ContactSourceSettings.h"
#include "contacts/VCardReader.h"
#include "contacts/VCardWriter.h"
#include "register/EntryLine.h"
#include "support/RegistryStore.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// Address book exports shaped like those of Thunderbird, KAddressBook, Evolution and an old
// phone, into entries for a card that already holds "Berg, Otto".
class TestContactImport : public QObject {
    Q_OBJECT
private slots:
    void exports_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("entries"); // "name|number"
        QTest::addColumn<QStringList>("skipped");
        QTest::newRow("Thunderbird 4.0")
            << "thunderbird.vcf"
            << QStringList{"Weiß, Jürgen (mobil)|49 171 2345678",
                           "Weiß, Jürgen (privat)|49 89 123456",
                           "Weiß, Jürgen (Arbeit)|49 30 9876543", "Pizzeria Bella|49 711 223344"}
            << QStringList{"王, 小明: Der Name enthält Zeichen, die das Telefonregister nicht "
                           "speichern kann."};
        QTest::newRow("KAddressBook 3.0, folded")
            << "kaddressbook.vcf"
            << QStringList{"Müller-Lüdenscheidt, Anna Maria (Arbeit)|49 89 1234567",
                           "Müller-Lüdenscheidt, Anna Maria (mobil)|49 1512 3456789"}
            << QStringList{};
        QTest::newRow("old phone 2.1, quoted-printable")
            << "oldphone21.vcf"
            << QStringList{"Köhler, Jürgen (mobil)|49 170 1234567",
                           "Köhler, Jürgen (privat)|49 40 123456",
                           "Straßenmeisterei Überlingen Abteilung Süd|49 7551 12345"}
            << QStringList{"Mailbox: Die Nummer „*100#“ ist nicht lesbar."};
        QTest::newRow("Evolution, Windows-1252 declared")
            << "evolution1252.vcf" << QStringList{"Björk, Åsa|46 70 1234567"} << QStringList{};
        QTest::newRow("control characters, a long value")
            << "hostile.vcf"
            << QStringList{"AB|49 89 111", "CD|49 89 222", "EF|49 89 333", "GH|49 89 444"}
            << QStringList{"Lang: Die Nummer „" + QString("unbekannt-").repeated(4) +
                           "…“ ist nicht lesbar."};
    }
    void exports() {
        QFETCH(QString, file);
        QFETCH(QStringList, entries);
        QFETCH(QStringList, skipped);
        QFile vcf(QStringLiteral(VCARD_DIR "/") + file);
        QVERIFY(vcf.open(QIODevice::ReadOnly));
        const ContactEntries result =
            EntriesFromContacts(ReadVCards(vcf.readAll()), QStringLiteral("49"),
                                {MakeEntryLine("Berg, Otto", "49 30 1234567", 1)});
        QStringList actual;
        for (const QString& line : result.lines) {
            QCOMPARE(GetEntryZeroFlag(line), 1);
            actual << GetEntryName(line) + QLatin1Char('|') + GetEntryNumber(line);
        }
        QCOMPARE(actual, entries);
        QCOMPARE(result.skipped, skipped);
    }

    // Fax and internal numbers, from the router's types or a vCard's, are counted and left out,
    // as are contacts without numbers and entries already on the card.
    void leftOutAndCounted_data() {
        QTest::addColumn<QStringList>("phones"); // "type|number" of one contact, Berg, Otto
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QString>("report");
        QTest::newRow("router fax and extension")
            << QStringList{"privat|030 999", "Fax|030 998", "intern|**11", "|**611"}
            << QStringList{"Berg, Otto|49 30 999"}
            << "1 Eintrag wurde übernommen.\r3 Fax- und interne Nummern nicht übernommen.";
        QTest::newRow("already there") << QStringList{"privat|030 1234567", "mobil|0171 2345678"}
                                       << QStringList{"Berg, Otto (mobil)|49 171 2345678"}
                                       << "1 Eintrag wurde übernommen.\r1 Eintrag schon vorhanden.";
        QTest::newRow("no number") << QStringList{} << QStringList{}
                                   << "0 Einträge wurden übernommen.\r1 Kontakt ohne Rufnummer.";
    }
    void leftOutAndCounted() {
        QFETCH(QStringList, phones);
        QList<VCardContact> contacts(1);
        contacts[0].formattedName = QStringLiteral("Berg, Otto");
        for (const QString& phone : phones)
            contacts[0].phones << VCardPhone{phone.section('|', 1), phone.section('|', 0, 0)};
        const ContactEntries result = EntriesFromContacts(
            contacts, "49", {MakeEntryLine("Berg, Otto (privat)", "49 30 1234567", 1)});
        QStringList actual;
        for (const QString& line : result.lines)
            actual << GetEntryName(line) + QLatin1Char('|') + GetEntryNumber(line);
        QTEST(actual, "entries");
        QTEST(ImportReport(result), "report");
    }

    void vcardFaxIsLeftOut() {
        const QList<VCardContact> read =
            ReadVCards("BEGIN:VCARD\r\nVERSION:3.0\r\nFN:A\r\nTEL;TYPE=WORK,FAX:030 1\r\n"
                       "TEL;TYPE=CELL:0171 2345678\r\nEND:VCARD\r\n");
        const ContactEntries result = EntriesFromContacts(read, "49", {});
        QCOMPARE(result.lines, QStringList{MakeEntryLine("A", "49 171 2345678", 1)});
        QCOMPARE(result.faxOrInternal, 1);
    }

    // Each card keeps its own source; a card never fetched offers the router.
    void sourcesRoundTrip() {
        QTemporaryDir home;
        RegistryStore store(home.path());
        ContactSourceSettings cardDav;
        cardDav.kind = ContactSourceSettings::Kind::CardDav;
        cardDav.cardDavAddress = QStringLiteral("https://cloud.example/");
        cardDav.cardDavUser = QStringLiteral("anna");
        cardDav.cardDavBookUrl = QStringLiteral("https://cloud.example/dav/anna/contacts/");
        cardDav.cardDavCertificateSha256 = QStringLiteral("ab12");
        cardDav.cardDavPlainHttp = true;
        ContactSourceSettings router;
        router.routerBookId = 2;
        router.routerBookName = QStringLiteral("Familie");
        QVERIFY(cardDav.save(store, 3) && router.save(store, 1));
        const RegistryStore again(home.path());
        const ContactSourceSettings read = ContactSourceSettings::load(again, 3);
        QCOMPARE(read.kind, ContactSourceSettings::Kind::CardDav);
        QCOMPARE(read.cardDavBookUrl, cardDav.cardDavBookUrl);
        QCOMPARE(read.cardDavCertificateSha256, cardDav.cardDavCertificateSha256);
        QVERIFY(read.cardDavPlainHttp);
        QCOMPARE(read.passwordKey(), cardDav.passwordKey());
        QCOMPARE(ContactSourceSettings::load(again, 1).routerBookName, router.routerBookName);
        QCOMPARE(ContactSourceSettings::load(again, 1).routerBookId, 2);
        QCOMPARE(ContactSourceSettings::load(again, 2).kind, ContactSourceSettings::Kind::Router);
    }

    void reportCountsAndLists() {
        ContactEntries entries;
        entries.lines << MakeEntryLine("A", "49 89 1", 1) << MakeEntryLine("B", "49 89 2", 1);
        entries.skipped << QStringLiteral("Mailbox: Die Nummer „*100#“ ist nicht lesbar.");
        QCOMPARE(ImportReport(entries),
                 QStringLiteral("2 Einträge wurden übernommen.\r\rNicht übernommen:\rMailbox: Die "
                                "Nummer „*100#“ ist nicht lesbar."));
    }

    // The register holds Windows-1252: other letters are written as the nearest ones it has, and
    // the report says so; a name without such letters is still left out with its reason.
    void namesWithNearestLetters() {
        QList<VCardContact> contacts(3);
        contacts[0].familyName = QStringLiteral("Nowak");
        contacts[0].givenName = QStringLiteral("Łukasz");
        contacts[1].formattedName = QStringLiteral("Nguyễn Văn Đức");
        contacts[2].formattedName = QStringLiteral("王小明");
        for (VCardContact& contact : contacts)
            contact.phones << VCardPhone{QStringLiteral("030 1234567"), QString()};
        const ContactEntries result = EntriesFromContacts(contacts, "49", {});
        QCOMPARE(result.lines, (QStringList{MakeEntryLine("Nowak, Lukasz", "49 30 1234567", 1),
                                            MakeEntryLine("Nguyen Van Duc", "49 30 1234567", 1)}));
        QCOMPARE(result.skipped.size(), 1);
        QCOMPARE(ImportReport(result),
                 QStringLiteral("2 Einträge wurden übernommen.\r\rMit ähnlichen Buchstaben "
                                "übernommen:\r„Nowak, Łukasz“ als „Nowak, Lukasz“\r„Nguyễn Văn "
                                "Đức“ als „Nguyen Van Duc“\r\rNicht übernommen:\r") +
                     result.skipped.first());
    }

    // A card out as vCards and read back by the import: the same entries.
    void savedCardReadsBackTheSame() {
        const QStringList lines{MakeEntryLine("Weiß, Jürgen (mobil)", "49 171 2345678", 1),
                                MakeEntryLine("Pizzeria Bella", "49 711 223344", 1),
                                MakeEntryLine("Semi;kolon, Back\\slash", "43 1 5551234", 1)};
        const QByteArray vcf = WriteVCards(lines);
        QVERIFY(
            vcf.startsWith("BEGIN:VCARD\r\nVERSION:4.0\r\nFN:Weiß\\, Jürgen (mobil)\r\n"
                           "N:Weiß;Jürgen (mobil);;;\r\nTEL;VALUE=uri:tel:+49-171-2345678\r\n"));
        QCOMPARE(EntriesFromContacts(ReadVCards(vcf), "49", {}).lines, lines);
    }

    // Many contacts with huge values: the report quotes each value cut short and lists no more
    // than a box can show.
    void reportStaysShort() {
        QList<VCardContact> contacts(20);
        for (VCardContact& contact : contacts) {
            contact.formattedName = QString(1000, QLatin1Char('n'));
            contact.phones << VCardPhone{QString(1 << 20, QLatin1Char('x')), QString()};
        }
        const QString report = ImportReport(EntriesFromContacts(contacts, "49", {}));
        QVERIFY2(report.size() < 2000, qPrintable(QString::number(report.size())));
        QVERIFY(report.endsWith("\r… und 8 weitere."));
    }
};

QTEST_GUILESS_MAIN(TestContactImport)
#include "test_contactimport.moc"
