#include "record_book/model/code_check.h"

#include "components/formats/settings_file.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <map>

namespace {

using speccode::CodeCheckOutcome;

// A code-file line: columns by number, written in UTF-8.
std::string codeLine(const std::map<int, const char*>& columns)
{
    std::vector<std::string> cells(72);
    for (auto [number, text] : columns)
        cells[std::size_t(number - 1)] = sj(text);
    std::string line;
    for (std::size_t i = 0; i < cells.size(); ++i)
        line += (i ? "," : "") + cells[i];
    return line;
}

// A vehicle type in two variants.
const std::map<int, const char*> kTwoVariants = {
    {2, "乗用車（普通）"}, {4, "トヨペット"}, {5, "E-AB12"}, {6, "0001"}, {7, "0002"},
    {9, "セダン"}, {10, "ワゴン"}, {15, "01234"}, {18, "1"}, {19, "2"},
    {24, "450m"}, {25, "460m"}, {27, "170m"}, {28, "171m"}, {30, "140m"}, {31, "150m"},
    {42, "700"}, {43, "710"}, {45, "600"}, {46, "610"}, {48, "1200"}, {49, "1250"},
    {51, "5"}, {52, "8"}, {60, "1475"}, {61, "1690"}, {63, "1G"}, {64, "2G"}, {69, "1990c"}, {70, "2490c"},
};

std::map<std::string, std::string> valuesOf(const CodeCheckOutcome& outcome)
{
    std::map<std::string, std::string> values;
    for (const auto& v : outcome.values)
        if (!v.value.empty())
            values[v.field] = sjis::toUtf8(v.value);
    return values;
}

class CodeCheckTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    std::vector<speccode::CodeType> types = {{"1", sj("箱型")}, {"2", sj("ステーションワゴン")}};
    int asked = 0;
    bool answer = false;

    QString file(const char* name, const std::vector<std::string>& lines)
    {
        LineListFile(lines).write(dir.filePath(QString::fromLatin1(name)));
        return dir.filePath(QString::fromLatin1(name));
    }

    CodeCheckOutcome search(const char* designation, const char* classification, const std::vector<QString>& files)
    {
        return speccode::searchCodeFiles(sj(designation), sj(classification), files, types, [this] {
            ++asked;
            return answer;
        });
    }
};

}  // namespace

TEST_F(CodeCheckTest, TheVariantOfTheClassificationFillsTheRecord)
{
    const QString codes = file("A.CSV", {codeLine({{15, "09999"}}), codeLine(kTwoVariants)});
    // Typed full-width with the leading zero: compared half-width, without it.
    const CodeCheckOutcome found = search("０１２３４", "０００２", {codes});
    ASSERT_EQ(found.result, speccode::Filled);
    // Every value the record gets.
    const std::map<std::string, std::string> expected = {
        {"型式", "Ｅ－ＡＢ１２"}, {"車名", "トヨペット　ワゴン"}, {"車体の形状", "ステーションワゴン"},
        {"長さ", "460"}, {"幅", "171"}, {"高さ", "150"}, {"前前軸重", "710"}, {"後後軸重", "610"},
        {"車両重量", "1250"}, {"車両総重量", "1690"}, {"乗車定員", "8"}, {"原動機の型式", "2G"},
        {"総排気量又は定格出力", "2490"}, {"燃料の種類", "ガソリン"}, {"自動車の種別", "普通"}, {"用途", "乗用"}};
    EXPECT_EQ(valuesOf(found), expected);
    EXPECT_EQ(asked, 0);
    // The type is the vehicle's for every variant, never a classification number.
    EXPECT_EQ(valuesOf(search("1234", "0001", {codes}))["型式"], "Ｅ－ＡＢ１２");
    ASSERT_EQ(found.values.size(), 16u);  // written in this order
    EXPECT_STREQ(found.values.front().field, "型式");
    EXPECT_STREQ(found.values.back().field, "用途");
}

