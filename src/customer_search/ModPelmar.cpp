#include "customer_search/ModPelmar.h"

#include "platform/JapaneseOrder.h"
#include "platform/SearchPattern.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QMessageBox>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>

Q_LOGGING_CATEGORY(lcPelmar, "pelmar.search")

namespace ModPelmar {

QVariant RetVal;
QVariant DataPath;
QVariant DataMode;
QVariant ColorSet;
QList<CustomerRow> ResultArray;

const QString HiraganaTable = QStringLiteral("あいうえおかきくけこさしすせそたちつてと") + QStringLiteral("なにぬねのはひふへほまみむめも") +
                              QStringLiteral("やいゆえよらりるれろわいうゑをん");
const QString KatakanaTable = QStringLiteral("アイウエオカキクケコサシスセソタチツテト") + QStringLiteral("ナニヌネノハヒフヘホマミムメモ") +
                              QStringLiteral("ヤイユエヨラリルレロワイユヱヲン");
const QString HalfWidthTable = QStringLiteral("ｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿﾀﾁﾂﾃﾄ") + QStringLiteral("ﾅﾆﾇﾈﾉﾊﾋﾌﾍﾎﾏﾐﾑﾒﾓ") +
                               QStringLiteral("ﾔｲﾕｴﾖﾗﾘﾙﾚﾛﾜｲｳｴｦﾝ");

const QStringList KanaButtonCaptions = {
    u"あ"_qs, u"い"_qs, u"う"_qs, u"え"_qs, u"お"_qs, u"か"_qs, u"き"_qs, u"く"_qs, u"け"_qs, u"こ"_qs,
    u"さ"_qs, u"し"_qs, u"す"_qs, u"せ"_qs, u"そ"_qs, u"た"_qs, u"ち"_qs, u"つ"_qs, u"て"_qs, u"と"_qs,
    u"な"_qs, u"に"_qs, u"ぬ"_qs, u"ね"_qs, u"の"_qs, u"は"_qs, u"ひ"_qs, u"ふ"_qs, u"へ"_qs, u"ほ"_qs,
    u"ま"_qs, u"み"_qs, u"む"_qs, u"め"_qs, u"も"_qs, u"や"_qs, u"い"_qs, u"ゆ"_qs, u"え"_qs, u"よ"_qs,
    u"ら"_qs, u"り"_qs, u"る"_qs, u"れ"_qs, u"ろ"_qs, u"わ"_qs, u"ゐ"_qs, u"ゑ"_qs, u"を"_qs, u"　"_qs,
};

namespace {

const QString kConnection = QStringLiteral("PrjPelmar");

QSqlDatabase connection()
{
    return QSqlDatabase::database(kConnection, false);
}

// A condition on one column, joined to the ones before it.
void addContains(SearchStatement& s, bool& first, const QString& column, const QString& typed)
{
    if (typed.isEmpty()) return;
    s.sql += (first ? QStringLiteral(" where ") : QStringLiteral(" and ")) + column + QStringLiteral(" like ? escape '\\'");
    s.binds << QStringLiteral("%") + LikeText(typed) + QStringLiteral("%");
    first = false;
}

QString limitClause()
{
    return QStringLiteral(" limit %1").arg(kMaxRows);
}

void showWarningBox(const QString& title, const QString& text)
{
    QMessageBox box(QApplication::activeWindow());
    box.setIcon(QMessageBox::Warning);
    box.setWindowTitle(title);
    box.setText(text);
    box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.exec();
}

MessageSink& messageSink()
{
    static MessageSink sink;
    return sink;
}

}  // namespace

void ConvertKanaInitial(const QString& letter, QVariant& katakana, QVariant& halfWidth)
{
    katakana = QVariant();
    halfWidth = QVariant();
    if (letter.size() != 1) return;
    const qsizetype at = HiraganaTable.indexOf(letter);
    if (at < 0) return;
    katakana = KatakanaTable.mid(at, 1);
    halfWidth = HalfWidthTable.mid(at, 1);
}

QString LikeText(const QString& typed)
{
    return SearchLikePattern(typed);
}

SearchStatement FreeTextStatement(const QString& かな, const QString& 電話番号, const QString& 顧客名, const QString& 住所)
{
    SearchStatement s{QStringLiteral("select 顧客名, 顧客情報 from 顧客マスタ"), {}};
    bool first = true;
    addContains(s, first, QStringLiteral("ふりがな"), かな);
    addContains(s, first, QStringLiteral("顧客情報"), 電話番号);
    addContains(s, first, QStringLiteral("顧客名"), 顧客名);
    addContains(s, first, QStringLiteral("顧客情報"), 住所);
    s.sql += QStringLiteral(" order by ふりがな collate japanese, rowid") + limitClause();
    return s;
}

SearchStatement KanaInitialStatement(const QString& letter)
{
    QVariant katakana, halfWidth;
    ConvertKanaInitial(letter, katakana, halfWidth);
    SearchStatement s{QStringLiteral("select 顧客名, 顧客情報 from 顧客マスタ where (ふりがな like ? escape '\\')"
                                     " or (ふりがな like ? escape '\\') or (ふりがな like ? escape '\\')"
                                     " order by ふりがな collate japanese, rowid") +
                          limitClause(),
                      {}};
    // A Null letter joins as the empty text: its condition matches every reading.
    for (const QVariant& v : {QVariant(letter), katakana, halfWidth})
        s.binds << LikeText(v.toString()) + QStringLiteral("%");
    return s;
}

bool OpenDatabase(const QString& path, QString* reason)
{
    CloseDatabase();
    const QFileInfo fi(path);
    if (path.isEmpty() || !fi.isFile()) {
        qCWarning(lcPelmar).noquote() << "no data file:" << path;
        if (reason) *reason = QStringLiteral("ファイルが見つかりません。");
        return false;
    }
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), kConnection);
        // Read-only, and never create a file that is not there.
        QUrl url = QUrl::fromLocalFile(fi.absoluteFilePath());
        url.setQuery(QStringLiteral("mode=ro"));
        db.setDatabaseName(url.toString(QUrl::FullyEncoded));
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=5000"));
        bool ok = db.open();
        // Readings in Japanese order, as the program lists them.
        if (ok && !RegisterJapaneseCollation(db)) {
            qCWarning(lcPelmar).noquote() << "no Japanese order on" << path;
            ok = false;
        }
        if (ok) {
            // SQLite opens lazily: a probe tells a data file from any other file.
            QSqlQuery probe(db);
            ok = probe.exec(QStringLiteral("select 顧客名, 顧客情報, ふりがな from 顧客マスタ limit 0"));
            if (!ok) qCWarning(lcPelmar).noquote() << "cannot read customers of" << path << ":" << probe.lastError().text();
        } else {
            qCWarning(lcPelmar).noquote() << "cannot open" << path << ":" << db.lastError().text();
        }
        if (ok) return true;
    }
    CloseDatabase();
    if (reason) *reason = QStringLiteral("顧客マスタを読み込めません。");
    return false;
}

