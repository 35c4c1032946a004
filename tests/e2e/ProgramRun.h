#pragma once

#include <QByteArray>
#include <QList>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

#include <memory>

class XDesktop;
class XWindows;

// One fresh installation of the built program: a temporary program folder holding a copy of the
// executable, and a home, runtime and temp folder of its own, so that the single-instance guard
// of one test never meets another's. Every copy started from it shares that user environment, as
// a second start by the same user would. Copies still running at the end are killed.
class ProgramRun {
public:
    explicit ProgramRun(const XDesktop& desktop);
    ~ProgramRun();
    ProgramRun(const ProgramRun&) = delete;
    ProgramRun& operator=(const ProgramRun&) = delete;

    bool isValid() const { return m_error.isEmpty(); }
    QString errorString() const { return m_error; }

    QString folder() const;
    // The home folder every copy of the program gets.
    QString homePath() const;
    QString filePath(const QString& name) const;
    bool exists(const QString& name) const;
    QByteArray read(const QString& name) const;
    bool write(const QString& name, const QByteArray& bytes) const;
    // Until the file exists and its bytes differ from `before`.
    bool waitForChange(const QString& name, const QByteArray& before, int timeoutMs) const;

    // For the copies started from now on.
    void setEnvironmentValue(const QString& name, const QString& value);
    // Starts one more copy of the program, or another program in its environment; nullptr if it
    // cannot run at all.
    QProcess* start(const QStringList& arguments = {}, const QString& program = QString());
    static bool waitForEnd(QProcess* process, int timeoutMs);
    static bool isRunning(QProcess* process);
    static bool sendSignal(QProcess* process, int signal);

    // After a failure: keeps the folders, saves a screenshot beside them and returns where to look
    // together with what the copies printed.
    QString keepForInspection(const XWindows& windows);

private:
    QString m_error;
    QTemporaryDir m_root;
    QProcessEnvironment m_environment;
    QList<std::shared_ptr<QProcess>> m_processes;
};
