#include "app/RouterCallDialog.h"

#include "router/RouterMessages.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

const QString RouterCallDialog::Title = QStringLiteral("Anruf über den Router");

RouterCallDialog::RouterCallDialog(QWidget* parent)
    : QDialog(parent), m_name(new QLabel(this)), m_status(new QLabel(this)),
      m_hangUp(new QPushButton(QStringLiteral("&Auflegen"), this)) {
    setObjectName(QStringLiteral("RouterCallDialog"));
    setWindowTitle(Title);
    setAttribute(Qt::WA_DeleteOnClose);
    m_name->setObjectName(QStringLiteral("RouterCallName"));
    m_name->setTextFormat(Qt::PlainText);
    QFont bold = m_name->font();
    bold.setBold(true);
    m_name->setFont(bold);
    m_status->setObjectName(QStringLiteral("RouterCallStatus"));
    m_status->setTextFormat(Qt::PlainText);
    m_status->setWordWrap(true);
    m_status->setMinimumWidth(360);
    m_hangUp->setObjectName(QStringLiteral("RouterHangUpButton"));
    auto* close = new QPushButton(QStringLiteral("&Schließen"), this);
    close->setObjectName(QStringLiteral("RouterCloseButton"));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_hangUp);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_name);
    layout->addWidget(m_status);
    layout->addLayout(buttons);
    connect(m_hangUp, &QPushButton::clicked, this, &RouterCallDialog::hangUpRequested);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    showStatus(RouterMessages::Connecting, false);
}

void RouterCallDialog::setEntry(const QString& name, const QString& digits) {
    m_name->setText(name.isEmpty() ? digits : name + QStringLiteral(" – ") + digits);
}

void RouterCallDialog::showStatus(const QString& text, bool hangUpPossible) {
    QString shown = text;
    m_status->setText(shown.replace(QLatin1Char('\r'), QLatin1Char('\n')));
    m_hangUp->setEnabled(hangUpPossible);
    (hangUpPossible ? static_cast<QWidget*>(m_hangUp)
                    : findChild<QPushButton*>(QStringLiteral("RouterCloseButton")))
        ->setFocus();
}
