// "Kontakte holen" in the real program on a private X desktop, by the keyboard: a real Radicale
// over TLS and the scripted router as the sources, no key store (passwords once per run).
#include "E2eTestCase.h"
#include "RadicaleServer.h"
#include "ScriptedRouter.h"
#include "register/RegisterTestData.h"
#include "router/RouterSettings.h"
#include "support/RegistryStore.h"

#include <QTest>

namespace {

using namespace ProgramNames;

const QByteArray OneEntry =
    RegisterTestData::FirstStart + QByteArrayLiteral("1,\"Berg, Otto\",\"49 30 1234567\",1\r\n");
const QString Dialog = QStringLiteral("Kontakte holen");

QByteArray vcard(const QByteArray& name, const QByteArray& phones) {
    return "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:" + name.toHex() + "\r\nFN:" + name +
           "\r\nN:" + name + ";;;;\r\n" + phones + "END:VCARD\r\n";
}

} // namespace

class TestE2eContacts : public E2eTestCase {
    Q_OBJECT

    Started m_started;

    bool start(const RouterSettings& router = RouterSettings()) {
        if (!newRun(OneEntry))
            return false;
        RegistryStore store(m_run->homePath() + QStringLiteral("/.config"));
        if (!router.save(store))
            return false;
        m_run->setEnvironmentValue(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"),
                                   QStringLiteral("unix:path=/nonexistent"));
        m_started = startToMainWindow();
        return m_started.main != 0;
    }
    // The card's menu by the menu key, then "Kontakte &holen …".
    bool openDialog(const QStringList& keys) {
        for (const QString& key : keys) {
            const qsizetype before = m_windows->find(QString(), m_started.pid).size();
            if (!m_windows->pressKey(m_started.main, key))
                return false;
            if (key == QLatin1String("Menu") &&
                !Poll::until(
                    [&] { return m_windows->find(QString(), m_started.pid).size() > before; },
                    Poll::ChangeLimitMs))
                return false;
        }
        return m_windows->typeKey(QStringLiteral("h")) && waitFor(Dialog) != 0;
    }
    XWindows::Id waitFor(const QString& title) const {
        return m_windows->waitFor(title, MessageBox, m_started.pid, Poll::ChangeLimitMs);
    }
    bool type(const QString& text) const {
        return m_windows->tool(QStringLiteral("xdotool"), {QStringLiteral("type"), text});
    }
    // The import's message, closed; the register as it is then.
    QByteArray reported() {
        const XWindows::Id report = waitFor(Title);
        if (!report || !m_windows->pressKey(report, QStringLiteral("Return")) ||
            !Poll::until([&] { return !m_windows->shows(Title, MessageBox, m_started.pid); },
                         Poll::ChangeLimitMs))
            return QByteArray();
        return m_run->read(Register);
    }

private slots:
    void initTestCase() { QVERIFY(startDesktop()); }
    void cleanup() { endRun(); }

    // The router's one phone book is read at once; its fax and internal numbers stay out.
    void fromRouterPhonebook() {
        ScriptedRouter router;
        QVERIFY(router.makeCertificate() && router.listen());
        router.phonebooks = {ScriptedRouter::defaultPhonebooks().first()};
        RouterSettings settings;
        settings.address = router.address();
        settings.user = router.user;
        settings.certificateSha256 = router.certificateSha256();
        QVERIFY(start(settings));
        QVERIFY(openDialog({QStringLiteral("Tab"), QStringLiteral("Menu")}));
        QVERIFY(m_windows->typeKey(QStringLiteral("Return")));
        const XWindows::Id prompt = waitFor(QStringLiteral("Router"));
        QVERIFY2(prompt, "no password question");
        QVERIFY(m_windows->activate(prompt) && type(router.password) &&
                m_windows->pressKey(prompt, QStringLiteral("Return")));
        const QByteArray saved = reported();
        QVERIFY2(saved.contains("1,\"Anna Muster\",\"49 30 1234567\",1\r\n"), saved.constData());
        QVERIFY(saved.contains("1,\"Max Mobil\",\"49 175 "));
        QCOMPARE(saved.count("\r\n1,"), 3);
        QVERIFY(router.protocolErrors.isEmpty());
    }

    void fromCardDavAddressBook() {
        RadicaleServer server(true);
        QVERIFY2(server.start(), qPrintable(server.log()));
        QVERIFY(server.makeBook(QStringLiteral("kontakte"), QStringLiteral("Kontakte")));
        QVERIFY(server.put(
            QStringLiteral("kontakte"),
            {{QStringLiteral("a"), vcard("Nowak;Łukasz", "TEL;TYPE=CELL:+48 601 234 567\r\n"
                                                         "TEL;TYPE=FAX:+48 22 1234567\r\n")},
             {QStringLiteral("b"), vcard("Berg;Otto", "TEL;TYPE=HOME:030 1234567\r\n")}}));
        QVERIFY(start());
        // The arrow key takes the other source and its address field the keyboard.
        QVERIFY(openDialog({QStringLiteral("Tab"), QStringLiteral("Menu")}));
        QVERIFY(m_windows->typeKey(QStringLiteral("Down")));
        QVERIFY(type(server.address().toString()) && m_windows->typeKey(QStringLiteral("Tab")) &&
                type(server.user) && m_windows->typeKey(QStringLiteral("Tab")) &&
                type(server.password) && m_windows->typeKey(QStringLiteral("Return")));
        const XWindows::Id question = waitFor(QStringLiteral("Zertifikat des Servers"));
        QVERIFY2(question, "no certificate question");
        QVERIFY(m_windows->pressKey(question, QStringLiteral("alt+j")));
        const QByteArray first = reported();
        QVERIFY2(first.contains("1,\"Nowak, Lukasz\",\"48 "), first.constData());
        QCOMPARE(first.count("\r\n1,"), 2);

        // Again: the source, its password and certificate are kept; nothing comes twice.
        QVERIFY(openDialog({QStringLiteral("Menu")}));
        QVERIFY(m_windows->typeKey(QStringLiteral("Return")));
        QCOMPARE(reported(), first);
    }
};

QTEST_GUILESS_MAIN(TestE2eContacts)
#include "test_e2e_contacts.moc"
