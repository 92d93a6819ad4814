#include "components/core/table.h"

#include "components/core/check.h"

#include <algorithm>
#include <numeric>
#include <unordered_map>
#include <unordered_set>

namespace {

QString qs(const std::string& utf8) { return QString::fromStdString(utf8); }

std::vector<std::string> splitNames(std::string_view names)
{
    std::vector<std::string> out;
    std::size_t start = 0;
    while (start <= names.size()) {
        std::size_t end = names.find(';', start);
        if (end == std::string_view::npos)
            end = names.size();
        std::string name = sjis::trim(names.substr(start, end - start));
        if (!name.empty())
            out.push_back(name);
        start = end + 1;
    }
    return out;
}

int typeRank(SqlParam::Kind k)
{
    switch (k) {
    case SqlParam::Kind::Null: return 0;
    case SqlParam::Kind::Int: return 1;
    case SqlParam::Kind::Text: return 2;
    case SqlParam::Kind::Blob: return 3;
    }
    return 0;
}

// A column value as the key comparison sees it, in SQLite's own order.
SqlParam columnKey(const Statement& s, int i)
{
    switch (s.columnType(i)) {
    case SQLITE_NULL: return {SqlParam::Kind::Null, {}, 0};
    case SQLITE_INTEGER:
    case SQLITE_FLOAT: return {SqlParam::Kind::Int, {}, s.columnInt(i)};
    case SQLITE_TEXT: return {SqlParam::Kind::Text, s.columnBytes(i), 0};
    default: return {SqlParam::Kind::Blob, s.columnBytes(i), 0};
    }
}

// A column as the text the table reads from it, blank for NULL.
std::string storedText(const std::string& name)
{
    return "coalesce(CAST(" + quoteIdentifier(name) + " AS BLOB), x'')";
}

DbError recordGone()
{
    return DbError(QStringLiteral("レコードが見つかりません（他のプログラムで削除された可能性があります）。"));
}

}  // namespace

const char* tableStateName(Table::State s)
{
    switch (s) {
    case Table::State::Inactive: return "Inactive";
    case Table::State::Browse: return "Browse";
    case Table::State::Edit: return "Edit";
    case Table::State::Insert: return "Insert";
    }
    return "";
}

// ---- Field -----------------------------------------------------------------

const std::string& Field::FieldName() const { return table_->fields_[std::size_t(index_)].name; }

bool Field::IsWholeNumber() const { return table_->fields_[std::size_t(index_)].type == FieldType::WholeNumber; }

SjisString Field::AsString() const { return table_->value(index_); }

long long Field::AsInteger() const
{
    SjisString v = AsString();
    if (sjis::trim(v).empty())
        return 0;
    auto n = parseWholeNumber(v);
    if (!n)
        throw DbError(QStringLiteral("「%1」は整数ではありません。").arg(sjis::excerpt(v)));
    return *n;
}

void Field::SetAsString(const SjisString& value) { table_->setField(index_, value); }

// ---- Table -------------------------------------------------------------------

Table::Table(Database& db, std::string tableName, QObject* parent) : QObject(parent), db_(db)
{
    const TableDef* def = schemaTable(tableName);
    name_ = def ? def->name : tableName;
    if (!def && name_.size() > 3 && QString::fromStdString(name_.substr(name_.size() - 3)).toLower() == ".db")
        name_.resize(name_.size() - 3);  // the system names its tables with the file extension
    Statement info = db_.prepare("SELECT name, type FROM pragma_table_info(?1)");
    info.bindText(1, name_);
    while (info.step()) {
        std::string type = info.columnBytes(1);
        std::transform(type.begin(), type.end(), type.begin(), ::toupper);
        fields_.push_back({info.columnBytes(0), type.find("INT") != std::string::npos ? FieldType::WholeNumber
                                                                                     : FieldType::Text});
    }
    if (fields_.empty())
        throw DbError(QStringLiteral("テーブル '%1' が見つかりません。").arg(qs(tableName)));
    if (def)
        for (const std::string& f : def->primaryOrder)
            if (FieldIndex(f) >= 0)
                primaryOrder_.push_back(f);
    for (const std::string& f : primaryOrder_)
        identity_.push_back(std::size_t(FieldIndex(f)));
    if (!def || !def->uniqueKey || identity_.empty()) {
        identity_.resize(fields_.size());
        std::iota(identity_.begin(), identity_.end(), std::size_t(0));
    }

    std::string columns, marks;
    for (std::size_t i = 0; i < fields_.size(); ++i) {
        columns += (i ? ", " : "") + quoteIdentifier(fields_[i].name);
        marks += i ? ", ?" : "?";
    }
    selectRow_ = db_.prepare("SELECT " + columns + " FROM " + quoteIdentifier(name_) + " WHERE rowid = ?", true);
    deleteRow_ = db_.prepare("DELETE FROM " + quoteIdentifier(name_) + " WHERE " + sameValues(0, identity_).sql, true);
    insertRow_ = db_.prepare("INSERT INTO " + quoteIdentifier(name_) + " (" + columns + ") VALUES (" + marks + ")", true);
    applyOrder(primaryOrder_);
}

Table::~Table() = default;

