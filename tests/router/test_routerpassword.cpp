// The router password in a real Secret Service (a private D-Bus session with gnome-keyring), and
// without any key store. KURBELFON_KEY_STORE says which of the two this run has.
#include "router/RouterPassword.h"

#include <QtTest>

class TestRouterPassword : public QObject {
    Q_OBJECT

    static std::pair<std::optional<QString>, QString> readFrom(RouterPassword& store) {
        std::optional<std::pair<std::optional<QString>, QString>> got;
        store.read([&](const std::optional<QString>& password, const QString& why) {
            got = {password, why};
        });
        [&] { QTRY_VERIFY_WITH_TIMEOUT(got.has_value(), 30000); }();
        return got.value_or(std::pair<std::optional<QString>, QString>());
    }

private slots:
    void storedOrKeptForThisRun() {
        const bool keyStore = qgetenv("KURBELFON_KEY_STORE") == "secret-service";
        // Nothing stored yet: no password, not an empty one to log in with.
        RouterPassword firstRun;
        QCOMPARE(readFrom(firstRun).first, std::nullopt);
        RouterPassword writer;
        std::optional<bool> stored;
        QString why;
        writer.write(QStringLiteral("gehe im"),
                     [&](bool ok, const QString& reason) { stored = ok, why = reason; });
        QTRY_VERIFY_WITH_TIMEOUT(stored.has_value(), 30000);
        QCOMPARE(*stored, keyStore);
        QCOMPARE(why.isEmpty(), keyStore);
        // The writer holds it either way; another run finds it only in the key store.
        QCOMPARE(readFrom(writer).first, std::optional<QString>(QStringLiteral("gehe im")));
        RouterPassword nextRun;
        const auto [password, noKeyStore] = readFrom(nextRun);
        QCOMPARE(password,
                 keyStore ? std::optional<QString>(QStringLiteral("gehe im")) : std::nullopt);
        QCOMPARE(noKeyStore.isEmpty(), keyStore);
        // Refused by the router: asked again, not sent again from the key store.
        nextRun.forgetThisRun();
        QCOMPARE(readFrom(nextRun).first, std::nullopt);
        // An address book's password has a key of its own.
        RouterPassword addressBook(nullptr, QStringLiteral("CardDAV anna https://cloud.example/"));
        QCOMPARE(readFrom(addressBook).first, std::nullopt);
    }
};

QTEST_GUILESS_MAIN(TestRouterPassword)
#include "test_routerpassword.moc"
