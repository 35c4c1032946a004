#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// "Anwahl": shown while the modem dials; names whom it calls and offers "&Abbruch".
class DialingDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int MinimumTextWidth = 240;

    explicit DialingDialog(QWidget* parent = nullptr);

    void setEntry(const QString& name, const QString& displayNumber);

signals:
    void abortRequested();

public slots:
    // Escape and the close box abort as "&Abbruch" does: the modem must not dial on unseen.
    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Command1_Click();

    QLabel* m_name = nullptr;
    QLabel* m_number = nullptr;
};
