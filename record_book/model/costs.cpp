#include "record_book/model/costs.h"

#include "components/core/japanese_text.h"
#include "components/core/table.h"

#include <limits>

namespace {

const char* const kUseNames[kCostUses] = {"乗用", "貨物", "特種", "乗合", "特殊"};
const char* const kFeeKindNames[] = {"自賠責", "検査印紙", "諸費用"};
constexpr int kSpecialPurpose = 3, kCargo = 2, kBus = 4, kPassenger = 1;

// Sums and products held at the largest amount instead of overflowing.
long long add(long long a, long long b)
{
    long long r;
    if (__builtin_add_overflow(a, b, &r))
        return b > 0 ? std::numeric_limits<long long>::max() : std::numeric_limits<long long>::min();
    return r;
}

long long multiply(long long a, long long b)
{
    long long r;
    if (__builtin_mul_overflow(a, b, &r))
        return (a < 0) != (b < 0) ? std::numeric_limits<long long>::min() : std::numeric_limits<long long>::max();
    return r;
}

// The steps of `step` kg that w, rounded up to a whole step, lies above `bound`.
long long stepsAbove(long long w, long long bound, long long step)
{
    long long steps = w / step + (w % step > 0 ? 1 : 0);  // w rounded up, in steps
    long long rest = bound / step, below = bound % step;
    // (steps·step − bound) / step, truncated towards zero, without forming steps·step.
    long long n = steps - rest;
    if (below > 0 && n > 0)
        --n;
    else if (below < 0 && n < 0)
        ++n;
    return n;
}

long long fieldNumber(Table& t, const std::string& name)
{
    return t.FieldByName(name).AsInteger();
}

// A fee table without a row gets its row of zeros.
void ensureRow(Table& t)
{
    if (!t.Active())
        t.Open();
    if (!t.IsEmpty())
        return;
    t.Append();
    for (int i = 0; i < t.FieldCount(); ++i)
        if (t.FieldDefinition(i).type == FieldType::WholeNumber)
            t.Fields(i).SetAsInteger(0);
    t.Post();
}

}  // namespace

const char* costUseName(int use) { return kUseNames[use - 1]; }

std::string weightBoundField(int use, int row)
{
    return std::string("重量税") + costUseName(use) + "数値" + std::to_string(row);
}

std::string weightAmountField(int use, int n) { return std::string("重量税") + costUseName(use) + std::to_string(n); }

std::string feeField(FeeKind kind, int use, int feeClass)
{
    return std::string(kFeeKindNames[int(kind)]) + costUseName(use) + std::to_string(feeClass);
}

const std::array<const char*, 4>& flatWeightTaxFields()
{
    static const std::array<const char*, 4> names = {"重量税軽", "重量税二輪", "重量税軽貨物", "重量税二輪事業用"};
    return names;
}

CostTables::CostTables(Database& db)
    : expense_(std::make_unique<Table>(db, "Expense")), weightTax_(std::make_unique<Table>(db, "WeightTax"))
{
}

CostTables::~CostTables() = default;

void CostTables::open()
{
    ensureRow(*weightTax_);
    ensureRow(*expense_);
}

CostRates CostTables::rates()
{
    open();
    CostRates r;
    Table& w = *weightTax_;
    for (int use = 1; use <= kCostUses; ++use) {
        for (int row = 1; row <= kBracketRows; ++row)
            r.weightTax.bounds[std::size_t(use - 1)][std::size_t(row - 1)] = fieldNumber(w, weightBoundField(use, row));
        for (int n = 1; n <= 26; ++n)
            r.weightTax.amounts[std::size_t(use - 1)][std::size_t(n - 1)] = fieldNumber(w, weightAmountField(use, n));
    }
    for (int n = 27; n <= 52; ++n)
        r.weightTax.specialLoad[std::size_t(n - 27)] = fieldNumber(w, weightAmountField(kSpecialPurpose, n));
    for (std::size_t i = 0; i < 4; ++i)
        r.weightTax.flat[i] = fieldNumber(w, flatWeightTaxFields()[i]);
    Table& e = *expense_;
    for (FeeKind kind : {FeeKind::Insurance, FeeKind::Stamp, FeeKind::Misc})
        for (int use = 1; use <= kCostUses; ++use)
            for (int k = 1; k <= kFeeClasses; ++k)
                r.fees.fees[std::size_t(kind)][std::size_t(use - 1)][std::size_t(k - 1)] =
                    fieldNumber(e, feeField(kind, use, k));
    r.fees.plate = fieldNumber(e, kPlateField);
    return r;
}

