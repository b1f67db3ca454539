#include "platform/GridView.h"

#include "platform/Controls.h"
#include "platform/Twips.h"

#include <QComboBox>
#include <QEvent>
#include <QCoreApplication>
#include <QHeaderView>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QStyledItemDelegate>

namespace {

constexpr int kRowHeight = 20;
const char* const kInitialText = "veltGridInitialText";

// The drop-down editor. QComboBox::activated comes from a pick in the popup
// and also from typing (Up/Down, the wheel, Enter on a matching text); only a
// pick while the popup was open counts as a pick from the list.
class DropDownBox : public QComboBox {
public:
    using QComboBox::QComboBox;

    bool pickedFromPopup() const { return popupOpened_; }
    void resetPick() { popupOpened_ = false; }
    void showPopup() override
    {
        popupOpened_ = true;
        QComboBox::showPopup();
    }

protected:
    bool event(QEvent* e) override
    {
        switch (e->type()) {
        case QEvent::KeyPress:
        case QEvent::Wheel:
        case QEvent::InputMethod:
            if (!view()->isVisible()) popupOpened_ = false;
            break;
        default: break;
        }
        return QComboBox::event(e);
    }

private:
    bool popupOpened_ = false;
};

QString editorText(QWidget* editor)
{
    if (auto* combo = qobject_cast<QComboBox*>(editor)) return combo->currentText();
    if (auto* line = qobject_cast<QLineEdit*>(editor)) return line->text();
    return {};
}

}  // namespace

// ---------------------------------------------------------------- delegate

class GridDelegate : public QStyledItemDelegate {
public:
    explicit GridDelegate(GridView* view) : QStyledItemDelegate(view), view_(view) {}

    // Whether the model took the value at the last commit.
    mutable bool lastCommitOk = true;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        WorkTableModel* model = view_->workModel();
        if (!model) return QStyledItemDelegate::createEditor(parent, option, index);
        QWidget* editor = nullptr;
        if (WorkTableModel* source = model->column(index.column()).dropDown) {
            editor = createDropDown(parent, source, QPersistentModelIndex(index));
        } else {
            auto* line = new QLineEdit(parent);
            line->setFrame(false);
            editor = line;
        }
        view_->applyInputMethod(editor);
        view_->editorOpened(editor);
        return editor;
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override
    {
        const QString text = index.data(Qt::EditRole).toString();
        editor->setProperty(kInitialText, text);
        if (auto* combo = qobject_cast<QComboBox*>(editor)) {
            const QSignalBlocker block(combo);
            combo->setCurrentIndex(combo->findText(text, Qt::MatchExactly));
            combo->setEditText(text);
            if (combo->lineEdit()) combo->lineEdit()->selectAll();
        } else if (auto* line = qobject_cast<QLineEdit*>(editor)) {
            line->setText(text);
        } else {
            QStyledItemDelegate::setEditorData(editor, index);
        }
    }

    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override
    {
        const QString text = editorText(editor);
        // Opening and leaving a cell without a change is no edit.
        if (text == editor->property(kInitialText).toString()) {
            lastCommitOk = true;
            return;
        }
        lastCommitOk = model->setData(index, text, Qt::EditRole);
    }

    void destroyEditor(QWidget* editor, const QModelIndex& index) const override
    {
        view_->editorDestroyed(editor);
        QStyledItemDelegate::destroyEditor(editor, index);
    }

protected:
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (e->type() == QEvent::KeyPress) {
            if (auto* editor = qobject_cast<QWidget*>(o)) {
                // Enter, Tab, Escape and the row moves are the grid's; the rest
                // go to the editor unless the key-down hook swallowed them.
                return view_->editorKeyPress(editor, static_cast<QKeyEvent*>(e));
            }
        }
        return QStyledItemDelegate::eventFilter(o, e);
    }

