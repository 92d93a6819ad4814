// A fresh database in a temporary data directory for every test.
#pragma once

#include "components/core/database.h"
#include "components/core/schema.h"
#include "components/core/table.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using Texts = std::vector<std::string>;

class TableTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    std::unique_ptr<Database> db;

    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        db = openSharedDatabase(dir.filePath("CARDATA.sqlite3"));
    }

    std::unique_ptr<Table> open(const char* name)
    {
        auto t = std::make_unique<Table>(*db, name);
        t->Open();
        return t;
    }

    // A record of INDATA with its reading and registration number set.
    static void addRecord(Table& t, const char* reading, const char* number, const char* name = "")
    {
        t.Append();
        t.FieldByName("使用者ふりがな").SetAsString(sj(reading));
        t.FieldByName("自動車登録番号").SetAsString(sj(number));
        t.FieldByName("使用者").SetAsString(sj(name));
        t.Post();
    }

    static std::string reading(Table& t) { return sjis::toUtf8(t.FieldByName("使用者ふりがな").AsString()); }

    static void set(Table& t, const char* field, const char* utf8) { t.FieldByName(field).SetAsString(sj(utf8)); }
    static std::string get(Table& t, const char* field) { return sjis::toUtf8(t.FieldByName(field).AsString()); }

    // One field of every visible record in the active order, read without
    // moving the cursor.
    static Texts column(Table& t, const char* field = "使用者ふりがな")
    {
        Texts out;
        const auto f = std::size_t(t.FieldIndex(field));
        for (int i = 0; i < t.RecordCount(); ++i)
            out.push_back(sjis::toUtf8(t.rowValues(i)[f]));
        return out;
    }

    // A number read straight from the database, past the engine.
    long long scalar(const std::string& sql)
    {
        Statement s = db->prepare(sql);
        return s.step() ? s.columnInt(0) : -1;
    }
};
