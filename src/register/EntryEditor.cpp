#include "register/EntryEditor.h"

#include "contacts/PhoneNumbers.h"
#include "dialing/DialComposition.h"

#include "register/EntryLine.h"
#include "register/RegisterMessages.h"
#include "support/Cp1252.h"
#include "support/EditorKeys.h"
#include "support/UserMessage.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
const QString UnstorableCharacter =
    QStringLiteral("Die Eingabe „%1“ enthält Zeichen, die das Telefonregister nicht speichern "
                   "kann.\rBitte ändern Sie die Eingabe.");
const QString CharactersNotDialedHint =
    QStringLiteral("Die Nummer enthält Zeichen, die nicht gewählt werden: „%1“");
const QString StoredAsHint = QStringLiteral("Gespeichert wird die internationale Form „%1“.");
} // namespace

EntryEditor::EntryEditor(const DialSettings& settings, QWidget* parent)
    : QDialog(parent), m_settings(settings) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Telefonbuch"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    // Modal to the main window only: the tray icon must still get its clicks to refuse them.
    setWindowModality(Qt::WindowModal);

    auto* frame = new QGroupBox(QStringLiteral("Eintrag aufnehmen/bearbeiten"), this);
    frame->setObjectName(QStringLiteral("Frame1"));
    m_name = new QLineEdit(frame);
    m_name->setObjectName(QStringLiteral("Text1_0"));
    m_number = new QLineEdit(frame);
    m_number->setObjectName(QStringLiteral("Text1_1"));
    // The user should know what the register will hold and what the modem will not get of it.
    m_numberHint = new QLabel(frame);
    m_numberHint->setObjectName(QStringLiteral("NumberHint"));
    m_numberHint->setTextFormat(Qt::PlainText);
    m_numberHint->hide();
    connect(m_number, &QLineEdit::textChanged, this, &EntryEditor::showNumberHint);
    m_zeroChk = new QCheckBox(
        QStringLiteral("Bei Anruf im gleichen Land der Vorwahlnummer eine Null voranstellen"),
        frame);
    m_zeroChk->setObjectName(QStringLiteral("ZeroChk"));

    auto* frameLayout = new QVBoxLayout(frame);
    frameLayout->addWidget(new QLabel(QStringLiteral("Name des Teilnehmers (Nachname zuerst):")));
    frameLayout->addWidget(m_name);
    frameLayout->addWidget(
        new QLabel(QStringLiteral("Internationale Telefonnummer des Teilnehmers:")));
    frameLayout->addWidget(m_number);
    frameLayout->addWidget(m_numberHint);
    frameLayout->addWidget(m_zeroChk);

    QHBoxLayout* buttons = EditorKeys::makeButtonRow(this, &m_ok, &m_cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(frame);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    setTabOrder(m_name, m_number);
    setTabOrder(m_number, m_zeroChk);
    setTabOrder(m_zeroChk, m_ok);
    setTabOrder(m_ok, m_cancel);

    new EditorKeys(this, {m_name, m_number}, m_ok, m_cancel);
    connect(m_ok, &QPushButton::clicked, this, [this] { Command1_Click(0); });
    connect(m_cancel, &QPushButton::clicked, this, [this] { Command1_Click(1); });
    m_name->setFocus();
}

void EntryEditor::setEntry(const QString& name, const QString& number, int zeroFlag) {
    m_name->setText(name);
    m_number->setText(number);
    m_zeroChk->setChecked(zeroFlag != 0);
    m_name->setFocus();
}

QString EntryEditor::name() const {
    return m_name->text();
}
QString EntryEditor::number() const {
    return PhoneNumbers::EntryNumber(m_number->text(), m_settings);
}

void EntryEditor::showNumberHint() {
    const QString stored = number();
    QStringList notes;
    if (stored != m_number->text())
        notes << StoredAsHint.arg(stored);
    if (const QString notDialed = CharactersNotDialed(stored); !notDialed.isEmpty())
        notes << CharactersNotDialedHint.arg(notDialed);
    m_numberHint->setText(notes.join(u'\n'));
    m_numberHint->setVisible(!notes.isEmpty());
}
int EntryEditor::zeroFlag() const {
    return m_zeroChk->isChecked() ? 1 : 0;
}

void EntryEditor::Command1_Click(int index) {
    if (index != 0) {
        reject();
        return;
    }
    for (QLineEdit* field : {m_name, m_number}) {
        if (!Cp1252::canEncode(field->text())) {
            UserMessage::error(this, UnstorableCharacter.arg(field->text()));
            field->setFocus();
            return;
        }
    }
    if (HoldsEntryPadding(m_name->text().trimmed())) {
        UserMessage::error(this, RegisterMessages::NameWithPadding);
        m_name->setFocus();
        return;
    }
    accept();
}
