// Table: the cursor over one table of the shared database that every form
// works with.
//
// The model
// - An ordered set of records: the active order is the primary order
//   (IndexFieldNames, or the table's own key when empty) or a named
//   secondary index (IndexName); records with equal keys keep the order
//   they were added in. While Filtered, only records that satisfy Filter
//   are visible.
// - One record is current. The table is in Browse, Edit or Insert state.
//   Field values are CP932 bytes; whole-number fields read as decimal text,
//   blank as empty text.
// - The view keeps the row ids of the visible records in order, so RecNo,
//   RecordCount and moving are O(1); a post places one record by binary
//   search, never by reloading.
//
// Moving
// - First, Next, Prior, Last, RecNo = n, Locate, Append and Insert first
//   settle a pending change: bound controls hand over their text, then a
//   modified record is posted and an untouched one is dropped (Cancel).
// - Eof is true after Next finds no further record, after Last, and on an
//   empty table; Bof likewise after Prior finds none, after First, and on an
//   empty table. Any other move clears both, and so does a Next or Prior
//   that finds no record for the flag of the other end.
// - AfterScroll runs once after every real move: when another record (or
//   the new record of Append and Insert) becomes current, and after a
//   Delete, also one that leaves the table empty (so a hook can start a new
//   record there). It does not run when the current record stays, nor for
//   Post or a Cancel of an edit.
// - Setting Filter while Filtered, or switching Filtered, makes the first
//   visible record current; changing the order keeps the current record.
//
// Changing
// - Edit puts the current record into Edit state; Append and Insert start a
//   new empty record (RecNo -1) in Insert state. Setting a field needs Edit
//   or Insert state.
// - Post: bound controls hand over their text, the whole-number fields are
//   checked (before any hook, so a refused value changes nothing),
//   BeforePost runs (it may change fields), the record is checked again and
//   written in one statement, and becomes current in its place in the
//   active order; then AfterPost runs. A failed post (key violation, a
//   value that is no whole number, a failing BeforePost, an edited record
//   that the other program deleted or changed) raises an error and leaves
//   the state and every typed value as they were, so the user can mend or
//   cancel.
//   A record that no longer satisfies the filter leaves the view; the
//   record after it becomes current.
// - Post and Delete act only on the record that was read: the row must still
//   hold the key read (every field, for a table without a unique key) and,
//   for a post, the values read of the fields it writes. Otherwise nothing
//   is written and DbError says that the record is gone or that the other
//   program changed it. After the second, the other program's values count
//   as read and fill the fields the user left alone: Cancel shows them, and
//   a second Post writes the typed values over them.
// - Cancel drops the changes; a cancelled new record gives way to the
//   record that was current before it (an AfterScroll when there is one).
// - Delete removes the current record (Cancel in Insert state); the next
//   record becomes current, or the previous one when the last was deleted.
//   Deleting the only record leaves an empty table with Eof and Bof set.
// - A move onto a record the other program deleted reloads the view and
//   goes to the nearest record that still exists, in the direction of the
//   move (Next that finds none stays with Eof set, Prior with Bof).
// - Hooks may call back into the same table and drive other tables.
//
// Walking
// - A walk over every visible record (a backup, an estimate, the list
//   print) holds a Snapshot: the pending change is settled, then a read
//   transaction begins and the view is brought up to date inside it (it
//   is reloaded unless nothing but this table has changed the book since
//   it was built), so that
//   RecordCount, rowValues and every other read through the database see
//   the book as it stood at that moment, records the other program added
//   or removed since the view was built included, until the scope ends.
//
// Failures raise DbError with a short engine-like message.
//
// Invariants, checked at the end of every public operation that changes
// the table when checks are on (components/core/check.h):
// 1. A closed table (Inactive) has no visible records and no pending
//    change.
// 2. An open table holds one current value per field.
// 3. Modified only in Edit or Insert state. In Edit and Insert the edited
//    values hold one value per field; in Browse there are none.
// 4. In an open table, unless the view waits for the end of a bulk scope
//    (then 4 to 6 hold once it is rebuilt): the current
//    position lies inside the view, or is 0 on an empty view; so in Browse
//    and Edit on a non-empty table 1 <= RecNo <= RecordCount.
// 5. Likewise: Edit has a current record (the view is not empty).
// 6. Likewise: Eof and Bof are both set exactly when the view is empty.
// 7. Bulk scopes nest: their depth is never negative.
#pragma once

#include "components/core/cp932.h"
#include "components/core/database.h"
#include "components/core/schema.h"
#include "components/core/sql_condition.h"

#include <QObject>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

class Table;

// One field of the current record.
class Field {
public:
    Field(Table& table, int index) : table_(&table), index_(index) {}

    const std::string& FieldName() const;  // UTF-8
    int Index() const { return index_; }   // from 0
    bool IsWholeNumber() const;

