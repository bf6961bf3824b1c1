// The main window as a window: list synchronisation, drops from the file manager, moving it by its
// background, and opening a dropped or given path.
#include "mainwindow/Form1.h"

#include "chooser/Browser.h"
#include "mainwindow/DroppedPath.h"
#include "mainwindow/ListSync.h"
#include "mainwindow/MainWindowUi.h"
#include "mainwindow/NameTextEdit.h"
#include "mainwindow/OriginalNamesModel.h"
#include "mainwindow/ToolFrames.h"
#include "settings/AppDefOps.h"
#include "ui/FileDrop.h"
#include "ui/FocusOrder.h"
#include "ui/NoteListView.h"
#include "ui/WindowMove.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QLabel>
#include <QListView>
#include <QPushButton>

void Form1::wireWindowBehaviour()
{
    MainWindowUi& u = *m_ui;
    NameTextEdit* box = u.nameTextDirectoryMode;
    QListView* list = u.originalList;
    OriginalNamesModel* names = u.originalNames;

    listsync::Editor editor;
    // The poll follows the cursor's line, which the editor knows without converting positions.
    editor.cursorPosition = [box] { return box->cursorLine(); };
    editor.lineOfPosition = [](qsizetype line) { return line; };
    editor.text = [box] { return box->text(); };
    editor.setSelection = [box](qsizetype start, qsizetype length) { box->pointOut(start, length); };
    editor.takeFocus = [box] { box->setFocus(Qt::OtherFocusReason); };
    listsync::List rows;
    rows.count = [names] { return names->rowCount(); };
    rows.selectRow = [list, names](int row) { list->setCurrentIndex(names->index(row, 0)); };
    m_sync = new listsync::ListSync(std::move(editor), std::move(rows), this);
    m_sync->watchListFocus(list);
    connect(box, &NameTextEdit::focusIn, m_sync, &listsync::ListSync::editorFocusIn);
    connect(box, &NameTextEdit::focusOut, m_sync, &listsync::ListSync::editorFocusOut);
    // The selection, not the current entry: a list that receives the focus by Tab makes its first entry
    // current without selecting it, and that must not send the focus straight back to the name text.
    connect(list->selectionModel(), &QItemSelectionModel::selectionChanged, m_sync, [this, list](const QItemSelection& selected) {
        if (!selected.isEmpty() && list->selectionModel()->isSelected(list->currentIndex()))
            m_sync->listToText(list->currentIndex().row());
    });
    // A click on the entry that is already current changes nothing above but still asks for its line.
    connect(list, &QListView::clicked, m_sync, [this](const QModelIndex& index) { m_sync->listToText(index.row()); });
    connect(u.disableSync, &QAction::toggled, m_sync, &listsync::ListSync::setDisabled);

    auto* drops = new ui::FileDropFilter([this](const QString& path) { DragADirectory(path); }, this);
    drops->addTarget(u.surface, ui::FileDropFilter::Area::Background);
    drops->addTarget(u.nameTextDirectoryMode);
    drops->addTarget(u.nameTextTextMode);

    auto* moves = new ui::WindowMoveHandles(this);
    for (QWidget* handle : std::initializer_list<QWidget*>{u.surface, u.searchFixed, u.appendFixed, u.cutFixed,
                                                           u.originalCaption, u.nameTextCaption})
        moves->addHandle(handle);
}

bool Form1::focusNextPrevChild(bool next)
{
    return ui::focusorder::moveFocus(this, next) || QMainWindow::focusNextPrevChild(next);
}

void Form1::openPath(const QString& path, bool scanIfMissing)
{
    QString directory = dropping::directoryToOpen(path);
    if (directory.isEmpty() && !path.isEmpty() && scanIfMissing)
        directory = QFileInfo(QDir::cleanPath(QDir::fromNativeSeparators(path))).absolutePath();
    set_Startpfad(QDir::currentPath());
    AppDefOps::LoadWindowPos(objectName());
    // The window stays visible in every case: a chooser over a hidden window would leave nothing to come back to.
    show();
    if (!directory.isEmpty()) {
        set_Startpfad(directory);
        InitializeMe();
        setRenameEnabled(false);
        setRestoreEnabled(false);
    } else {
        m_firstStart = false;
        showChooser();
        InitializeMe();
        setEnabled(false);
        setRenameEnabled(false);
        setRestoreEnabled(false);
    }
    if (m_names.names().isEmpty())
        m_ui->nameTextTextMode->setText(QString());
}

void Form1::OpenDroppedPath(const QString& path)
{
    openPath(path, false);
}

void Form1::DragADirectory(const QString& firstPath)
{
    AppDefOps::SaveWindowPos(objectName());
    // A dropped path that vanished meanwhile gives an empty list, not a chooser nobody asked for.
    openPath(firstPath, true);
    if (m_browser && m_browser->isVisible() && !firstPath.isEmpty()) {
        m_browser->setFirstStart(false);
        m_browser->closeSilently();
    }
}