QString CannotOpenMessage(const QString& path, const QString& reason)
{
    if (path.isEmpty()) return QStringLiteral("顧客データのファイルが指定されていません。");
    return QStringLiteral("顧客データのファイルを開けません。\n%1\n%2")
        .arg(QDir::toNativeSeparators(path), reason);
}

void SetMessageSink(MessageSink sink)
{
    messageSink() = std::move(sink);
}

void ShowWarning(const QString& text)
{
    const QString title = QStringLiteral("顧客参照");
    if (messageSink()) messageSink()(title, text);
    else showWarningBox(title, text);
}

void CloseDatabase()
{
    if (!QSqlDatabase::contains(kConnection)) return;
    {
        QSqlDatabase db = connection();
        if (db.isOpen()) db.close();
    }
    QSqlDatabase::removeDatabase(kConnection);
}

bool IsDatabaseOpen()
{
    return QSqlDatabase::contains(kConnection) && connection().isOpen();
}

int ReadRows(const SearchStatement& statement)
{
    QList<CustomerRow> rows;
    rows.reserve(kMaxRows + 1);
    if (IsDatabaseOpen()) {
        QSqlQuery q(connection());
        q.setForwardOnly(true);
        bool ok = q.prepare(statement.sql);
        for (const QVariant& b : statement.binds) q.addBindValue(b);
        ok = ok && q.exec();
        if (!ok) qCWarning(lcPelmar).noquote() << "search failed:" << q.lastError().text();
        while (ok && rows.size() < kMaxRows && q.next()) rows.append(CustomerRow{q.value(0), q.value(1)});
    }
    const int found = int(rows.size());
    rows.append(CustomerRow{});  // the trailing empty row
    ResultArray = std::move(rows);
    return found;
}

}  // namespace ModPelmar
