// What the benchmarks over a record table of generated records share: the
// timing of one-shot operations, the encoding of word lists, and the
// writing of the generated records with raw inserts.
#pragma once

#include "components/core/cp932.h"
#include "components/core/database.h"
#include "components/core/table.h"

#include <chrono>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

// A generated record: one value per field of the record table; nothing
// for a blank (NULL in a whole-number field, empty text otherwise).
using Values = std::vector<std::optional<SjisString>>;

template <class F>
double secondsOf(F&& f)
{
    const auto start = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

inline std::vector<SjisString> encodeAll(std::initializer_list<const char*> utf8)
{
    std::vector<SjisString> out;
    for (const char* w : utf8)
        out.push_back(sj(w));
    return out;
}

// How insertRecords treats the secondary indexes of INDATA: kept up to date
// row by row, or dropped first and built again at the end (several times
// faster).
enum class IndexUpkeep { RowByRow, BuiltAfterwards };

// Writes `count` records into INDATA with one prepared statement in one
// transaction; `recordAt(i)` gives record i as Values.
template <class RecordAt>
void insertRecords(Database& db, std::size_t count, RecordAt&& recordAt, IndexUpkeep indexes = IndexUpkeep::RowByRow)
{
    Table probe(db, "INDATA");
    std::string columns, marks;
    for (int i = 0; i < probe.FieldCount(); ++i) {
        columns += (i ? ", " : "") + quoteIdentifier(probe.FieldDefinition(i).name);
        marks += i ? ", ?" : "?";
    }
    Database::Transaction tx(db);
    std::vector<std::string> indexSql;
    if (indexes == IndexUpkeep::BuiltAfterwards) {
        Statement s = db.prepare("SELECT name, sql FROM sqlite_master WHERE type = 'index' AND "
                                 "tbl_name = 'INDATA' AND sql IS NOT NULL");
        std::vector<std::string> names;
        while (s.step()) {
            names.push_back(s.columnBytes(0));
            indexSql.push_back(s.columnBytes(1));
        }
        for (const std::string& n : names)
            db.exec("DROP INDEX " + quoteIdentifier(n));
    }
    Statement insert = db.prepare("INSERT INTO INDATA (" + columns + ") VALUES (" + marks + ")");
    for (std::size_t r = 0; r < count; ++r) {
        const Values& record = recordAt(r);
        insert.reset();
        for (int i = 0; i < probe.FieldCount(); ++i) {
            const auto& v = record[std::size_t(i)];
            if (probe.FieldDefinition(i).type == FieldType::WholeNumber) {
                if (v)
                    insert.bindInt(i + 1, std::stoll(*v));
                else
                    insert.bindNull(i + 1);
            } else {
                insert.bindBlob(i + 1, v ? *v : SjisString());
            }
        }
        insert.step();
    }
    for (const std::string& sql : indexSql)
        db.exec(sql);
    tx.commit();
}
