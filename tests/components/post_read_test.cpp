#include "components/formats/post_read.h"

#include "components/formats/converter_post_scan.h"
#include "components/formats/settings_file.h"
#include "tests/components/ken_all_synthetic.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <random>

namespace {

using postal::KenAllIndex;
using postal::PostReadResult;

struct Town {
    const char* code;
    const char* prefecture;
    const char* city;
    const char* town;
};

// A line as Japan Post writes it, with the columns the search reads.
std::string kenAllLine(const Town& t)
{
    return sj(std::string("13101,\"100  \",\"") + t.code + "\",\"ﾄｳｷｮｳﾄ\",\"ｼ\",\"ﾁｮｳ\",\"" + t.prefecture + "\",\"" +
              t.city + "\",\"" + t.town + "\",0,0,1,0,0,0");
}

std::string kenAll(const std::vector<Town>& towns)
{
    std::string data;
    for (const Town& t : towns)
        data += kenAllLine(t) + "\r\n";
    return data;
}

struct Found {
    std::string code;
    std::string prefecture;
};

// Looks the address up by a scan from the top and through the index, which
// must agree.
Found lookUp(const std::string& data, const char* address, int mode = 0)
{
    const SjisString a = sj(address);
    const PostReadResult scanned = postal::postReadScan(splitLines(data), a, mode);
    const PostReadResult indexed = KenAllIndex(data).lookup(a, mode);
    EXPECT_EQ(scanned.code, indexed.code) << address;
    EXPECT_EQ(scanned.prefecture, indexed.prefecture) << address;
    return {sjis::toUtf8(scanned.code), sjis::toUtf8(scanned.prefecture)};
}

// An address with the code it finds and, where given, the prefecture
// put before it.
struct Expect {
    const char* address;
    const char* code;
    const char* prefecture = nullptr;
    int mode = 0;
};

void expectCodes(const std::string& data, std::initializer_list<Expect> expects)
{
    for (const Expect& e : expects) {
        const Found f = lookUp(data, e.address, e.mode);
        EXPECT_EQ(f.code, e.code) << e.address << " mode " << e.mode;
        if (e.prefecture) {
            EXPECT_EQ(f.prefecture, e.prefecture) << e.address << " mode " << e.mode;
        }
    }
}

const std::vector<Town> kMinato = {
    {"1050000", "東京都", "港区", "以下に掲載がない場合"},
    {"1080023", "東京都", "港区", "芝浦"},
    {"1080022", "東京都", "港区", "海岸"},
    {"1600000", "東京都", "新宿区", "以下に掲載がない場合"},
};

}  // namespace

// ---- the file's lines -------------------------------------------------------------

TEST(KenAllLine, SplitsAtCommasButNotAfterTheFirstByteOfACharacter)
{
    const std::string text = sj("1,\"2\",,\"東京都\"");
    const postal::KenAllLine plain(text);
    EXPECT_EQ(plain.count(), 4);
    EXPECT_EQ(plain.column(2), "\"2\"");
    EXPECT_EQ(plain.column(3), "");
    EXPECT_EQ(plain.column(4), sj("\"東京都\""));
    EXPECT_EQ(plain.column(5), "") << "past the last column";

    // 0x90 and 0xE0 lead bytes: the comma after them is dropped and the
    // column goes on.
    const postal::KenAllLine joined("a\x90,b,c\xE0,d,e");
    EXPECT_EQ(joined.count(), 3);
    EXPECT_EQ(joined.column(1), "a\x90" "b");
    EXPECT_EQ(joined.column(2), "c\xE0" "d");
    EXPECT_EQ(joined.column(3), "e");

    std::string many;
    for (int i = 1; i <= 25; ++i)
        many += std::to_string(i) + ",";
    const postal::KenAllLine capped(many);
    EXPECT_EQ(capped.count(), 20);
    EXPECT_EQ(capped.column(20), "20");
}

