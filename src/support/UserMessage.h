#pragma once

#include <QString>

class QWidget;

// The program's message boxes: titled "Kurbelfon" unless told otherwise, modal, German
// buttons. A "\r" in a text is a line break.
class UserMessage {
public:
    static const QString ProgramName;

    static void information(QWidget* parent, const QString& text);
    static void error(QWidget* parent, const QString& text);
    // Ja/Nein with "Nein" as the default; true for "Ja".
    static bool askYesNo(QWidget* parent, const QString& title, const QString& text);
    // Ja/Nein with "Ja" as the default; true for "Ja".
    static bool askYesNoDefaultYes(QWidget* parent, const QString& text);
};
