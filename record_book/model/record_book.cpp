#include "record_book/model/record_book.h"

#include "record_book/model/weights.h"

#include "components/core/data_directory.h"
#include "components/core/japanese_text.h"
#include "components/formats/backup_format.h"
#include "components/formats/post_read.h"
#include "components/formats/print_files.h"
#include "components/formats/startup_settings.h"
#include "record_book/model/record_rules.h"

namespace {

struct WeightFields {
    const char* seats;
    const char* load;
    const char* gross;
};

const WeightFields kWeightGroups[] = {{"乗車定員", "最大積載量", "車両総重量"}, {"定員", "積載量", "総重量"}};
const char* const kVehicleWeight = "車両重量";

}  // namespace

RecordBook::RecordBook(Database& db)
    : db_(db), records_(std::make_unique<Table>(db, "INDATA")), specifications_(std::make_unique<Table>(db, "code")),
      widthSets_(std::make_unique<Table>(db, "INDTLEN"))
{
    records_->AfterScroll = [this](Table&) { Table1AfterScroll(); };
    records_->BeforePost = [this](Table&) { Table1BeforePost(); };
    records_->AfterPost = [this](Table&) { Table1AfterPost(); };
}

RecordBook::~RecordBook() = default;

void RecordBook::load(const QString& dataDir)
{
    BulkRestoring = false;
    specifications_->Open();
    widthSets_->Open();
    records_->Open();
    rememberInsurance();
    dataDirectory_ = dataDir;
    settings_.RequestProgramPresent = fileExists(dataDir, QStringLiteral("Ostrivan.exe")) ? 1 : 0;
    settings_.PrintProgramPresent = !findPrintProgram(dataDir).isEmpty();
    settings_.ReadFailures.clear();
    auto read = [this](const std::function<void()>& reader) {
        try {
            reader();
        } catch (const FileError& e) {
            settings_.ReadFailures.push_back(e.message());
        }
    };
    read([&] { settings_.DesignationOnlySearch = readDesignationOnlySearch(dataDir); });
    read([&] { settings_.RecordLayoutMode = readRecordLayoutMode(dataDir); });
    read([&] {
        const BackupName backupName = readBackupName(dataDir);
        settings_.BackupNamePrefix = backupName.prefix;
        settings_.BackupNameSuffix = backupName.suffix;
    });
    // A lock that cannot be read does not open: the start ends.
    settings_.StartupPassword = readStartupPassword(dataDir);
    read([&] { settings_.RestoreInitialFolder = readRestoreInitialFolder(dataDir); });
}

Table& RecordBook::remarksSort()
{
    if (!remarksSort_)
        remarksSort_ = std::make_unique<Table>(db_, "Sort");
    if (!remarksSort_->Active())
        remarksSort_->Open();
    return *remarksSort_;
}

int RecordBook::KanaRowIndex() const
{
    if (records_->RecNo() == -1)
        return kAddTab;
    return ::KanaRowIndex(records_->FieldByName("使用者ふりがな").AsString());
}

void RecordBook::rememberInsurance()
{
    RememberedInsurer = records_->FieldByName("自賠責保険機関").AsString();
    RememberedCertificate = records_->FieldByName("自賠責証明番号").AsString();
}

void RecordBook::Table1AfterScroll()
{
    if (BulkRestoring)
        return;
    rememberInsurance();
    if (AfterScroll)
        AfterScroll();
}

void RecordBook::Table1BeforePost()
{
    Table& t = *records_;
    for (const char* code : {"自動車型式指定番号", "類別区分番号"}) {
        Field f = t.FieldByName(code);
        SjisString v = f.AsString();
        ChangeChar(v);
        f.SetAsString(v);
    }
    if (!BulkRestoring) {
        Field insurer = t.FieldByName("自賠責保険機関");
        Field certificate = t.FieldByName("自賠責証明番号");
        if (insurer.AsString() != RememberedInsurer || certificate.AsString() != RememberedCertificate) {
            t.FieldByName("自賠責機関").SetAsString(RememberedInsurer);
            t.FieldByName("証明番号").SetAsString(RememberedCertificate);
        }
    }
    if (SavingKanaRow)
        SavingKanaRow(::KanaRowIndex(t.FieldByName("使用者ふりがな").AsString()));
    if (BulkRestoring && restoreLearning_)
        restoreLearning_->learn(t);
    else
        learnSpecification(t, *specifications_, settings_.RecordLayoutMode);
}

RecordBook::BulkRestore::BulkRestore(RecordBook& book) : book_(book)
{
    book_.restoreLearning_ =
        std::make_unique<SpecificationLearning>(*book_.specifications_, book_.settings_.RecordLayoutMode);
    book_.BulkRestoring = true;
}

RecordBook::BulkRestore::~BulkRestore()
{
    book_.BulkRestoring = false;
    book_.restoreLearning_.reset();
}

// The saved record stays the current one (the table keeps it so). The
// insurance pair is remembered anew only now that the post has landed: a
// post that fails or is cancelled keeps the pair that was shown, so a later
// save never writes a cancelled value into the history.
void RecordBook::Table1AfterPost()
{
    rememberInsurance();
}

void RecordBook::editRecord()
{
    if (records_->state() == Table::State::Browse)
        records_->Edit();
}

// Gross weight = vehicle weight + 55 per seat + maximum load.
void RecordBook::completeWeights(int group)
{
    const WeightFields& g = kWeightGroups[group];
    const char* const fields[] = {g.seats, g.load, kVehicleWeight, g.gross};
    auto value = [this](const char* field) { return records_->FieldByName(field).AsInteger(); };
    const Weights before{value(g.seats), value(g.load), value(kVehicleWeight), value(g.gross)};
    const std::optional<Weights> after = completedWeights(before);
    if (!after)
        return;
    editRecord();
    const long long Weights::*figures[] = {&Weights::seats, &Weights::load, &Weights::vehicle, &Weights::gross};
    for (int i = 0; i < 4; ++i)
        if ((*after).*figures[i] != before.*figures[i])
            records_->FieldByName(fields[i]).SetAsInteger((*after).*figures[i]);
}

void RecordBook::clearWeights(int group)
{
    const WeightFields& g = kWeightGroups[group];
    editRecord();
    for (const char* field : {g.seats, g.load, kVehicleWeight, g.gross})
        records_->FieldByName(field).Clear();
}

void RecordBook::PostRead(SjisString& Code, int Mode)
{
    const auto index = postal::kenAllIndex(resolveFile(dataDirectory_, QStringLiteral("KEN_ALL.CSV")));
    if (!index)
        return;
    Code = backup::lookUpPostalCode(*index, RecordBuffer[4], Mode);
}