void Table::checkActive() const
{
    if (state_ == State::Inactive)
        throw DbError(QStringLiteral("テーブル '%1' は開かれていません。").arg(qs(name_)));
}

// The invariants of table.h, numbered alike. O(1): no statement runs.
void Table::checkInvariants() const
{
    const std::size_t fieldCount = fields_.size();
    const bool editing = state_ == State::Edit || state_ == State::Insert;
    if (state_ == State::Inactive) {
        SORVANI_CHECK(rows_.empty() && !modified_ && buffer_.empty(), "1: a closed table holds nothing");
    } else {
        SORVANI_CHECK(current_.size() == fieldCount, "2: one current value per field");
    }
    SORVANI_CHECK(!modified_ || editing, "3: modified only in Edit or Insert");
    SORVANI_CHECK(editing ? buffer_.size() == fieldCount : buffer_.empty(), "3: edited values only in Edit or Insert");
    if (state_ != State::Inactive && !viewStale_) {
        SORVANI_CHECK(position_ < std::max<std::size_t>(rows_.size(), 1), "4: the current position lies in the view");
        SORVANI_CHECK(state_ != State::Edit || !rows_.empty(), "5: Edit has a current record");
        SORVANI_CHECK((eof_ && bof_) == rows_.empty(), "6: Eof and Bof together exactly on an empty view");
    }
    SORVANI_CHECK(bulkDepth_ >= 0, "7: bulk depth not negative");
}

void Table::Open()
{
    SORVANI_CHECK_ON_EXIT(checkInvariants());
    if (Active())
        return;
    state_ = State::Browse;
    loadView(std::nullopt);
    bof_ = true;
    if (!rows_.empty() && AfterScroll)
        AfterScroll(*this);
}

void Table::Close()
{
    SORVANI_CHECK_ON_EXIT(checkInvariants());
    if (!Active())
        return;
    if (state_ != State::Browse)
        Cancel();
    state_ = State::Inactive;
    rows_.clear();
    clearCurrent();
    emit dataSetChanged();
}

int Table::FieldIndex(std::string_view utf8Name) const
{
    for (std::size_t i = 0; i < fields_.size(); ++i)
        if (fields_[i].name == utf8Name)
            return int(i);
    return -1;
}

Field Table::FieldByName(std::string_view utf8Name)
{
    int i = FieldIndex(utf8Name);
    if (i < 0)
        throw DbError(QStringLiteral("フィールド '%1' が見つかりません。").arg(qs(std::string(utf8Name))));
    return Field(*this, i);
}

Field Table::Fields(int index)
{
    if (index < 0 || index >= FieldCount())
        throw DbError(QStringLiteral("フィールド番号 %1 は範囲外です。").arg(index + 1));
    return Field(*this, index);
}

SjisString Table::value(int index) const
{
    const auto& values = (state_ == State::Edit || state_ == State::Insert) ? buffer_ : current_;
    return std::size_t(index) < values.size() ? values[std::size_t(index)] : SjisString();
}

void Table::setField(int index, const SjisString& v)
{
    SORVANI_CHECK_ON_EXIT(checkInvariants());
    if (state_ != State::Edit && state_ != State::Insert)
        throw DbError(QStringLiteral("テーブル '%1' は編集モードではありません。").arg(qs(name_)));
    buffer_[std::size_t(index)] = v;
    modified_ = true;
    emit fieldChanged(index);
}

// ---- view ----------------------------------------------------------------------

void Table::applyOrder(const std::vector<std::string>& fieldNames)
{
    Order o;
    std::string keys;
    for (const std::string& f : fieldNames) {
        int i = FieldIndex(f);
        if (i < 0)
            throw DbError(QStringLiteral("フィールド '%1' が見つかりません。").arg(qs(f)));
        o.fields.push_back(i);
        o.sql += quoteIdentifier(f) + ", ";
        keys += (keys.empty() ? "" : ", ") + quoteIdentifier(f);
    }
    o.sql = " ORDER BY " + o.sql + "rowid";
    selectKey_ = db_.prepare("SELECT " + (keys.empty() ? std::string("rowid") : keys) + " FROM " +
                             quoteIdentifier(name_) + " WHERE rowid = ?", true);
    order_ = std::move(o);
}

SqlCondition Table::visibleCondition() const
{
    return filtered_ ? filterCondition_ : SqlCondition{};
}

void Table::loadView(std::optional<long long> keepRow)
{
    viewStamp_ = bookStamp();  // before the read: a change landing meanwhile only costs a reload
    rows_.clear();
    SqlCondition where = visibleCondition();
    Statement ordered = db_.prepare("SELECT rowid FROM " + quoteIdentifier(name_) + order_.sql);
    if (where.sql.empty()) {
        while (ordered.step())
            rows_.push_back(ordered.columnInt(0));
    } else {
        // The matching records are collected without an order (SQLite finds
        // them through the condition's own index) and the order is read from
        // its index: SQLite itself would sort the matches or look every one
        // up through the order's index, which is slow when most match.
        Statement matching = db_.prepare("SELECT rowid FROM " + quoteIdentifier(name_) + " WHERE " + where.sql);
        bindParams(matching, where.params);
        std::vector<long long> visible;
        while (matching.step())
            visible.push_back(matching.columnInt(0));
        std::sort(visible.begin(), visible.end());
        while (ordered.step())
            if (const long long id = ordered.columnInt(0); std::binary_search(visible.begin(), visible.end(), id))
                rows_.push_back(id);
    }
    viewStale_ = false;
    position_ = 0;
    if (keepRow) {
        auto it = std::find(rows_.begin(), rows_.end(), *keepRow);
        if (it != rows_.end())
            position_ = std::size_t(it - rows_.begin());
    }
    if (state_ != State::Insert) {
        if (rows_.empty())
            clearCurrent();
        else
            loadCurrent();
    }
    eof_ = bof_ = rows_.empty();
    emit dataSetChanged();
}