void CostTables::clearEmptyBrackets()
{
    open();
    Table& w = *weightTax_;
    w.Edit();
    for (int use = 1; use <= kCostUses; ++use) {
        std::array<long long, kBracketRows> bounds{};
        for (int r = 1; r <= kBracketRows; ++r)
            bounds[std::size_t(r - 1)] = fieldNumber(w, weightBoundField(use, r));
        for (int r = bracketRowCount(bounds); r <= 12; ++r) {
            w.FieldByName(weightBoundField(use, r)).SetAsInteger(0);
            w.FieldByName(weightAmountField(use, r)).SetAsInteger(0);
        }
    }
    w.Post();
}

int bracketRowCount(const std::array<long long, kBracketRows>& bounds)
{
    for (int r = 1; r <= 12; ++r)
        if (bounds[std::size_t(r - 1)] == 0)
            return r;
    return 13;
}

int vehicleClassCode(std::string_view kind)
{
    const std::pair<const char*, int> codes[] = {{"軽自動車", 1}, {"小型", 2}, {"普通", 3}, {"大型", 3}, {"二輪", 4}};
    for (auto [name, code] : codes)
        if (kind == sj(name))
            return code;
    return 0;
}

int vehicleUseCode(std::string_view use)
{
    for (int u = 1; u <= kCostUses; ++u)
        if (use == sj(kUseNames[u - 1]))
            return u;
    return 0;
}

PricingCodes pricingCodes(const CostVehicle& v)
{
    PricingCodes c{v.classCode, v.useCode, TaxColumn::UsePrivate};
    if (v.useCode == kCargo && c.feeClass == 3 && v.load > 2000)
        c.feeClass = 4;
    if (v.useCode == kBus)
        c.feeClass = 1;
    const bool withLoad = (c.feeClass == 2 || c.feeClass == 3) && v.useCode == kSpecialPurpose && v.load > 0;
    if (withLoad) {
        c.feeUse = kBus;
        c.column = TaxColumn::LoadPrivate;
    }
    if (v.business) {
        c.feeClass += 4;
        c.column = withLoad ? TaxColumn::LoadBusiness : TaxColumn::UseBusiness;
    }
    return c;
}

long long weightTax(const WeightTaxRates& rates, const CostVehicle& v, const PricingCodes& c)
{
    const int k = c.feeClass;
    const bool flat = (k == 1 || k == 4 || k == 5 || k == 8) && v.useCode != kBus &&
                      !(v.useCode == kCargo && (k == 4 || k == 8));
    if (flat)
        return rates.flat[std::size_t(k == 1 ? 0 : k == 4 ? 1 : k == 5 ? 2 : 3)];

    const auto& bounds = rates.bounds[std::size_t(v.useCode - 1)];
    auto amount = [&](int row) {
        const auto& own = rates.amounts[std::size_t(v.useCode - 1)];
        switch (c.column) {
        case TaxColumn::UsePrivate: return own[std::size_t(row - 1)];
        case TaxColumn::UseBusiness: return own[std::size_t(row + 12)];
        case TaxColumn::LoadPrivate: return rates.specialLoad[std::size_t(row - 1)];
        case TaxColumn::LoadBusiness: return rates.specialLoad[std::size_t(row + 12)];
        }
        return 0LL;
    };
    const long long w = v.useCode == kPassenger ? v.vehicleWeight : v.grossWeight;
    for (int r = 1;; ++r) {
        if (bounds[std::size_t(r - 1)] >= w)
            return amount(r);
        if (r + 1 == 13 || bounds[std::size_t(r)] == 0) {
            const long long step = bounds[12];
            if (step <= 0)
                return amount(r);
            return add(amount(r), multiply(stepsAbove(w, bounds[std::size_t(r - 1)], step), amount(13)));
        }
    }
}

