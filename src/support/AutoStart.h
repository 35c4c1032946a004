#pragma once

class QCheckBox;

// The "&Autostart" check box and the desktop's autostart entry. Until InitAutoStartCheck has set
// the box from the entry its tag is empty and its changes touch nothing; after it, every change
// of the box writes or removes the entry at once.
void InitAutoStartCheck(QCheckBox* checkBox);
void ApplyAutoStartCheck(QCheckBox* checkBox);
