#include "providers/ProviderList.h"

#include "providers/BestProvider.h"
#include "providers/ProviderEditor.h"
#include "providers/ProviderMessages.h"
#include "providers/ProviderTableModel.h"
#include "support/NumberedMenu.h"
#include "support/UserMessage.h"

#include <QCheckBox>
#include <QContextMenuEvent>
#include <QFileInfo>
#include <QHeaderView>
#include <QMenu>
#include <QMouseEvent>
#include <QTreeView>

ProviderList::ProviderList(QCheckBox* telcoListChk, QTreeView* telcoList, const ProviderFile& file,
                           SharedFlags flags, QObject* parent)
    : QObject(parent), m_telcoListChk(telcoListChk), m_telcoList(telcoList), m_file(file),
      m_flags(flags), m_model(new ProviderTableModel(this)) {
    m_telcoList->setModel(m_model);
    m_telcoList->setToolTip(ProviderMessages::ToolTip);
    m_telcoList->setRootIsDecorated(false);
    m_telcoList->setItemsExpandable(false);
    m_telcoList->setUniformRowHeights(true);
    m_telcoList->setAllColumnsShowFocus(true);
    m_telcoList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_telcoList->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_telcoList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_telcoList->setSortingEnabled(false); // the model keeps the order by its own rules
    QHeaderView* header = m_telcoList->header();
    header->setSectionsClickable(true);
    header->setSortIndicatorShown(true);
    header->setStretchLastSection(false);
    showSortIndicator();

    connect(header, &QHeaderView::sectionClicked, this,
            [this](int section) { TelcoList_ColumnClick(section + 1); });
    connect(m_model, &ProviderTableModel::sortChanged, this, &ProviderList::showSortIndicator);
    connect(m_telcoListChk, &QCheckBox::toggled, this, &ProviderList::TelcoListChk_Click);
    m_telcoList->installEventFilter(this);
    m_viewport = m_telcoList->viewport();
    m_viewport->installEventFilter(this);
    buildMenu();
}

void ProviderList::buildMenu() {
    m_pummain3 = new QMenu(ProviderMessages::MenuTitle, m_telcoList);
    m_pummain3->setObjectName(QStringLiteral("pummain3"));
    m_pum3 = AddListEditItems(m_pummain3, QStringLiteral("pum3_"));
}

int ProviderList::SelectedProviderIndex(const QAbstractItemView* view) {
    const QItemSelectionModel* selection = view->selectionModel();
    if (!selection)
        return 0;
    const int rows = view->model()->rowCount();
    for (int row = 0; row < rows; ++row) {
        if (selection->isRowSelected(row, QModelIndex()))
            return row + 1;
    }
    return 0;
}

QWidget* ProviderList::dialogParent() const {
    return m_telcoList->window();
}

void ProviderList::LoadProviderFile() {
    const ProviderFile::LoadResult result = m_file.load();
    switch (result.status) {
    case ProviderFile::LoadStatus::Missing:
        return;
    case ProviderFile::LoadStatus::Unreadable:
        m_unreadableError = ProviderMessages::NotSavedWhileUnreadable.arg(result.error);
        UserMessage::error(dialogParent(), m_unreadableError);
        return;
    case ProviderFile::LoadStatus::Loaded:
    case ProviderFile::LoadStatus::LoadedWithProblems:
        break;
    }
    m_model->setRows(result.rows);
    m_telcoListChk->setChecked(result.listOn);
    if (result.status == ProviderFile::LoadStatus::LoadedWithProblems) {
        QString text = ProviderMessages::LoadProblems.arg(result.problems.join(u'\r'));
        if (!result.preservedCopyPath.isEmpty())
            text += ProviderMessages::OriginalKept.arg(result.preservedCopyPath);
        UserMessage::information(dialogParent(), text);
    }
}

bool ProviderList::SaveProviderFile() {
    // The list in the window lacks the rows of the file it could not read: saving would replace
    // the file, and the save after that its backup too.
    if (!m_unreadableError.isEmpty()) {
        if (QFileInfo::exists(m_file.ProviderFilePath())) {
            UserMessage::error(dialogParent(), m_unreadableError);
            return false;
        }
        m_unreadableError.clear();
    }
    QString error;
    if (m_file.save(m_model->rows(), m_telcoListChk->isChecked(), &error))
        return true;
    // The list in the window stays as it is; the next change tries again.
    UserMessage::error(dialogParent(), error);
    return false;
}

void ProviderList::TelcoListChk_Click() {
    if (!*m_flags.Loading)
        SaveProviderFile();
}

std::optional<QString> ProviderList::ProviderFor(int weekday, int hour, int distance) const {
    if (!m_telcoListChk->isChecked())
        return std::nullopt;
    return BestProvider(m_model->rows(), weekday, hour, distance);
}

std::optional<ProviderEntry> ProviderList::ChosenProvider(int weekday, int hour,
                                                          int distance) const {
    if (!m_telcoListChk->isChecked())
        return std::nullopt;
    const ProviderEntry* row = BestProviderRow(m_model->rows(), weekday, hour, distance);
    return row ? std::optional<ProviderEntry>(*row) : std::nullopt;
}

