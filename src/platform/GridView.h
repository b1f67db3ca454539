#pragma once
// The grid of the windows: a table view over a WorkTableModel that edits in
// place, one cell at a time.
//
// - Editing starts on typing (also an input method's commit), F2 or a double
//   click; a Bool column toggles with a click on its check box.
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
//   reported as dropDownPicked instead of the model's cellEdited.

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

    int currentRow() const;     // -1 when there is no current cell
    int currentColumn() const;  // -1 when there is no current cell
    void setCurrentColumn(int col);
    void setCurrentCell(int row, int col);

    // Commits an open editor and closes it. False when the model refused the
    // value (the cell keeps its old value); true when it was written or when
    // no editor was open.
    bool commitEdit();
    bool isEditing() const { return !editor_.isNull(); }
    QWidget* editorWidget() const { return editor_; }

    // Japanese input on or off for the grid and its editors (best effort:
    // this enables or disables the input method; it cannot force kana mode).
    void setInputMethodEnabled(bool on);
    bool inputMethodEnabled() const { return inputMethodEnabled_; }

signals:
    void currentCellChanged(int row, int col);
    void cellClicked(int row, int col);
    void dropDownPicked(int col, int sourceRow);

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void inputMethodEvent(QInputMethodEvent* e) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

private:
    friend class GridDelegate;

    // From the delegate.
    void editorOpened(QWidget* editor);
    void editorDestroyed(QWidget* editor);
    bool editorKeyPress(QWidget* editor, QKeyEvent* e);  // true: handled, the editor must not see it
    void picked(QWidget* editor, const QPersistentModelIndex& cell, int sourceRow);
    void applyInputMethod(QWidget* w) const;

    // The key-down hook and the grid's own moves; false when the hook swallowed the key.
    bool runKeyDown(int& key);
    void moveRight();
    void moveTo(QAbstractItemView::CursorAction action);
    bool commitEditor(QWidget* editor);

    QPointer<WorkTableModel> model_;
    QList<QMetaObject::Connection> modelConnections_;
    GridDelegate* delegate_ = nullptr;
    KeyDown keyDown_;
    QPointer<QWidget> editor_;
    bool inputMethodEnabled_ = true;
    bool forwardingKey_ = false;  // the view hands a typed key to a new editor
    int lastRow_ = -1;
    int lastCol_ = -1;
    int keepRow_ = -1;  // current cell kept over a model reset
    int keepCol_ = -1;
};
