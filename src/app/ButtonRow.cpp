#include "app/ButtonRow.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <array>

ButtonRow::ButtonRow(QWidget* parent)
    : QWidget(parent), m_autoStart(new QCheckBox(QStringLiteral("&Autostart"), this)) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_autoStart->setObjectName(QStringLiteral("AutoStartCHK"));
    layout->addWidget(m_autoStart);
    layout->addStretch();
    const std::array<std::pair<int, QString>, 4> buttons{{{1, QStringLiteral("&Ausblenden")},
                                                          {20, QStringLiteral("&Info")},
                                                          {21, QStringLiteral("&Hilfe")},
                                                          {22, QStringLiteral("&Ende")}}};
    for (const auto& [index, caption] : buttons) {
        auto* button = new QPushButton(caption, this);
        button->setObjectName(QStringLiteral("Btn%1").arg(index));
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, [this, index] { emit clicked(index); });
        layout->addWidget(button);
    }
}