TEST_F(CodeCheckTest, ARangeOrAPairPicksTheVariantAndHoldsBothOfItsEnds)
{
    std::map<int, const char*> range = kTwoVariants;
    range[6] = "0001～0005";
    range[7] = "0007";
    std::map<int, const char*> pair = range;
    pair[6] = "0001，0005";
    const std::string rangeLine = codeLine(range), pairLine = codeLine(pair);  // the cells point into them
    const auto rangeCells = speccode::codeColumns(rangeLine);
    const auto pairCells = speccode::codeColumns(pairLine);
    struct Case {
        const char* classification;
        int inRange;
        int inPair;
    };
    const Case cases[] = {{"0000", -1, -1}, {"0001", 0, 0},   {"0003", 0, -1},
                          {"0005", 0, 0},   {"0006", -1, -1}, {"0007", 1, 1}};
    for (const Case& c : cases) {
        EXPECT_EQ(speccode::classificationVariant(rangeCells, c.classification), c.inRange) << c.classification;
        EXPECT_EQ(speccode::classificationVariant(pairCells, c.classification), c.inPair) << c.classification;
    }
    // Typed full-width, an end of the range is found in the code file.
    const QString codes = file("R.CSV", {codeLine(range)});
    EXPECT_EQ(search("０１２３４", "０００５", {codes}).result, speccode::Filled);
    EXPECT_EQ(asked, 0);
    // 0006 in neither: the user is asked whether to take the first variant.
    EXPECT_EQ(search("01234", "0006", {codes}).result, speccode::NothingFound);
    EXPECT_EQ(asked, 1);
    answer = true;
    const CodeCheckOutcome taken = search("01234", "0006", {codes});
    EXPECT_EQ(taken.result, speccode::Filled);
    EXPECT_EQ(valuesOf(taken)["車名"], "トヨペット　セダン");
}

TEST_F(CodeCheckTest, ValuesThatDifferWithinARangeAreDropped)
{
    std::map<int, const char*> columns = kTwoVariants;
    columns[6] = "0001～0005";
    columns.erase(7);
    columns[48] = "1200～1300";
    columns.erase(49);
    columns.erase(61);
    auto v = valuesOf(search("1234", "0003", {file("C.CSV", {codeLine(columns)})}));
    EXPECT_EQ(v.count("長さ"), 0u) << "a second length stands in column 25";
    EXPECT_EQ(v.count("車名"), 0u);
    EXPECT_EQ(v.count("車両重量"), 0u) << "a weight range";
    EXPECT_EQ(v["車両総重量"], "1475") << "no second gross weight";
    EXPECT_EQ(v["型式"], "Ｅ－ＡＢ１２") << "the type is never dropped";
}

TEST_F(CodeCheckTest, UseKindAndFuel)
{
    auto valuesFor = [&](const char* use, const char* type) {
        std::map<int, const char*> columns = kTwoVariants;
        columns[2] = use;
        columns[5] = type;
        return valuesOf(search("1234", "0001", {file("D.CSV", {codeLine(columns)})}));
    };
    auto imported = valuesFor("輸入乗用車", "KE-1");
    EXPECT_EQ(imported["用途"], "乗用");
    EXPECT_EQ(imported.count("自動車の種別"), 0u);
    EXPECT_EQ(imported["燃料の種類"], "軽油") << "a type starting with Ｋ";
    auto light = valuesFor("貨物車（軽）", "HBD-1");
    EXPECT_EQ(light["用途"], "貨物");
    EXPECT_EQ(light["自動車の種別"], "軽自動車");
    auto bare = valuesFor("乗用車", "A");
    EXPECT_EQ(bare["用途"], "乗用");
    EXPECT_EQ(bare.count("自動車の種別"), 0u);
}

TEST_F(CodeCheckTest, FilesAreSearchedInOrderAndAMissingOneEndsTheSearch)
{
    const QString empty = file("E.CSV", {codeLine({{15, "5555"}})});
    const QString codes = file("F.CSV", {codeLine(kTwoVariants)});
    EXPECT_EQ(search("1234", "0001", {empty, codes}).result, speccode::Filled);
    EXPECT_EQ(search("1234", "0001", {empty, dir.filePath("NONE.CSV"), codes}).result, speccode::MissingCodeFile);
    EXPECT_EQ(search("9999", "0001", {empty, codes}).result, speccode::NothingFound);
    // A line holding the number elsewhere, or too short to have column 15.
    const QString others = file("G.CSV", {codeLine({{4, "1234"}}), "1234"});
    EXPECT_EQ(search("1234", "0001", {others}).result, speccode::NothingFound);
}

TEST_F(CodeCheckTest, CodeTypesAreCodeAndNameOfTheFirst100Lines)
{
    std::vector<SjisString> lines = {sj("1,箱型"), sj("2,バン,改"), sj("3")};
    for (int i = 0; i < 120; ++i)
        lines.push_back("9" + std::to_string(i) + ",x");
    const auto read = bodyShapeCodesFromLines(LineListFile(lines)).codes;
    ASSERT_EQ(read.size(), 100u);
    EXPECT_EQ(sjis::toUtf8(read[1].name), "バン,改");
    EXPECT_EQ(read[2].code, "3");
    EXPECT_EQ(read[2].name, "");
}
