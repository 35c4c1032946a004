#pragma once

#include "register/DialSettings.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

// "Telefonbuch": adds or changes one phone book entry. It only edits the fields; what "&OK"
// does to the card is up to the caller, who reads the fields after exec() returned Accepted.
class EntryEditor : public QDialog {
    Q_OBJECT
public:
    // settings: the own country and international prefix, to read a number typed as one dials it.
    explicit EntryEditor(const DialSettings& settings = {}, QWidget* parent = nullptr);

    void setEntry(const QString& name, const QString& number, int zeroFlag);
    QString name() const;
    // The number as it is stored: in international form when it was typed the way one dials.
    QString number() const;
    int zeroFlag() const;

private:
    void Command1_Click(int index);
    void showNumberHint();

    DialSettings m_settings;
    QLineEdit* m_name = nullptr;
    QLineEdit* m_number = nullptr;
    QLabel* m_numberHint = nullptr;
    QCheckBox* m_zeroChk = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};
