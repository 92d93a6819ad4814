#include "converter/old_data_import.h"

#include "components/core/record_fields.h"

#include <algorithm>
#include <map>

namespace {

std::string storedColumn(const char* field)
{
    return "coalesce(CAST(" + quoteIdentifier(field) + " AS BLOB), x'')";
}

// The rows of the record table by the text of one field, kept in step with
// the updates of a merge.
class KeyMap {
public:
    KeyMap(Table& table, int keyField) : db_(table.database()), table_(table.TableName())
    {
        Statement all = db_.prepare("SELECT rowid, " + storedColumn(recordField(keyField).name) + " FROM " +
                                    quoteIdentifier(table_));
        while (all.step())
            rows_.emplace(all.columnBytes(1), all.columnInt(0));
        std::string keys;
        for (int no = 1; no <= kPrimaryKeyFieldCount; ++no)
            keys += (no > 1 ? ", " : "") + storedColumn(recordField(no).name);
        identity_ = db_.prepare("SELECT " + keys + " FROM " + quoteIdentifier(table_) + " WHERE rowid = ?");
    }

    struct Match {
        long long row;
        SjisString text;              // the key field's text
        std::vector<SjisString> key;  // the primary key's values, read when several match
    };

    // The rows whose text equals `value`, or for a value ending in "*"
    // begins with the text before it and holds the value; last to first in
    // key order.
    std::vector<Match> matches(const SjisString& value)
    {
        std::vector<Match> found;
        if (value.empty())
            return found;
        if (value.back() == '*') {
            const std::string_view prefix(value.data(), value.size() - 1);
            for (auto it = rows_.lower_bound(std::string(prefix));
                 it != rows_.end() && std::string_view(it->first).substr(0, prefix.size()) == prefix; ++it)
                if (it->first.find(value) != SjisString::npos)
                    found.push_back({it->second, it->first, {}});
        } else {
            for (auto [it, end] = rows_.equal_range(value); it != end; ++it)
                found.push_back({it->second, it->first, {}});
        }
        if (found.size() > 1) {
            for (Match& m : found)
                m.key = identity(m.row);
            std::sort(found.begin(), found.end(),
                      [](const Match& a, const Match& b) { return std::tie(a.key, a.row) > std::tie(b.key, b.row); });
        }
        return found;
    }

    void moved(long long row, const SjisString& from, const SjisString& to)
    {
        if (from == to)
            return;
        for (auto [it, end] = rows_.equal_range(from); it != end; ++it)
            if (it->second == row) {
                rows_.erase(it);
                break;
            }
        rows_.emplace(to, row);
    }

private:
    std::vector<SjisString> identity(long long row)
    {
        identity_.reset().bindInt(1, row);
        std::vector<SjisString> key;
        if (identity_.step())
            for (int i = 0; i < kPrimaryKeyFieldCount; ++i)
                key.push_back(identity_.columnBytes(i));
        identity_.reset();
        return key;
    }

    Database& db_;
    std::string table_;
    std::multimap<SjisString, long long> rows_;
    Statement identity_;
};

// Writes a record's non-empty values into rows by row id, with an UPDATE
// kept for each set of fields written. Inside the merge's transaction no
// other program writes, so the row holds what the key map read.
class RowWriter {
public:
    RowWriter(Table& table, int fieldCount) : table_(table), fieldCount_(std::min(fieldCount, table.FieldCount())) {}

    // The values the row gets, as stored, by field index; an empty list
    // writes nothing.
    std::vector<std::pair<int, SqlParam>> values(const OldDataRecord& record) const
    {
        std::vector<std::pair<int, SqlParam>> out;
        for (int i = 0; i < fieldCount_; ++i)
            if (const SjisString& v = record[std::size_t(i + 1)]; !v.empty())
                out.emplace_back(i, storedValue(table_.FieldDefinition(i), v));
        return out;
    }

    void write(long long row, const std::vector<std::pair<int, SqlParam>>& values)
    {
        if (values.empty())
            return;
        std::vector<int> fields;
        std::vector<SqlParam> params;
        for (const auto& [field, param] : values) {
            fields.push_back(field);
            params.push_back(param);
        }
        Statement& s = statement(fields);
        s.reset();
        bindParams(s, params);
        s.bindInt(int(params.size()) + 1, row);
        s.step();
        s.reset();
    }

private:
    Statement& statement(const std::vector<int>& fields)
    {
        auto it = updates_.find(fields);
        if (it != updates_.end())
            return it->second;
        std::string sets;
        for (int f : fields)
            sets += (sets.empty() ? "" : ", ") + quoteIdentifier(table_.FieldDefinition(f).name) + " = ?";
        Statement s = table_.database().prepare("UPDATE " + quoteIdentifier(table_.TableName()) + " SET " + sets +
                                                " WHERE rowid = ?");
        return updates_.emplace(fields, std::move(s)).first->second;
    }

