#include "components/formats/converter_post_scan.h"
#include "components/formats/settings_file.h"
#include "tests/components/ken_all_synthetic.h"

#include <gtest/gtest.h>

#include <random>

using postal::ConverterKenAll;
using postal::converterPostScan;

namespace {

std::string kenAllLine(const char* code, const char* prefecture, const char* city, const char* town, const char* flag)
{
    return sj(std::string("13101,\"100  \",\"") + code + "\",\"ﾄｳｷｮｳﾄ\",\"ﾁﾖﾀﾞｸ\",\"ｲｶ\",\"" + prefecture + "\",\"" + city +
              "\",\"" + town + "\"," + flag + ",0,0,0,0,0\r\n");
}

std::string smallFile()
{
    return kenAllLine("1000000", "東京都", "千代田区", "以下に掲載がない場合", "0") +
           kenAllLine("1020072", "東京都", "千代田区", "飯田橋", "0") +
           kenAllLine("1000005", "東京都", "千代田区", "丸の内", "1") +
           kenAllLine("1050000", "東京都", "港区", "以下に掲載がない場合", "0") +
           kenAllLine("1080023", "東京都", "港区", "芝浦", "0") +
           kenAllLine("2310000", "神奈川県", "横浜市中区", "以下に掲載がない場合", "0") +
           kenAllLine("2310017", "神奈川県", "横浜市中区", "港町", "0") +
           kenAllLine("3330000", "埼玉県", "港区", "芝", "0") +
           kenAllLine("3320000", "埼玉県", "川口市", "以下に掲載がない場合", "0");
}

// Both forms of the search, which must agree.
postal::PostReadResult both(const ConverterKenAll& file, const std::string& address, int mode)
{
    const postal::PostReadResult indexed = file.lookup(address, mode);
    const postal::PostReadResult plain = converterPostScan(file.lines(), address, mode);
    EXPECT_EQ(indexed.code, plain.code) << sjis::toUtf8(address) << " mode " << mode;
    EXPECT_EQ(indexed.prefecture, plain.prefecture) << sjis::toUtf8(address) << " mode " << mode;
    return plain;
}

}  // namespace

TEST(ConverterPostScan, FindsTheTownOrTheCitysFallbackAndThePrefecture)
{
    const ConverterKenAll file(smallFile());
    const struct {
        const char* address;
        int mode;
        const char* code;
        const char* prefecture;
    } cases[] = {
        {"千代田区飯田橋３－１０", 2, "1020072", "東京都"},
        {"東京都千代田区一番町", 2, "1000000", ""},
        {"千代田区丸の内１", 2, "1000000", "東京都"},  // a town flagged 1 keeps the fallback
        {"港区芝浦３", 2, "1080023", "東京都"},
        {"港区芝５", 2, "1050000", "東京都"},  // the next prefecture's line ends the scan and changes nothing
        {"横浜市中区港町", 2, "2310017", "神奈川県"},
        {"川口市本町", 2, "3320000", "埼玉県"},  // the end of the file keeps the fallback
        {"埼玉県港区芝５", 1, "3330000", ""},  // other prefectures' lines are passed over
        {"港区芝浦３", 1, "", ""},  // no prefecture: no line passes
        {"どこにもない", 2, "", ""},
        {"", 0, "", ""},
    };
    for (const auto& c : cases) {
        const postal::PostReadResult r = both(file, sj(c.address), c.mode);
        EXPECT_EQ(r.code, c.code) << c.address;
        EXPECT_EQ(r.prefecture, sj(c.prefecture)) << c.address;
    }
}

TEST(ConverterPostScan, SplitsAtEveryCommaAndMatchesWholeCharacters)
{
    // The city "ab,cd区" is read as "a", then the town "d区"; the city "ー"
    // (0x81 0x5B) inside another character's bytes does not match.
    const std::string file = kenAllLine("1110000", "東京都", "ab,cd区", "以下に掲載がない場合", "0") +
                             kenAllLine("1120000", "東京都", "ー", "以下に掲載がない場合", "0");
    const ConverterKenAll kenAll(file);
    EXPECT_EQ(both(kenAll, "a", 2).code, "");
    EXPECT_EQ(both(kenAll, sj("ad区"), 2).code, "1110000");
    EXPECT_EQ(both(kenAll, "\x82\x81\x5B", 2).code, "") << "0x81 0x5B inside another character";
    EXPECT_EQ(both(kenAll, "\x81\x5B", 2).code, "1120000");
}

// The indexed look-up gives what the plain scan gives, for addresses made
// from the Tokyo excerpt's lines, under three copies of it.
TEST(ConverterPostScan, TheIndexAgreesWithThePlainScanOnTheTokyoExcerpt)
{
    const std::string tokyo = ken_all_synthetic::tokyoExcerpt(QStringLiteral(TEST_DATA_DIR "/KEN_ALL_13TOKYO.CSV"));
    ASSERT_FALSE(tokyo.empty());
    const ConverterKenAll file(ken_all_synthetic::make(tokyo, 3));
    std::mt19937 rng(7);
    const std::vector<std::string> noise = {"", sj("１－２－３"), sj("東京都"), sj("埼玉県"), sj("　"), "x"};
    std::size_t checked = 0;
    const std::vector<std::string_view> lines = splitLines(tokyo);
    for (std::size_t i = 0; i < lines.size(); i += 29) {
        std::vector<std::string_view> c;
        for (std::size_t start = 0;;) {
            const std::size_t comma = lines[i].find(',', start);
            c.push_back(lines[i].substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start));
            if (comma == std::string_view::npos)
                break;
            start = comma + 1;
        }
        if (c.size() < 9)
            continue;
        const std::string city(postal::unquote(c[7])), town(postal::unquote(c[8]));
        const std::string addresses[] = {
            noise[rng() % noise.size()] + city + town + noise[rng() % noise.size()],
            city + town.substr(0, town.size() / 2),
            noise[rng() % noise.size()] + city,
            town + city,
        };
        for (const std::string& a : addresses)
            for (int mode : {0, 1, 2}) {
                both(file, a, mode);
                ++checked;
            }
    }
    EXPECT_GT(checked, 1000u);
}
