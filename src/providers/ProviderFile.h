#pragma once

#include "providers/ProviderEntry.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// Provider.ini and its backup: line 1 the provider-list switch ("0" or "1"), then one line of
// nine values per row in display order, Windows-1252 with CRLF. Read with the register file's
// field reader, so a row may stand across line breaks and a quoted name may hold a comma; but
// each row starts a line, and blank lines between rows are skipped.
class ProviderFile {
public:
    enum class LoadStatus {
        Missing,    // no file: the list stays empty and off
        Unreadable, // the file exists but cannot be read; error says why
        Loaded,
        LoadedWithProblems // the rows before the first damaged one; problems say what
    };
    struct LoadResult {
        LoadStatus status = LoadStatus::Missing;
        bool listOn = false;
        QList<ProviderEntry> rows; // in the order of the file
        QStringList problems;      // German
        QString preservedCopyPath; // where the untouched original was set aside
        QString error;             // German
    };

    ProviderFile(const QString& filePath, const QString& backupPath);

    QString ProviderFilePath() const { return m_path; }
    QString ProviderBackupPath() const { return m_backupPath; }

    // With problems, the original is first copied aside, untouched.
    LoadResult load() const;
    // Writes the file anew with one backup generation; false + German errorText on failure,
    // nothing changed on disk.
    bool save(const QList<ProviderEntry>& rows, bool listOn, QString* errorText) const;

    // The file's bytes; empty + errorText when a text has no Windows-1252 character.
    static QByteArray serialize(const QList<ProviderEntry>& rows, bool listOn, QString* errorText);
    // Reads the decoded text into result (listOn, rows, problems).
    static void parse(const QString& text, LoadResult& result);

private:
    QString m_path;
    QString m_backupPath;
};
