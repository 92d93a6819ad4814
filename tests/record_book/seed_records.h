// Set-up shared by the record book's model and window tests.
#pragma once

#include "components/core/cp932.h"
#include "components/core/database.h"
#include "components/core/record_fields.h"
#include "components/core/schema.h"
#include "components/core/table.h"

#include <string>
#include <utility>
#include <vector>

// A record's fields by name with their values in UTF-8.
using Fields = std::vector<std::pair<const char*, const char*>>;

// Records put straight into a table, past any hooks.
inline void seedTable(Database& db, const char* table, const std::vector<Fields>& records)
{
    Table t(db, table);
    t.Open();
    for (const Fields& fields : records) {
        t.Append();
        for (auto [field, value] : fields)
            t.FieldByName(field).SetAsString(sj(value));
        t.Post();
    }
}

// The record table as the older layout had it: the first 47 fields.
inline void makeStandardRecordTable(Database& db)
{
    db.exec("DROP TABLE INDATA");
    std::string sql = "CREATE TABLE INDATA (";
    for (int no = 1; no <= kStandardFieldCount; ++no)
        sql += std::string(no > 1 ? ", " : "") + quoteIdentifier(recordField(no).name) +
               (recordField(no).wholeNumber ? " INTEGER" : " BLOB NOT NULL DEFAULT x''");
    db.exec(sql + ")");
}
