#pragma once

#include "providers/ProviderFile.h"

#include <QList>
#include <QObject>
#include <optional>

class ProviderTableModel;
class QAbstractItemView;
class QAction;
class QCheckBox;
class QMenu;
class QTreeView;
class QWidget;

// The provider list on the options page: it gives the list view its rows, sorting, context
// menu "Anbieter", double click and deletion, opens the editor, keeps Provider.ini in step
// with every change and with the "&Provider-Liste" check box, and answers which provider a
// call goes through.
class ProviderList : public QObject {
    Q_OBJECT
public:
    // The program-wide flags it reads and sets; they belong to the main window.
    struct SharedFlags {
        const bool* Loading = nullptr;
        bool* ModalDialogOpen = nullptr;
        bool* EditInsertMode = nullptr;
    };

    ProviderList(QCheckBox* telcoListChk, QTreeView* telcoList, const ProviderFile& file,
                 SharedFlags flags, QObject* parent = nullptr);

    ProviderTableModel* model() const { return m_model; }
    QMenu* menu() const { return m_pummain3; }
    QCheckBox* TelcoListChk() const { return m_telcoListChk; }
    QTreeView* TelcoList() const { return m_telcoList; }
    // 1-based row the menu or the double click acts on; 0 = none.
    int SelectedProvider() const { return m_selectedProvider; }
    // 1-based position of the first selected row of the view, or 0.
    static int SelectedProviderIndex(const QAbstractItemView* view);

    // At start, while Loading: reads Provider.ini if there is one and tells what was damaged.
    void LoadProviderFile();
    // Writes the list and the check box; tells the user when that fails.
    bool SaveProviderFile();

    // The network number for a call while the list is switched on (empty when no row fits);
    // nullopt while it is off. weekday: Monday 1 .. Sunday 7.
    std::optional<QString> ProviderFor(int weekday, int hour, int distance) const;
    // The row ProviderFor takes its number from; nullopt while the list is off or none fits.
    std::optional<ProviderEntry> ChosenProvider(int weekday, int hour, int distance) const;

    void ShowProviderMenu(const QPoint& globalPos);
    void pum3_Click(int index);
    void TelcoList_DblClick();
    void TelcoList_ColumnClick(int header);
    void RemoveSelectedProvider();
    void OpenProviderEditor(const QString& name, const QString& networkNumber, int dayCode,
                            int startHour, int endHour, int local, int longDistance, int abroad);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenu();
    void TelcoListChk_Click();
    void showSortIndicator();
    QWidget* dialogParent() const;

    QCheckBox* m_telcoListChk;
    QTreeView* m_telcoList;
    // Kept apart: while the list is being destroyed it is no scroll area to ask any more.
    QWidget* m_viewport;
    bool m_columnsFitted = false;
    ProviderFile m_file;
    SharedFlags m_flags;
    ProviderTableModel* m_model;
    QMenu* m_pummain3 = nullptr;
    QList<QAction*> m_pum3; // pum3(1)..pum3(5), index 0 unused
    int m_selectedProvider = 0;
    // Set when Provider.ini was there but could not be read: the message that saving is off.
    QString m_unreadableError;
};
