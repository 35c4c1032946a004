#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class QAction;
class QMenu;

// The program's context menus: item i (from 1) is named namePrefix + i and holds i as its data,
// a caption "-" is a separator line, and the last item is the default (Escape's "&Abbrechen").
// Returns the items by number; index 0 is unused.
QList<QAction*> AddNumberedItems(QMenu* menu, const QStringList& captions,
                                 const QString& namePrefix);
// The numbered items of a list's context menu: "&Einfügen", "&Ändern", "&Löschen", a line and
// "&Abbrechen".
QList<QAction*> AddListEditItems(QMenu* menu, const QString& namePrefix);
