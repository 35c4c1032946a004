#pragma once

class QCheckBox;

// The "&Autostart" check box and the desktop's autostart entry.
// Not built yet: the check box keeps its own state and nothing is written.
void InitAutoStartCheck(QCheckBox* checkBox);
void ApplyAutoStartCheck(QCheckBox* checkBox);