private:
    QWidget* createDropDown(QWidget* parent, WorkTableModel* source, const QPersistentModelIndex& cell) const
    {
        auto* combo = new DropDownBox(parent);
        combo->setFrame(false);
        combo->setEditable(true);
        combo->setInsertPolicy(QComboBox::NoInsert);
        // No inline completion: a typed name stays as typed.
        combo->setCompleter(nullptr);
        combo->setMaxVisibleItems(15);

        auto* list = new QTableView;
        list->horizontalHeader()->hide();
        list->verticalHeader()->hide();
        list->verticalHeader()->setMinimumSectionSize(16);
        list->verticalHeader()->setDefaultSectionSize(kRowHeight);
        list->setSelectionBehavior(QAbstractItemView::SelectRows);
        list->setSelectionMode(QAbstractItemView::SingleSelection);
        list->setEditTriggers(QAbstractItemView::NoEditTriggers);
        list->setWordWrap(false);
        list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        combo->setView(list);
        combo->setModel(source);
        combo->setModelColumn(0);

        int width = 0;
        for (int c = 0; c < source->columnCount(); ++c) {
            const auto& d = source->column(c);
            list->setColumnHidden(c, !d.visible);
            if (!d.visible) continue;
            list->setColumnWidth(c, twips(d.widthTwips));
            width += twips(d.widthTwips);
        }
        list->setMinimumWidth(width + list->verticalScrollBar()->sizeHint().width() + 2 * list->frameWidth());

        QObject::connect(combo, &QComboBox::activated, combo, [this, combo, cell](int sourceRow) {
            if (!combo->pickedFromPopup()) return;
            combo->resetPick();
            view_->picked(combo, cell, sourceRow);
        });
        return combo;
    }

    GridView* view_;
};

// ---------------------------------------------------------------- view

GridView::GridView(QWidget* parent) : QTableView(parent)
{
    delegate_ = new GridDelegate(this);
    setItemDelegate(delegate_);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::AnyKeyPressed);
    setWordWrap(false);
    verticalHeader()->setMinimumSectionSize(16);
    verticalHeader()->setDefaultSectionSize(kRowHeight);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->hide();
    setAttribute(Qt::WA_InputMethodEnabled, true);
    viewport()->setAttribute(Qt::WA_InputMethodEnabled, true);

    connect(this, &QAbstractItemView::clicked, this, [this](const QModelIndex& index) {
        if (index.isValid()) emit cellClicked(index.row(), index.column());
    });
}

GridView::~GridView() = default;

void GridView::setModel(WorkTableModel* model)
{
    setModel(static_cast<QAbstractItemModel*>(model));
}

void GridView::setModel(QAbstractItemModel* model)
{
    if (model == this->model()) return;
    for (const auto& c : std::as_const(modelConnections_)) disconnect(c);
    modelConnections_.clear();
    model_ = qobject_cast<WorkTableModel*>(model);
    QTableView::setModel(model);
    lastRow_ = -1;
    lastCol_ = -1;
    if (!model_) return;
    // A refresh that changes the rows resets the model: keep the current cell
    // where it was (within the new rows). The header keeps the column layout.
    modelConnections_ << connect(model_, &QAbstractItemModel::modelAboutToBeReset, this, [this] {
        keepRow_ = currentRow();
        keepCol_ = currentColumn();
    });
    modelConnections_ << connect(model_, &QAbstractItemModel::modelReset, this, [this] {
        if (keepRow_ >= 0 && model_->rowCount() > 0)
            setCurrentCell(std::min(keepRow_, model_->rowCount() - 1), keepCol_);
        keepRow_ = -1;
        keepCol_ = -1;
    });
    applyColumns();
}

void GridView::applyColumns()
{
    if (!model_) return;
    for (int c = 0; c < model_->columnCount(); ++c) {
        const auto& d = model_->column(c);
        setColumnHidden(c, !d.visible);
        if (d.visible) setColumnWidth(c, twips(d.widthTwips));
    }
    model_->columnsChanged();
}

int GridView::currentRow() const
{
    const QModelIndex i = currentIndex();
    return i.isValid() ? i.row() : -1;
}

int GridView::currentColumn() const
{
    const QModelIndex i = currentIndex();
    return i.isValid() ? i.column() : -1;
}

void GridView::setCurrentColumn(int col)
{
    setCurrentCell(std::max(currentRow(), 0), col);
}

void GridView::setCurrentCell(int row, int col)
{
    if (!model_) return;
    const QModelIndex i = model_->index(row, col);
    if (i.isValid()) setCurrentIndex(i);
}

void GridView::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    QTableView::currentChanged(current, previous);
    // No current cell happens only for a moment (a model reset); the cell is set again after it.
    if (!current.isValid()) return;
    if (current.row() == lastRow_ && current.column() == lastCol_) return;
    lastRow_ = current.row();
    lastCol_ = current.column();
    emit currentCellChanged(lastRow_, lastCol_);
}

// ---------------------------------------------------------------- editing

bool GridView::commitEdit()
{
    return commitEditor(editor_);
}

bool GridView::commitEditor(QWidget* editor)
{
    if (!editor || editor != editor_) return true;
    QPointer<QWidget> ed = editor;
    delegate_->lastCommitOk = true;
    commitData(editor);
    const bool ok = delegate_->lastCommitOk;
    // The model's handlers may have refreshed it, which closes editors by itself.
    if (ed && ed == editor_) closeEditor(ed, QAbstractItemDelegate::NoHint);
    return ok;
}