CostAmounts priceVehicle(const CostRates& rates, const CostVehicle& v, bool plateCharged, bool insuranceBroughtIn)
{
    const PricingCodes c = pricingCodes(v);
    CostAmounts a;
    a.insurance = insuranceBroughtIn ? 0 : rates.fees.fee(FeeKind::Insurance, c.feeUse, c.feeClass);
    a.stamp = rates.fees.fee(FeeKind::Stamp, c.feeUse, c.feeClass);
    a.misc = rates.fees.fee(FeeKind::Misc, c.feeUse, c.feeClass);
    a.plate = plateCharged ? rates.fees.plate : 0;
    a.weightTax = weightTax(rates.weightTax, v, c);
    a.total = add(add(add(add(a.insurance, a.weightTax), a.stamp), a.misc), a.plate);
    return a;
}

SjisString fixedWidth(std::string_view text, std::size_t bytes)
{
    SjisString s = sjis::cutBytes(text, bytes);
    s.resize(bytes, ' ');
    return s;
}

SjisString amountField(long long amount, std::size_t width)
{
    const std::string digits = std::to_string(amount);
    SjisString s = amount < 0 ? sj("－") + ChangeChar(digits.substr(1)) : ChangeChar(digits);
    return s.size() >= width ? s : std::string(width - s.size(), ' ') + s;
}

SjisString feeNameLabel(std::string_view name)
{
    SjisString s(name);
    const std::size_t blanks = s.size() == 6 ? 1 : s.size() == 4 ? 3 : 0;
    if (blanks) {
        // Blanks go only where they fall between two characters.
        for (std::size_t at = s.size() - 2; at > 0; at -= 2)
            if (sjis::isCharacterStart(s, at))
                s.insert(at, blanks, ' ');
    }
    return fixedWidth(s, 8);
}

std::vector<SjisString> estimateLines(const EstimateEntry& e, std::string_view feeName)
{
    std::vector<SjisString> l = {" ",
                                 sj("　　　車検費用見積書"),
                                 " ",
                                 sj("　　") + fixedWidth(e.customer, 18) + sj("様"),
                                 " ",
                                 sj("　　　") + e.registration,
                                 " "};
    if (e.classCode == 0 || e.useCode == 0) {
        if (e.classCode == 0)
            l.push_back(sj("　自動車の種別　が認識できません！"));
        if (e.useCode == 0)
            l.push_back(sj("　用途　が認識できません！"));
    } else {
        const SjisString yen = sj("円");
        const CostAmounts& a = e.amounts;
        if (!e.insuranceBroughtIn)
            l.push_back(sj("　自 賠 責") + amountField(a.insurance) + yen);
        l.push_back(sj("　重 量 税") + amountField(a.weightTax) + yen);
        l.push_back(sj("　検査印紙") + amountField(a.stamp) + yen);
        l.push_back(sj("　") + feeNameLabel(feeName) + amountField(a.misc) + yen);
        if (e.plateCharged)
            l.push_back(sj("  仮ナンバー") + amountField(a.plate, 12) + yen);
        l.push_back(sj("－－－－－－－－－－－－－－"));
        l.push_back(sj("　合　　計") + amountField(a.total) + yen);
        l.push_back(" ");
        l.push_back(sj("　※　点検、整備料は別途請求"));
        if (e.insuranceBroughtIn) {
            l.push_back(sj("　　させて頂きます。　他に、"));
            l.push_back(sj("　　自賠責証明書が必要です。"));
        } else {
            l.push_back(sj("　　させて頂きます。"));
        }
    }
    for (int i = 0; i < 3; ++i)
        l.push_back(" ");
    return l;
}

std::array<SjisString, 6> amountLabels(const EstimateEntry& e)
{
    const CostAmounts& a = e.amounts;
    return {e.insuranceBroughtIn ? SjisString() : amountField(a.insurance),
            amountField(a.weightTax),
            amountField(a.stamp),
            amountField(a.misc),
            e.plateCharged ? "  " + amountField(a.plate, 12) : SjisString(),
            amountField(a.total)};
}

SjisString estimateQuestion(const EstimateEntry& e, std::string_view question)
{
    return fixedWidth(e.customer, 18) + sj("様") + "\r" + e.registration + sj("の") + "\r" + sj(question);
}

int requestItemNumber(QDate date) { return date.year() * 10000 + date.month() * 100 + date.day(); }
