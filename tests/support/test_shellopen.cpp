// Opening a page, a document or a mail: when the desktop's opener fails, a message names what
// could not be opened and repeats the opener's complaint.
#include "app/ModalWatcher.h"
#include "support/ShellOpen.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;

class TestShellOpen : public QObject {
    Q_OBJECT

    QTemporaryDir m_bin;

private slots:
    void initTestCase() {
        // An xdg-open that opens only what has "ok" in it.
        QFile opener(m_bin.filePath(u"xdg-open"_s));
        QVERIFY(opener.open(QIODevice::WriteOnly));
        opener.write("#!/bin/sh\ncase \"$1\" in *ok*) exit 0;; esac\n"
                     "echo \"xdg-open: no method available for opening '$1'\" >&2\nexit 3\n");
        opener.close();
        QVERIFY(opener.setPermissions(opener.permissions() | QFileDevice::ExeOwner));
        qputenv("PATH", m_bin.path().toLocal8Bit() + ':' + qgetenv("PATH"));
    }

    void failureIsNamed_data() {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("named"); // empty: no message
        const QString browser =
            u"“ konnte nicht geöffnet werden.\nIst ein Webbrowser eingerichtet?"_s;
        QTest::newRow("web page") << u"https://kurbelfon.example/"_s
                                  << u"„https://kurbelfon.example/"_s + browser;
        QTest::newRow("help document") << u"/usr/share/doc/kurbelfon/hilfe.htm"_s
                                       << u"„/usr/share/doc/kurbelfon/hilfe.htm"_s + browser;
        QTest::newRow("mail") << u"mailto:kurbelfon@kurbelfon.example"_s
                              << u"Die E-Mail an „kurbelfon@kurbelfon.example“ konnte nicht "
                                 "angelegt werden.\nIst ein E-Mail-Programm eingerichtet?"_s;
        QTest::newRow("opened") << u"https://ok.example/"_s << QString();
    }
    void failureIsNamed() {
        QFETCH(QString, target);
        QFETCH(QString, named);
        ModalWatcher modals;
        QWidget window;
        ShellOpen(target, 0, &window);
        if (named.isEmpty()) {
            QTest::qWait(1000); // the opener has long ended by then
            QVERIFY(modals.texts.isEmpty());
            return;
        }
        QTRY_COMPARE(modals.texts.size(), 1);
        QCOMPARE(modals.texts.first(), named + u"\nxdg-open: no method available for opening '"_s +
                                           QUrl::fromUserInput(target).toEncoded() + u"'"_s);
        QCOMPARE(modals.titles, QStringList{u"Kurbelfon"_s});
    }
};

QTEST_MAIN(TestShellOpen)
#include "test_shellopen.moc"
