#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

#include <memory>

// A private PulseAudio server with one null sink "dtmf" and no real device, and a recorder of
// what is played into it. Everything it started is stopped when it is destroyed.
class SoundServer {
public:
    static constexpr int RecordRate = 22050;

    SoundServer();
    ~SoundServer();
    SoundServer(const SoundServer&) = delete;
    SoundServer& operator=(const SoundServer&) = delete;

    // Starts the server and waits until it answers. false with errorString() otherwise.
    bool start();
    QString errorString() const { return m_error; }
    // For PULSE_SERVER: where a client reaches this server.
    QString address() const;

    // Records the sink's monitor as raw 16-bit mono at RecordRate into rawPath; returns once the
    // recorder is attached.
    bool startRecording(const QString& rawPath);
    bool stopRecording();

    // Runs a PulseAudio tool against this server; true if it ends with exit code 0.
    bool tool(const QString& program, const QStringList& arguments,
              QByteArray* output = nullptr) const;

private:
    bool fail(const QString& error);
    QProcessEnvironment environment() const;

    QTemporaryDir m_home;
    QString m_error;
    std::unique_ptr<QProcess> m_server;
    std::unique_ptr<QProcess> m_recorder;
};