void GridView::editorOpened(QWidget* editor)
{
    editor_ = editor;
}

void GridView::editorDestroyed(QWidget* editor)
{
    if (editor == editor_) editor_.clear();
}

void GridView::picked(QWidget* editor, const QPersistentModelIndex& cell, int sourceRow)
{
    if (!model_ || !cell.isValid()) return;
    const int row = cell.row();
    const int col = cell.column();
    WorkTableModel* source = model_->column(col).dropDown;
    if (!source || sourceRow < 0 || sourceRow >= source->rowCount()) return;
    const QString text = source->editText(sourceRow, 0);
    // The pick replaces whatever was typed: close without committing the editor.
    if (editor == editor_) closeEditor(editor, QAbstractItemDelegate::NoHint);
    if (!model_->editCell(row, col, text, false)) return;
    emit dropDownPicked(col, sourceRow);
}

bool GridView::runKeyDown(int& key)
{
    if (keyDown_) keyDown_(key);
    return key != 0;
}

void GridView::moveRight()
{
    if (!model_) return;
    const int row = currentRow();
    if (row < 0) return;
    for (int c = currentColumn() + 1; c < model_->columnCount(); ++c) {
        if (!isColumnHidden(c)) {
            setCurrentCell(row, c);
            return;
        }
    }
}

void GridView::moveTo(QAbstractItemView::CursorAction action)
{
    const QModelIndex i = moveCursor(action, Qt::NoModifier);
    if (i.isValid()) setCurrentIndex(i);
}

bool GridView::editorKeyPress(QWidget* editor, QKeyEvent* e)
{
    // The key that opened the editor: the hook has seen it already.
    if (forwardingKey_) return false;
    int key = VKey::fromQt(e->key());
    const bool alt = e->modifiers() & Qt::AltModifier;
    switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Up:
    case Qt::Key_Down: {
        if (alt) break;  // Alt+Down opens a drop-down's list
        // Commit first, so the hook (and SQL it runs) sees the new value.
        // A refused value leaves the cell as it was and the grid where it is.
        if (!commitEditor(editor)) return true;
        if (!runKeyDown(key)) return true;
        switch (e->key()) {
        case Qt::Key_Tab: moveTo(MoveNext); break;
        case Qt::Key_Backtab: moveTo(MovePrevious); break;
        case Qt::Key_Up: moveTo(MoveUp); break;
        case Qt::Key_Down: moveTo(MoveDown); break;
        default: moveRight(); break;
        }
        return true;
    }
    case Qt::Key_Escape:
        if (runKeyDown(key)) closeEditor(editor, QAbstractItemDelegate::RevertModelCache);
        return true;
    default: break;
    }
    return !runKeyDown(key);
}

void GridView::keyPressEvent(QKeyEvent* e)
{
    int key = VKey::fromQt(e->key());
    if (!runKeyDown(key)) {
        e->accept();
        return;
    }
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        if (commitEdit()) moveRight();
        e->accept();
        return;
    }
    // A typed key opens the editor and is handed to it.
    const QScopedValueRollback forwarding(forwardingKey_, true);
    QTableView::keyPressEvent(e);
}

// ---------------------------------------------------------------- input method

void GridView::inputMethodEvent(QInputMethodEvent* e)
{
    // Japanese typing: the first composition or commit opens the editor and
    // goes on in it, as a typed key does.
    const bool typing = !e->commitString().isEmpty() || !e->preeditString().isEmpty();
    const QModelIndex i = currentIndex();
    if (typing && !editor_ && i.isValid() && (i.flags() & Qt::ItemIsEditable)) {
        edit(i);
        if (QWidget* target = editor_) {
            while (target->focusProxy()) target = target->focusProxy();
            QCoreApplication::sendEvent(target, e);
            e->accept();
            return;
        }
    }
    QTableView::inputMethodEvent(e);
}

void GridView::applyInputMethod(QWidget* w) const
{
    if (!w) return;
    w->setAttribute(Qt::WA_InputMethodEnabled, inputMethodEnabled_);
    w->setInputMethodHints(inputMethodEnabled_ ? Qt::ImhNone : Qt::ImhPreferLatin);
    if (auto* combo = qobject_cast<QComboBox*>(w); combo && combo->lineEdit()) applyInputMethod(combo->lineEdit());
}

void GridView::setInputMethodEnabled(bool on)
{
    inputMethodEnabled_ = on;
    applyInputMethod(this);
    applyInputMethod(viewport());
    applyInputMethod(editor_);
}
