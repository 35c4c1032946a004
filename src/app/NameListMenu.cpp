#include "app/NameListMenu.h"

#include <QAction>
#include <QMenu>
#include <QStringList>
#include <QWidget>

NameListMenu::NameListMenu(QWidget* parent)
    : QObject(parent), m_pummain(new QMenu(QStringLiteral("Namensliste"), parent)) {
    m_pummain->setObjectName(QStringLiteral("pummain"));
    const QStringList captions{QStringLiteral("&Einfügen"), QStringLiteral("&Ändern"),
                               QStringLiteral("&Löschen"), QStringLiteral("-"),
                               QStringLiteral("&Abbrechen")};
    for (int index = 1; index <= 5; ++index) {
        QAction* action =
            index == 4 ? m_pummain->addSeparator() : m_pummain->addAction(captions[index - 1]);
        action->setObjectName(QStringLiteral("pum%1").arg(index));
        action->setData(index);
        m_pum[index] = action;
    }
    m_pummain->setDefaultAction(m_pum[Cancel]);
}

int NameListMenu::choose(const QPoint& globalPos, bool entrySelected) {
    m_pum[Change]->setEnabled(entrySelected);
    m_pum[Delete]->setEnabled(entrySelected);
    const QAction* chosen = m_pummain->exec(globalPos);
    return chosen ? chosen->data().toInt() : 0;
}
