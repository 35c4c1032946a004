#include "support/DesktopEntry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

const QString GroupHeader = QStringLiteral("[Desktop Entry]");
// Characters that make an Exec argument need quotes.
const QString Reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
// Characters that need a backslash inside quotes.
const QString EscapedInQuotes = QStringLiteral("\"`$\\");

QString quoteArgument(const QString& argument) {
    QString text = argument;
    text.replace(QLatin1Char('%'), QStringLiteral("%%"));
    const bool needsQuotes = text.isEmpty() || std::any_of(text.begin(), text.end(), [](QChar c) {
                                 return Reserved.contains(c);
                             });
    if (!needsQuotes)
        return text;
    QString quoted = QStringLiteral("\"");
    for (QChar c : text) {
        if (EscapedInQuotes.contains(c))
            quoted += QLatin1Char('\\');
        quoted += c;
    }
    return quoted + QLatin1Char('"');
}

} // namespace

QStringList DesktopEntry::splitCommandLine(const QString& commandLine) {
    const QStringList words = commandLine.split(QLatin1Char(' '));
    for (qsizetype count = words.size(); count > 0; --count) {
        const QString program = words.mid(0, count).join(QLatin1Char(' '));
        if (QFileInfo(program).isFile())
            return QStringList{program} + words.mid(count);
    }
    return words;
}

QString DesktopEntry::execLine(const QStringList& arguments) {
    QStringList quoted;
    for (const QString& argument : arguments)
        quoted << quoteArgument(argument);
    return quoted.join(QLatin1Char(' '));
}

QStringList DesktopEntry::execArguments(const QString& execLine) {
    QStringList arguments;
    QString current;
    bool inArgument = false;
    bool inQuotes = false;
    for (qsizetype i = 0; i < execLine.size(); ++i) {
        const QChar c = execLine.at(i);
        if (inQuotes) {
            if (c == QLatin1Char('\\') && i + 1 < execLine.size() &&
                EscapedInQuotes.contains(execLine.at(i + 1))) {
                current += execLine.at(++i);
            } else if (c == QLatin1Char('"')) {
                inQuotes = false;
            } else {
                current += c;
            }
        } else if (c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n')) {
            if (inArgument)
                arguments << current;
            current.clear();
            inArgument = false;
        } else {
            inArgument = true;
            if (c == QLatin1Char('"'))
                inQuotes = true;
            else
                current += c;
        }
    }
    if (inArgument)
        arguments << current;
    for (QString& argument : arguments)
        argument.replace(QStringLiteral("%%"), QStringLiteral("%"));
    return arguments;
}

QString DesktopEntry::escapeValue(const QString& value) {
    QString escaped;
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (c == QLatin1Char('\\'))
            escaped += QStringLiteral("\\\\");
        else if (c == QLatin1Char('\n'))
            escaped += QStringLiteral("\\n");
        else if (c == QLatin1Char('\t'))
            escaped += QStringLiteral("\\t");
        else if (c == QLatin1Char('\r'))
            escaped += QStringLiteral("\\r");
        else if (c == QLatin1Char(' ') && i == 0)
            escaped += QStringLiteral("\\s");
        else
            escaped += c;
    }
    return escaped;
}

QString DesktopEntry::unescapeValue(const QString& value) {
    QString plain;
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (c != QLatin1Char('\\') || i + 1 == value.size()) {
            plain += c;
            continue;
        }
        switch (value.at(++i).unicode()) {
        case 's':
            plain += QLatin1Char(' ');
            break;
        case 'n':
            plain += QLatin1Char('\n');
            break;
        case 't':
            plain += QLatin1Char('\t');
            break;
        case 'r':
            plain += QLatin1Char('\r');
            break;
        case '\\':
            plain += QLatin1Char('\\');
            break;
        default: // not an escape of this level: the Exec parser reads it
            plain += c;
            plain += value.at(i);
            break;
        }
    }
    return plain;
}

bool DesktopEntry::write(const QString& filePath, const Fields& fields, QString* error) {
    QDir().mkpath(QFileInfo(filePath).absolutePath());
    QSaveFile file(filePath);
    QString text = GroupHeader + QLatin1Char('\n');
    for (const auto& [key, value] : fields)
        text += key + QLatin1Char('=') + escapeValue(value) + QLatin1Char('\n');
    const QByteArray bytes = text.toUtf8();
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return true;
    if (error)
        *error = file.errorString();
    return false;
}

QString DesktopEntry::readValue(const QString& filePath, const QString& key) {
    QFile file(filePath);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    bool inGroup = false;
    for (const QByteArray& rawLine : file.readAll().split('\n')) {
        const QString line = QString::fromUtf8(rawLine).trimmed();
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (line.startsWith(QLatin1Char('[')))
            inGroup = line == GroupHeader;
        else if (inGroup && equals > 0 && line.first(equals).trimmed() == key)
            return unescapeValue(line.mid(equals + 1).trimmed());
    }
    return QString();
}
