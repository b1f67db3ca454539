#pragma once
// The grid of the windows: a table view over a WorkTableModel that edits in
// place, one cell at a time.
//
// - Editing starts on typing (also an input method's commit), F2 or a double
//   click; a Bool column toggles with a click on its check box (which makes
//   the cell current) or with Space.
// - Enter commits the open editor, then the key-down hook sees it; unless the
//   hook swallows it, the grid moves to the next visible column of the row.
//   When the model refuses the value, the editor closes, the cell keeps its
//   old value and the grid stays (the hook does not see that Enter).
//   Tab, Up and Down in an editor commit the same way before they move.
// - An editor also commits when the grid loses focus or another cell is chosen;
//   leaving an editor whose text was not changed is no edit.
// - A column with a drop-down (Column::dropDown) edits in an editable combo
//   box listing the source's rows with its visible columns. Typing and
//   confirming goes the model's normal edit path; a pick from the list writes
//   the source row's column 0 through the before-update hook only and is
//   reported as dropDownPicked instead of the model's cellEdited. The list
//   re-reads its source table each time it opens, so a table rebuilt by
//   another window is never shown stale.
// - A column with its own Japanese-input setting (Column::inputMethod)
//   switches the input method when it becomes current and in its editor.
// - setEnterToNextRow(): Enter in one column goes to another column of the
//   next row (the last row stays the last row).
// - setFrozenColumns(): the leading columns stay in view in a second pane
//   over the left edge, a view over the same model and selection model; the
//   grid edits, moves and reports its cells as its own.
// - A pending cell edit reaches the work table when the grid loses focus,
//   when another cell is chosen, and on commitEdit(): a window calls it
//   first in each handler that reads the work table, and stops when it
//   returns false. An edit the model refused as the focus left the grid (the
//   press on the button whose handler then runs) counts for that next
//   commitEdit() as long as the focus stays where it went, so the handler
//   stops instead of working on the cell's old value.

#include "platform/RefusalOnLeave.h"
#include "platform/WorkTableModel.h"

#include <QPersistentModelIndex>
#include <QPointer>
#include <QTableView>
#include <functional>

class GridDelegate;

class GridView : public QTableView {
    Q_OBJECT
public:
    // Runs before the grid acts on a key (VKey codes; -1 for a key without a
    // code of its own). Setting key to 0 swallows the key.
    using KeyDown = std::function<void(int& key)>;

    explicit GridView(QWidget* parent = nullptr);
    ~GridView() override;

    void setModel(WorkTableModel* model);
    void setModel(QAbstractItemModel* model) override;
    WorkTableModel* workModel() const { return model_; }

    // Captions, widths (twips), hidden columns and alignment from the model's
    // column descriptors; call again after changing them.
    void applyColumns();

    void setKeyDown(KeyDown hook) { keyDown_ = std::move(hook); }

    // Enter in column fromCol (not swallowed by the key-down hook) moves to
    // column toCol of the next row, on the last row to toCol of that row.
    // fromCol -1 turns it off (Enter moves to the next visible column).
    void setEnterToNextRow(int fromCol, int toCol);

    // Keeps columns 0..count-1 in view in a pane of their own at the left;
    // 0 removes the pane. The pane takes the grid's edit triggers now and at
    // each applyColumns().
    void setFrozenColumns(int count);
    int frozenColumns() const { return frozenCount_; }
    GridView* frozenPane() const { return frozen_; }

    int currentRow() const;     // -1 when there is no current cell
    int currentColumn() const;  // -1 when there is no current cell
    void setCurrentColumn(int col);
    void setCurrentCell(int row, int col);

    // Commits an open editor (of either pane) and closes it. False when the
    // model refused the value (the cell keeps its old value), or refused the
    // value of an editor the focus has just left (see above); true when it was
    // written or when no editor was open.
    bool commitEdit();
    // Closes an open editor (of either pane) without writing its value: for
    // a window that goes together with its work tables.
    void cancelEdit();
    bool isEditing() const;
    QWidget* editorWidget() const;
    // An editor is open whose text is not the one it opened with.
    bool editorChanged() const;
    // Opens the editor of a cell with the given text in place of the cell's
    // own (a value the window refused, handed back to be corrected); the
    // focus goes into it. Nothing when another editor is open.
    void reopenEditor(int row, int col, const QString& text);

    // Japanese input on or off for the grid and its editors (best effort:
    // this enables or disables the input method; it cannot force kana mode).
    void setInputMethodEnabled(bool on);
    bool inputMethodEnabled() const { return inputMethodEnabled_; }

signals:
    void currentCellChanged(int row, int col);
    void cellClicked(int row, int col);
    void cellDoubleClicked(int row, int col);
    void dropDownPicked(int col, int sourceRow);

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void inputMethodEvent(QInputMethodEvent* e) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    using QTableView::edit;
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;
    void updateGeometries() override;
    void resizeEvent(QResizeEvent* e) override;

private:
    friend class GridDelegate;

    // From the delegate.
    void editorOpened(QWidget* editor);
    void editorDestroyed(QWidget* editor);
    bool editorKeyPress(QWidget* editor, QKeyEvent* e);  // true: handled, the editor must not see it
    void picked(QWidget* editor, const QPersistentModelIndex& cell, int sourceRow);
    void applyInputMethod(QWidget* w, bool on) const;
    bool inputMethodOf(int col) const;  // for an editor of column col

    // The grid a frozen pane belongs to, or the grid itself: it holds the
    // hooks and settings and makes the moves.
    GridView* hub() { return master_ ? master_ : this; }
    const GridView* hub() const { return master_ ? master_ : this; }

    // The key-down hook and the grid's own moves; false when the hook swallowed the key.
    bool runKeyDown(int& key);
    void moveRight();
    void moveAfterEnter();
    void moveTo(QAbstractItemView::CursorAction action);
    bool commitEditor(QWidget* editor);
    // From the delegate: the model refused the value of an editor the focus left.
    void refusedOnLeave();

    bool isFrozen(int col) const { return frozen_ && col >= 0 && col < frozenCount_; }
    int frozenWidth() const;
    void syncFrozenPane();   // model, selection model and columns of the pane
    void placeFrozenPane();  // its place over the left columns

    QPointer<WorkTableModel> model_;
    QList<QMetaObject::Connection> modelConnections_;
    GridDelegate* delegate_ = nullptr;
    KeyDown keyDown_;
    QPointer<QWidget> editor_;
    bool inputMethodEnabled_ = true;
    bool forwardingKey_ = false;  // the view hands a typed key to a new editor
    int enterFrom_ = -1;
    int enterTo_ = -1;
    GridView* frozen_ = nullptr;  // the pane of the frozen columns (a child)
    GridView* master_ = nullptr;  // in a frozen pane: its grid
    int frozenCount_ = 0;
    int lastRow_ = -1;
    int lastCol_ = -1;
    int keepRow_ = -1;  // current cell kept over a model reset
    int keepCol_ = -1;
    // An edit refused as the focus left the grid, until the next commitEdit()
    // or until the focus moves on from where it went (kept on the grid, not
    // its frozen pane).
    RefusalOnLeave leave_;
};
