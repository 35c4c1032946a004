#include "DtmfDecoders.h"

#include "Poll.h"
#include "SoundServer.h"

#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>

namespace {

QString run(const QString& program, const QStringList& arguments, QByteArray* output) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(Poll::ChangeLimitMs)) {
        process.kill();
        process.waitForFinished();
        return QStringLiteral("!%1 did not finish: %2").arg(program, process.errorString());
    }
    *output = process.readAll();
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return QStringLiteral("!%1 failed: %2").arg(program, QString::fromLocal8Bit(*output));
    return QString();
}

} // namespace

namespace DtmfDecoders {

QString multimon(const QString& rawPath) {
    QByteArray output;
    // multimon-ng reads raw input at 22050 Hz, the recording's rate.
    const QString error = run(QStringLiteral("multimon-ng"),
                              {QStringLiteral("-q"), QStringLiteral("-t"), QStringLiteral("raw"),
                               QStringLiteral("-a"), QStringLiteral("DTMF"), rawPath},
                              &output);
    if (!error.isEmpty())
        return error;
    QString keys;
    static const QRegularExpression line(QStringLiteral("^DTMF: (\\S)$"),
                                         QRegularExpression::MultilineOption);
    for (const QRegularExpressionMatch& match : line.globalMatch(QString::fromLatin1(output)))
        keys += match.captured(1);
    return keys;
}

QString dtmf2num(const QString& rawPath) {
    const QString wave = rawPath + QStringLiteral(".wav");
    QByteArray output;
    QString error = run(QStringLiteral("sox"),
                        {QStringLiteral("-t"), QStringLiteral("raw"), QStringLiteral("-r"),
                         QString::number(SoundServer::RecordRate), QStringLiteral("-e"),
                         QStringLiteral("signed"), QStringLiteral("-b"), QStringLiteral("16"),
                         QStringLiteral("-c"), QStringLiteral("1"), rawPath, wave},
                        &output);
    if (!error.isEmpty())
        return error;
    error = run(QStringLiteral("dtmf2num"), {QStringLiteral("-o"), wave}, &output);
    if (!error.isEmpty())
        return error;
    // "- DTMF numbers:  0123#*" (nothing after the colon when it heard none)
    static const QRegularExpression line(QStringLiteral("DTMF numbers:[ \\t]*([0-9A-D*#]*)"));
    const QRegularExpressionMatch match = line.match(QString::fromLatin1(output));
    if (!match.hasMatch())
        return QStringLiteral("!dtmf2num said: %1").arg(QString::fromLatin1(output));
    return match.captured(1);
}

} // namespace DtmfDecoders
