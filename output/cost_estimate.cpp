#include "output/cost_estimate.h"

#include "components/core/data_directory.h"
#include "components/core/era_date.h"
#include "components/core/table.h"
#include "components/formats/settings_file.h"
#include "output/print_font.h"
#include "platform/message_box.h"
#include "platform/text_printer.h"
#include "record_book/model/record_book.h"

#include <charconv>
#include <utility>

namespace {

long long wholeNumber(const SjisString& text)
{
    long long v = 0;
    std::from_chars(text.data(), text.data() + text.size(), v);
    return v;
}

// Indexes of the record fields an estimate reads.
struct RecordColumns {
    int kind, use, registrationKind, load, vehicleWeight, grossWeight, customer, registration;
    int phone, address, reading, firstRegistered, make, chassis, model, engine, designation, classification;

    explicit RecordColumns(const Table& t)
    {
        auto at = [&](const char* name) {
            const int i = t.FieldIndex(name);
            if (i < 0)
                throw DbError(QStringLiteral("フィールド '%1' が見つかりません").arg(QString::fromUtf8(name)));
            return i;
        };
        kind = at("自動車の種別"), use = at("用途"), registrationKind = at("自家用事業用の別");
        load = at("最大積載量"), vehicleWeight = at("車両重量"), grossWeight = at("車両総重量");
        customer = at("使用者"), registration = at("自動車登録番号"), phone = at("電話番号");
        address = at("使用者住所"), reading = at("使用者ふりがな"), firstRegistered = at("初度登録年月");
        make = at("車名"), chassis = at("車台番号"), model = at("型式"), engine = at("原動機の型式");
        designation = at("自動車型式指定番号"), classification = at("類別区分番号");
    }
};

CostVehicle vehicleOf(const std::vector<SjisString>& row, const RecordColumns& c)
{
    CostVehicle v;
    v.classCode = vehicleClassCode(row[std::size_t(c.kind)]);
    v.useCode = vehicleUseCode(row[std::size_t(c.use)]);
    v.business = row[std::size_t(c.registrationKind)] == sj("事業用");
    v.load = wholeNumber(row[std::size_t(c.load)]);
    v.vehicleWeight = wholeNumber(row[std::size_t(c.vehicleWeight)]);
    v.grossWeight = wholeNumber(row[std::size_t(c.grossWeight)]);
    return v;
}

// A Yes/No question; closing the box keeps `previous`.
bool ask(const EstimateEntry& entry, std::string_view question, bool previous)
{
    switch (showMessage(sjis::decode(estimateQuestion(entry, question)), {}, MessageIcon::Question,
                        MessageButtons::YesNo)) {
    case MessageAnswer::Yes: return true;
    case MessageAnswer::No: return false;
    default: return previous;
    }
}

class EstimateRun {
public:
    using JobSink = std::function<void(const CostEstimate::Job&)>;

    EstimateRun(const EstimateOptions& o, const CostRates& rates, const RecordColumns& columns, Table* requests,
                JobSink sendJob)
        : o_(o), rates_(rates), columns_(columns), requests_(requests), sendJob_(std::move(sendJob))
    {
    }

    void price(const std::vector<SjisString>& row)
    {
        EstimateEntry e;
        e.customer = row[std::size_t(columns_.customer)];
        e.registration = row[std::size_t(columns_.registration)];
        const CostVehicle v = vehicleOf(row, columns_);
        e.classCode = v.classCode;
        e.useCode = v.useCode;
        if (o_.scope == EstimateScope::All) {
            if (o_.plate)
                plate_ = ask(e, kPlateQuestion, plate_);
            if (o_.insuranceBroughtIn)
                broughtIn_ = ask(e, kBroughtInQuestion, broughtIn_);
        } else {
            plate_ = o_.plate;
            broughtIn_ = o_.insuranceBroughtIn;
        }
        e.plateCharged = plate_;
        e.insuranceBroughtIn = broughtIn_;
        if (v.known())
            e.amounts = priceVehicle(rates_, v, plate_, broughtIn_);
        if (o_.output == EstimateOutput::Request)
            request(e, row);
        else
            addText(estimateLines(e, o_.feeName));
        result.last = e;
    }

    // The last print job, when it holds records.
    void finish()
    {
        if (!job_.empty())
            sendJob_(std::exchange(job_, {}));
    }

    EstimateResult result;
    std::vector<SjisString> text;

private:
    void addText(std::vector<SjisString> lines)
    {
        if (o_.output != EstimateOutput::Printer) {
            text.insert(text.end(), lines.begin(), lines.end());
            return;
        }
        job_.push_back(std::move(lines));
        if (o_.recordsPerJob > 0 && int(job_.size()) == o_.recordsPerJob)
            finish();
    }