void Table::ensureView()
{
    if (viewStale_)
        loadView(staleCurrentRow_);
}

// Nothing when the other program has deleted the row.
std::optional<std::vector<SjisString>> Table::readRow(long long rowId)
{
    selectRow_.reset().bindInt(1, rowId);
    if (!selectRow_.step())
        return std::nullopt;
    std::vector<SjisString> values(fields_.size());
    for (std::size_t i = 0; i < fields_.size(); ++i)
        values[i] = selectRow_.columnType(int(i)) == SQLITE_INTEGER ? std::to_string(selectRow_.columnInt(int(i)))
                                                                    : selectRow_.columnBytes(int(i));
    selectRow_.reset();
    return values;
}

std::vector<SjisString> Table::fetchRow(long long rowId)
{
    auto values = readRow(rowId);
    if (!values)
        throw recordGone();
    return std::move(*values);
}

void Table::loadCurrent()
{
    current_ = fetchRow(rows_[position_]);
}

void Table::clearCurrent()
{
    current_.assign(fields_.size(), SjisString());
    position_ = 0;
}

std::vector<SjisString> Table::rowValues(int position)
{
    ensureView();
    return fetchRow(rows_.at(std::size_t(position)));
}

int Table::currentPosition()
{
    ensureView();
    if (state_ == State::Insert || rows_.empty())
        return -1;
    return int(position_);
}

int Table::findInField(int index, std::string_view text, int start, bool backwards)
{
    checkActive();
    ensureView();
    if (rows_.empty() || index < 0 || index >= FieldCount())
        return -1;
    const std::string column = quoteIdentifier(fields_[std::size_t(index)].name);
    SqlCondition where = visibleCondition();
    if (!text.empty())
        where.add("instr(CAST(" + column + " AS BLOB), ?) > 0", {{SqlParam::Kind::Blob, std::string(text), 0}});
    // Storage order reads the table sequentially; the view gives the order.
    Statement s = db_.prepare("SELECT rowid, " + column + " FROM " + quoteIdentifier(name_) +
                              (where.sql.empty() ? "" : " WHERE " + where.sql));
    bindParams(s, where.params);
    std::unordered_set<long long> hits;
    while (s.step())
        if (sjis::findCharacters(s.columnBytes(1), text) != std::string_view::npos)
            hits.insert(s.columnInt(0));
    if (hits.empty())
        return -1;
    const int last = int(rows_.size()) - 1;
    const int step = backwards ? -1 : 1;
    for (int p = std::clamp(start, 0, last); p >= 0 && p <= last; p += step)
        if (hits.count(rows_[std::size_t(p)]))
            return p;
    return -1;
}

int Table::compareKeys(const Key& a, const Key& b)
{
    for (std::size_t i = 0; i < a.values.size() && i < b.values.size(); ++i) {
        const SqlParam& x = a.values[i];
        const SqlParam& y = b.values[i];
        int rx = typeRank(x.kind), ry = typeRank(y.kind);
        if (rx != ry)
            return rx < ry ? -1 : 1;
        if (x.kind == SqlParam::Kind::Int) {
            if (x.number != y.number)
                return x.number < y.number ? -1 : 1;
        } else if (int c = x.bytes.compare(y.bytes)) {
            return c < 0 ? -1 : 1;
        }
    }
    if (a.rowId != b.rowId)
        return a.rowId < b.rowId ? -1 : 1;
    return 0;
}

std::optional<Table::Key> Table::keyOfRow(long long rowId)
{
    selectKey_.reset().bindInt(1, rowId);
    if (!selectKey_.step())
        return std::nullopt;
    Key k;
    k.rowId = rowId;
    for (std::size_t i = 0; i < order_.fields.size(); ++i)
        k.values.push_back(columnKey(selectKey_, int(i)));
    selectKey_.reset();
    return k;
}

