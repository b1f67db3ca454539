#include "platform/GridView.h"

#include "platform/Controls.h"
#include "platform/Twips.h"

#include <QApplication>
#include <QComboBox>
#include <QInputMethod>
#include <QEvent>
#include <QCoreApplication>
#include <QHeaderView>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QLineEdit>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <utility>

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
        // The reference table may have been rebuilt since the editor opened:
        // list it as it stands, keeping what was typed.
        if (auto* source = qobject_cast<WorkTableModel*>(model())) {
            const QString typed = currentText();
            const QSignalBlocker block(this);
            source->refresh();
            setCurrentIndex(findText(typed, Qt::MatchExactly));
            setEditText(typed);
        }
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
        view_->applyInputMethod(editor, view_->inputMethodOf(index.column()));
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
        if (e->type() == QEvent::FocusOut) {
            // The base commits and closes the editor when the focus went
            // outside it; the grid must know when the model refused that value.
            lastCommitOk = true;
            const bool handled = QStyledItemDelegate::eventFilter(o, e);
            if (!lastCommitOk) view_->refusedOnLeave();
            return handled;
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
        // Others rebuild reference tables (the code lists): read it as it stands now.
        source->refresh();
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

    // A frozen pane reports its clicks as its grid's.
    connect(this, &QAbstractItemView::clicked, this, [this](const QModelIndex& index) {
        if (index.isValid()) emit hub()->cellClicked(index.row(), index.column());
    });
    connect(this, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
        if (index.isValid()) emit hub()->cellDoubleClicked(index.row(), index.column());
    });
}

GridView::~GridView()
{
    // The pane goes first, while the grid it reports to is whole.
    delete frozen_;
}

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
    if (!model_ || master_) {
        syncFrozenPane();
        return;
    }
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
    syncFrozenPane();
}

void GridView::setEnterToNextRow(int fromCol, int toCol)
{
    enterFrom_ = fromCol;
    enterTo_ = toCol;
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
    // A frozen pane shares its grid's current cell: the grid reports it. The
    // view above switched the pane's input method by the cell's editability:
    // the grid's setting holds.
    if (master_) {
        applyInputMethod(this, inputMethodEnabled_);
        return;
    }
    // No current cell happens only for a moment (a model reset); the cell is set again after it.
    if (!current.isValid()) return;
    if (current.row() == lastRow_ && current.column() == lastCol_) return;
    lastRow_ = current.row();
    lastCol_ = current.column();
    // A column's own input setting first, so the handlers of the signal may still change it.
    if (model_ && lastCol_ < model_->columnCount()) {
        if (const auto on = model_->column(lastCol_).inputMethod) setInputMethodEnabled(*on);
    }
    emit currentCellChanged(lastRow_, lastCol_);
}

// ---------------------------------------------------------------- editing

void GridView::mousePressEvent(QMouseEvent* e)
{
    // A click on a check box makes its cell current, as a click anywhere else
    // in a cell does (the check box takes the press for itself).
    const QModelIndex i = indexAt(e->position().toPoint());
    if (e->button() == Qt::LeftButton && i.isValid() && (i.flags() & Qt::ItemIsUserCheckable) && i != currentIndex())
        setCurrentIndex(i);
    QTableView::mousePressEvent(e);
}

bool GridView::commitEdit()
{
    const bool own = commitEditor(editor_);
    const bool pane = frozen_ ? frozen_->commitEdit() : true;
    const bool left = !leave_.take();
    return own && pane && left;
}

void GridView::cancelEdit()
{
    if (editor_) closeEditor(editor_, QAbstractItemDelegate::RevertModelCache);
    if (frozen_) frozen_->cancelEdit();
    leave_.forget();
}

void GridView::refusedOnLeave()
{
    GridView* grid = hub();
    grid->leave_.note(grid);
}

bool GridView::isEditing() const
{
    return !editor_.isNull() || (frozen_ && frozen_->isEditing());
}

QWidget* GridView::editorWidget() const
{
    if (editor_) return editor_;
    return frozen_ ? frozen_->editorWidget() : nullptr;
}