// A file without line ends is one absurd line: it is passed over, by the
// scan and the index alike, and every other line still counts.
TEST(KenAllLine, ALineLongerThanAnyAddressLineIsPassedOver)
{
    // Before the mend this line's longer town would win.
    const std::string padded = kenAllLine({"1080099", "東京都", "港区", "芝浦３丁目"}) + std::string(5000, ',');
    const struct {
        std::string data;
        const char* code;
    } cases[] = {
        {padded + "\r\n" + kenAll(kMinato), "1080023"},
        {kenAll(kMinato) + padded, "1080023"},
        {padded, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(lookUp(c.data, "東京都港区芝浦３丁目１").code, c.code);
    EXPECT_EQ(KenAllIndex(padded + "\r\n" + kenAll(kMinato)).lines().size(), kMinato.size());
}

TEST(KenAllLine, QuotesAreTheFirstAndLastByteWhateverTheyAre)
{
    EXPECT_EQ(postal::unquote("\"abc\""), "abc");
    EXPECT_EQ(postal::unquote("xabcx"), "abc");
    EXPECT_EQ(postal::unquote("x"), "");
    EXPECT_EQ(postal::unquote(""), "");
}

// ---- the search ---------------------------------------------------------------------

TEST(PostRead, TheTownOfTheCityGivesItsCodeAndAnAddressWithoutPrefectureGainsIt)
{
    expectCodes(kenAll(kMinato), {{"東京都港区芝浦３丁目１", "1080023", ""}, {"港区海岸１－２", "1080022", "東京都"}});
}

TEST(PostRead, RangesCompareTheNumberAfterTheTownAndTheLongerMatchWins)
{
    const std::string data = kenAll({
        {"1050000", "東京都", "港区", "以下に掲載がない場合"},
        {"1050013", "東京都", "港区", "芝"},
        {"1050014", "東京都", "港区", "芝（１～３丁目）"},
        {"1600000", "東京都", "新宿区", "以下に掲載がない場合"},
    });
    expectCodes(data, {{"東京都港区芝２丁目５", "1050014"},
                       {"東京都港区芝2-5", "1050014"},      // ASCII digits
                       {"東京都港区芝３", "1050014"},       // the upper bound is in the range
                       {"東京都港区芝４丁目", "1050013"},   // outside the range: the town alone
                       {"東京都港区芝公園", "1050013"}});
}

TEST(PostRead, BracketPartsAndTheOtherEntry)
{
    const std::string data = kenAll({
        {"1000000", "東京都", "千代田区", "以下に掲載がない場合"},
        {"1000001", "東京都", "千代田区", "丸の内（その他）"},
        {"1000002", "東京都", "千代田区", "丸の内（Ａ、Ｂ）"},
        {"1000003", "東京都", "千代田区", "丸の内（Ｃ・Ｄ番地）"},
        {"1600000", "東京都", "新宿区", "以下に掲載がない場合"},
    });
    expectCodes(data, {{"東京都千代田区丸の内Ｂ棟", "1000002"},
                       {"東京都千代田区丸の内Ｄ１０", "1000003"},  // the content ends before 番地
                       {"東京都千代田区丸の内Ｚ", "1000001"},      // the other entry matches on the town
                       {"東京都千代田区有楽町", "1000000"}});
}

TEST(PostRead, ABracketClosedOnTheNextLineIsReadUnderTheFirstLinesHead)
{
    const std::string data = kenAll({
        {"1500000", "東京都", "渋谷区", "以下に掲載がない場合"},
        {"1500001", "東京都", "渋谷区", "神宮前（１丁目・２丁目"},
        {"1500009", "東京都", "渋谷区", "３丁目）"},
        {"1500002", "東京都", "渋谷区", "桜丘町（７階）"},
        {"1600000", "東京都", "新宿区", "以下に掲載がない場合"},
    });
    expectCodes(data, {{"東京都渋谷区神宮前２丁目", "1500001"},
                       {"東京都渋谷区神宮前３丁目", "1500009"},
                       {"東京都渋谷区神宮前５丁目", "1500000"},
                       {"東京都渋谷区桜丘町７階", "1500002"}});  // the line after the continuation is read afresh
}

TEST(PostRead, FallbacksGiveWayToAnyCandidate)
{
    const std::string data = kenAll({
        {"1000301", "東京都", "利島村", "利島村一円"},
        {"1000400", "東京都", "新島村", "以下に掲載がない場合"},
        {"1000401", "東京都", "新島村", "本村"},
        {"1000500", "東京都", "大島町", "大島町の次に番地がくる場合"},
        {"1000600", "東京都", "三宅村", "以下に掲載がない場合"},
    });
    expectCodes(data, {{"東京都利島村２４８", "1000301"},
                       {"東京都新島村本村１", "1000401"},
                       {"東京都新島村式根島", "1000400"},
                       {"東京都大島町元町１", "1000500"},  // something follows the town
                       {"東京都大島町", ""}});  // nothing follows the city
}

TEST(PostRead, TheLastCityOfTheFileKeepsItsFallbackAndPrefix)
{
    const std::string data = kenAll({
        {"1000000", "東京都", "千代田区", "以下に掲載がない場合"},
        {"1002100", "東京都", "小笠原村", "以下に掲載がない場合"},
        {"1002101", "東京都", "小笠原村", "父島"},
    });
    expectCodes(data, {{"小笠原村母島", "1002100", "東京都"}, {"東京都小笠原村父島", "1002101"}});
}

// No matching city leaves the code and the address alone; empty lines and
// the end-of-file mark match nothing.
TEST(PostRead, NoMatchingCityEmptyLinesAndTheEndOfFileMarkMatchNothing)
{
    expectCodes("\r\n" + kenAll(kMinato) + "\r\n\x1A",
                {{"東京都品川区大井", "", ""}, {"品川区大井", "", ""}, {"", ""}, {"東京都港区芝浦", "1080023"}});
}

TEST(PostRead, MatchesStartAtCharacters)
{
    // "県" is 0x8C 0xA7: the same bytes stand across a kanji ending in 0x8C
    // and the half-width "ｧ", which name no prefecture.
    const SjisString tricky = std::string("\x89\x8C\xA7");
    const std::string data = kenAll({{"9990001", "山形県", "酒田市", "以下に掲載がない場合"}});
    const PostReadResult r = KenAllIndex(data).lookup(tricky + sj("酒田市"), 1);
    EXPECT_EQ(r.code, "9990001");
    EXPECT_EQ(sjis::toUtf8(r.prefecture), "山形県");
}

// An address that names a prefecture anywhere takes its code from that
// prefecture's lines and gains nothing; one that names none gains the
// matched city's, and finds nothing in the converter's strict mode 1.
TEST(PostalSearches, AnAddressThatNamesItsPrefectureKeepsToIt)
{
    const std::string data = kenAll({
        {"1140000", "東京都", "北区", "以下に掲載がない場合"}, {"1830022", "東京都", "府中市", "宮西町"},
        {"3710026", "群馬県", "前橋市", "大手町"}, {"3861601", "長野県", "小県郡青木村", "田沢"},
        {"5012101", "岐阜県", "山県市", "高富"}, {"6018328", "京都府", "京都市南区", "吉祥院流作町"},
        {"5300001", "大阪府", "大阪市北区", "梅田"}, {"7260005", "広島県", "府中市", "元町"},
        {"7313362", "広島県", "広島市安佐北区", "安佐町毛木"}, {"8400041", "佐賀県", "佐賀市", "城内"},
    });
    const postal::ConverterKenAll converterFile(data);
    const struct {
        const char *address, *code, *gained;
    } cases[] = {
        {"大阪府大阪市北区梅田１", "5300001", ""}, {"本社 広島県広島市安佐北区安佐町毛木１", "7313362", ""},
        {"〒100-0001 京都府京都市南区吉祥院流作町１", "6018328", ""}, {"\t佐賀県佐賀市城内１", "8400041", ""},
        {"広島県府中市元町１", "7260005", ""}, {"東京都府中市宮西町２", "1830022", ""},  // 京都府 inside names none
        {"小県郡青木村田沢１", "3861601", "長野県"}, {"山県市高富２", "5012101", "岐阜県"},
        {"前橋市大手町１", "3710026", "群馬県"},
    };
    for (const auto& c : cases)
        for (int mode : {0, 1}) {
            SCOPED_TRACE(testing::Message() << c.address << " mode " << mode);
            const Found book = lookUp(data, c.address, mode);
            EXPECT_EQ(book.code, c.code);
            EXPECT_EQ(book.prefecture, c.gained);
            const PostReadResult converter = converterFile.lookup(sj(c.address), mode);
            const PostReadResult plain = postal::converterPostScan(converterFile.lines(), sj(c.address), mode);
            EXPECT_EQ(std::pair(converter.code, converter.prefecture), std::pair(plain.code, plain.prefecture));
            EXPECT_EQ(sjis::toUtf8(converter.code), mode == 1 && *c.gained ? "" : c.code);
            EXPECT_EQ(sjis::toUtf8(converter.prefecture), mode == 1 ? "" : c.gained);
        }
}

TEST(PostRead, APlainTownScoresItsBytesAndATieKeepsTheFirstLine)
{
    // 芝公園 (6 bytes) beats 芝（公） (2 + 2 bytes) though it comes later.
    const std::string plainLater = kenAll({
        {"1050001", "東京都", "港区", "芝（公）"},
        {"1050002", "東京都", "港区", "芝公園"},
        {"1600000", "東京都", "新宿区", "以下に掲載がない場合"},
    });
    EXPECT_EQ(lookUp(plainLater, "東京都港区芝公園４").code, "1050002");
    // 芝２ and 芝（１～３丁目） both score 4 bytes: the first line wins.
    for (auto [first, second] : {std::pair{"芝２", "芝（１～３丁目）"}, std::pair{"芝（１～３丁目）", "芝２"}}) {
        const std::string tie = kenAll({
            {"1050011", "東京都", "港区", first},
            {"1050012", "東京都", "港区", second},
            {"1600000", "東京都", "新宿区", "以下に掲載がない場合"},
        });
        EXPECT_EQ(lookUp(tie, "東京都港区芝２丁目").code, "1050011") << first;
    }
}

// ---- the real Tokyo excerpt ---------------------------------------------------------------

class TokyoExcerpt : public ::testing::Test {
protected:
    static std::string data()
    {
        static const std::string d = ken_all_synthetic::tokyoExcerpt(QStringLiteral(TEST_DATA_DIR "/KEN_ALL_13TOKYO.CSV"));
        return d;
    }
};

TEST_F(TokyoExcerpt, RealAddresses)
{
    ASSERT_FALSE(data().empty());
    expectCodes(data(), {{"東京都千代田区飯田橋３－１０－１０", "1020072"},
                         {"東京都港区芝２丁目３－１", "1050014"},
                         {"東京都港区芝浦３－４", "1080023"},
                         {"港区芝浦３－４", "1080023", "東京都"},
                         {"東京都利島村１２", "1000301"},
                         {"東京都小笠原村父島字東町", "1002101"},
                         {"東京都小笠原村西之島", "1002100"},  // the last city keeps its fallback
                         {"大阪府大阪市北区梅田", "", ""}});  // Tokyo's 北区 is not Osaka's
}

// The index starts the scan at the first line of the city; a plain scan
// from the top must give the same on every kind of address.
TEST_F(TokyoExcerpt, TheIndexAgreesWithAScanFromTheTop)
{
    const std::string file = ken_all_synthetic::make(data(), 2);
    const KenAllIndex index(file);
    const auto& lines = index.lines();
    std::mt19937 random(7);
    const std::vector<SjisString> tails = {sj(""), sj("１"), sj("２丁目３－４"), sj("3-5"), sj("１０階"),
                                           sj("Ｂ棟"), sj("地階"), sj("その他")};
    const std::vector<SjisString> others = {sj("大阪府"), sj("北海道"), sj("青森県"), sj("")};
    int compared = 0, found = 0;
    for (std::size_t i = 0; i < lines.size(); i += 37) {
        const postal::KenAllLine line(lines[i]);
        const SjisString prefecture(postal::unquote(line.column(7)));
        const SjisString city(postal::unquote(line.column(8)));
        SjisString town(postal::unquote(line.column(9)));
        if (const std::size_t open = sjis::findCharacters(town, sj("（")); open != std::string::npos && random() % 2)
            town = town.substr(0, open) + SjisString(postal::unquote(line.column(9))).substr(open + 2);
        const SjisString tail = tails[random() % tails.size()];
        const std::vector<SjisString> addresses = {
            prefecture + city + town + tail,
            city + town + tail,
            others[random() % others.size()] + city + town,
            prefecture + city,
            prefecture + town + tail,
        };
        for (const SjisString& address : addresses) {
            for (int mode : {0, 1}) {
                const PostReadResult scanned = postal::postReadScan(lines, address, mode);
                const PostReadResult indexed = index.lookup(address, mode);
                ASSERT_EQ(scanned.code, indexed.code) << sjis::toUtf8(address) << " mode " << mode;
                ASSERT_EQ(scanned.prefecture, indexed.prefecture) << sjis::toUtf8(address) << " mode " << mode;
                ++compared;
                found += !scanned.code.empty();
            }
        }
    }
    EXPECT_GT(compared, 2000);
    EXPECT_GT(found, compared / 2) << "most generated addresses should find a code";
}

// ---- the index against the scan --------------------------------------------------

namespace {

// Every address in both modes: the index gives what a scan from the top
// gives.
void expectIndexAgrees(const std::string& file, const std::vector<SjisString>& addresses)
{
    const KenAllIndex index(file);
    for (const SjisString& address : addresses)
        for (int mode : {0, 1}) {
            const PostReadResult scanned = postal::postReadScan(index.lines(), address, mode);
            const PostReadResult indexed = index.lookup(address, mode);
            ASSERT_EQ(scanned.code, indexed.code) << sjis::toUtf8(address) << " mode " << mode;
            ASSERT_EQ(scanned.prefecture, indexed.prefecture) << sjis::toUtf8(address) << " mode " << mode;
        }
}

// What addresses are made of: the file's names and bracket heads, blanks,
// numbers, and bytes that a byte-wise search could take for a character.
std::vector<SjisString> piecesOf(const std::string& file, std::size_t step)
{
    std::vector<SjisString> pieces = {"\x81", "\x95", "\x5C", "\x8C", "\xA7", "\x89\x8C"};
    for (const char* utf8 : {"", " ", "　", "１", "２丁目", "3-5", "番地", "東京都", "大阪府", "北海道", "京都府", "長野県",
                             "県", "郡", "区", "ｧ", "ソ", "表"})
        pieces.push_back(sj(utf8));
    const std::vector<std::string_view> lines = splitLines(file);
    for (std::size_t i = 0; i < lines.size(); i += step) {
        const postal::KenAllLine line(lines[i]);
        for (int column : {7, 8, 9})
            pieces.emplace_back(postal::unquote(line.column(column)));
        const SjisString town = pieces.back();
        pieces.push_back(town.substr(0, sjis::findCharacters(town, sj("（"))));
    }
    return pieces;
}

// One to five pieces; some addresses lose or gain a byte, so that names
// stand across characters.
std::vector<SjisString> randomAddresses(const std::vector<SjisString>& pieces, unsigned seed, int count)
{
    std::mt19937 random(seed);
    std::vector<SjisString> addresses;
    for (int n = 0; n < count; ++n) {
        SjisString a;
        for (int k = 1 + int(random() % 5); k > 0; --k)
            a += pieces[random() % pieces.size()];
        if (!a.empty() && random() % 4 == 0)
            a.erase(random() % a.size(), 1);
        else if (random() % 4 == 0)
            a.insert(a.begin() + std::ptrdiff_t(random() % (a.size() + 1)), char(0x81 + random() % 0x7C));
        addresses.push_back(a);
    }
    return addresses;
}

// A line with the columns after the city written out.
std::string rawLine(const std::string& prefecture, const std::string& city, const std::string& rest)
{
    return sj("13101,\"100  \",\"1000099\",\"ｶ\",\"ｶ\",\"ｶ\",\"") + prefecture + "\",\"" + city + "\"," + rest + "\r\n";
}

}  // namespace

TEST_F(TokyoExcerpt, TheIndexAgreesOnRandomAddresses)
{
    // Tokyo's cities under other prefectures, alike ("港区") or prefixed
    // ("青港区" holds "港区"), and Tokyo's own last.
    const std::string file = ken_all_synthetic::make(data(), 6) + data();
    expectIndexAgrees(file, randomAddresses(piecesOf(file, 29), 11, 300));
}

TEST(PostRead, TheIndexAgreesOnAdversarialFilesAndAddresses)
{
    // Cities inside other cities' names or a prefecture's, a city again
    // after others, a half-width city whose bytes stand in kanji, and a
    // bracket that the next city's line closes.
    const std::string names = kenAll({
        {"3861601", "長野県", "小県郡青木村", "田沢"},
        {"5012101", "岐阜県", "山県市", "高富"},
        {"1140001", "東京都", "北区", "東十条"},
        {"0010010", "北海道", "札幌市北区", "北十条西（１～４丁目）"},
        {"0010011", "北海道", "札幌市北区", "北十一条西"},
        {"5300000", "大阪府", "大阪市北区", "以下に掲載がない場合"},
        {"1830022", "東京都", "府中市", "宮西町"},
        {"7260005", "広島県", "府中市", "元町"},
        {"6008216", "京都府", "京都市下京区", "東塩小路町"},
        {"6000000", "京都府", "京都", "以下に掲載がない場合"},
        {"1140002", "東京都", "北区", "王子"},
        {"9999991", "東京都", "ｧ", "ｿ"},
        {"9999992", "山形県", "ｿ区", "表町"},
        {"1980001", "東京都", "青梅市", "大門（１丁目"},
        {"1980002", "東京都", "青梅", "２丁目）"},
    });
    // Lines the index reads as a whole: several towns, too few columns, a
    // town "0", commas inside characters; brackets and fallbacks across
    // cities; a prefecture ending in a lead byte; an empty city last.
    const std::string odd = rawLine(sj("東京都"), sj("千代田区"), sj("\"丸の内\",\"２丁目\",0,0")) +
                            rawLine(sj("東京都"), sj("千代田区"), sj("\"大手町（１丁目\",0")) +
                            rawLine(sj("東京都"), sj("千代田"), sj("\"２丁目）\",0")) +
                            rawLine(sj("東京都"), sj("千代田"), sj("\"神田\"")) +
                            rawLine(sj("東京都"), sj("千代田"), "0,0,1") +
                            rawLine(sj("東京都"), sj("千代") + "\x81," + sj("田区"), sj("\"神田") + "\x81," + sj("町\",0")) +
                            rawLine(sj("東京都"), sj("大島町"), sj("\"大島町（次に番地がくる場合\",0")) +
                            rawLine(sj("東京都"), sj("大島町"), sj("\"元町\",1")) +
                            rawLine(sj("東京") + "\x81", sj("\x5C町"), sj("\"元町\",0")) +
                            rawLine("", sj("港区"), sj("\"海岸\",0")) + rawLine(sj("架空県"), "", sj("\"海岸\",0"));
    const std::vector<SjisString> fixed = {
        sj(""), sj(" "), sj("どこにもない住所"), sj("東京都"), sj(" 　東京都北区東十条"), sj("北区北区王子"),
        sj("札幌市北区北十条西２丁目"), sj("北海道札幌市北区北十条西５"), sj("大阪府大阪市北区梅田"), sj("大阪府北区"),
        sj("東京都京都市下京区"), sj("京都府京都"), sj("広島県府中市元町"), sj("府中市宮西町"), sj("小県郡青木村田沢"),
        sj("大字岐阜県山県市高富"), sj("長野県岐阜県山県市"), sj("東京都港区東京都北区"), sj("東京都千代田区丸の内２丁目"),
        sj("千代田区大手町２丁目"), sj("東京都千代田神田"), sj("東京都大島町"), sj("東京都大島町元町"), sj("ｿ区表町"), sj("東京都青梅市大門２丁目"),
        "\x89\x8C\xA7" + sj("ｿ区"), sj("ソ区") + "\x81", sj("東京") + "\x81\x5C" + sj("町元町"),
    };
    for (const std::string& file : {names, odd, names + odd}) {
        std::vector<SjisString> addresses = randomAddresses(piecesOf(file, 1), 5, 400);
        addresses.insert(addresses.end(), fixed.begin(), fixed.end());
        expectIndexAgrees(file, addresses);
    }
}

TEST(KenAllFile, IsLoadedOnceAndAgainWhenItChanges)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("KEN_ALL.CSV");
    EXPECT_EQ(postal::kenAllIndex(path), nullptr);
    auto write = [&](const std::string& data) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(data.data(), qint64(data.size()));
    };
    write(kenAll(kMinato));
    const auto first = postal::kenAllIndex(path);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(postal::kenAllIndex(path), first) << "unchanged: the same index";
    write(kenAll({{"1080099", "東京都", "港区", "芝浦"}, {"1600000", "東京都", "新宿区", "新宿"}}));
    const auto second = postal::kenAllIndex(path);
    ASSERT_NE(second, first) << "a new size is a new file";
    EXPECT_EQ(second->lookup(sj("東京都港区芝浦"), 0).code, "1080099");
}

