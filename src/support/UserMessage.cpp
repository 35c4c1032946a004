#include "support/UserMessage.h"

#include "support/MessageText.h"

#include <QMessageBox>

const QString UserMessage::ProgramName = QStringLiteral("Kurbelfon");

namespace {

int show(QWidget* parent, QMessageBox::Icon icon, const QString& title, const QString& text,
         QMessageBox::StandardButtons buttons, QMessageBox::StandardButton defaultButton) {
    QString shown = text;
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    // Names, links and files from outside land in messages: they must not turn into markup.
    QMessageBox box(icon, title, MessageText::FitForMessageBox(shown), buttons, parent);
    box.setTextFormat(Qt::PlainText);
    box.setObjectName(QStringLiteral("UserMessage"));
    // Texts carry names, links and router answers from outside: markup in them stays text.
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(defaultButton);
    box.setWindowModality(Qt::ApplicationModal);
    return box.exec();
}

} // namespace

void UserMessage::information(QWidget* parent, const QString& text) {
    show(parent, QMessageBox::Information, ProgramName, text, QMessageBox::Ok, QMessageBox::Ok);
}

void UserMessage::error(QWidget* parent, const QString& text) {
    show(parent, QMessageBox::Critical, ProgramName, text, QMessageBox::Ok, QMessageBox::Ok);
}

bool UserMessage::askYesNo(QWidget* parent, const QString& title, const QString& text) {
    return show(parent, QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No,
                QMessageBox::No) == QMessageBox::Yes;
}

bool UserMessage::askYesNoDefaultYes(QWidget* parent, const QString& text) {
    return show(parent, QMessageBox::Question, ProgramName, text,
                QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) == QMessageBox::Yes;
}
