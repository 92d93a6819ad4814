// Filter expressions: compiling either refuses the text or gives SQL that
// SQLite accepts with its parameters, on a table of a text and a number.
#include "components/core/database.h"
#include "components/core/sql_condition.h"
#include "fuzz/fuzz_check.h"

#include <cstdint>

namespace {

const std::vector<FieldDef> kFields = {{"名前", FieldType::Text}, {"数", FieldType::WholeNumber}};

const FieldDef* findField(const std::string& name)
{
    for (const FieldDef& f : kFields)
        if (f.name == name)
            return &f;
    return nullptr;
}

Database& database()
{
    static Database db(QStringLiteral(":memory:"));
    static const bool made = (db.exec("CREATE TABLE t (名前 BLOB NOT NULL, 数 INTEGER)"), true);
    (void)made;
    return db;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    SqlCondition c;
    try {
        c = compileFilter(std::string_view(reinterpret_cast<const char*>(data), size), findField);
    } catch (const DbError&) {
        return 0;
    }
    try {
        Statement s = database().prepare("SELECT count(*) FROM t" + (c.sql.empty() ? "" : " WHERE " + c.sql));
        FUZZ_CHECK(bindParams(s, c.params) == int(c.params.size()) + 1);
        s.step();
    } catch (const DbError& e) {
        std::fprintf(stderr, "SQL refused: %s\n%s\n", e.what(), c.sql.c_str());
        std::abort();
    }
    return 0;
}
