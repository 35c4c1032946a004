#include "dialing/DialingDialog.h"

#include "dialing/ModemMessages.h"
#include "support/HeldKeys.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

DialingDialog::DialingDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Form4"));
    setWindowTitle(ModemMessages::DialingCaption);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    // Modal to the main window only: the tray icon must still get its clicks to refuse them.
    setWindowModality(Qt::WindowModal);

    auto* runs = new QLabel(ModemMessages::DialingRuns, this);
    runs->setObjectName(QStringLiteral("Label1_3"));
    m_name = new QLabel(this);
    m_name->setObjectName(QStringLiteral("Label1_0"));
    m_number = new QLabel(this);
    m_number->setObjectName(QStringLiteral("Label1_1"));
    QFont bold = m_name->font();
    bold.setBold(true);
    m_name->setFont(bold);
    m_number->setFont(bold);
    for (QLabel* label : {runs, m_name, m_number}) {
        label->setAlignment(Qt::AlignCenter);
        label->setTextFormat(Qt::PlainText);
    }
    auto* abort = new QPushButton(ModemMessages::AbortButton, this);
    abort->setObjectName(QStringLiteral("Command1"));
    connect(abort, &QPushButton::clicked, this, &DialingDialog::Command1_Click);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(runs);
    layout->addWidget(m_name);
    layout->addWidget(m_number);
    layout->addWidget(abort, 0, Qt::AlignCenter);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    // The fixed size follows the labels: this one keeps the frame wide enough for the caption.
    runs->setMinimumWidth(MinimumTextWidth);
    abort->installEventFilter(this);
    installEventFilter(this);
}

bool DialingDialog::eventFilter(QObject* watched, QEvent* event) {
    // A key held on the list dials and keeps repeating into this dialog: only a fresh press
    // may abort.
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
        if (HeldKeys::instance()->isRepeat(static_cast<QKeyEvent*>(event)))
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

void DialingDialog::setEntry(const QString& name, const QString& displayNumber) {
    m_name->setText(name);
    m_number->setText(displayNumber);
}

void DialingDialog::reject() {
    Command1_Click();
}

void DialingDialog::Command1_Click() {
    emit abortRequested();
    QDialog::reject();
}