bool GridView::editorChanged() const
{
    QWidget* editor = editorWidget();
    return editor && editorText(editor) != editor->property(kInitialText).toString();
}

void GridView::reopenEditor(int row, int col, const QString& text)
{
    if (!model_ || isEditing()) return;
    const QModelIndex i = model_->index(row, col);
    if (!i.isValid()) return;
    setFocus();
    setCurrentCell(row, col);
    edit(i);
    QWidget* editor = editorWidget();
    if (auto* combo = qobject_cast<QComboBox*>(editor)) {
        combo->setEditText(text);
        if (combo->lineEdit()) combo->lineEdit()->selectAll();
    } else if (auto* line = qobject_cast<QLineEdit*>(editor)) {
        line->setText(text);
        line->selectAll();
    }
}

bool GridView::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event)
{
    // A frozen column's cells are edited in the pane that shows them.
    if (isFrozen(index.column())) return frozen_->edit(index, trigger, event);
    return QTableView::edit(index, trigger, event);
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
    emit hub()->dropDownPicked(col, sourceRow);
}

bool GridView::runKeyDown(int& key)
{
    if (const KeyDown& hook = hub()->keyDown_) hook(key);
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

void GridView::moveAfterEnter()
{
    const int row = currentRow();
    if (model_ && enterFrom_ >= 0 && row >= 0 && currentColumn() == enterFrom_) {
        setCurrentCell(std::min(row + 1, model_->rowCount() - 1), enterTo_);
        return;
    }
    moveRight();
}

void GridView::moveTo(QAbstractItemView::CursorAction action)
{
    const QModelIndex i = moveCursor(action, Qt::NoModifier);
    if (i.isValid()) setCurrentIndex(i);
}

bool GridView::editorKeyPress(QWidget* editor, QKeyEvent* e)
{
    // The key that opened the editor: the hook has seen it already.
    if (hub()->forwardingKey_) return false;
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
        // The grid moves, also from an editor of its frozen pane.
        GridView* grid = hub();
        switch (e->key()) {
        case Qt::Key_Tab: grid->moveTo(MoveNext); break;
        case Qt::Key_Backtab: grid->moveTo(MovePrevious); break;
        case Qt::Key_Up: grid->moveTo(MoveUp); break;
        case Qt::Key_Down: grid->moveTo(MoveDown); break;
        default: grid->moveAfterEnter(); break;
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
        if (commitEdit()) moveAfterEnter();
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
    if (typing && !isEditing() && i.isValid() && (i.flags() & Qt::ItemIsEditable)) {
        edit(i);
        if (QWidget* target = editorWidget()) {
            while (target->focusProxy()) target = target->focusProxy();
            QCoreApplication::sendEvent(target, e);
            e->accept();
            return;
        }
    }
    QTableView::inputMethodEvent(e);
}

void GridView::applyInputMethod(QWidget* w, bool on) const
{
    if (!w) return;
    w->setAttribute(Qt::WA_InputMethodEnabled, on);
    w->setInputMethodHints(on ? Qt::ImhNone : Qt::ImhPreferLatin);
    if (auto* combo = qobject_cast<QComboBox*>(w); combo && combo->lineEdit()) applyInputMethod(combo->lineEdit(), on);
}

bool GridView::inputMethodOf(int col) const
{
    if (model_ && col >= 0 && col < model_->columnCount()) {
        if (const auto on = model_->column(col).inputMethod) return *on;
    }
    return hub()->inputMethodEnabled_;
}

void GridView::setInputMethodEnabled(bool on)
{
    inputMethodEnabled_ = on;
    applyInputMethod(this, on);
    applyInputMethod(viewport(), on);
    applyInputMethod(editor_, on);
    if (frozen_) frozen_->setInputMethodEnabled(on);
    // Tell the input method at once when the grid or one of its editors has the focus.
    if (hasFocus() || isAncestorOf(QApplication::focusWidget()))
        QGuiApplication::inputMethod()->update(Qt::ImEnabled | Qt::ImHints);
}

// ---------------------------------------------------------------- frozen columns

void GridView::setFrozenColumns(int count)
{
    frozenCount_ = std::max(count, 0);
    if (frozenCount_ == 0) {
        delete frozen_;
        frozen_ = nullptr;
        return;
    }
    if (!frozen_) {
        // The pane lies over the grid's own left columns, which scroll away
        // beneath it; it has no focus of its own, so the keyboard stays with
        // the grid (an editor in the pane still takes the focus while it is open).
        frozen_ = new GridView(this);
        frozen_->master_ = this;
        frozen_->setObjectName(QStringLiteral("frozenPane"));
        frozen_->setFocusProxy(this);
        frozen_->setFrameShape(QFrame::NoFrame);
        frozen_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        frozen_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        frozen_->setSelectionMode(selectionMode());
        frozen_->setSelectionBehavior(selectionBehavior());
        frozen_->setInputMethodEnabled(inputMethodEnabled_);
        setHorizontalScrollMode(ScrollPerPixel);
        connect(verticalScrollBar(), &QAbstractSlider::valueChanged, frozen_->verticalScrollBar(), &QAbstractSlider::setValue);
        connect(frozen_->verticalScrollBar(), &QAbstractSlider::valueChanged, verticalScrollBar(), &QAbstractSlider::setValue);
        // A frozen column widened in either header widens it in both.
        connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this](int col, int, int width) {
            if (isFrozen(col) && frozen_->columnWidth(col) != width) frozen_->setColumnWidth(col, width);
            placeFrozenPane();
        });
        connect(frozen_->horizontalHeader(), &QHeaderView::sectionResized, this, [this](int col, int, int width) {
            if (isFrozen(col) && columnWidth(col) != width) setColumnWidth(col, width);
        });
        frozen_->show();
    }
    syncFrozenPane();
}

