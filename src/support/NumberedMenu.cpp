#include "support/NumberedMenu.h"

#include <QAction>
#include <QMenu>

QList<QAction*> AddNumberedItems(QMenu* menu, const QStringList& captions,
                                 const QString& namePrefix) {
    QList<QAction*> items{nullptr};
    for (const QString& caption : captions) {
        const int number = int(items.size());
        QAction* action =
            caption == QStringLiteral("-") ? menu->addSeparator() : menu->addAction(caption);
        action->setObjectName(namePrefix + QString::number(number));
        action->setData(number);
        items.append(action);
    }
    menu->setDefaultAction(items.last());
    return items;
}

QList<QAction*> AddListEditItems(QMenu* menu, const QString& namePrefix) {
    return AddNumberedItems(menu,
                            {QStringLiteral("&Einfügen"), QStringLiteral("&Ändern"),
                             QStringLiteral("&Löschen"), QStringLiteral("-"),
                             QStringLiteral("&Abbrechen")},
                            namePrefix);
}