void ProviderList::TelcoList_ColumnClick(int header) {
    m_model->ColumnClick(header);
    showSortIndicator(); // the header has turned its arrow by its own rule
}

void ProviderList::showSortIndicator() {
    m_telcoList->header()->setSortIndicator(m_model->sortColumn(), m_model->sortOrder());
}

void ProviderList::ShowProviderMenu(const QPoint& globalPos) {
    m_selectedProvider = SelectedProviderIndex(m_telcoList);
    m_pum3[2]->setEnabled(m_selectedProvider != 0);
    m_pum3[3]->setEnabled(m_selectedProvider != 0);
    if (QAction* chosen = m_pummain3->exec(globalPos))
        pum3_Click(chosen->data().toInt());
}

void ProviderList::TelcoList_DblClick() {
    m_selectedProvider = SelectedProviderIndex(m_telcoList);
    pum3_Click(m_selectedProvider != 0 ? 2 : 1);
}

void ProviderList::pum3_Click(int index) {
    const bool rowChosen = m_selectedProvider >= 1 && m_selectedProvider <= m_model->count();
    switch (index) {
    case 1:
        OpenProviderEditor(QString(), QString(), 1, 9, 18, 0, 1, 0);
        break;
    case 2:
        if (rowChosen) {
            const ProviderEntry& row = m_model->row(m_selectedProvider - 1);
            OpenProviderEditor(row.Name, row.NetworkNumber, row.DayCode, row.StartHour, row.EndHour,
                               row.Local, row.LongDistance, row.Abroad);
        }
        break;
    case 3:
        if (rowChosen) {
            const ProviderEntry& row = m_model->row(m_selectedProvider - 1);
            const QString text = ProviderMessages::DeleteQuestion + row.Name +
                                 QStringLiteral(" (") + row.NetworkNumber + u')';
            if (UserMessage::askYesNo(dialogParent(), ProviderMessages::DeleteTitle, text)) {
                RemoveSelectedProvider();
                SaveProviderFile();
            }
        }
        break;
    default:
        break;
    }
}

void ProviderList::RemoveSelectedProvider() {
    m_model->removeRowAt(m_selectedProvider - 1);
}

void ProviderList::OpenProviderEditor(const QString& name, const QString& networkNumber,
                                      int dayCode, int startHour, int endHour, int local,
                                      int longDistance, int abroad) {
    ProviderEditor editor(startHour, endHour, dialogParent());
    editor.setProvider(name, networkNumber, dayCode, local, longDistance, abroad);
    *m_flags.EditInsertMode = networkNumber.isEmpty() && name.isEmpty();
    *m_flags.ModalDialogOpen = true;
    const int result = editor.exec();
    *m_flags.ModalDialogOpen = false;
    if (result != QDialog::Accepted)
        return;
    // A change is a removal and a new row; an emptied field leaves only the removal.
    if (!*m_flags.EditInsertMode)
        RemoveSelectedProvider();
    if (!editor.name().isEmpty() && !editor.networkNumber().isEmpty()) {
        m_model->AddProviderRow(ProviderEntry::fromFlags(
            editor.name(), editor.networkNumber(), editor.moFrFlag(), editor.saSoFlag(),
            editor.EditStartHour(), editor.EditEndHour(), editor.localFlag(),
            editor.longDistanceFlag(), editor.abroadFlag()));
    }
    SaveProviderFile();
}

bool ProviderList::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_telcoList && event->type() == QEvent::Show && !m_columnsFitted) {
        // Measuring every cell is work for when the list is first seen, not for the start.
        m_columnsFitted = true;
        QHeaderView* header = m_telcoList->header();
        header->setSectionResizeMode(QHeaderView::ResizeToContents);
        header->setSectionResizeMode(ProviderEntry::NameColumn, QHeaderView::Stretch);
    }
    if (watched == m_viewport) {
        if (event->type() == QEvent::MouseButtonPress) {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::RightButton) {
                // At the press, and the selection stays as it is.
                ShowProviderMenu(mouse->globalPosition().toPoint());
                return true;
            }
        } else if (event->type() == QEvent::MouseButtonDblClick) {
            if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
                TelcoList_DblClick();
                return true;
            }
        }
    }
    if (event->type() == QEvent::ContextMenu) {
        // The mouse was handled at the press; the keyboard's menu key opens it here.
        if (static_cast<QContextMenuEvent*>(event)->reason() == QContextMenuEvent::Keyboard) {
            const int selected = SelectedProviderIndex(m_telcoList);
            QPoint local = m_telcoList->viewport()->rect().topLeft();
            if (selected != 0)
                local = m_telcoList->visualRect(m_model->index(selected - 1, 0)).center();
            ShowProviderMenu(m_telcoList->viewport()->mapToGlobal(local));
        }
        return true;
    }
    return QObject::eventFilter(watched, event);
}