    SjisString AsString() const;
    // Blank gives 0; text that is no whole number raises DbError.
    long long AsInteger() const;
    bool IsNull() const { return AsString().empty(); }
    QString DisplayText() const { return sjis::decode(AsString()); }

    void SetAsString(const SjisString& value);
    void SetAsInteger(long long value) { SetAsString(std::to_string(value)); }
    void Clear() { SetAsString({}); }

private:
    Table* table_;
    int index_;
};

struct LocateOptions {
    bool partialKey = false;
};

class Table : public QObject {
    Q_OBJECT
public:
    enum class State { Inactive, Browse, Edit, Insert };

    // A table of `db` by its system name ("INDATA", "code.DB"). Its fields
    // are read from the real table, so a record table with 47 fields works.
    Table(Database& db, std::string tableName, QObject* parent = nullptr);
    ~Table() override;

    // Loads the view and makes the first record current (AfterScroll runs
    // when there is one).
    void Open();
    void Close();
    bool Active() const { return state_ != State::Inactive; }

    const std::string& TableName() const { return name_; }
    Database& database() const { return db_; }

    // Fields
    int FieldCount() const { return int(fields_.size()); }
    const FieldDef& FieldDefinition(int index) const { return fields_.at(std::size_t(index)); }
    int FieldIndex(std::string_view utf8Name) const;  // -1 when no such field
    Field FieldByName(std::string_view utf8Name);     // raises DbError when no such field
    Field Fields(int index);                          // from 0
    SjisString value(int index) const;

    // Navigation
    void First();
    void Next();
    void Prior();
    void Last();
    bool Eof() const { return eof_; }
    bool Bof() const { return bof_; }
    int RecNo();  // from 1; -1 for a new record; 0 on an empty table
    void SetRecNo(int recNo);
    int RecordCount();
    bool IsEmpty() { return RecordCount() == 0; }

    // The first record in the active order whose fields (names joined by
    // ";") equal the values, or begin with them under partialKey. A miss
    // leaves the current record.
    bool Locate(std::string_view utf8Fields, const std::vector<SjisString>& values, LocateOptions options = {});

    // Changes
    void Append();
    void Insert();
    void Edit();
    void Post();
    void Cancel();
    void Delete();
    // Values in field order, appended and posted; missing values and
    // nullopt leave fields empty.
    void AppendRecord(const std::vector<std::optional<SjisString>>& values);
    // Removes every record in one statement (what "First, then Delete until
    // Eof" does, without the hooks).
    void EmptyTable();

    // Settles a pending change the way a move does: bound controls hand
    // over their text, then a modified record is posted and an untouched
    // one dropped.
    void CheckBrowseMode();

    State state() const { return state_; }
    bool Modified() const { return modified_; }

    // Order
    std::string IndexFieldNames() const { return indexFieldNames_; }
    void SetIndexFieldNames(const std::string& utf8Fields);
    std::string IndexName() const { return indexName_; }
    void SetIndexName(const std::string& utf8Name);  // raises DbError for an unknown index
    std::vector<std::string> IndexNames() const;

    // Filter (CP932 expression)
    SjisString Filter() const { return filter_; }
    void SetFilter(const SjisString& expression);
    bool Filtered() const { return filtered_; }
    void SetFiltered(bool on);

    // Reloads the view from the database (changes made by the other
    // program); the current record stays when it still exists.
    void Refresh();

    // Values of the visible record at `position` (from 0) without moving
    // to it, for grids.
    std::vector<SjisString> rowValues(int position);
    // Position (from 0) of the current record in the view, -1 for none.
    int currentPosition();
    // Position (from 0) of the first visible record from position `start`
    // on (or back from it, towards the first) whose value of field `index`
    // holds `text` at character boundaries (sjis::findCharacters); -1 when
    // none does. One scan of the table, then a walk of the view: the cursor
    // does not move and no hook runs.
    int findInField(int index, std::string_view text, int start, bool backwards = false);

    // Bulk appends and deletes in one transaction: the view is rebuilt once
    // when the scope ends. Commit lands everything and the last record
    // posted is current; without it nothing lands and the record current
    // when the scope began is current again.
    // Inside the scope, posts do not place records in the view; moving,
    // RecNo and RecordCount rebuild it, which is costly, so hooks that run
    // for every appended record should stay quiet there.
    // ReplaceAll empties the table first, for a restore that replaces every
    // record: its secondary indexes are built once at the commit, and its
    // sort indexes when a sort first asks for each.
    class Bulk {
    public:
        enum class Mode { Append, ReplaceAll };
        explicit Bulk(Table& table, Mode mode = Mode::Append);
        ~Bulk();
        void commit();

    private:
        Table& table_;
        long long startRow_;
        bool committed_ = false;
        std::optional<Database::Transaction> tx_;
        std::vector<std::string> indexSql_;
    };

