#pragma once

#include "register/RegisterFile.h"

class QWidget;

// What the user is asked and told while the register is loaded at start.
namespace RegisterLoadDialogs {

// The register is missing but its backup is there: restore it? true once it is restored.
// Otherwise the backup is first kept under a name of its own.
bool offerBackupRestore(QWidget* parent, const RegisterFile& file);
// One message naming what could not be read and where the original was kept.
void reportLoadProblems(QWidget* parent, const RegisterFile::LoadResult& result);

} // namespace RegisterLoadDialogs
