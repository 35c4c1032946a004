#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

class PhoneRegister;

// Telefonregister.ini and its backup in the program folder: the format, reading and saving.
class RegisterFile {
public:
    static const QString Header; // "[KURBELFON VERSION 4]"

    enum class LoadStatus {
        Missing,           // no register and no backup: a first start
        MissingWithBackup, // no register but Telefonregister.bak: ask before a first start
        Incompatible,      // the header does not fit (or the file cannot be opened)
        Loaded,
        LoadedWithProblems // loaded what was sound; problems name the rest
    };
    struct LoadResult {
        LoadStatus status = LoadStatus::Missing;
        QStringList problems;      // German, one per skipped or replaced piece
        QString preservedCopyPath; // where the untouched original was set aside
        QString error;             // German, when the file exists but cannot be read
    };

    // folder: the program folder with a trailing separator.
    explicit RegisterFile(const QString& folder);

    QString RegisterFilePath() const;   // .../Telefonregister.ini
    QString RegisterBackupPath() const; // .../Telefonregister.bak
    QString ProviderFilePath() const;   // .../Provider.ini
    QString ProviderBackupPath() const; // .../Provider.bak
    QString folder() const { return m_folder; }

    // Reads the register into reg (which the caller has reset to defaults). With problems,
    // the original file is first copied aside, untouched, and preservedCopyPath names it.
    LoadResult load(PhoneRegister& reg) const;

    // Applies ReplaceQuotes to the four quoted settings in reg (as the file holds them),
    // then writes the whole file with one backup generation. false + German errorText on
    // failure, nothing changed on disk.
    bool save(PhoneRegister& reg, QString* errorText) const;

    // Telefonregister.bak copied to Telefonregister.ini, the backup kept.
    bool restoreBackup(QString* errorText) const;

    // The bytes of the file for reg (Windows-1252, CRLF). Empty + errorText when a text has
    // a character Windows-1252 cannot hold.
    static QByteArray serialize(const PhoneRegister& reg, QString* errorText);
    // The whole file's bytes into reg: Incompatible, Loaded or LoadedWithProblems.
    static LoadStatus readBytes(const QByteArray& bytes, PhoneRegister& reg, QStringList* problems);
    // Reads everything after the header line into reg; returns the problems found.
    static QStringList ReadRegisterFile(const QString& afterHeader, int firstLine,
                                        PhoneRegister& reg);

private:
    QString m_folder;
};
