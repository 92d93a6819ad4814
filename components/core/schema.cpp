#include "components/core/schema.h"

#include "components/core/cp932.h"
#include "components/core/database.h"
#include "components/core/record_fields.h"

#include <QString>
#include <algorithm>
#include <string>

namespace {

std::vector<FieldDef> textFields(std::initializer_list<const char*> names)
{
    std::vector<FieldDef> fields;
    for (const char* n : names)
        fields.push_back({n, FieldType::Text});
    return fields;
}

TableDef recordTable()
{
    TableDef t{"INDATA", {}, {}, true, {}};
    for (const RecordField& f : kRecordFields)
        t.fields.push_back({f.name, f.wholeNumber ? FieldType::WholeNumber : FieldType::Text});
    for (int i = 0; i < kPrimaryKeyFieldCount; ++i)
        t.primaryOrder.push_back(kRecordFields[std::size_t(i)].name);
    // One secondary index per field the sort dialog offers by default.
    for (int no = 1; no <= kStandardFieldCount; ++no)
        t.indexes.push_back({indexNameOfUtf8(recordField(no).name), {recordField(no).name}});
    return t;
}

TableDef specificationTable()
{
    const char* names[] = {"自動車型式指定番号", "類別区分番号", "型式", "車名", "車体の形状", "長さ", "幅",
                           "高さ", "前前軸重", "前後軸重", "後前軸重", "後後軸重", "乗車定員", "定員",
                           "最大積載量", "積載量", "車両重量", "車両総重量", "総重量", "原動機の型式",
                           "総排気量又は定格出力", "定格出力", "燃料の種類", "燃料", "自動車の種別", "用途",
                           "カテゴリ"};
    TableDef t{"code", {}, {"自動車型式指定番号", "類別区分番号"}, true, {}};
    for (const char* n : names) {
        int no = recordFieldNumber(n);
        bool whole = no && recordField(no).wholeNumber;
        t.fields.push_back({n, whole ? FieldType::WholeNumber : FieldType::Text});
    }
    return t;
}

// Bytes of each standard field (1..47) that hold its values: names and
// readings of 20 full-width characters, addresses of 40, era dates
// ("令和０３年０４月１２日"), codes, weights of up to six digits, and remarks
// of several dated lines.
constexpr int kFullWidths[kStandardFieldCount] = {
    40, 16, 40, 80, 30, 22, 16, 20, 24, 20,  // 使用者ふりがな .. 原動機の型式
    10, 8,  22, 30, 20, 40, 80, 80, 10, 10,  // 自動車型式指定番号 .. 用途
    8,  20, 20, 4,  4,  6,  6,  6,  6,  6,   // 自家用事業用の別 .. 総重量
    6,  6,  6,  8,  8,  16, 8,  6,  6,  6,   // 長さ .. 後前軸重
    6,  255, 30, 20, 22, 10, 22,             // 後後軸重 .. 自賠責期間至
};
constexpr int kAddressBookFields = 4;  // 使用者ふりがな, 電話番号, 使用者, 使用者住所

// One set's row: its name, the widths of fields 1..47, the postal-code
// setting and the list print's two computed columns (a passenger car's
// weight right-aligned in six, a gross weight with its full-width blank;
// "  軽自動車").
std::vector<std::string> widthSetRow(const char* name, int fieldCount, int postalMode)
{
    std::vector<std::string> row{name};
    for (int i = 0; i < kStandardFieldCount; ++i)
        row.push_back(std::to_string(i < fieldCount ? kFullWidths[i] : 0));
    for (int n : {postalMode, 8, 10})
        row.push_back(std::to_string(n));
    return row;
}

// The sets a new book starts with, so that it can be backed up and listed
// at once: every field without and with the postal-code column, and an
// address book whose postal search may add a missing prefecture.
std::vector<std::vector<std::string>> widthSetSeeds()
{
    return {widthSetRow("全項目", kStandardFieldCount, 0),
            widthSetRow("全項目＋郵便番号", kStandardFieldCount, 1),
            widthSetRow("住所録＋郵便番号", kAddressBookFields, 2)};
}

// Width sets: a name, a byte width per standard field, the postal-code
// setting and the widths of the list print's two computed columns; kept in
// insertion order.
TableDef widthSetTable()
{
    TableDef t{"INDTLEN", {{"データ用途", FieldType::Text}}, {}, false, {}};
    for (int no = 1; no <= kStandardFieldCount; ++no)
        t.fields.push_back({recordField(no).name, FieldType::WholeNumber});
    for (const char* n : {"郵便番号", "車両重量又は総重量", "用途及び重量"})
        t.fields.push_back({n, FieldType::WholeNumber});
    t.seedRows = widthSetSeeds();
    return t;
}

// The print program's pattern tables: row P (insertion order) belongs to
// print pattern P.
TableDef printPatternTable()
{
    return {"PrtData",
            {{"名称", FieldType::Text},
             {"用紙", FieldType::Text},
             {"横向き", FieldType::WholeNumber},
             {"上余白", FieldType::WholeNumber},
             {"左余白", FieldType::WholeNumber}},
            {},
            false,
            {}};
}

TableDef printFreeTable()
{
    TableDef t{"PrtFreeData", {}, {}, false, {}};
    for (int n = 1; n <= 60; ++n)
        t.fields.push_back({"項目" + std::to_string(n), FieldType::Text});
    return t;
}

// The five uses of the fee tables, in the order their fields are kept.
const char* const kCostUses[] = {"乗用", "貨物", "特種", "乗合", "特殊"};

std::vector<FieldDef> wholeNumbers(const std::vector<std::string>& names)
{
    std::vector<FieldDef> fields;
    for (const std::string& n : names)
        fields.push_back({n, FieldType::WholeNumber});
    return fields;
}

// Weight-tax brackets: per use the bounds of rows 1..13 (13: the step),
// per use the taxes of rows 1..13 private and 14..26 business, the
// special-purpose load columns 27..52, then the four flat taxes. One row.
TableDef weightTaxTable()
{
    std::vector<std::string> names;
    for (const char* use : kCostUses)
        for (int r = 1; r <= 13; ++r)
            names.push_back(std::string("重量税") + use + "数値" + std::to_string(r));
    for (const char* use : kCostUses)
        for (int r = 1; r <= 26; ++r)
            names.push_back(std::string("重量税") + use + std::to_string(r));
    for (int r = 27; r <= 52; ++r)
        names.push_back("重量税特種" + std::to_string(r));
    for (const char* flat : {"重量税軽", "重量税二輪", "重量税軽貨物", "重量税二輪事業用"})
        names.push_back(flat);
    return {"WeightTax", wholeNumbers(names), {}, false, {}};
}

// Fees by kind, use and class 1..8, then the temporary plate. One row.
TableDef expenseTable()
{
    std::vector<std::string> names;
    for (const char* kind : {"自賠責", "検査印紙", "諸費用"})
        for (const char* use : kCostUses)
            for (int k = 1; k <= 8; ++k)
                names.push_back(std::string(kind) + use + std::to_string(k));
    names.push_back("仮ナンバー");
    return {"Expense", wholeNumbers(names), {}, false, {}};
}

// Rows the request program reads: several a day share one 項番.
TableDef requestTable()
{
    std::vector<FieldDef> fields = textFields({"作成日"});
    fields.push_back({"項番", FieldType::WholeNumber});
    for (const FieldDef& f : textFields({"電話番号", "住所", "ふりがな", "氏名", "自動車登録番号", "車名", "初度登録",
                                         "車台番号", "型式", "原動機の型式", "型式指定番号", "類別区分番号", "分類",
                                         "車検"}))
        fields.push_back(f);
    for (const FieldDef& f : wholeNumbers({"自賠責", "重量税", "印紙代", "諸費用", "車検合計"}))
        fields.push_back(f);
    return {"Request", fields, {"項番"}, false, {}};
}

std::vector<TableDef> buildSchema()
{
    return {
        recordTable(),
        specificationTable(),
        // Postal codes: many addresses share a code, kept in file order.
        {"PostData", textFields({"郵便番号７桁", "住所"}), {"郵便番号７桁"}, false, {}},
        // Scratch table of the remarks sort: lines with equal keys keep
        // the order they were appended in.
        {"Sort", textFields({"項目1", "項目2"}), {"項目1"}, false, {}},
        widthSetTable(),
        printPatternTable(),
        printFreeTable(),
        expenseTable(),
        weightTaxTable(),
        requestTable(),
    };
}

std::string columnDefinition(const FieldDef& f)
{
    return quoteIdentifier(f.name) +
           (f.type == FieldType::WholeNumber ? " INTEGER" : " BLOB NOT NULL DEFAULT x''");
}

bool tableExists(Database& db, const std::string& name)
{
    Statement s = db.prepare("SELECT 1 FROM sqlite_master WHERE type='table' AND name=?1 COLLATE NOCASE");
    s.bindText(1, name);
    return s.step();
}

std::vector<std::string> columnsOf(Database& db, const std::string& table)
{
    Statement s = db.prepare("SELECT name FROM pragma_table_info(?1)");
    s.bindText(1, table);
    std::vector<std::string> names;
    while (s.step())
        names.push_back(s.columnBytes(0));
    return names;
}

bool hasTables(Database& db)
{
    return db.prepare("SELECT 1 FROM sqlite_master WHERE type='table'").step();
}

// Fields a table must have for the programs to work on it: the standard
// ones of the record table, all of every other.
std::size_t neededFieldCount(const TableDef& t)
{
    return t.name == "INDATA" ? std::size_t(kStandardFieldCount) : t.fields.size();
}

// Refuses a file that holds tables but is no book: it lacks the record
// table, or one of its tables lacks a field. Reads the schema only, which is
// quick for any size of book.
void checkIsBook(Database& db)
{
    if (!hasTables(db))
        return;
    if (!tableExists(db, "INDATA"))
        throw notABookError(db.path(), QStringLiteral("INDATA テーブルがありません"));
    for (const TableDef& t : schemaTables()) {
        if (!tableExists(db, t.name))
            continue;
        const std::vector<std::string> columns = columnsOf(db, t.name);
        for (std::size_t i = 0; i < neededFieldCount(t); ++i)
            if (std::find(columns.begin(), columns.end(), t.fields[i].name) == columns.end())
                throw notABookError(db.path(), QStringLiteral("%1 テーブルにフィールド「%2」がありません")
                                                   .arg(QString::fromStdString(t.name),
                                                        QString::fromStdString(t.fields[i].name)));
    }
}

std::string joinedColumns(const std::vector<std::string>& fields)
{
    std::string sql;
    for (const std::string& f : fields)
        sql += (sql.empty() ? "" : ", ") + quoteIdentifier(f);
    return sql;
}

void insertSeedRows(Database& db, const TableDef& t)
{
    if (t.seedRows.empty())
        return;
    std::string sql = "INSERT INTO " + quoteIdentifier(t.name) + " VALUES (";
    for (std::size_t i = 0; i < t.fields.size(); ++i)
        sql += (i ? ", ?" : "?") + std::to_string(i + 1);
    Statement insert = db.prepare(sql + ")");
    for (const std::vector<std::string>& row : t.seedRows) {
        insert.reset();
        for (std::size_t i = 0; i < t.fields.size(); ++i) {
            const std::string value = i < row.size() ? row[i] : std::string();
            const int at = int(i + 1);
            if (t.fields[i].type == FieldType::Text)
                insert.bindBlob(at, sj(value));
            else if (value.empty())
                insert.bindNull(at);
            else
                insert.bindInt(at, std::stoll(value));
        }
        insert.step();
    }
}

}  // namespace

