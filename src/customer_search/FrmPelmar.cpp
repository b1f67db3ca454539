#include "customer_search/FrmPelmar.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QEvent>
#include <QFrame>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

// The grid's rows are ModPelmar::ResultArray: column 0 名称 (顧客名), column 1
// 住所1 (顧客情報, its line breaks shown as blanks on the one-line row).
class PelmarGridModel : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : int(ModPelmar::ResultArray.size());
    }
    int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : 2; }

    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!index.isValid() || index.row() >= ModPelmar::ResultArray.size()) return {};
        const ModPelmar::CustomerRow& row = ModPelmar::ResultArray.at(index.row());
        if (role == Qt::DisplayRole) {
            if (index.column() == 0) return row.顧客名.toString();
            QString block = row.顧客情報.toString();
            block.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
            block.replace(QChar(u'\n'), QChar(u' ')).replace(QChar(u'\r'), QChar(u' '));
            return block;
        }
        return {};
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
            return section == 0 ? QStringLiteral("名称") : QStringLiteral("住所1");
        return QAbstractTableModel::headerData(section, orientation, role);
    }

    // Replaces the rows through fill, telling the view.
    template <typename F>
    void refill(F fill)
    {
        beginResetModel();
        fill();
        endResetModel();
    }
};

namespace {

constexpr int kMargin = 12;
constexpr int kBoxHeight = 24;

QLabel* makeLabel(QWidget* parent, const QString& text, int x, int y, int w)
{
    auto* l = new QLabel(text, parent);
    l->setGeometry(x, y, w, kBoxHeight);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return l;
}

QLineEdit* makeBox(QWidget* parent, const QString& name, int x, int y, int w)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setGeometry(x, y, w, kBoxHeight);
    return e;
}

QPushButton* makeButton(QWidget* parent, const QString& name, const QString& caption, int x, int y, int w, int h)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setGeometry(x, y, w, h);
    // Enter in a search box must not pick or close anything by itself.
    b->setAutoDefault(false);
    return b;
}

}  // namespace

