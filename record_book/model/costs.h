// Cost estimates: the fee tables Expense and WeightTax (one row each), the
// pricing of one vehicle from them, and the estimate's text. No widgets.
//
// Uses are numbered 1..5: 乗用, 貨物, 特種, 乗合, 特殊. Classes 1..4 are
// 軽自動車, 小型, 普通 (also 大型; cargo: up to 2 t load), 二輪 (cargo: over
// 2 t load); 5..8 the same on business registration.
#pragma once

#include "components/core/cp932.h"

#include <QDate>
#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class Database;
class Table;

constexpr int kCostUses = 5;
constexpr int kBracketRows = 13;  // 12 brackets and the step row
constexpr int kFeeClasses = 8;

// The UTF-8 name of use 1..5.
const char* costUseName(int use);

// Field names (UTF-8) of the fee tables.
std::string weightBoundField(int use, int row);  // 重量税乗用数値1: row 1..13
std::string weightAmountField(int use, int n);   // 重量税乗用1: n 1..26 (特種 to 52)
enum class FeeKind { Insurance, Stamp, Misc };   // 自賠責, 検査印紙, 諸費用
std::string feeField(FeeKind kind, int use, int feeClass);
inline constexpr const char* kPlateField = "仮ナンバー";
// 重量税軽, 重量税二輪, 重量税軽貨物, 重量税二輪事業用.
const std::array<const char*, 4>& flatWeightTaxFields();

struct WeightTaxRates {
    std::array<std::array<long long, kBracketRows>, kCostUses> bounds{};  // [use - 1][row - 1]
    std::array<std::array<long long, 26>, kCostUses> amounts{};          // rows 1..13 private, 14..26 business
    std::array<long long, 26> specialLoad{};                             // 重量税特種27..52
    std::array<long long, 4> flat{};                                     // in flatWeightTaxFields() order
};

struct FeeRates {
    // [kind][use - 1][class - 1]
    std::array<std::array<std::array<long long, kFeeClasses>, kCostUses>, 3> fees{};
    long long plate = 0;
    long long fee(FeeKind kind, int use, int feeClass) const
    {
        return fees[std::size_t(kind)][std::size_t(use - 1)][std::size_t(feeClass - 1)];
    }
};

struct CostRates {
    WeightTaxRates weightTax;
    FeeRates fees;
};

// The two fee tables of the book. Opening gives a table without a row its
// one row of zeros.
class CostTables {
public:
    explicit CostTables(Database& db);
    ~CostTables();
    CostTables(const CostTables&) = delete;
    CostTables& operator=(const CostTables&) = delete;

    void open();  // both tables, when not open yet
    Table& expense() { return *expense_; }      // Table2
    Table& weightTax() { return *weightTax_; }  // Table7
    // Every field of both rows, read once. Throws DbError.
    CostRates rates();
    // In each use, the rows from the first empty bound to row 12 lose their
    // bound and their private tax (the business tax stays); posted.
    void clearEmptyBrackets();

private:
    std::unique_ptr<Table> expense_, weightTax_;
};

// The filled rows of a use plus one: the first row 1..12 whose bound is 0,
// or 13 when all twelve are filled.
int bracketRowCount(const std::array<long long, kBracketRows>& bounds);

// Codes of a record's 自動車の種別 and 用途 (whole value compared); 0 for an
// unrecognised value.
int vehicleClassCode(std::string_view kind);
int vehicleUseCode(std::string_view use);

// What pricing takes of a record.
struct CostVehicle {
    int classCode = 0;  // 1..4, 0 unrecognised
    int useCode = 0;    // 1..5, 0 unrecognised
    bool business = false;  // 自家用事業用の別 is "事業用"
    long long load = 0;     // 最大積載量
    long long vehicleWeight = 0, grossWeight = 0;  // 車両重量, 車両総重量
    bool known() const { return classCode != 0 && useCode != 0; }
};

// Which amounts of WeightTax give a record's bracket tax.
enum class TaxColumn { UsePrivate, UseBusiness, LoadPrivate, LoadBusiness };

// The codes after the adjustments: cargo over 2 t, buses, special-purpose
// vehicles with a load, business registration. The record's own use still
// chooses the bounds and the weight.
struct PricingCodes {
    int feeClass = 0;  // 1..8
    int feeUse = 0;    // 1..5
    TaxColumn column = TaxColumn::UsePrivate;
};
PricingCodes pricingCodes(const CostVehicle& vehicle);

// The weight tax: flat for mini vehicles and two-wheelers (not buses, not
// cargo over 2 t), else by the record use's brackets. Above the heaviest
// bracket each started step of bound(13) kg adds the row-13 amount; a step
// of 0 adds nothing.
long long weightTax(const WeightTaxRates& rates, const CostVehicle& vehicle, const PricingCodes& codes);

struct CostAmounts {
    long long insurance = 0, weightTax = 0, stamp = 0, misc = 0, plate = 0, total = 0;
};

// The amounts of a vehicle whose codes are known.
CostAmounts priceVehicle(const CostRates& rates, const CostVehicle& vehicle, bool plateCharged,
                         bool insuranceBroughtIn);

// Text cut at a character boundary to at most `bytes` and padded with
// blanks to exactly `bytes`.
SjisString fixedWidth(std::string_view text, std::size_t bytes);
// An amount as the estimate prints it: full-width digits ("－" before a
// negative one) right-aligned with blanks in `width` bytes; a longer amount
// is written whole.
SjisString amountField(long long amount, std::size_t width = 14);
// The miscellaneous-fee name in its 8 bytes: two characters get three
// blanks between them, three characters one blank between each.
SjisString feeNameLabel(std::string_view name);

// One record of an estimate.
struct EstimateEntry {
    SjisString customer;      // 使用者
    SjisString registration;  // 自動車登録番号
    int classCode = 0, useCode = 0;
    CostAmounts amounts;
    bool plateCharged = false, insuranceBroughtIn = false;
};

// The text lines of one record (without line ends).
std::vector<SjisString> estimateLines(const EstimateEntry& entry, std::string_view feeName);

// The six amounts as the viewer's labels hold them: insurance (empty when
// brought in), weight tax, stamp, fees, plate (empty when not charged,
// else two blanks and its 12-byte field) and total.
std::array<SjisString, 6> amountLabels(const EstimateEntry& entry);

// The question about a record of an estimate over all records: the
// customer in 18 bytes and "様", the registration number and "の", then the
// question, on three lines (CR).
SjisString estimateQuestion(const EstimateEntry& entry, std::string_view question);
inline constexpr std::string_view kPlateQuestion = "仮ナンバー代を付けますか？";
inline constexpr std::string_view kBroughtInQuestion = "自賠責保険は持ち込みですか？";

// 項番 of a request row made on `date`: year·10000 + month·100 + day.
int requestItemNumber(QDate date);