    void request(const EstimateEntry& e, const std::vector<SjisString>& row)
    {
        if (e.classCode == 0)
            showMessage(QStringLiteral("　自動車の種別　が認識できません！"));
        if (e.useCode == 0)
            showMessage(QStringLiteral("　用途　が認識できません！"));
        if (e.classCode == 0 || e.useCode == 0) {
            ++result.requestsNotAdded;
            return;
        }
        Table& t = *requests_;
        try {
            t.Append();
            auto set = [&](const char* field, const SjisString& value) { t.FieldByName(field).SetAsString(value); };
            auto copy = [&](const char* field, int column) { set(field, row[std::size_t(column)]); };
            set("作成日", eraDateText(o_.today));
            t.FieldByName("項番").SetAsInteger(requestItemNumber(o_.today));
            copy("電話番号", columns_.phone);
            copy("住所", columns_.address);
            copy("ふりがな", columns_.reading);
            copy("氏名", columns_.customer);
            copy("自動車登録番号", columns_.registration);
            copy("車名", columns_.make);
            copy("初度登録", columns_.firstRegistered);
            copy("車台番号", columns_.chassis);
            copy("型式", columns_.model);
            copy("原動機の型式", columns_.engine);
            copy("型式指定番号", columns_.designation);
            copy("類別区分番号", columns_.classification);
            set("分類", sj("車検"));
            set("車検", "True");
            const CostAmounts& a = e.amounts;
            t.FieldByName("自賠責").SetAsInteger(a.insurance);
            t.FieldByName("重量税").SetAsInteger(a.weightTax);
            t.FieldByName("印紙代").SetAsInteger(a.stamp);
            t.FieldByName("諸費用").SetAsInteger(a.misc + a.plate);
            t.FieldByName("車検合計").SetAsInteger(a.total);
            t.Post();
            ++result.requestsAdded;
        } catch (const DbError&) {
            if (t.state() != Table::State::Browse)
                t.Cancel();
            ++result.requestsNotAdded;
        }
    }

    const EstimateOptions& o_;
    const CostRates& rates_;
    const RecordColumns& columns_;
    Table* requests_;
    JobSink sendJob_;
    CostEstimate::Job job_;
    bool plate_ = false, broughtIn_ = false;
};

std::vector<SjisString> currentRow(Table& t)
{
    std::vector<SjisString> row;
    for (int i = 0; i < t.FieldCount(); ++i)
        row.push_back(t.value(i));
    return row;
}

}  // namespace

QString estimateTextPath(const QString& dataDir)
{
    return resolveFile(dataDir, QStringLiteral("Expense.txt"));
}

CostEstimate::CostEstimate(RecordBook& book, CostTables& tables) : book_(book), tables_(tables) {}

CostEstimate::~CostEstimate() = default;

Table& CostEstimate::requests()
{
    if (!requests_)
        requests_ = std::make_unique<Table>(book_.database(), "Request");
    if (!requests_->Active())
        requests_->Open();
    return *requests_;
}

bool CostEstimate::requestsOpen() const { return requests_ && requests_->Active(); }

EstimateResult CostEstimate::run(const EstimateOptions& options)
{
    const CostRates rates = tables_.rates();
    Table& records = book_.records();
    const RecordColumns columns(records);
    std::unique_ptr<TextPrinter> printer;
    auto sendJob = [&](const Job& job) {
        if (printJob)
            return printJob(job);
        if (!printer)
            printer = std::make_unique<TextPrinter>(runPrinter());
        printer->beginJob(printFont(options.font), printColor(options.font));
        for (const std::vector<SjisString>& lines : job)
            printWhole(*printer, lines);
        printer->endJob();
    };
    EstimateRun run(options, rates, columns, options.output == EstimateOutput::Request ? &requests() : nullptr,
                    sendJob);
    if (options.scope == EstimateScope::Current) {
        run.price(currentRow(records));
    } else {
        // Request rows are written, which a read snapshot cannot hold: those
        // records are priced once the snapshot is over.
        std::vector<std::vector<SjisString>> held;
        {
            const Table::Snapshot snapshot(records);
            const int count = records.RecordCount();
            for (int i = 0; i < count; ++i) {
                if (options.output == EstimateOutput::Request)
                    held.push_back(records.rowValues(i));
                else
                    run.price(records.rowValues(i));
            }
        }
        for (const std::vector<SjisString>& row : held)
            run.price(row);
        records.Last();
    }
    run.finish();
    if (printer)
        printer->finish();
    if (options.output == EstimateOutput::Screen) {
        LineListFile(std::move(run.text)).write(estimateTextPath(book_.dataDirectory()));
    }
    return run.result;
}
