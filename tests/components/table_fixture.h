// A fresh database in a temporary data directory for every test.
#pragma once

#include "components/database.h"
#include "components/table.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

class TableTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    std::unique_ptr<Database> db;

    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        db = std::make_unique<Database>(dir.filePath("CARDATA.sqlite3"));
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
};
