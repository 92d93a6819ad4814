// The record book without its window: the record table (INDATA), the
// specification table (code), the remarks sort's scratch table (Sort), the
// start-up settings and the rules every save follows. Dremlot's window shows
// it; backup, restore, printing and cost estimates work on it alone.
#pragma once

#include "components/core/cp932.h"
#include "components/core/table.h"

#include <QString>
#include <array>
#include <functional>
#include <memory>
#include <vector>

class Database;
class SpecificationLearning;

// What the book reads from the data directory at start-up.
struct RecordBookSettings {
    int RecordLayoutMode = 0;       // DataBase.INI
    int DesignationOnlySearch = 0;  // CarSearch.INI
    SjisString BackupNamePrefix, BackupNameSuffix;  // CarSave.INI
    SjisString StartupPassword;                     // Pass.INI
    QString RestoreInitialFolder;                   // INIDIR.INI
    int RequestProgramPresent = 0;  // Ostrivan.exe is in the data directory
    bool PrintProgramPresent = false;  // Pelmora.exe is in the data directory
    // Why settings files could not be read (each keeps its default), to be
    // told at start.
    std::vector<QString> ReadFailures;
};

class RecordBook {
public:
    explicit RecordBook(Database& db);
    ~RecordBook();
    RecordBook(const RecordBook&) = delete;
    RecordBook& operator=(const RecordBook&) = delete;

    // Opens the specification, width-set and record tables (the record
    // table's first record becomes current, with its after-scroll work) and
    // reads the settings of `dataDir`. Throws DbError, or FileError when
    // Pass.INI cannot be read; another settings file that cannot be read
    // keeps its default and its message goes to ReadFailures.
    void load(const QString& dataDir);

    Database& database() const { return db_; }
    Table& records() const { return *records_; }
    Table& specifications() const { return *specifications_; }
    // INDTLEN: the width sets; its current row is the set the list print,
    // the backup and the restore use.
    Table& widthSets() const { return *widthSets_; }
    // The Sort table, opened on first use.
    Table& remarksSort();
    const QString& dataDirectory() const { return dataDirectory_; }
    const RecordBookSettings& settings() const { return settings_; }

    // While a restore writes records, saves keep the insurance history as
    // it comes and browsing does no after-scroll work.
    bool BulkRestoring = false;
    // Sets BulkRestoring for its life. The saves meanwhile learn through one
    // SpecificationLearning, which keeps the types met: the restore's
    // transaction lets nothing else write the specification table.
    class BulkRestore {
    public:
        explicit BulkRestore(RecordBook& book);
        ~BulkRestore();
        BulkRestore(const BulkRestore&) = delete;
        BulkRestore& operator=(const BulkRestore&) = delete;

    private:
        RecordBook& book_;
    };

    // The kana-row tab of the current record; the add tab for a new one.
    int KanaRowIndex() const;

    // The record table's hooks, installed by the constructor. Saving makes
    // both codes full width; when the insurer or certificate differs from
    // the pair the record had when it was reached or last saved, that pair
    // moves into 自賠責機関/証明番号 (not while bulk restoring); then the
    // window shows the kana row (SavingKanaRow) and the specification table
    // learns the vehicle's type.
    void Table1AfterScroll();
    void Table1BeforePost();
    void Table1AfterPost();
    // The window's part of the hooks: after every move (not while bulk
    // restoring), and with the kana row of the record being saved.
    std::function<void()> AfterScroll;
    std::function<void(int kanaRow)> SavingKanaRow;

    // Puts the current record into edit state unless it is being edited or added.
    void editRecord();
    // Weight groups: 0 乗車定員/最大積載量/車両総重量, 1 定員/積載量/総重量;
    // both share 車両重量, and gross = vehicle + 55 per seat + load.
    // Completing works out the one missing figure (the load when none is
    // missing, the gross when only the load is); clearing empties all four.
    void completeWeights(int group);
    void clearWeights(int group);

    // Values by record field number (from 1) of the record being looked up
    // or backed up; slot 4 carries the address to PostRead.
    std::array<SjisString, 61> RecordBuffer;
    // The postal code of the address in RecordBuffer[4], from KEN_ALL.CSV of
    // the data directory (empty when not found or the file is missing). When
    // the address lacks its prefecture, the prefecture found is put before it.
    void PostRead(SjisString& Code, int Mode);

private:
    void rememberInsurance();

    Database& db_;
    std::unique_ptr<Table> records_, specifications_, widthSets_, remarksSort_;
    QString dataDirectory_;
    RecordBookSettings settings_;
    SjisString RememberedInsurer, RememberedCertificate;
    std::unique_ptr<SpecificationLearning> restoreLearning_;
};
