#pragma once

class QCoreApplication;

// Qt's own German texts, so standard buttons read "Ja", "Nein", "Abbrechen".
void installGermanTranslation(QCoreApplication& app);
