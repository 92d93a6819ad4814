#include "record_book/model/costs.h"

#include "components/core/database.h"
#include "components/core/schema.h"
#include "components/core/table.h"
#include "components/formats/cost_settings.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>

namespace {

bool hasField(const char* table, const std::string& field)
{
    const auto& fields = schemaTable(table)->fields;
    return std::any_of(fields.begin(), fields.end(), [&](const FieldDef& f) { return f.name == field; });
}

TEST(CostTablesSchema, EveryNamePricingReadsIsAFieldOfItsTable)
{
    EXPECT_EQ(std::pair(schemaTable("Expense")->fields.size(), schemaTable("WeightTax")->fields.size()),
              std::pair(std::size_t(121), std::size_t(225)));
    for (int use = 1; use <= kCostUses; ++use) {
        for (int r = 1; r <= kBracketRows; ++r)
            EXPECT_TRUE(hasField("WeightTax", weightBoundField(use, r))) << weightBoundField(use, r);
        for (int n = 1; n <= (use == 3 ? 52 : 26); ++n)
            EXPECT_TRUE(hasField("WeightTax", weightAmountField(use, n))) << weightAmountField(use, n);
        for (FeeKind kind : {FeeKind::Insurance, FeeKind::Stamp, FeeKind::Misc})
            for (int k = 1; k <= kFeeClasses; ++k)
                EXPECT_TRUE(hasField("Expense", feeField(kind, use, k))) << feeField(kind, use, k);
    }
    for (const char* flat : flatWeightTaxFields())
        EXPECT_TRUE(hasField("WeightTax", flat));
    EXPECT_TRUE(hasField("Expense", kPlateField));
}

void setInts(Table& t, const std::vector<std::pair<std::string, int>>& values)
{
    t.Edit();
    for (const auto& [field, value] : values)
        t.FieldByName(field).SetAsInteger(value);
    t.Post();
}

TEST(CostTables, EmptyTablesGetOneRowOfZerosRatesReadEveryFieldAndClosingClearsFromTheFirstEmptyBound)
{
    QTemporaryDir dir;
    const std::unique_ptr<Database> db = openSharedDatabase(dir.filePath("CARDATA.sqlite3"));
    CostTables tables(*db);
    tables.open();
    tables.open();  // a second open adds no row
    EXPECT_EQ(tables.expense().RecordCount() + tables.weightTax().RecordCount(), 2);
    EXPECT_EQ(tables.expense().FieldByName("自賠責特殊8").AsString(), "0");
    setInts(tables.weightTax(), {{"重量税特種数値13", 500}, {"重量税特種52", 7}, {"重量税二輪事業用", 9}});
    setInts(tables.expense(), {{"検査印紙乗合6", 1800}, {"仮ナンバー", 750}});
    const CostRates r = CostTables(*db).rates();
    EXPECT_EQ(r.weightTax.bounds[2][12], 500);
    EXPECT_EQ(r.weightTax.specialLoad[25], 7);
    EXPECT_EQ(r.weightTax.flat[3], 9);
    EXPECT_EQ(r.fees.fee(FeeKind::Stamp, 4, 6), 1800);
    EXPECT_EQ(r.fees.plate, 750);

    std::vector<std::pair<std::string, int>> cargo;
    for (int r = 1; r <= 7; ++r)
        cargo.insert(cargo.end(), {{weightBoundField(2, r), r == 5 ? 0 : r * 1000},
                                   {weightAmountField(2, r), r * 10}, {weightAmountField(2, r + 13), r * 5}});
    setInts(tables.weightTax(), cargo);
    tables.clearEmptyBrackets();
    const CostRates rates = tables.rates();
    EXPECT_EQ(bracketRowCount(rates.weightTax.bounds[1]), 5);
    for (int r = 1; r <= 7; ++r) {
        EXPECT_EQ(rates.weightTax.bounds[1][std::size_t(r - 1)], r >= 5 ? 0 : r * 1000) << r;
        EXPECT_EQ(rates.weightTax.amounts[1][std::size_t(r - 1)], r >= 5 ? 0 : r * 10) << r;
        EXPECT_EQ(rates.weightTax.amounts[1][std::size_t(r + 12)], r * 5) << r;  // the business tax stays
    }
}

TEST(CostCodes, ClassAndUseCompareTheWholeValue)
{
    const std::pair<const char*, int> classes[] = {{"軽自動車", 1}, {"小型", 2}, {"普通", 3}, {"大型", 3},
                                                   {"二輪", 4},     {"普通 ", 0}, {"普通車", 0}, {"", 0}};
    for (auto [kind, code] : classes)
        EXPECT_EQ(vehicleClassCode(sj(kind)), code) << kind;
    const std::pair<const char*, int> uses[] = {{"乗用", 1}, {"貨物", 2}, {"特種", 3}, {"乗合", 4},
                                                {"特殊", 5}, {"乗用車", 0}, {"", 0}};
    for (auto [use, code] : uses)
        EXPECT_EQ(vehicleUseCode(sj(use)), code) << use;
}

// Rates where every amount tells where it came from: fees kind·100000 +
// use·1000 + class; bracket taxes 10·row per use (+ use·1000 on the
// business rows); the load columns 7000 + n; flats 1..4.
CostRates markedRates()
{
    CostRates r;
    for (int use = 1; use <= kCostUses; ++use) {
        auto& b = r.weightTax.bounds[std::size_t(use - 1)];
        b = {1000, 1500, 2000, 2500, 0, 0, 0, 0, 0, 0, 0, 0, 500};
        for (int n = 1; n <= 26; ++n)
            r.weightTax.amounts[std::size_t(use - 1)][std::size_t(n - 1)] =
                n <= 13 ? use * 100 + n : use * 1000 + n - 13;
        for (int k = 1; k <= kFeeClasses; ++k)
            for (int kind = 0; kind < 3; ++kind)
                r.fees.fees[std::size_t(kind)][std::size_t(use - 1)][std::size_t(k - 1)] =
                    (kind + 1) * 100000 + use * 1000 + k;
    }
    for (int n = 0; n < 26; ++n)
        r.weightTax.specialLoad[std::size_t(n)] = 7000 + 27 + n;
    r.weightTax.flat = {1, 2, 3, 4};
    r.fees.plate = 750;
    return r;
}

TEST(CostPricing, CodesAdjustmentsBracketsAndFlatTaxes)
{
    const CostRates rates = markedRates();
    struct Case {
        const char* what;
        CostVehicle v;
        int feeUse, feeClass;
        long long tax;
    };
    const Case cases[] = {
        {"standard cargo over 2 t: class 4, brackets on the gross weight", {3, 2, false, 2500, 900, 1400}, 2, 4, 202},
        {"standard cargo of 2 t: class 3", {3, 2, false, 2000, 900, 1400}, 2, 3, 202},
        {"small special-purpose with a load, business: bus fees, load columns", {2, 3, true, 300, 0, 1900}, 4, 6,
         7000 + 40 + 2},
        {"small special-purpose with a load, private", {2, 3, false, 300, 0, 1900}, 4, 2, 7000 + 27 + 2},
        {"special-purpose without a load: its own fees", {2, 3, true, 0, 0, 1900}, 3, 6, 3000 + 3},
        {"a mini bus: class 1 and brackets", {1, 4, false, 0, 0, 900}, 4, 1, 401},
        {"a bus on business registration: class 5 and brackets", {3, 4, true, 0, 0, 2400}, 4, 5, 4000 + 4},
        {"mini passenger car on business registration: the mini business flat tax", {1, 1, true, 0, 600, 800}, 1, 5, 3},
        {"mini passenger car: the mini flat tax", {1, 1, false, 0, 600, 800}, 1, 1, 1},
        {"two-wheeler, business", {4, 1, true, 0, 150, 200}, 1, 8, 4},
        {"two-wheeler cargo: brackets, not the flat tax", {4, 2, false, 0, 150, 200}, 2, 4, 201},
        {"passenger car on a bound: that row", {3, 1, false, 0, 1500, 3000}, 1, 3, 102},
        {"passenger car 1 kg above the heaviest bound: plus one step", {3, 1, false, 0, 2501, 3000}, 1, 3,
         104 + 113},
        {"three steps above", {3, 1, false, 0, 3600, 3000}, 1, 3, 104 + 3 * 113},
    };
    for (const Case& c : cases) {
        const PricingCodes codes = pricingCodes(c.v);
        EXPECT_EQ(codes.feeUse, c.feeUse) << c.what;
        EXPECT_EQ(codes.feeClass, c.feeClass) << c.what;
        EXPECT_EQ(weightTax(rates.weightTax, c.v, codes), c.tax) << c.what;
    }
}

TEST(CostPricing, AboveTheHeaviestBoundWithoutAStepOrWithoutBoundsAndTotals)
{
    CostRates rates = markedRates();
    const CostVehicle car{3, 1, false, 0, 9000, 0};
    rates.weightTax.bounds[0][12] = 0;  // no step: no step amount, no division by zero
    EXPECT_EQ(weightTax(rates.weightTax, car, pricingCodes(car)), 104);
    rates.weightTax.bounds[0] = {};
    rates.weightTax.bounds[0][12] = 1000;  // no brackets: row 1 plus a step per started 1000 kg
    EXPECT_EQ(weightTax(rates.weightTax, car, pricingCodes(car)), 101 + 9 * 113);
    rates.weightTax.bounds[0] = {2400, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 500};  // not a multiple of the step
    const CostVehicle heavy{3, 1, false, 0, 2401, 0};
    EXPECT_EQ(weightTax(rates.weightTax, heavy, pricingCodes(heavy)), 101);
    const CostVehicle huge{3, 1, false, 0, 9'000'000'000'000'000'000LL, 0};
    rates.weightTax.bounds[0][12] = 1;
    EXPECT_EQ(weightTax(rates.weightTax, huge, pricingCodes(huge)), std::numeric_limits<long long>::max());

    // The amounts add up; insurance brought in and no plate leave theirs out.
    const CostVehicle small{2, 1, false, 0, 1200, 1500};
    const CostAmounts a = priceVehicle(markedRates(), small, true, false);
    EXPECT_EQ(a.insurance + a.stamp + a.misc, 101002 + 201002 + 301002);
    EXPECT_EQ(a.total, 101002 + 201002 + 301002 + 750 + 102);
    const CostAmounts b = priceVehicle(markedRates(), small, false, true);
    EXPECT_EQ(b.insurance, 0);
    EXPECT_EQ(b.plate, 0);
    EXPECT_EQ(b.total, 201002 + 301002 + 102);
}

TEST(CostText, FieldsNamesAndAmounts)
{
    const std::pair<long long, const char*> amounts[] = {
        {0, "            ０"}, {12345, "    １２３４５"}, {-500, "      －５００"},
        {1234567890123LL, "１２３４５６７８９０１２３"}};
    for (auto [amount, text] : amounts)
        EXPECT_EQ(amountField(amount), sj(text)) << amount;
    EXPECT_EQ(amountField(750, 12), sj("      ７５０"));
    const std::pair<const char*, const char*> names[] = {
        {"諸費用", "諸 費 用"}, {"手数", "手   数 "}, {"雑費", "雑   費 "}, {"代行手数料", "代行手数"},
        {"abcdef", "ab cd ef"}, {"a諸費b", "a諸費b  "}, {"", "        "}, {"ab", "ab      "}};
    for (auto [name, label] : names)
        EXPECT_EQ(feeNameLabel(sj(name)), sj(label)) << name;
    // A double-byte character across byte 18 is left out whole.
    EXPECT_EQ(fixedWidth(sj("あいうえおかきくけこ"), 18), sj("あいうえおかきくけ"));
    EXPECT_EQ(fixedWidth(sj("aあいうえおかきくけ"), 18), sj("aあいうえおかきく") + " ");
}

TEST(CostText, OneRecordLineByLineItsQuestionsAndItemNumber)
{
    EstimateEntry e{sj("山田太郎"), sj("品川５００あ１２３４"), 2, 1, {12700, 24600, 1700, 5000, 750, 44750}, true, false};
    std::vector<std::string> expected = {
        " ", "　　　車検費用見積書", " ", "　　山田太郎          様", " ", "　　　品川５００あ１２３４", " ",
        "　自 賠 責    １２７００円", "　重 量 税    ２４６００円", "　検査印紙      １７００円",
        "　諸 費 用      ５０００円", "  仮ナンバー      ７５０円", "－－－－－－－－－－－－－－",
        "　合　　計    ４４７５０円", " ", "　※　点検、整備料は別途請求", "　　させて頂きます。", " ", " ", " "};
    auto lines = [&] {
        std::vector<std::string> out;
        for (const SjisString& l : estimateLines(e, sj("諸費用")))
            out.push_back(sjis::toUtf8(l));
        return out;
    };
    EXPECT_EQ(lines(), expected);

    e.insuranceBroughtIn = true;
    e.plateCharged = false;
    expected.erase(expected.begin() + 11);
    expected.erase(expected.begin() + 7);
    expected.insert(expected.begin() + 14, "　　させて頂きます。　他に、");
    expected[15] = "　　自賠責証明書が必要です。";
    EXPECT_EQ(lines(), expected);

    e.classCode = 0;
    e.useCode = 0;
    expected.resize(7);
    for (const char* l : {"　自動車の種別　が認識できません！", "　用途　が認識できません！", " ", " ", " "})
        expected.push_back(l);
    EXPECT_EQ(lines(), expected);

    const EstimateEntry q{sj("山田"), sj("品川１"), 1, 1, {}, false, false};
    EXPECT_EQ(estimateQuestion(q, kPlateQuestion), sj("山田              様\r品川１の\r仮ナンバー代を付けますか？"));
    EXPECT_EQ(requestItemNumber(QDate(2026, 1, 9)), 20260109);
}

TEST(CostSettings, ExpenseIniKeepsItsFontBlockAndReadsIndexesIntoRange)
{
    const ExpenseOptions defaults;
    EXPECT_EQ(std::pair(defaults.font.name, defaults.font.pointSize()), std::pair(sj("ＭＳ 明朝"), 14));
    EXPECT_EQ(defaults.recordsPerJob, "3");
    const LineListFile file({"1", "255", "99", "-24", sj("ＩＰＡ明朝"), "18", "1", "7", "12x"});
    const ExpenseOptions o = expenseOptionsFromLines(file);
    EXPECT_EQ(o.output, 2);  // out of range: the last choice
    EXPECT_EQ(expenseOptionsLines(o).lines(),
              (std::vector<SjisString>{"1", "255", "99", "-24", sj("ＩＰＡ明朝"), "18", "1", "2", "12x"}));
    // A size or height no page holds is read as the largest one.
    for (const char* size : {"2147483647", "0"})
        EXPECT_EQ(expenseOptionsFromLines(LineListFile({"128", "0", "0", "-2147483648", "", size})).font.pointSize(),
                  kMaxFontPoints) << size;

    QTemporaryDir dir;
    EXPECT_FALSE(readExpenseName(dir.path()));
    writeExpenseName(dir.path(), sj("手数"));
    EXPECT_EQ(readExpenseName(dir.path()), sj("手数"));
}

}  // namespace
