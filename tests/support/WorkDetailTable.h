#pragma once
// A fresh program folder with its work database open, and the detail lines
// (w明細) as a grid model with the kinds the quotation window gives them:
//
//     WorkDetailTable t;
//     QVERIFY(t.opened);
//     QVERIFY(t.db.exec(...));          // prepare rows before reading them
//     WorkTableModel& model = t.model();
//
// The model reads the table when model() is first called.

#include "platform/Database.h"
#include "platform/WorkTableModel.h"
#include "support/TestFolder.h"

#include <optional>

struct WorkDetailTable {
    TestFolder folder;
    Database db;
    bool opened = db.open(folder.workDbPath(), Database::Role::Work);

    WorkTableModel& model()
    {
        if (!detail) {
            detail.emplace(db, QStringLiteral("w明細"));
            giveDetailKinds(*detail);
        }
        return *detail;
    }

    // The kinds the quotation window gives the detail columns.
    static void giveDetailKinds(WorkTableModel& m)
    {
        using Kind = WorkTableModel::Kind;
        auto set = [&m](const char* field, Kind kind, const QString& format = QStringLiteral("#,###")) {
            auto& c = m.column(m.columnOf(QString::fromUtf8(field)));
            c.kind = kind;
            c.format = format;
        };
        set("行番号", Kind::Integer);
        set("数量", Kind::Money, QStringLiteral("Standard"));
        set("単価", Kind::Money);
        set("金額", Kind::Money);
        set("非課税", Kind::Bool);
        set("小計", Kind::Bool);
    }

private:
    std::optional<WorkTableModel> detail;
};
