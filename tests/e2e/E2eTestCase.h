#pragma once

#include "Poll.h"
#include "ProgramNames.h"
#include "ProgramRun.h"
#include "ScriptedModem.h"
#include "XDesktop.h"
#include "XWindows.h"

#include <QObject>
#include <QTest>
#include <memory>

// What every end-to-end test works with: the private desktop, its windows, and the program
// folder of the test under way, kept for inspection when that test failed.
class E2eTestCase : public QObject {
protected:
    // From initTestCase: false (and the reason as a warning) if the desktop does not come up.
    bool startDesktop(QSize screen = QSize(1280, 1024), bool panelReservesSpace = false) {
        m_run.reset();
        m_windows.reset();
        m_desktop = std::make_unique<XDesktop>(screen, panelReservesSpace);
        if (!m_desktop->start()) {
            qWarning("%s", qPrintable(m_desktop->errorString()));
            return false;
        }
        m_windows = std::make_unique<XWindows>(m_desktop->display());
        return true;
    }
    // A fresh program folder for this test holding this register, with `modem` as COM3 when
    // given. false (and the reason as a warning) if any of it fails.
    bool newRun(const QByteArray& registerBytes, ScriptedModem* modem = nullptr) {
        m_run = std::make_unique<ProgramRun>(*m_desktop);
        if (!m_run->isValid())
            return warn(m_run->errorString());
        if (!m_run->write(ProgramNames::Register, registerBytes))
            return warn(QStringLiteral("cannot write the register"));
        if (modem && (!modem->isValid() ||
                      !modem->linkAt(m_run->filePath(QStringLiteral("dosdevices/com3")))))
            return warn(modem->errorString());
        return true;
    }
    struct Started {
        QProcess* program = nullptr;
        qint64 pid = 0;
        XWindows::Id main = 0;
    };
    // Starts this run's program and waits for its main window; main is 0 (and the reason a
    // warning) when either does not come.
    Started startToMainWindow() {
        Started started;
        started.program = m_run->start();
        if (!started.program) {
            warn(m_run->errorString());
            return started;
        }
        started.pid = started.program->processId();
        started.main = m_windows->waitFor(ProgramNames::Title, ProgramNames::MainWindow,
                                          started.pid, Poll::StartLimitMs);
        if (!started.main)
            warn(QStringLiteral("no main window"));
        return started;
    }
    // From cleanup: ends the test's program run, keeping its folders after a failure.
    void endRun() {
        if (m_run && QTest::currentTestFailed())
            qWarning("%s", qPrintable(m_run->keepForInspection(*m_windows)));
        m_run.reset();
    }

    static bool warn(const QString& why) {
        qWarning("%s", qPrintable(why));
        return false;
    }

    std::unique_ptr<XDesktop> m_desktop;
    std::unique_ptr<XWindows> m_windows;
    std::unique_ptr<ProgramRun> m_run;
};