FrmPelmar::FrmPelmar(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FrmPelmar"));
    setWindowTitle(QStringLiteral("顧客参照"));
    QFont f = font();
    f.setFamilies({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic")});
    f.setPixelSize(13);
    setFont(f);
    buildControls();

    connect(cmd検索, &QPushButton::clicked, this, &FrmPelmar::Exec顧客検索);
    connect(cmd選択, &QPushButton::clicked, this, &FrmPelmar::cmd選択_Click);
    connect(cmdクリア, &QPushButton::clicked, this, &FrmPelmar::cmdクリア_Click);
    connect(cmd閉じる, &QPushButton::clicked, this, &FrmPelmar::cmd閉じる_Click);
    for (QPushButton* b : cmd50) {
        connect(b, &QPushButton::clicked, this, [this, b] { ReadSansyo(b->text()); });
    }
    connect(Grid参照, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
        if (index.isValid()) cmd選択_Click();
    });

    // Esc closes the dialog from whichever control has the focus.
    installEventFilter(this);
    for (QWidget* w : findChildren<QWidget*>()) w->installEventFilter(this);
}

FrmPelmar::~FrmPelmar()
{
    ModPelmar::CloseDatabase();
}

void FrmPelmar::buildControls()
{
    const int labelW = 64, boxW = 210, gap = 8;
    const int col2 = kMargin + labelW + gap + boxW + 16;
    const int buttonX = col2 + labelW + gap + boxW + 16;
    int y = kMargin;
    makeLabel(this, QStringLiteral("ふりがな"), kMargin, y, labelW);
    txtかな = makeBox(this, QStringLiteral("txtかな"), kMargin + labelW + gap, y, boxW);
    makeLabel(this, QStringLiteral("電話番号"), col2, y, labelW);
    txt電話番号 = makeBox(this, QStringLiteral("txt電話番号"), col2 + labelW + gap, y, boxW);
    cmd検索 = makeButton(this, QStringLiteral("cmd検索"), QStringLiteral("検索"), buttonX, y - 1, 76, kBoxHeight + 2);
    y += kBoxHeight + 8;
    makeLabel(this, QStringLiteral("顧客名"), kMargin, y, labelW);
    txt顧客名 = makeBox(this, QStringLiteral("txt顧客名"), kMargin + labelW + gap, y, boxW);
    makeLabel(this, QStringLiteral("住 　所"), col2, y, labelW);
    txt住所1 = makeBox(this, QStringLiteral("txt住所1"), col2 + labelW + gap, y, boxW);
    cmdクリア = makeButton(this, QStringLiteral("cmdクリア"), QStringLiteral("クリア"), buttonX, y - 1, 76, kBoxHeight + 2);
    const int width = buttonX + 76 + kMargin;
    y += kBoxHeight + 14;

    // The kana buttons as the table of the fifty sounds: one column per row
    // of the table (あ, か, さ, ... わ), its five letters from top to bottom.
    const int columns = 10, pitchX = (width - 2 * kMargin) / columns, pitchY = 30;
    QFont kanaFont = font();
    kanaFont.setPixelSize(15);
    for (int i = 0; i < int(cmd50.size()); ++i) {
        const int column = i / 5, line = i % 5;
        cmd50[i] = makeButton(this, QStringLiteral("cmd50(%1)").arg(i), ModPelmar::KanaButtonCaptions.at(i),
                              kMargin + column * pitchX, y + line * pitchY, pitchX - 4, pitchY - 4);
        cmd50[i]->setFont(kanaFont);
    }
    y += 5 * pitchY + 8;

    const int gridH = 300;
    Grid参照 = new QTableView(this);
    Grid参照->setObjectName(QStringLiteral("Grid参照"));
    Grid参照->setGeometry(kMargin, y, width - 2 * kMargin, gridH);
    model_ = new PelmarGridModel(Grid参照);
    Grid参照->setModel(model_);
    Grid参照->setSelectionBehavior(QAbstractItemView::SelectRows);
    Grid参照->setSelectionMode(QAbstractItemView::SingleSelection);
    Grid参照->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Grid参照->setWordWrap(false);
    Grid参照->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    Grid参照->verticalHeader()->setDefaultSectionSize(22);
    Grid参照->verticalHeader()->hide();
    Grid参照->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Interactive);
    Grid参照->horizontalHeader()->setStretchLastSection(true);
    Grid参照->setColumnWidth(0, 250);

    // The notice of a running kana search, over the middle of the list.
    Msg検索中 = new QFrame(this);
    Msg検索中->setObjectName(QStringLiteral("Msg検索中"));
    Msg検索中->setFrameShape(QFrame::Panel);
    Msg検索中->setFrameShadow(QFrame::Raised);
    Msg検索中->setLineWidth(2);
    Msg検索中->setAutoFillBackground(true);
    const QSize noticeSize(220, 56);
    Msg検索中->setGeometry(kMargin + (width - 2 * kMargin - noticeSize.width()) / 2, y + (gridH - noticeSize.height()) / 2,
                          noticeSize.width(), noticeSize.height());
    auto* notice = new QLabel(QStringLiteral("検索中です･･･"), Msg検索中);
    notice->setGeometry(0, 0, noticeSize.width(), noticeSize.height());
    notice->setAlignment(Qt::AlignCenter);
    notice->setFont(kanaFont);
    Msg検索中->hide();
    y += gridH + 10;

    cmd選択 = makeButton(this, QStringLiteral("cmd選択"), QStringLiteral("選択"), width - kMargin - 2 * 96 - 8, y, 96, 30);
    cmd閉じる = makeButton(this, QStringLiteral("cmd閉じる"), QStringLiteral("閉じる"), width - kMargin - 96, y, 96, 30);
    y += 30 + kMargin;

    setFixedSize(width, y);
    setTabOrder(txtかな, txt電話番号);
    setTabOrder(txt電話番号, txt顧客名);
    setTabOrder(txt顧客名, txt住所1);
    setTabOrder(txt住所1, cmd検索);
    txtかな->setFocus();
}

bool FrmPelmar::Form_Load(QString* reason)
{
    picked_ = false;
    for (QLineEdit* box : {txtかな, txt電話番号, txt顧客名, txt住所1}) box->clear();
    model_->refill([] { ModPelmar::ResultArray.clear(); });
    return ModPelmar::OpenDatabase(ModPelmar::DataPath.toString(), reason);
}

void FrmPelmar::fillGrid(const ModPelmar::SearchStatement& statement)
{
    model_->refill([&statement] { ModPelmar::ReadRows(statement); });
    Grid参照->setCurrentIndex(model_->index(0, 0));
}

void FrmPelmar::Exec顧客検索()
{
    fillGrid(ModPelmar::FreeTextStatement(txtかな->text(), txt電話番号->text(), txt顧客名->text(), txt住所1->text()));
}

void FrmPelmar::ReadSansyo(const QString& letter)
{
    Msg検索中->show();
    Msg検索中->raise();
    // Let the notice paint; clicks wait until the search is done.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    fillGrid(ModPelmar::KanaInitialStatement(letter));
    Msg検索中->hide();
}

void FrmPelmar::cmd選択_Click()
{
    const QModelIndex current = Grid参照->currentIndex();
    // The trailing empty row (or a list with no rows) picks the empty name.
    ModPelmar::RetVal = current.isValid() ? model_->index(current.row(), 0).data().toString() : QString();
    picked_ = true;
    accept();
}

void FrmPelmar::cmdクリア_Click()
{
    txt電話番号->setFocus();
}

void FrmPelmar::cmd閉じる_Click()
{
    reject();
}

void FrmPelmar::done(int result)
{
    // Unloading the dialog closes its connection to the data file.
    ModPelmar::CloseDatabase();
    QDialog::done(result);
}

bool FrmPelmar::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        cmd閉じる_Click();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
