#include "app/NameListMenu.h"

#include "support/NumberedMenu.h"

#include <QAction>
#include <QMenu>
#include <QWidget>

NameListMenu::NameListMenu(QWidget* parent)
    : QObject(parent), m_pummain(new QMenu(QStringLiteral("Namensliste"), parent)) {
    m_pummain->setObjectName(QStringLiteral("pummain"));
    m_pum = AddListEditItems(m_pummain, QStringLiteral("pum"));
    m_pummain->addSeparator();
    QAction* fetch = m_pummain->addAction(QStringLiteral("Kontakte &holen …"));
    fetch->setObjectName(QStringLiteral("pumFetchContacts"));
    fetch->setData(int(FetchContacts));
    QAction* save = m_pummain->addAction(QStringLiteral("Karte als &vCard speichern …"));
    save->setObjectName(QStringLiteral("pumSaveAsVCard"));
    save->setData(int(SaveAsVCard));
}

int NameListMenu::choose(const QPoint& globalPos, bool entrySelected) {
    m_pum[Change]->setEnabled(entrySelected);
    m_pum[Delete]->setEnabled(entrySelected);
    const QAction* chosen = m_pummain->exec(globalPos);
    return chosen ? chosen->data().toInt() : 0;
}