const std::vector<TableDef>& schemaTables()
{
    static const std::vector<TableDef> tables = buildSchema();
    return tables;
}

const TableDef* schemaTable(std::string_view name)
{
    QString wanted = QString::fromUtf8(name.data(), qsizetype(name.size()));
    if (wanted.endsWith(QStringLiteral(".db"), Qt::CaseInsensitive))
        wanted.chop(3);
    for (const TableDef& t : schemaTables())
        if (wanted.compare(QString::fromStdString(t.name), Qt::CaseInsensitive) == 0)
            return &t;
    return nullptr;
}

std::string sqlIndexName(const std::string& table, const std::string& index)
{
    return table + "$" + index;
}

void createMissingTables(Database& db)
{
    for (const TableDef& t : schemaTables()) {
        if (tableExists(db, t.name))
            continue;
        // Asked again under the write lock: the other program may be
        // creating the same table at this moment.
        Database::Transaction tx(db);
        if (tableExists(db, t.name))
            continue;
        std::string sql = "CREATE TABLE " + quoteIdentifier(t.name) + " (";
        for (std::size_t i = 0; i < t.fields.size(); ++i)
            sql += (i ? ", " : "") + columnDefinition(t.fields[i]);
        if (t.uniqueKey && !t.primaryOrder.empty())
            sql += ", UNIQUE (" + joinedColumns(t.primaryOrder) + ")";
        sql += ")";
        db.exec(sql);
        if (!t.uniqueKey && !t.primaryOrder.empty())
            db.exec("CREATE INDEX " + quoteIdentifier(sqlIndexName(t.name, "")) + " ON " + quoteIdentifier(t.name) +
                    " (" + joinedColumns(t.primaryOrder) + ")");
        for (const IndexDef& ix : t.indexes)
            createIndex(db, t.name, ix);
        insertSeedRows(db, t);
        tx.commit();
    }
}

std::unique_ptr<Database> openSharedDatabase(const QString& path)
{
    auto db = std::make_unique<Database>(path, checkIsBook);
    try {
        createMissingTables(*db);
    } catch (const DbError& e) {
        throw bookError(path, e);
    }
    return db;
}

void createIndex(Database& db, const std::string& table, const IndexDef& index)
{
    db.exec("CREATE INDEX IF NOT EXISTS " + quoteIdentifier(sqlIndexName(table, index.name)) + " ON " +
            quoteIdentifier(table) + " (" + joinedColumns(index.fields) + ")");
}
