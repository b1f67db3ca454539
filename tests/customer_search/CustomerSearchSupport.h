#pragma once
// Helpers of the customer-search tests and benchmark: customers written into
// a data file and a driver for the modal search dialog.

#include <QApplication>
#include <QFile>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <QUuid>

struct CustomerFixtureRow {
    QString 顧客名;
    QVariant 顧客情報;
    QVariant ふりがな;
};

// Writes customers into 顧客マスタ on a connection of its own, closed again
// before the file is searched. False (error set) when a row could not be written.
inline bool insertCustomers(const QString& dataFile, const QList<CustomerFixtureRow>& rows, QString* error = nullptr)
{
    const QString name = QStringLiteral("fixture-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    bool ok = true;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(dataFile);
        ok = db.open() && db.transaction();
        QSqlQuery q(db);
        ok = ok && q.prepare(QStringLiteral("insert into 顧客マスタ (顧客名, 顧客情報, ふりがな, 敬称) values (?, ?, ?, '様')"));
        for (const CustomerFixtureRow& r : rows) {
            if (!ok) break;
            q.addBindValue(r.顧客名);
            q.addBindValue(r.顧客情報);
            q.addBindValue(r.ふりがな);
            ok = q.exec();
        }
        ok = ok && db.commit();
        if (!ok && error) *error = q.lastError().text() + db.lastError().text();
        q = QSqlQuery();
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return ok;
}

// While it lives, runs f once on the search dialog (the window named
// "FrmPelmar") as soon as it shows; f runs inside the dialog's modal loop.
class SearchDriver {
public:
    explicit SearchDriver(std::function<void(QWidget*)> f) : f_(std::move(f))
    {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                if (w->objectName() == QStringLiteral("FrmPelmar") && w->isVisible()) {
                    timer_.stop();
                    ran_ = true;
                    QPointer<QWidget> shown(w);
                    f_(w);
                    // A check that failed must not leave the modal search open.
                    if (shown && shown->isVisible()) shown->close();
                    return;
                }
            }
        });
        timer_.start(10);
    }
    bool ran() const { return ran_; }

private:
    QTimer timer_;
    std::function<void(QWidget*)> f_;
    bool ran_ = false;
};
