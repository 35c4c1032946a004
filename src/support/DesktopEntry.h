#pragma once

#include <QString>
#include <QStringList>

// Files of the freedesktop.org Desktop Entry format as far as autostart entries need them: the
// Exec line with its quoting rules, and the keys of the "[Desktop Entry]" group.
class DesktopEntry {
public:
    using Fields = QList<std::pair<QString, QString>>;

    // A command line in the unquoted form the autostart value holds ("/a b/prog /AUTOSTART"):
    // its longest leading run of blank-separated words that names an existing file is the
    // program, every further word one argument. Without such a file every word is an argument.
    static QStringList splitCommandLine(const QString& commandLine);
    // The Exec value that starts exactly these arguments: each quoted where it holds a reserved
    // character, "%" doubled. Still to be escaped as a value (escapeValue).
    static QString execLine(const QStringList& arguments);
    // The arguments of an Exec value that unescapeValue has already been applied to.
    static QStringList execArguments(const QString& execLine);

    // The escapes of a string value: "\\", "\n", "\t", "\r" and a leading "\s".
    static QString escapeValue(const QString& value);
    static QString unescapeValue(const QString& value);

    // Writes "[Desktop Entry]" and the fields (values escaped) in UTF-8, replacing the file whole.
    static bool write(const QString& filePath, const Fields& fields, QString* error = nullptr);
    // The unescaped value of a key of the "[Desktop Entry]" group; empty if there is none.
    static QString readValue(const QString& filePath, const QString& key);
};
