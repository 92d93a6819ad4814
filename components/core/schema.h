// Every table of the shared database: fields in physical order, primary
// order and named secondary indexes. A database that lacks a table gets it
// when opened; a table that exists is never restructured.
#pragma once

#include <QString>
#include <memory>
#include <string>
#include <vector>

class Database;

enum class FieldType { Text, WholeNumber };

struct FieldDef {
    std::string name;  // UTF-8
    FieldType type = FieldType::Text;
};

struct IndexDef {
    std::string name;  // the system's index name, UTF-8
    std::vector<std::string> fields;
};

struct TableDef {
    std::string name;  // the system's table name without extension
    std::vector<FieldDef> fields;
    std::vector<std::string> primaryOrder;  // empty: insertion order
    bool uniqueKey = true;                  // two records may not share the primary order's values
    std::vector<IndexDef> indexes;
    // Rows a table starts with when it is created (never added to one that
    // exists): values in field order, text in UTF-8, whole numbers in
    // decimal.
    std::vector<std::vector<std::string>> seedRows{};
};

// The definitions of all tables, and one by name (case-insensitive, with or
// without the ".db" extension); nullptr when unknown.
const std::vector<TableDef>& schemaTables();
const TableDef* schemaTable(std::string_view name);

// SQL name of a secondary index: indexes are global in SQLite, so each is
// prefixed with its table's name.
std::string sqlIndexName(const std::string& table, const std::string& index);

// Creates the missing tables with their indexes and first rows.
void createMissingTables(Database& db);

// The shared database as both programs open it: a file that is no book
// (other tables, or a table without the fields the programs need) is
// refused unchanged; a book is opened, then given the tables it lacks.
// Throws DbError with a message for the user that names the file.
std::unique_ptr<Database> openSharedDatabase(const QString& path);

// Creates one secondary index of a table when the database lacks it.
void createIndex(Database& db, const std::string& table, const IndexDef& index);
