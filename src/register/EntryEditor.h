#pragma once

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
    explicit EntryEditor(QWidget* parent = nullptr);

    void setEntry(const QString& name, const QString& number, int zeroFlag);
    QString name() const;
    QString number() const;
    int zeroFlag() const;

private:
    void Command1_Click(int index);

    QLineEdit* m_name = nullptr;
    QLineEdit* m_number = nullptr;
    QLabel* m_numberHint = nullptr;
    QCheckBox* m_zeroChk = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};