int GridView::frozenWidth() const
{
    int width = 0;
    for (int c = 0; c < frozenCount_; ++c) {
        if (!isColumnHidden(c)) width += columnWidth(c);
    }
    return width;
}

void GridView::syncFrozenPane()
{
    if (!frozen_) return;
    frozen_->setModel(model());
    // Setting the same selection model again would close an open editor of the pane.
    if (model() && frozen_->selectionModel() != selectionModel()) frozen_->setSelectionModel(selectionModel());
    frozen_->setEditTriggers(editTriggers());
    const int n = model() ? model()->columnCount() : 0;
    for (int c = 0; c < n; ++c) {
        const bool shown = c < frozenCount_ && !isColumnHidden(c);
        frozen_->setColumnHidden(c, !shown);
        if (shown) frozen_->setColumnWidth(c, columnWidth(c));
    }
    placeFrozenPane();
    frozen_->verticalScrollBar()->setValue(verticalScrollBar()->value());
}

void GridView::placeFrozenPane()
{
    if (!frozen_) return;
    const int left = frameWidth() + (verticalHeader()->isHidden() ? 0 : verticalHeader()->width());
    const int header = horizontalHeader()->isHidden() ? 0 : horizontalHeader()->height();
    frozen_->horizontalHeader()->setHidden(horizontalHeader()->isHidden());
    frozen_->horizontalHeader()->setFixedHeight(header);
    frozen_->setGeometry(left, frameWidth(), frozenWidth(), viewport()->height() + header);
    frozen_->raise();
}

void GridView::scrollTo(const QModelIndex& index, ScrollHint hint)
{
    if (!frozen_ || !index.isValid()) {
        QTableView::scrollTo(index, hint);
        return;
    }
    QScrollBar* across = horizontalScrollBar();
    if (isFrozen(index.column())) {
        // The pane shows it: only the rows scroll.
        const int keep = across->value();
        QTableView::scrollTo(index, hint);
        across->setValue(keep);
        return;
    }
    QTableView::scrollTo(index, hint);
    // Not beneath the pane.
    const int covered = frozenWidth() - visualRect(index).left();
    if (covered > 0) across->setValue(across->value() - covered);
}

void GridView::updateGeometries()
{
    QTableView::updateGeometries();
    placeFrozenPane();
}

void GridView::resizeEvent(QResizeEvent* e)
{
    QTableView::resizeEvent(e);
    placeFrozenPane();
}
