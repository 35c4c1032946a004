#pragma once

#include <QString>

#include <functional>

// Where this start keeps its data files (Telefonregister.ini, Provider.ini, their backups and
// damaged copies, the save's temp files, dosdevices/): beside the program while the user may
// write there, as always; otherwise, for a program installed for everyone, in the user's own
// $XDG_DATA_HOME/Kurbelfon/.
namespace DataFolder {

using WritableProbe = std::function<bool(const QString& folder)>;

// True when this user may create files in the folder (a read-only mount counts as not).
bool IsWritable(const QString& folder);

// The folder with a trailing separator. xdgDataHome: the variable's value, empty when unset;
// a relative value is ignored as the XDG rules ask.
QString Choose(const QString& programFolder, const QString& xdgDataHome, const QString& home,
               const WritableProbe& writable = IsWritable);

// A phone book prepared beside a read-only program becomes each user's own starting point: a
// file the user has neither in the data folder nor as its backup is copied from there. The
// prepared file itself is never written. False if a copy failed (the start goes on as a first
// start then).
bool AdoptPreparedFiles(const QString& programFolder, const QString& dataFolder);

// The choice for this start from the real environment; creates the user's folder when needed.
QString ForThisStart();

} // namespace DataFolder
