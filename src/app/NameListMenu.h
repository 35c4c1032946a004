#pragma once

#include <QList>
#include <QObject>

class QAction;
class QMenu;
class QPoint;
class QWidget;

// The name list's context menu "Namensliste": "&Einfügen", "&Ändern", "&Löschen", a line and
// "&Abbrechen", the last one its default; then a line, "Kontakte &holen …" and "Karte als &vCard
// speichern …".
class NameListMenu : public QObject {
    Q_OBJECT
public:
    enum Item {
        Insert = 1,
        Change = 2,
        Delete = 3,
        Cancel = 5,
        FetchContacts = 6,
        SaveAsVCard = 7
    };

    explicit NameListMenu(QWidget* parent);

    // Shows the menu at globalPos until an item is chosen or it is closed; "&Ändern" and
    // "&Löschen" only with an entry selected. The chosen item, 0 for none.
    int choose(const QPoint& globalPos, bool entrySelected);
    QMenu* menu() const { return m_pummain; }

private:
    QMenu* m_pummain = nullptr;
    QList<QAction*> m_pum; // pum(1)..pum(5), index 0 unused
};