    // The read snapshot of a walk (see Walking above). Nothing is written
    // through the database inside the scope: a write fails there when the
    // other program has written since the snapshot began.
    class Snapshot {
    public:
        explicit Snapshot(Table& table);

    private:
        Database::ReadTransaction read_;
    };

    // Hooks, named by the forms' handlers (Table1BeforePost, …).
    std::function<void(Table&)> BeforePost;
    std::function<void(Table&)> AfterPost;
    std::function<void(Table&)> AfterScroll;

signals:
    // Bound controls write their pending text to the record.
    void updateRecord();
    // The current record, its values or the state changed.
    void recordChanged();
    // One field of the current record was set (index from 0).
    void fieldChanged(int index);
    // The set or the order of visible records changed.
    void dataSetChanged();

private:
    friend class Field;
    struct Order {
        std::vector<int> fields;  // field indexes
        std::string sql;          // ORDER BY clause
    };
    struct Key {
        std::vector<SqlParam> values;  // Kind Null, Int or Blob
        long long rowId = 0;
    };
    static int compareKeys(const Key& a, const Key& b);

    void checkActive() const;
    void checkInvariants() const;
    void settle();  // hand over control text, then post or drop a pending change
    void ensureView();
    void setField(int index, const SjisString& value);
    void loadView(std::optional<long long> keepRow);
    std::optional<std::vector<SjisString>> readRow(long long rowId);
    std::vector<SjisString> fetchRow(long long rowId);
    void moveAfterReload(std::size_t position, long long from, bool bof, bool eof);
    std::size_t nearestSurvivor(const std::deque<long long>& before, std::size_t position, bool backwards) const;
    SqlCondition sameValues(long long rowId, const std::vector<std::size_t>& fields) const;
    void updateRow(long long rowId, const std::vector<SqlParam>& params);
    Statement& updateStatement(const std::vector<std::size_t>& changedFields, const std::string& where);
    Statement& locateStatement(const std::string& sql);
    [[noreturn]] void refusePost(long long rowId);
    void loadCurrent();
    void clearCurrent();
    long long currentRow() const;  // row id of the current record; -1 for none or a new one
    void moveTo(std::size_t position, long long from, bool bof = false, bool eof = false);
    void stayAtEnd(bool bof, bool eof);
    void startNew();
    void applyOrder(const std::vector<std::string>& fieldNames);
    std::optional<Key> keyOfRow(long long rowId);
    std::optional<std::size_t> insertionPoint(long long rowId);
    std::size_t positionOf(long long rowId);
    bool rowVisible(long long rowId);
    SqlCondition visibleCondition() const;
    std::vector<SqlParam> valuesAsParams(const std::vector<SjisString>& values) const;
    static std::vector<SjisString> storedValues(const std::vector<SqlParam>& params);
    std::vector<const IndexDef*> definedIndexes() const;
    std::vector<std::string> indexFields(const std::string& utf8Name);
    void placeAfterPost(long long rowId, bool wasInsert);
    // What the view was built from: the other program's commits (the
    // database's data version) and this connection's row changes.
    struct Stamp {
        long long version = -1, changes = -1;
        bool operator==(const Stamp&) const = default;
    };
    Stamp bookStamp();
    void noteOwnChange();
    bool moveToNeighbour();
    void reloadFromFirst();

    Database& db_;
    std::string name_;
    std::vector<FieldDef> fields_;
    std::vector<std::string> primaryOrder_;
    std::vector<std::size_t> identity_;  // fields that tell one record from another
    State state_ = State::Inactive;

    std::deque<long long> rows_;     // visible row ids in the active order
    std::size_t position_ = 0;       // index into rows_ of the current record
    long long insertReturnRow_ = -1;  // record current before Append/Insert
    bool eof_ = true;
    bool bof_ = true;
    std::vector<SjisString> current_;  // values of the current record as stored
    std::vector<SjisString> buffer_;   // values being edited
    bool modified_ = false;
    int bulkDepth_ = 0;
    bool viewStale_ = false;  // posts inside a Bulk scope do not keep the view
    Stamp viewStamp_;
    long long staleCurrentRow_ = -1;

    std::string indexFieldNames_;
    std::string indexName_;
    Order order_;
    SjisString filter_;
    bool filtered_ = false;
    SqlCondition filterCondition_;

    Statement selectRow_;
    Statement selectKey_;
    Statement deleteRow_;
    Statement insertRow_;
    std::map<std::vector<std::size_t>, Statement> updateRows_;  // by changed fields
    std::map<std::string, Statement> locateRows_;               // by SQL
};

const char* tableStateName(Table::State s);

// A field's value as the table stores it: text as its bytes, a whole
// number as an integer, blank as null. Raises DbError for a whole-number
// field's text that is no whole number.
SqlParam storedValue(const FieldDef& field, const SjisString& value);