// ---- the PostData rebuild ---------------------------------------------------------

TEST(PostDataRebuild, CellsAreSplitAtEveryCommaAndCleaned)
{
    const auto cells = postal::postDataCells(sj("13101,\"1000000\",\"以下に掲載がない場合\",\"利島村一円\",,\"a,b\",last\"x\""));
    ASSERT_EQ(cells.size(), 8u);
    EXPECT_EQ(cells[1], "1000000");
    EXPECT_EQ(cells[2], "") << "the not-listed entry";
    EXPECT_EQ(cells[3], "") << "a whole area";
    EXPECT_EQ(cells[4], "") << "two commas in a row";
    EXPECT_EQ(cells[5], "") << "quotes do not protect a comma: \"a loses its first and last byte";
    EXPECT_EQ(cells[6], "b\"");
    EXPECT_EQ(cells[7], "last\"x\"") << "the last cell stays as read";
    EXPECT_EQ(postal::postDataCells(",a")[0], "") << "a comma at the start";
}

TEST(PostDataRebuild, RecordsJoinTheAddressColumns)
{
    const auto cells = postal::postDataCells(kenAllLine({"1080023", "東京都", "港区", "芝浦"}));
    auto [code, address] = postal::postDataRecord(cells, {3, 7, 8, 9});
    EXPECT_EQ(code, "1080023");
    EXPECT_EQ(sjis::toUtf8(address), "東京都港区芝浦");
    auto [none, nothing] = postal::postDataRecord(cells, {0, 0, 99, 0});
    EXPECT_EQ(none, "");
    EXPECT_EQ(nothing, "");
}