// Where a visible row belongs in the view, by binary search on the keys;
// nothing when a row of the view has vanished (changed by the other program).
std::optional<std::size_t> Table::insertionPoint(long long rowId)
{
    auto target = keyOfRow(rowId);
    if (!target)
        return std::nullopt;
    std::size_t lo = 0, hi = rows_.size();
    while (lo < hi) {
        std::size_t mid = (lo + hi) / 2;
        auto k = keyOfRow(rows_[mid]);
        if (!k)
            return std::nullopt;
        if (compareKeys(*k, *target) < 0)
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo;
}

// Position of a visible row; reloads the view when it is out of step.
std::size_t Table::positionOf(long long rowId)
{
    auto p = insertionPoint(rowId);
    if (p && *p < rows_.size() && rows_[*p] == rowId)
        return *p;
    loadView(rowId);
    return position_;
}

bool Table::rowVisible(long long rowId)
{
    SqlCondition where = visibleCondition();
    where.add("rowid = ?", {{SqlParam::Kind::Int, {}, rowId}});
    Statement s = db_.prepare("SELECT 1 FROM " + quoteIdentifier(name_) + " WHERE " + where.sql);
    bindParams(s, where.params);
    return s.step();
}

// ---- navigation ----------------------------------------------------------------

void Table::CheckBrowseMode()
{
    SORVANI_CHECK_ON_EXIT(checkInvariants());
    settle();
}

void Table::settle()
{
    checkActive();
    if (state_ != State::Edit && state_ != State::Insert)
        return;
    emit updateRecord();
    if (modified_)
        Post();
    else
        Cancel();
}

long long Table::currentRow() const
{
    if (state_ == State::Inactive || state_ == State::Insert)
        return -1;
    if (viewStale_)
        return staleCurrentRow_;
    return rows_.empty() ? -1 : rows_[position_];
}

// `from` is the record that was current before the move: AfterScroll runs
// only when another one becomes current.
void Table::moveTo(std::size_t position, long long from, bool bof, bool eof)
{
    auto values = readRow(rows_[position]);
    if (!values)
        return moveAfterReload(position, from, bof, eof);
    position_ = position;
    current_ = std::move(*values);
    bof_ = bof;
    eof_ = eof;
    emit recordChanged();
    if (rows_[position_] != from && AfterScroll)
        AfterScroll(*this);
}

// The record to move to is gone: the view is reloaded and the move goes to
// the record nearest to it that still exists, looking in the direction of
// the move first; First and Last go to the new ends.
void Table::moveAfterReload(std::size_t position, long long from, bool bof, bool eof)
{
    const bool backwards = eof || (!bof && position < position_);
    const std::deque<long long> before = rows_;
    loadView(from);
    if (rows_.empty())
        return stayAtEnd(true, true);
    const std::size_t target = bof ? 0 : eof ? rows_.size() - 1 : nearestSurvivor(before, position, backwards);
    if (rows_[target] == from && !bof && !eof)
        return stayAtEnd(backwards, !backwards);
    moveTo(target, from, bof, eof);
}

// Position in the reloaded view of the row of `before` nearest to
// `position` that is still there, looking backwards first when asked.
std::size_t Table::nearestSurvivor(const std::deque<long long>& before, std::size_t position, bool backwards) const
{
    std::unordered_map<long long, std::size_t> now;
    for (std::size_t i = 0; i < rows_.size(); ++i)
        now.emplace(rows_[i], i);
    for (std::ptrdiff_t step : {backwards ? -1 : 1, backwards ? 1 : -1})
        for (auto i = std::ptrdiff_t(position); i >= 0 && i < std::ptrdiff_t(before.size()); i += step)
            if (auto it = now.find(before[std::size_t(i)]); it != now.end())
                return it->second;
    return 0;
}

// A move that finds no record: only the flags change.
void Table::stayAtEnd(bool bof, bool eof)
{
    bof_ = bof;
    eof_ = eof;
    emit recordChanged();
}

void Table::First()
{
    SORVANI_CHECK_ON_EXIT(checkInvariants());
    settle();
    ensureView();
    if (rows_.empty())
        return stayAtEnd(true, true);
    moveTo(0, currentRow(), true, false);
}

void Table::Last()
{
    SORVANI_CHECK_ON_EXIT(checkInvariants());
    settle();
    ensureView();
    if (rows_.empty())
        return stayAtEnd(true, true);
    moveTo(rows_.size() - 1, currentRow(), false, true);
}

void Table::Next()
{
    SORVANI_CHECK_ON_EXIT(checkInvariants());
    settle();
    ensureView();
    if (rows_.empty())
        return stayAtEnd(true, true);
    if (position_ + 1 >= rows_.size())
        return stayAtEnd(false, true);
    moveTo(position_ + 1, currentRow());
}

void Table::Prior()
{
    SORVANI_CHECK_ON_EXIT(checkInvariants());
    settle();
    ensureView();
    if (rows_.empty())
        return stayAtEnd(true, true);
    if (position_ == 0)
        return stayAtEnd(true, false);
    moveTo(position_ - 1, currentRow());
}

int Table::RecNo()
{
    if (state_ == State::Insert)
        return -1;
    ensureView();
    return rows_.empty() ? 0 : int(position_) + 1;
}

int Table::RecordCount()
{
    ensureView();
    return int(rows_.size());
}

void Table::SetRecNo(int recNo)
{
    SORVANI_CHECK_ON_EXIT(checkInvariants());
    settle();
    ensureView();
    if (recNo >= 1 && std::size_t(recNo) <= rows_.size())
        moveTo(std::size_t(recNo - 1), currentRow());
}

bool Table::Locate(std::string_view utf8Fields, const std::vector<SjisString>& values, LocateOptions options)
{
    SORVANI_CHECK_ON_EXIT(checkInvariants());
    settle();
    std::vector<std::string> names = splitNames(utf8Fields);
    SqlCondition where = visibleCondition();
    for (std::size_t i = 0; i < names.size(); ++i) {
        int f = FieldIndex(names[i]);
        if (f < 0)
            throw DbError(QStringLiteral("フィールド '%1' が見つかりません。").arg(qs(names[i])));
        SqlCondition c = fieldMatch(fields_[std::size_t(f)], i < values.size() ? values[i] : SjisString(),
                                    options.partialKey);
        if (!c.sql.empty())
            where.add(c.sql, c.params);
    }
    Statement& s = locateStatement("SELECT rowid FROM " + quoteIdentifier(name_) +
                                   (where.sql.empty() ? "" : " WHERE " + where.sql) + order_.sql + " LIMIT 1");
    s.reset();
    bindParams(s, where.params);
    const bool hit = s.step();
    const long long found = hit ? s.columnInt(0) : 0;
    s.reset();
    if (!hit)
        return false;
    const long long from = currentRow();  // positionOf may reload the view
    if (viewStale_) {
        // Inside a bulk scope (an after-post hook that finds the record
        // again, say) the view waits for the end of the scope.
        staleCurrentRow_ = found;
        current_ = fetchRow(found);
        bof_ = eof_ = false;
        emit recordChanged();
        if (found != from && AfterScroll)
            AfterScroll(*this);
        return true;
    }
    moveTo(positionOf(found), from);
    return true;
}

// A look-up's statement, kept: a form or an import looks up by the same
// fields again and again, and preparing costs more than the look-up.
Statement& Table::locateStatement(const std::string& sql)
{
    auto it = locateRows_.find(sql);
    if (it != locateRows_.end())
        return it->second;
    if (locateRows_.size() >= 32)
        locateRows_.clear();
    return locateRows_.emplace(sql, db_.prepare(sql, true)).first->second;
}

// ---- changes -------------------------------------------------------------------

void Table::startNew()
{
    settle();
    insertReturnRow_ = currentRow();
    buffer_.assign(fields_.size(), SjisString());
    modified_ = false;
    state_ = State::Insert;
    eof_ = bof_ = rows_.empty();
    emit recordChanged();
    if (AfterScroll)
        AfterScroll(*this);
}

void Table::Append()
{
    SORVANI_CHECK_ON_EXIT(checkInvariants());
    startNew();
}

void Table::Insert()
{
    SORVANI_CHECK_ON_EXIT(checkInvariants());
    startNew();
}

void Table::Edit()
{
    SORVANI_CHECK_ON_EXIT(checkInvariants());
    checkActive();
    if (state_ == State::Edit || state_ == State::Insert)
        return;
    ensureView();
    if (rows_.empty()) {
        Append();
        return;
    }
    buffer_ = current_;
    modified_ = false;
    state_ = State::Edit;
    emit recordChanged();
}

std::vector<SqlParam> Table::valuesAsParams(const std::vector<SjisString>& values) const
{
    std::vector<SqlParam> params;
    params.reserve(fields_.size());
    for (std::size_t i = 0; i < fields_.size(); ++i)
        params.push_back(storedValue(fields_[i], values[i]));
    return params;
}

SqlParam storedValue(const FieldDef& field, const SjisString& value)
{
    if (field.type == FieldType::Text)
        return {SqlParam::Kind::Blob, value, 0};
    if (sjis::trim(value).empty())
        return {SqlParam::Kind::Null, {}, 0};
    if (auto n = parseWholeNumber(value))
        return {SqlParam::Kind::Int, {}, *n};
    throw DbError(QStringLiteral("%1 には整数を入力してください（「%2」は整数ではありません）。")
                      .arg(qs(field.name), sjis::excerpt(value)));
}

// The values as the table stores them: whole numbers in their decimal form.
std::vector<SjisString> Table::storedValues(const std::vector<SqlParam>& params)
{
    std::vector<SjisString> values;
    values.reserve(params.size());
    for (const SqlParam& p : params)
        values.push_back(p.kind == SqlParam::Kind::Int ? std::to_string(p.number) : p.bytes);
    return values;
}

void Table::Post()
{
    SORVANI_CHECK_ON_EXIT(checkInvariants());
    checkActive();
    if (state_ != State::Edit && state_ != State::Insert)
        return;
    emit updateRecord();
    valuesAsParams(buffer_);  // a value that is no whole number stops the post before any hook runs
    if (BeforePost)
        BeforePost(*this);
    if (state_ != State::Edit && state_ != State::Insert)
        return;
    std::vector<SqlParam> params = valuesAsParams(buffer_);
    const bool inserting = state_ == State::Insert;
    long long rowId;
    if (inserting) {
        insertRow_.reset();
        bindParams(insertRow_, params);
        insertRow_.step();
        insertRow_.reset();
        noteOwnChange();
        rowId = sqlite3_last_insert_rowid(db_.handle());
    } else {
        rowId = rows_[position_];
        updateRow(rowId, params);
    }
    state_ = State::Browse;
    modified_ = false;
    if (bulkDepth_ > 0)
        current_ = storedValues(params);
    buffer_.clear();
    placeAfterPost(rowId, inserting);
    if (AfterPost)
        AfterPost(*this);
}

// Writes the changed fields in one statement that finds the row only while
// it holds the record's key and the values read of those fields.
void Table::updateRow(long long rowId, const std::vector<SqlParam>& params)
{
    std::vector<std::size_t> changedFields;
    std::vector<SqlParam> values;
    for (std::size_t i = 0; i < fields_.size(); ++i)
        if (buffer_[i] != current_[i]) {
            changedFields.push_back(i);
            values.push_back(params[i]);
        }
    if (changedFields.empty())
        return;
    std::vector<std::size_t> checked = identity_;
    for (std::size_t i : changedFields)
        if (std::find(checked.begin(), checked.end(), i) == checked.end())
            checked.push_back(i);
    SqlCondition where = sameValues(rowId, checked);
    Statement& s = updateStatement(changedFields, where.sql);
    s.reset();
    bindParams(s, where.params, bindParams(s, values));
    s.step();
    s.reset();
    noteOwnChange();
    if (sqlite3_changes(db_.handle()) == 0)
        refusePost(rowId);
}

// The UPDATE for one set of changed fields, kept: a form saves the same few
// fields again and again.
Statement& Table::updateStatement(const std::vector<std::size_t>& changedFields, const std::string& where)
{
    auto it = updateRows_.find(changedFields);
    if (it != updateRows_.end())
        return it->second;
    if (updateRows_.size() >= 32)
        updateRows_.clear();
    std::string sets;
    for (std::size_t i : changedFields)
        sets += (sets.empty() ? "" : ", ") + quoteIdentifier(fields_[i].name) + " = ?";
    Statement s = db_.prepare("UPDATE " + quoteIdentifier(name_) + " SET " + sets + " WHERE " + where, true);
    return updateRows_.emplace(changedFields, std::move(s)).first->second;
}

// The row `rowId` while it holds the values read of `fields`.
SqlCondition Table::sameValues(long long rowId, const std::vector<std::size_t>& fields) const
{
    SqlCondition c;
    c.add("rowid = ?", {{SqlParam::Kind::Int, {}, rowId}});
    for (std::size_t i : fields)
        c.add(storedText(fields_[i].name) + " = ?",
              {{SqlParam::Kind::Blob, i < current_.size() ? current_[i] : SjisString(), 0}});
    return c;
}

// A post found its row changed. When the row still holds the record, the
// other program's values become the values read and fill the fields the
// user left alone, so that a second post overwrites only the typed ones.
void Table::refusePost(long long rowId)
{
    auto stored = readRow(rowId);
    if (!stored)
        throw recordGone();
    if (std::any_of(identity_.begin(), identity_.end(), [&](std::size_t i) { return (*stored)[i] != current_[i]; }))
        throw DbError(QStringLiteral("レコードが見つかりません（他のプログラムで削除または変更された可能性があります）。"));
    for (std::size_t i = 0; i < fields_.size(); ++i)
        if (buffer_[i] == current_[i])
            buffer_[i] = (*stored)[i];
    current_ = std::move(*stored);
    emit recordChanged();
    throw DbError(QStringLiteral("このレコードは他のプログラムで変更されています。\n"
                                 "もう一度保存すると、入力した内容で上書きします。"
                                 "取り消すと、他のプログラムが保存した内容を表示します。"));
}

void Table::placeAfterPost(long long rowId, bool wasInsert)
{
    if (bulkDepth_ > 0) {
        // The view is rebuilt once when the bulk scope ends.
        viewStale_ = true;
        staleCurrentRow_ = rowId;
        emit recordChanged();
        return;
    }
    if (!wasInsert)
        rows_.erase(rows_.begin() + std::ptrdiff_t(position_));
    if (filtered_ && !rowVisible(rowId)) {
        moveToNeighbour();
        emit dataSetChanged();
        emit recordChanged();
        if (!rows_.empty() && AfterScroll)
            AfterScroll(*this);
        return;
    }
    auto p = insertionPoint(rowId);
    if (p) {
        rows_.insert(rows_.begin() + std::ptrdiff_t(*p), rowId);
        position_ = *p;
        loadCurrent();
    } else {
        loadView(rowId);
    }
    eof_ = bof_ = false;
    emit dataSetChanged();
    emit recordChanged();
}

// After the current row left the view: the row that took its place, or
// else the last one, becomes current; rows the other program deleted leave
// the view on the way. An empty view has no current record and stands at
// both ends; false then.
bool Table::moveToNeighbour()
{
    for (; !rows_.empty(); rows_.erase(rows_.begin() + std::ptrdiff_t(position_))) {
        position_ = std::min(position_, rows_.size() - 1);
        if (auto values = readRow(rows_[position_])) {
            current_ = std::move(*values);
            return true;
        }
    }
    clearCurrent();
    eof_ = bof_ = true;
    return false;
}

void Table::Cancel()
{
    SORVANI_CHECK_ON_EXIT(checkInvariants());
    checkActive();
    if (state_ == State::Browse)
        return;
    const bool wasInsert = state_ == State::Insert;
    const long long back = wasInsert ? insertReturnRow_ : currentRow();
    state_ = State::Browse;
    modified_ = false;
    buffer_.clear();
    if (viewStale_) {
        // A refused record inside a bulk scope: back to the last one posted.
        if (staleCurrentRow_ >= 0)
            current_ = fetchRow(staleCurrentRow_);
        emit recordChanged();
        return;
    }
    if (!rows_.empty() && back >= 0)
        position_ = positionOf(back);  // reloads the view when the other program deleted the record
    if (rows_.empty())
        clearCurrent();
    else
        loadCurrent();
    if (wasInsert)
        eof_ = bof_ = rows_.empty();
    emit recordChanged();
    if (wasInsert && !rows_.empty() && AfterScroll)
        AfterScroll(*this);
}

void Table::Delete()
{
    SORVANI_CHECK_ON_EXIT(checkInvariants());
    checkActive();
    if (state_ == State::Insert) {
        Cancel();
        return;
    }
    ensureView();
    if (rows_.empty())
        throw DbError(QStringLiteral("空のテーブルでは削除できません。"));
    deleteRow_.reset();
    bindParams(deleteRow_, sameValues(rows_[position_], identity_).params);
    deleteRow_.step();
    deleteRow_.reset();
    noteOwnChange();
    if (sqlite3_changes(db_.handle()) == 0)
        throw recordGone();
    if (state_ == State::Edit) {
        state_ = State::Browse;
        buffer_.clear();
        modified_ = false;
    }
    rows_.erase(rows_.begin() + std::ptrdiff_t(position_));
    if (moveToNeighbour())
        eof_ = bof_ = false;
    emit dataSetChanged();
    emit recordChanged();
    if (AfterScroll)
        AfterScroll(*this);
}

void Table::AppendRecord(const std::vector<std::optional<SjisString>>& values)
{
    SORVANI_CHECK_ON_EXIT(checkInvariants());
    // A value too long to store is refused before it is copied.
    for (const std::optional<SjisString>& v : values)
        if (v)
            checkValueLength(db_.handle(), v->size());
    Append();
    for (std::size_t i = 0; i < values.size() && i < fields_.size(); ++i)
        if (values[i])
            setField(int(i), *values[i]);
    try {
        Post();
    } catch (...) {
        Cancel();
        throw;
    }
}

void Table::EmptyTable()
{
    SORVANI_CHECK_ON_EXIT(checkInvariants());
    checkActive();
    if (state_ != State::Browse) {
        state_ = State::Browse;
        buffer_.clear();
        modified_ = false;
    }
    db_.exec("DELETE FROM " + quoteIdentifier(name_));
    rows_.clear();
    viewStale_ = false;
    clearCurrent();
    eof_ = bof_ = true;
    emit dataSetChanged();
    emit recordChanged();
}

// ---- order and filter ------------------------------------------------------------

std::vector<std::string> Table::IndexNames() const
{
    std::vector<std::string> names;
    const std::string prefix = name_ + "$";
    Statement s = const_cast<Database&>(db_).prepare(
        "SELECT name FROM sqlite_master WHERE type = 'index' AND tbl_name = ?1 ORDER BY name");
    s.bindText(1, name_);
    while (s.step()) {
        std::string n = s.columnBytes(0);
        if (n.size() > prefix.size() && n.compare(0, prefix.size(), prefix) == 0)
            names.push_back(n.substr(prefix.size()));
    }
    for (const IndexDef* ix : definedIndexes())
        if (std::find(names.begin(), names.end(), ix->name) == names.end())
            names.push_back(ix->name);
    return names;
}

// The schema's sort indexes whose fields this table has.
std::vector<const IndexDef*> Table::definedIndexes() const
{
    std::vector<const IndexDef*> out;
    if (const TableDef* def = schemaTable(name_))
        for (const IndexDef& ix : def->indexes)
            if (std::all_of(ix.fields.begin(), ix.fields.end(), [this](const std::string& f) { return FieldIndex(f) >= 0; }))
                out.push_back(&ix);
    return out;
}

// The fields of a sort index. An index of the schema that the database
// lacks (a restore drops them; a table made by hand never had them) is
// built now, once.
std::vector<std::string> Table::indexFields(const std::string& utf8Name)
{
    auto fieldsInDatabase = [&] {
        std::vector<std::string> fields;
        Statement s = db_.prepare("SELECT name FROM pragma_index_info(?1) ORDER BY seqno");
        s.bindText(1, name_ + "$" + utf8Name);
        while (s.step())
            fields.push_back(s.columnBytes(0));
        return fields;
    };
    std::vector<std::string> fields = fieldsInDatabase();
    if (!fields.empty())
        return fields;
    for (const IndexDef* ix : definedIndexes())
        if (ix->name == utf8Name) {
            createIndex(db_, name_, *ix);
            return ix->fields;
        }
    throw DbError(QStringLiteral("インデックス '%1' が見つかりません。").arg(qs(utf8Name)));
}

void Table::SetIndexName(const std::string& utf8Name)
{
    SORVANI_CHECK_ON_EXIT(checkInvariants());
    std::vector<std::string> fields;
    if (!utf8Name.empty())
        fields = indexFields(utf8Name);
    if (Active())
        settle();
    long long keep = currentRow();
    applyOrder(utf8Name.empty() ? (indexFieldNames_.empty() ? primaryOrder_ : splitNames(indexFieldNames_))
                                : fields);
    indexName_ = utf8Name;
    if (Active())
        loadView(keep);
}

void Table::SetIndexFieldNames(const std::string& utf8Fields)
{
    SORVANI_CHECK_ON_EXIT(checkInvariants());
    std::vector<std::string> names = splitNames(utf8Fields);
    if (Active())
        settle();
    long long keep = currentRow();
    applyOrder(names.empty() ? primaryOrder_ : names);
    indexFieldNames_ = utf8Fields;
    indexName_.clear();
    if (Active())
        loadView(keep);
}

void Table::SetFilter(const SjisString& expression)
{
    SORVANI_CHECK_ON_EXIT(checkInvariants());
    if (filtered_) {
        SqlCondition c = compileFilter(expression, [this](const std::string& n) {
            int i = FieldIndex(n);
            return i < 0 ? nullptr : &fields_[std::size_t(i)];
        });
        if (Active())
            settle();
        filterCondition_ = std::move(c);
        filter_ = expression;
        if (Active())
            reloadFromFirst();
        return;
    }
    filter_ = expression;
}

void Table::SetFiltered(bool on)
{
    SORVANI_CHECK_ON_EXIT(checkInvariants());
    if (on == filtered_)
        return;
    if (on) {
        filtered_ = true;
        try {
            SetFilter(filter_);
        } catch (...) {
            filtered_ = false;
            throw;
        }
        return;
    }
    if (Active())
        settle();
    filtered_ = false;
    filterCondition_ = {};
    if (Active())
        reloadFromFirst();
}

// A new set of visible records starts at its first record.
void Table::reloadFromFirst()
{
    const long long from = currentRow();
    loadView(std::nullopt);
    if (rows_.empty())
        return;
    bof_ = true;
    if (rows_[0] != from && AfterScroll)
        AfterScroll(*this);
}

void Table::Refresh()
{
    SORVANI_CHECK_ON_EXIT(checkInvariants());
    settle();
    loadView(currentRow());
}

// ---- walking -------------------------------------------------------------------------

namespace {

// The table's database once its pending change is settled: a post is a
// write, which a read snapshot cannot hold.
Database& settledDatabase(Table& t)
{
    t.CheckBrowseMode();
    return t.database();
}

}  // namespace

// The first read starts the snapshot; the view is reloaded unless the book
// is as it was when the view was built and this table alone changed it since.
Table::Snapshot::Snapshot(Table& table) : read_(settledDatabase(table))
{
    table.db_.exec("SELECT 1 FROM sqlite_master LIMIT 1");
    if (table.bookStamp() != table.viewStamp_)
        table.Refresh();
}

Table::Stamp Table::bookStamp()
{
    return {db_.dataVersion(), sqlite3_total_changes64(db_.handle())};
}

// A write of this table that the view follows by itself.
void Table::noteOwnChange()
{
    viewStamp_.changes += sqlite3_changes64(db_.handle());
}

// ---- bulk ----------------------------------------------------------------------------

Table::Bulk::Bulk(Table& table, Mode mode)
    : table_(table), startRow_(table.state_ == State::Insert ? table.insertReturnRow_ : table.currentRow())
{
    tx_.emplace(table.db_);
    if (mode == Mode::ReplaceAll) {
        // Filling an empty table and indexing it afterwards is several times
        // faster than keeping every index up to date record by record; the
        // sort indexes are built again when a sort first asks for them. The
        // drop is part of the transaction, so a rollback brings them back.
        Statement s = table.db_.prepare(
            "SELECT name, sql FROM sqlite_master WHERE type = 'index' AND tbl_name = ?1 AND sql IS NOT NULL");
        s.bindText(1, table.name_);
        std::vector<std::string> names;
        std::vector<const IndexDef*> sortIndexes = table.definedIndexes();
        while (s.step()) {
            const std::string name = s.columnBytes(0);
            names.push_back(name);
            const bool builtOnFirstSort =
                std::any_of(sortIndexes.begin(), sortIndexes.end(),
                            [&](const IndexDef* ix) { return sqlIndexName(table.name_, ix->name) == name; });
            if (!builtOnFirstSort)
                indexSql_.push_back(s.columnBytes(1));
        }
        for (const std::string& n : names)
            table.db_.exec("DROP INDEX " + quoteIdentifier(n));
        table.EmptyTable();
    }
    ++table_.bulkDepth_;  // last: a failure above leaves the table as it was
}

void Table::Bulk::commit()
{
    SORVANI_CHECK_ON_EXIT(table_.checkInvariants());
    for (const std::string& sql : indexSql_)
        table_.db_.exec(sql);
    tx_->commit();
    committed_ = true;
}

Table::Bulk::~Bulk()
{
    SORVANI_CHECK_ON_EXIT(table_.checkInvariants());
    tx_.reset();  // rolls back unless committed
    if (--table_.bulkDepth_ > 0 || !table_.Active())
        return;
    // After a commit the last record posted stays current; after a rollback
    // the one that was current before. Row ids of rolled-back records may
    // since name other records, so they are not trusted.
    if (!committed_)
        table_.staleCurrentRow_ = startRow_;
    else if (!table_.viewStale_)
        table_.staleCurrentRow_ = table_.currentRow();
    table_.viewStale_ = true;
    if (table_.state_ != State::Browse)
        return;
    try {
        table_.ensureView();
    } catch (...) {
        // The view stays stale and is rebuilt on the next use.
    }
}
