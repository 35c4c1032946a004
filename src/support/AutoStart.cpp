#include "support/AutoStart.h"

void InitAutoStartCheck(QCheckBox*) {}

void ApplyAutoStartCheck(QCheckBox*) {}