    Table& table_;
    int fieldCount_;
    std::map<std::vector<int>, Statement> updates_;
};

// The text the table reads from a stored value.
SjisString storedText(const SqlParam& p)
{
    return p.kind == SqlParam::Kind::Int ? std::to_string(p.number) : p.bytes;
}

}  // namespace

int oldDataFieldCount(int layoutMode)
{
    return layoutMode == 1 || layoutMode == 2 ? kExtendedFieldCount : kStandardFieldCount;
}

std::optional<QString> emptyBaseFileMessage(const QString& file, const OldDataInput& input)
{
    const std::size_t length = input.layout.recordLength(OldDataFile::Base);
    if (length > 0 && input.bytes().size() >= length)
        return std::nullopt;
    return QStringLiteral("%1 には、レイアウトのレコードの長さ（%2 バイト）のレコードがありません（%3 バイト）。\r"
                          "読み込みを中止しました。データは元のままです。")
        .arg(file)
        .arg(qulonglong(length))
        .arg(qulonglong(input.bytes().size()));
}

std::optional<QString> leftoverBytesNote(const QString& file, const OldDataInput& input)
{
    const std::size_t length = input.layout.recordLength(OldDataFile::Base);
    if (length == 0 || input.bytes().size() < length || input.bytes().size() % length == 0)
        return std::nullopt;
    const std::size_t left = input.bytes().size() % length;
    return QStringLiteral("%1 の最後のレコードの後に %2 バイトが残っています"
                          "（レコードの長さは %3 バイト）。この分は読み込んでいません。")
        .arg(file)
        .arg(qulonglong(left))
        .arg(qulonglong(length));
}

OldDataOutcome importOldDataBase(Table& records, int layoutMode, const OldDataInput& input)
{
    const int fieldCount = oldDataFieldCount(layoutMode);
    OldDataOutcome outcome;
    if (emptyBaseFileMessage({}, input))
        return outcome;
    Table::Bulk bulk(records, Table::Bulk::Mode::ReplaceAll);
    auto values = std::vector<std::optional<SjisString>>(std::size_t(fieldCount));
    decodeOldData(input.layout, OldDataFile::Base, input.pairs, input.bytes(), [&](const OldDataRecord& record) {
        ++outcome.records;
        outcome.lastReading = record[1];
        for (int no = 1; no <= fieldCount; ++no) {
            const SjisString& v = record[std::size_t(no)];
            values[std::size_t(no - 1)] = v.empty() ? std::nullopt : std::optional(v);
        }
        try {
            records.AppendRecord(values);
            ++outcome.written;
        } catch (const DbError& e) {
            if (!isRecordRefusal(e))
                throw;
            ++outcome.refused;
        }
    });
    bulk.commit();
    return outcome;
}

OldDataOutcome mergeOldData(Table& records, int layoutMode, const OldDataInput& input)
{
    const int keyField = input.layout.keyField();
    const int keyIndex = records.FieldIndex(recordField(keyField).name);
    if (keyIndex < 0)
        throw DbError(QStringLiteral("フィールド '%1' が見つかりません。").arg(QString::fromUtf8(recordField(keyField).name)));
    OldDataOutcome outcome;
    records.CheckBrowseMode();
    {
        Database::Transaction tx(records.database());
        KeyMap keys(records, keyField);
        RowWriter writer(records, oldDataFieldCount(layoutMode));
        decodeOldData(input.layout, OldDataFile::Merge, input.pairs, input.bytes(), [&](const OldDataRecord& record) {
            ++outcome.records;
            outcome.lastReading = record[1];
            const SjisString& value = record[std::size_t(keyField)];
            try {
                const std::vector<KeyMap::Match> matches = keys.matches(value);
                if (matches.empty())
                    return;
                const auto values = writer.values(record);
                const auto key = std::find_if(values.begin(), values.end(), [&](const auto& v) { return v.first == keyIndex; });
                for (const KeyMap::Match& m : matches) {
                    writer.write(m.row, values);
                    if (key != values.end())
                        keys.moved(m.row, m.text, storedText(key->second));
                    ++outcome.written;
                }
            } catch (const DbError& e) {
                throw DbError(QStringLiteral("合成ファイルの %1 件目のレコード（%2）を書き込めません。\r%3")
                                  .arg(outcome.records)
                                  .arg(sjis::excerpt(value), e.message()),
                              e.code());
            }
        });
        tx.commit();
    }
    records.Refresh();
    return outcome;
}
