#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Writes a data file with one backup generation so that at every instant a complete file
// stands at `path`: the new content is written and synced beside it first, then the current
// file becomes the backup and the new one takes its place. On failure the previous file and
// its backup stay as they were and `errorText` says in German which file and why. Content equal
// to the file's present bytes leaves both files untouched.
class FileSaver {
public:
    static bool saveWithBackup(const QString& path, const QString& backupPath,
                               const QByteArray& content, QString* errorText);
    // Plain copy for the files the program sets aside (a restored backup, a damaged original).
    // Never replaces an existing file at `to`.
    static bool copyFile(const QString& from, const QString& to, QString* errorText);
    // Removes the hidden files that a save or copy killed half-way left beside the data file
    // at `path` (and beside the copies set aside under its name). Only safe while no other
    // program can be saving there.
    static void removeLeftovers(const QString& path);
    // Copies a damaged original, untouched, to "<stem>-defekt-<date>-<time>.<suffix>" beside it
    // before the next save rewrites it from what could be read. The copy's path, or empty with
    // the reason added to the load's problems.
    static QString keepDamagedCopy(const QString& path, QStringList* problems);
    // "<stem>-defekt-<date>-<time>.<suffix>" beside the file, a name no file has yet.
    static QString damagedCopyPath(const QString& path);
    // The whole file; false + German errorText when it cannot be read.
    static bool readFile(const QString& path, QByteArray* content, QString* errorText);
};
