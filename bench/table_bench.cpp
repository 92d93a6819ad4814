// Table engine on a record table of 100,000 generated records.
//
// The records are generated once per process with realistic values (readings
// in hiragana, names in kanji, addresses, registration numbers, era dates
// with full-width digits, weights as whole numbers, remarks lines) and
// written into a base database in a temporary data directory. Benchmarks
// that only read or that undo their own changes share one working copy of
// it; destructive ones (emptying, deleting, restoring) work on fresh copies.
//
// One-shot operations are timed by hand around the operation alone, so the
// copying and opening that prepare them are not counted. Set
// SORVANI_BENCH_KEEP=1 to keep the temporary directory for inspection
// (sqlite3 CARDATA.sqlite3).
#include "bench/record_corpus.h"
#include "components/core/cp932.h"
#include "components/core/database.h"
#include "components/core/schema.h"
#include "components/core/record_fields.h"
#include "components/core/table.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <unordered_set>
#include <vector>

namespace {

constexpr int kRecordCount = 100000;
constexpr int kSmallRecordCount = 10000;

using Clock = std::chrono::steady_clock;

int fieldIndex(const char* utf8Name)
{
    int no = recordFieldNumber(utf8Name);
    if (no == 0)
        std::abort();
    return no - 1;
}

// ---- generated records --------------------------------------------------------------

struct Person {
    const char* reading;
    const char* name;
};

// Family names whose readings start in every row of the kana table,
// voiced rows included.
const Person kFamilies[] = {
    {"あおき", "青木"},   {"あべ", "阿部"},     {"いとう", "伊藤"},     {"いのうえ", "井上"},   {"うえだ", "上田"},
    {"えんどう", "遠藤"}, {"おおた", "太田"},   {"おがわ", "小川"},     {"かとう", "加藤"},     {"きむら", "木村"},
    {"くどう", "工藤"},   {"こばやし", "小林"}, {"ごとう", "後藤"},     {"かねこ", "金子"},     {"さとう", "佐藤"},
    {"すずき", "鈴木"},   {"さいとう", "斎藤"}, {"しみず", "清水"},     {"せきぐち", "関口"},   {"そのだ", "園田"},
    {"じんぼ", "神保"},   {"たなか", "田中"},   {"たかはし", "高橋"},   {"ちば", "千葉"},       {"つじ", "辻"},
    {"てらだ", "寺田"},   {"とくなが", "徳永"}, {"だて", "伊達"},       {"どい", "土居"},       {"なかむら", "中村"},
    {"にしむら", "西村"}, {"ぬまた", "沼田"},   {"ねもと", "根本"},     {"のむら", "野村"},     {"はやし", "林"},
    {"ひらの", "平野"},   {"ふじた", "藤田"},   {"へんみ", "逸見"},     {"ほんだ", "本田"},     {"ばば", "馬場"},
    {"べっぷ", "別府"},   {"まつもと", "松本"}, {"みうら", "三浦"},     {"むらかみ", "村上"},   {"めぐろ", "目黒"},
    {"もりた", "森田"},   {"やまもと", "山本"}, {"やまだ", "山田"},     {"ゆあさ", "湯浅"},     {"よしだ", "吉田"},
    {"りきいし", "力石"}, {"るすい", "留守"},   {"れいぜい", "冷泉"},   {"ろくごう", "六郷"},   {"わたなべ", "渡辺"},
    {"わだ", "和田"},
};

const Person kGivenNames[] = {
    {"たろう", "太郎"},   {"はなこ", "花子"},   {"けんじ", "健二"},     {"ゆうこ", "裕子"},   {"まさひろ", "正弘"},
    {"ひろし", "博"},     {"あきら", "明"},     {"みどり", "緑"},       {"なおき", "直樹"},   {"えり", "恵理"},
    {"しんご", "慎吾"},   {"ともこ", "智子"},   {"よしお", "義男"},     {"かずや", "和也"},   {"さくら", "桜"},
    {"りょう", "亮"},     {"わたる", "渉"},     {"のぞみ", "希"},       {"ちひろ", "千尋"},   {"まゆみ", "真由美"},
    {"ごろう", "五郎"},   {"じゅん", "純"},     {"ぶんた", "文太"},     {"ぱんだ", "盤太"},
};

const Person kCompanies[] = {
    {"ほくとうんゆ", "北斗運輸株式会社"},       {"やまとけんせつ", "大和建設株式会社"},
    {"みなとしょうじ", "港商事有限会社"},       {"あさひでんき", "旭電機株式会社"},
    {"ぐんじょうぶっさん", "群青物産株式会社"}, {"らいむこうぎょう", "ライム工業株式会社"},
};

struct Vocabulary {
    std::vector<SjisString> digits = encodeAll({"０", "１", "２", "３", "４", "５", "６", "７", "８", "９"});
    std::vector<std::pair<SjisString, SjisString>> families, givenNames, companies;
    SjisString space = sj("　"), dash = sj("－");
    std::vector<SjisString> cities = encodeAll({
        "東京都千代田区", "東京都世田谷区", "東京都練馬区", "神奈川県横浜市港北区", "神奈川県藤沢市",
        "埼玉県さいたま市浦和区", "千葉県船橋市", "大阪府大阪市北区", "愛知県名古屋市中区",
        "北海道札幌市中央区", "福岡県福岡市博多区", "静岡県浜松市中区", "宮城県仙台市青葉区",
        "広島県広島市南区", "新潟県新潟市中央区", "長野県松本市",
    });
    std::vector<SjisString> towns = encodeAll({"本町", "中央", "旭町", "緑が丘", "栄町", "桜台", "東", "西新町",
                                               "富士見", "若葉", "神田神保町", "大手町", "日吉本町", "港南"});
    std::vector<SjisString> buildings = encodeAll({"サンプルハイツ", "コーポ若葉", "グランメゾン", "第二ビル"});
    std::vector<SjisString> regions = encodeAll({"品川", "練馬", "足立", "多摩", "横浜", "湘南", "大宮", "千葉",
                                                 "名古屋", "なにわ", "大阪", "札幌", "福岡", "仙台", "浜松"});
    std::vector<SjisString> plateKana = encodeAll({"さ", "す", "せ", "そ", "た", "ち", "つ", "て", "と", "な",
                                                   "に", "ぬ", "ね", "の", "は", "ひ", "ふ", "ほ", "ま", "み",
                                                   "む", "め", "も", "や", "ゆ", "よ", "ら", "り", "る", "ろ",
                                                   "わ", "あ", "い", "う", "え", "か", "き", "く", "け", "こ"});
    std::vector<SjisString> plateClasses = encodeAll({"５００", "３００", "３３０", "５８０", "１００", "４００"});
    std::vector<SjisString> eras = encodeAll({"昭和", "平成", "令和"});
    SjisString year = sj("年"), month = sj("月"), day = sj("日");
    std::vector<SjisString> insurers = encodeAll({"東西火災海上", "日輪損害保険", "青葉共済", "北斗海上"});
    SjisString credit = sj("北斗オートクレジット株式会社"), creditAddress = sj("東京都港区芝浦１－１－１");
    SjisString sameBase = sj("＊＊＊");
    std::vector<SjisString> kinds = encodeAll({"普通", "小型", "軽自動車"});
    std::vector<SjisString> uses = encodeAll({"乗用", "貨物"});
    std::vector<SjisString> privates = encodeAll({"自家用", "事業用"});
    std::vector<SjisString> bodies = encodeAll({"箱型", "ステーションワゴン", "幌型", "バン", "ダンプ"});
    std::vector<SjisString> makers = encodeAll({"ホクト", "ヤマト", "アサヒ", "ミナト", "ハヤテ"});
    std::vector<SjisString> fuels = encodeAll({"ガソリン", "軽油", "ガソリン・電気", "電気"});
    std::vector<SjisString> remarks = encodeAll({
        "車検整備済　次回オイル交換５０００ｋｍ", "タイヤ交換済（スタッドレス保管）", "ブレーキパッド残り３ｍｍ",
        "リコール対策済", "代車使用　１０月返却予定", "事故修理歴あり（右フロント）", "", "",
    });
    std::vector<SjisString> periods = encodeAll({"２５ヶ月", "３７ヶ月", "２４ヶ月", "１３ヶ月"});
    std::vector<SjisString> saleForms = encodeAll({"新車", "中古車", "リース"});
    std::vector<SjisString> categories = encodeAll({"セダン", "ミニバン", "軽", "トラック", "ＳＵＶ"});
    std::vector<SjisString> colours = encodeAll({"白", "黒", "シルバー", "パールホワイト", "赤", "紺"});
    std::vector<SjisString> theft = encodeAll({"有", "無"});
    std::vector<SjisString> memos = encodeAll({"", "", "", "年賀状送付", "ＤＭ不要", "紹介：山本様"});

    Vocabulary()
    {
        for (const Person& p : kFamilies)
            families.emplace_back(sj(p.reading), sj(p.name));
        for (const Person& p : kGivenNames)
            givenNames.emplace_back(sj(p.reading), sj(p.name));
        for (const Person& p : kCompanies)
            companies.emplace_back(sj(p.reading), sj(p.name));
    }
};

class RecordGenerator {
public:
    explicit RecordGenerator(unsigned seed) : rng_(seed) {}

    // Record number `serial` (from 0); the chassis number makes its primary
    // key unique.
    Values record(long long serial)
    {
        const Vocabulary& v = vocabulary();
        Values r(kExtendedFieldCount);
        auto set = [&r](int no, SjisString value) { r[std::size_t(no - 1)] = std::move(value); };
        auto setInt = [&r](int no, std::optional<long long> value) {
            r[std::size_t(no - 1)] = value ? std::optional<SjisString>(std::to_string(*value)) : std::nullopt;
        };

        SjisString reading, name;
        if (chance(6)) {
            const auto& c = pick(v.companies);
            reading = c.first;
            name = c.second;
        } else {
            const auto& f = pick(v.families);
            const auto& g = pick(v.givenNames);
            reading = f.first + v.space + g.first;
            name = f.second + v.space + g.second;
        }
        SjisString address = addressLine();
        set(1, reading);
        std::string phone = "0";
        phone.append(std::to_string(uniform(3, 99))).append("-").append(std::to_string(uniform(100, 9999)));
        set(2, phone.append("-").append(std::to_string(uniform(1000, 9999))));
        set(3, name);
        set(4, address);
        set(5, pick(v.regions) + pick(v.plateClasses) + pick(v.plateKana) + wide(uniform(1, 9999), 4));
        set(6, eraDate());
        set(7, eraMonth());
        const std::string model = std::string(1, char('A' + uniform(0, 25))) + char('A' + uniform(0, 25)) +
                                  std::to_string(uniform(10, 299));
        set(8, "DBA-" + model);
        // Distinct for every serial below 10^7: 7919 is prime to 10^7.
        set(9, model + "-" + pad((serial * 7919 + 1234567) % 10000000, 7));
        set(10, std::to_string(uniform(1, 4)) + char('A' + uniform(0, 25)) + char('A' + uniform(0, 25)));
        set(11, pad(uniform(1, 99999), 5));
        set(12, pad(uniform(1, 999), 4));
        set(13, eraDate());
        const SjisString& insurer = pick(v.insurers);
        set(14, insurer);
        set(15, std::string(1, char('A' + uniform(0, 25))) + pad(uniform(0, 99999999), 10));
        const bool financed = chance(4);
        set(16, financed ? v.credit : name);
        set(17, financed ? v.creditAddress : address);
        set(18, financed ? address : v.sameBase);
        const bool truck = chance(5);
        set(19, pick(v.kinds));
        set(20, truck ? v.uses[1] : v.uses[0]);
        set(21, chance(10) ? v.privates[1] : v.privates[0]);
        set(22, pick(v.bodies));
        set(23, pick(v.makers));
        const int seats = truck ? 2 : uniform(2, 8);
        const int weight = uniform(650, 2200) / 10 * 10;
        setInt(24, seats);
        setInt(25, chance(3) ? std::optional<long long>(seats) : std::nullopt);
        setInt(26, truck ? std::optional<long long>(uniform(2, 20) * 50) : std::nullopt);
        setInt(27, truck && chance(2) ? std::optional<long long>(uniform(2, 20) * 50) : std::nullopt);
        setInt(28, weight);
        setInt(29, weight + seats * 55 + (truck ? 500 : 0));
        setInt(30, chance(2) ? std::optional<long long>(weight + seats * 55) : std::nullopt);
        set(31, std::to_string(uniform(339, 499)));
        set(32, std::to_string(uniform(147, 185)));
        set(33, std::to_string(uniform(140, 200)));
        set(34, std::to_string(uniform(0, 4)) + "." + pad(uniform(0, 99), 2));
        set(36, pick(v.fuels));
        set(38, std::to_string(uniform(40, 120) * 10));
        set(40, std::to_string(uniform(30, 100) * 10));
        set(42, pick(v.remarks));
        set(43, insurer);
        set(44, pad(uniform(0, 999999999), 10));
        set(45, eraDate());
        set(46, pick(v.periods));
        set(47, eraDate());
        set(48, pick(v.saleForms));
        set(49, pick(v.categories));
        set(50, pick(v.colours));
        set(51, wide(uniform(1985, 2024), 4));
        set(52, model + "-" + pad(uniform(0, 9999999), 7));
        set(53, eraDate());
        set(54, std::to_string(uniform(50, 600)) + ",000");
        set(55, pick(v.theft));
        set(56, pick(v.memos));
        return r;
    }

private:
    std::mt19937 rng_;

    static const Vocabulary& vocabulary()
    {
        static const Vocabulary v;
        return v;
    }

    int uniform(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
    bool chance(int oneIn) { return uniform(1, oneIn) == 1; }
    template <class T>
    const T& pick(const std::vector<T>& from)
    {
        return from[std::size_t(uniform(0, int(from.size()) - 1))];
    }

    static std::string pad(long long n, int width)
    {
        std::string s = std::to_string(n);
        return s.size() < std::size_t(width) ? std::string(std::size_t(width) - s.size(), '0') + s : s;
    }

    // Full-width digits, zero-padded to `width` (0: as many as needed).
    static SjisString wide(long long n, int width)
    {
        SjisString out;
        for (char c : pad(n, width))
            out += vocabulary().digits[std::size_t(c - '0')];
        return out;
    }

    SjisString addressLine()
    {
        const Vocabulary& v = vocabulary();
        SjisString a = pick(v.cities) + pick(v.towns) + wide(uniform(1, 9), 0) + v.dash + wide(uniform(1, 30), 0) +
                       v.dash + wide(uniform(1, 40), 0);
        if (chance(4))
            a += v.space + pick(v.buildings) + wide(uniform(1, 12) * 100 + uniform(1, 9), 0);
        return a;
    }

    SjisString eraPrefix(int& month)
    {
        const Vocabulary& v = vocabulary();
        int era = uniform(0, 9) < 2 ? 0 : (uniform(0, 9) < 7 ? 1 : 2);
        int year = era == 0 ? uniform(50, 63) : era == 1 ? uniform(1, 31) : uniform(1, 6);
        month = uniform(1, 12);
        return v.eras[std::size_t(era)] + wide(year, 2) + v.year + wide(month, 2) + v.month;
    }
    SjisString eraMonth()
    {
        int month;
        return eraPrefix(month);
    }
    SjisString eraDate()
    {
        int month;
        SjisString s = eraPrefix(month);
        return s + wide(uniform(1, 28), 2) + vocabulary().day;
    }
};

// ---- databases --------------------------------------------------------------------------

// Writes the first `count` records with raw inserts.
void insertRecords(Database& db, const std::vector<Values>& records, std::size_t count)
{
    insertRecords(db, count, [&records](std::size_t r) -> const Values& { return records[r]; });
}

void removeDatabase(const QString& path)
{
    for (const char* suffix : {"", "-wal", "-shm"})
        QFile::remove(path + suffix);
}

// Copies a closed database (no WAL left behind) to `to`.
void copyDatabase(const QString& from, const QString& to)
{
    removeDatabase(to);
    if (!QFile::copy(from, to))
        std::abort();
}

struct Corpus {
    QTemporaryDir dir;
    std::vector<Values> records;
    QString basePath, smallPath, workPath;
    std::unique_ptr<Database> work;  // shared by the benchmarks that leave the data as it was
    std::vector<std::size_t> sorted;

    Corpus()
    {
        if (!dir.isValid())
            std::abort();
        if (qEnvironmentVariableIntValue("SORVANI_BENCH_KEEP")) {
            dir.setAutoRemove(false);
            std::fprintf(stderr, "databases kept in %s\n", qPrintable(dir.path()));
        }
        RecordGenerator gen(20080401);
        double generate = secondsOf([&] {
            records.reserve(kRecordCount);
            for (int i = 0; i < kRecordCount; ++i)
                records.push_back(gen.record(i));
        });
        basePath = dir.filePath("base.sqlite3");
        smallPath = dir.filePath("small.sqlite3");
        workPath = dir.filePath("CARDATA.sqlite3");
        double write = secondsOf([&] {
            const auto db = openSharedDatabase(basePath);
            insertRecords(*db, records, records.size());
        });
        {
            const auto db = openSharedDatabase(smallPath);
            insertRecords(*db, records, kSmallRecordCount);
        }
        copyDatabase(basePath, workPath);
        work = std::make_unique<Database>(workPath);
        std::fprintf(stderr, "%d records generated in %.0f ms, written with raw inserts in %.0f ms (%.0f MB)\n",
                     kRecordCount, generate * 1e3, write * 1e3, double(QFileInfo(basePath).size()) / 1e6);
    }

    // Record numbers in the primary order, as a backup lists them.
    const std::vector<std::size_t>& backupOrder()
    {
        if (sorted.empty()) {
            sorted.resize(records.size());
            for (std::size_t i = 0; i < sorted.size(); ++i)
                sorted[i] = i;
            std::sort(sorted.begin(), sorted.end(), [this](std::size_t a, std::size_t b) {
                for (int f = 0; f < kPrimaryKeyFieldCount; ++f) {
                    const SjisString& x = records[a][std::size_t(f)].value();
                    const SjisString& y = records[b][std::size_t(f)].value();
                    if (int c = x.compare(y))
                        return c < 0;
                }
                return false;
            });
        }
        return sorted;
    }

    ~Corpus()
    {
        work.reset();  // before the directory goes
    }
};

Corpus& corpus()
{
    static Corpus c;
    return c;
}

// The record table of the working copy, open on its first record.
std::unique_ptr<Table> openRecordTable()
{
    auto t = std::make_unique<Table>(*corpus().work, "INDATA");
    t->Open();
    return t;
}

std::vector<SjisString> primaryKeyOf(const Values& record)
{
    std::vector<SjisString> key;
    for (int i = 0; i < kPrimaryKeyFieldCount; ++i)
        key.push_back(record[std::size_t(i)].value_or(SjisString()));
    return key;
}

// What a form does to show the current record: every field as display text.
void showRecord(Table& t)
{
    for (int i = 0; i < t.FieldCount(); ++i)
        benchmark::DoNotOptimize(t.Fields(i).DisplayText());
}

std::vector<std::size_t> sampleRecords(std::size_t n)
{
    std::mt19937 rng(7);
    std::uniform_int_distribution<std::size_t> d(0, kRecordCount - 1);
    std::vector<std::size_t> out(n);
    for (auto& i : out)
        i = d(rng);
    return out;
}

// ---- opening and moving (goals: open < 0.5 s, next < 1 ms) ---------------------------------

void BM_OpenTableShowFirst(benchmark::State& state)
{
    Database& db = *corpus().work;
    for (auto _ : state) {
        Table t(db, "INDATA");
        t.Open();
        showRecord(t);
        benchmark::DoNotOptimize(t.RecordCount());
    }
}
BENCHMARK(BM_OpenTableShowFirst)->Unit(benchmark::kMillisecond);

// With a fresh connection, as at program start (the engine's page cache is
// empty; the file is in the operating system's cache).
void BM_OpenDatabaseAndTableShowFirst(benchmark::State& state)
{
    const QString path = corpus().workPath;
    for (auto _ : state) {
        Database db(path);
        Table t(db, "INDATA");
        t.Open();
        showRecord(t);
        benchmark::DoNotOptimize(t.RecordCount());
    }
}
BENCHMARK(BM_OpenDatabaseAndTableShowFirst)->Unit(benchmark::kMillisecond);

void BM_Next(benchmark::State& state)
{
    auto t = openRecordTable();
    for (auto _ : state) {
        t->Next();
        if (t->Eof()) {
            state.PauseTiming();
            t->First();
            state.ResumeTiming();
        }
    }
}
BENCHMARK(BM_Next)->Unit(benchmark::kMicrosecond);

void BM_NextShowRecord(benchmark::State& state)
{
    auto t = openRecordTable();
    for (auto _ : state) {
        t->Next();
        showRecord(*t);
        if (t->Eof()) {
            state.PauseTiming();
            t->First();
            state.ResumeTiming();
        }
    }
}
BENCHMARK(BM_NextShowRecord)->Unit(benchmark::kMicrosecond);

// ---- saving (goal < 5 ms) --------------------------------------------------------------------

// One field that is in no order of the view.
void BM_PostEditRemarks(benchmark::State& state)
{
    auto t = openRecordTable();
    t->SetRecNo(kRecordCount / 2);
    const int remarks = fieldIndex("備考");
    const SjisString original = t->value(remarks);
    const SjisString changed = original + sj("　点検済");
    bool flip = false;
    for (auto _ : state) {
        t->Edit();
        t->Fields(remarks).SetAsString((flip = !flip) ? changed : original);
        t->Post();
    }
    t->Edit();
    t->Fields(remarks).SetAsString(original);
    t->Post();
}
BENCHMARK(BM_PostEditRemarks)->Unit(benchmark::kMicrosecond);

// The reading leads the primary order: every post moves the record across
// the view (half the table each time).
void BM_PostEditReading(benchmark::State& state)
{
    auto t = openRecordTable();
    t->SetRecNo(kRecordCount / 2);
    const int reading = fieldIndex("使用者ふりがな");
    const SjisString original = t->value(reading);
    const SjisString moved = sj("んごろう");  // sorts after every other reading
    bool flip = false;
    for (auto _ : state) {
        t->Edit();
        t->Fields(reading).SetAsString((flip = !flip) ? moved : original);
        t->Post();
    }
    if (t->value(reading) != original) {
        t->Edit();
        t->Fields(reading).SetAsString(original);
        t->Post();
    }
}
BENCHMARK(BM_PostEditReading)->Unit(benchmark::kMicrosecond);

// A save as the record form does it: post, then find the record again by
// reading and registration number.
void BM_PostEditThenLocate(benchmark::State& state)
{
    auto t = openRecordTable();
    t->SetRecNo(kRecordCount / 3);
    const int remarks = fieldIndex("備考");
    const SjisString original = t->value(remarks);
    const SjisString changed = original + sj("　点検済");
    const std::vector<SjisString> lookFor = {t->FieldByName("使用者ふりがな").AsString(),
                                             t->FieldByName("自動車登録番号").AsString()};
    bool flip = false;
    for (auto _ : state) {
        t->Edit();
        t->Fields(remarks).SetAsString((flip = !flip) ? changed : original);
        t->Post();
        if (!t->Locate("使用者ふりがな;自動車登録番号", lookFor, {.partialKey = true}))
            state.SkipWithError("record not found again");
    }
    t->Edit();
    t->Fields(remarks).SetAsString(original);
    t->Post();
}
BENCHMARK(BM_PostEditThenLocate)->Unit(benchmark::kMicrosecond);

// Append, fill all 56 fields, Post. The record is deleted again outside the
// timing so that the table keeps its size.
void BM_AppendOneRecord(benchmark::State& state)
{
    auto t = openRecordTable();
    RecordGenerator gen(99);
    long long serial = kRecordCount;
    for (auto _ : state) {
        Values v = gen.record(serial++);
        double s = secondsOf([&] {
            t->Append();
            for (int i = 0; i < t->FieldCount(); ++i)
                if (v[std::size_t(i)])
                    t->Fields(i).SetAsString(*v[std::size_t(i)]);
            t->Post();
        });
        state.SetIterationTime(s);
        t->Delete();
    }
}
BENCHMARK(BM_AppendOneRecord)->UseManualTime()->Unit(benchmark::kMicrosecond);

// ---- looking up ----------------------------------------------------------------------------

void BM_LocatePrimaryKey(benchmark::State& state)
{
    auto t = openRecordTable();
    const auto samples = sampleRecords(1000);
    const std::string key = recordPrimaryKey();
    std::size_t n = 0;
    for (auto _ : state) {
        if (!t->Locate(key, primaryKeyOf(corpus().records[samples[n++ % samples.size()]])))
            state.SkipWithError("record not found");
    }
}
BENCHMARK(BM_LocatePrimaryKey)->Unit(benchmark::kMicrosecond);

void BM_LocatePartialReadingAndNumber(benchmark::State& state)
{
    auto t = openRecordTable();
    const auto samples = sampleRecords(1000);
    const int reading = fieldIndex("使用者ふりがな"), number = fieldIndex("自動車登録番号");
    std::size_t n = 0;
    for (auto _ : state) {
        const Values& r = corpus().records[samples[n++ % samples.size()]];
        if (!t->Locate("使用者ふりがな;自動車登録番号", {*r[std::size_t(reading)], *r[std::size_t(number)]},
                       {.partialKey = true}))
            state.SkipWithError("record not found");
    }
}
BENCHMARK(BM_LocatePartialReadingAndNumber)->Unit(benchmark::kMicrosecond);

// ---- finding over all records (goal < 100 ms) ---------------------------------------------

// A find that walks the table: First, then Next, reading one field.
void BM_FindScanNext(benchmark::State& state)
{
    auto t = openRecordTable();
    const SjisString needle = sj("桜台２－");
    for (auto _ : state) {
        long long hits = 0;
        t->First();
        while (!t->Eof()) {
            if (sjis::findCharacters(t->FieldByName("使用者住所").AsString(), needle) != SjisString::npos)
                ++hits;
            t->Next();
        }
        benchmark::DoNotOptimize(hits);
    }
}
BENCHMARK(BM_FindScanNext)->Unit(benchmark::kMillisecond);

// The same find through the grid accessor, without moving.
void BM_FindScanRowValues(benchmark::State& state)
{
    auto t = openRecordTable();
    const SjisString needle = sj("桜台２－");
    const std::size_t address = std::size_t(fieldIndex("使用者住所"));
    for (auto _ : state) {
        long long hits = 0;
        const int count = t->RecordCount();
        for (int i = 0; i < count; ++i)
            if (sjis::findCharacters(t->rowValues(i)[address], needle) != SjisString::npos)
                ++hits;
        benchmark::DoNotOptimize(hits);
    }
}
BENCHMARK(BM_FindScanRowValues)->Unit(benchmark::kMillisecond);

// For comparison, what a find costs when the engine reads the field for all
// records at once instead of record by record.

std::string primaryOrderSql()
{
    std::string order;
    for (int i = 0; i < kPrimaryKeyFieldCount; ++i)
        order += quoteIdentifier(recordField(i + 1).name) + ", ";
    return " ORDER BY " + order + "rowid";
}

// One statement in the view's order: the key index is walked and every
// record is looked up (a key field is read from the index alone).
void BM_FindOneStatementInViewOrder(benchmark::State& state, const char* field, const char* needleUtf8)
{
    Database& db = *corpus().work;
    const SjisString needle = sj(needleUtf8);
    Statement s = db.prepare("SELECT rowid, " + quoteIdentifier(field) + " FROM INDATA" + primaryOrderSql());
    for (auto _ : state) {
        long long hits = 0;
        s.reset();
        while (s.step())
            if (sjis::findCharacters(s.columnBytes(1), needle) != SjisString::npos)
                ++hits;
        benchmark::DoNotOptimize(hits);
    }
}
BENCHMARK_CAPTURE(BM_FindOneStatementInViewOrder, key_field, "使用者住所", "桜台２－")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FindOneStatementInViewOrder, other_field, "備考", "リコール")->Unit(benchmark::kMillisecond);

// One statement in storage order that collects the matching row ids, then
// the first match in the view's order: a walk over the view's row ids
// (loaded here outside the timing; the table already holds them).
void BM_FindOneStatementInStorageOrder(benchmark::State& state, const char* field, const char* needleUtf8)
{
    Database& db = *corpus().work;
    const SjisString needle = sj(needleUtf8);
    std::vector<long long> view;
    Statement order = db.prepare("SELECT rowid FROM INDATA" + primaryOrderSql());
    while (order.step())
        view.push_back(order.columnInt(0));
    Statement s = db.prepare("SELECT rowid, " + quoteIdentifier(field) + " FROM INDATA");
    for (auto _ : state) {
        std::unordered_set<long long> hits;
        s.reset();
        while (s.step())
            if (sjis::findCharacters(s.columnBytes(1), needle) != SjisString::npos)
                hits.insert(s.columnInt(0));
        // The last match in view order, so that the whole view is walked.
        long long position = -1;
        for (std::size_t i = 0; i < view.size(); ++i)
            if (hits.count(view[i]))
                position = (long long)i;
        benchmark::DoNotOptimize(position);
        state.counters["matches"] = double(hits.size());
    }
}
BENCHMARK_CAPTURE(BM_FindOneStatementInStorageOrder, key_field, "使用者住所", "桜台２－")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FindOneStatementInStorageOrder, other_field, "備考", "リコール")
    ->Unit(benchmark::kMillisecond);

// ---- filter and sort (goal < 100 ms) --------------------------------------------------------

void filterBenchmark(benchmark::State& state, const char* expression)
{
    auto t = openRecordTable();
    const SjisString filter = sj(expression);
    for (auto _ : state) {
        t->SetFilter(filter);
        state.SetIterationTime(secondsOf([&] { t->SetFiltered(true); }));
        state.counters["visible"] = t->RecordCount();
        t->SetFiltered(false);
    }
}

void BM_FilterReadingPrefix(benchmark::State& state)
{
    filterBenchmark(state, "(使用者ふりがな = 'か*')");
}
BENCHMARK(BM_FilterReadingPrefix)->UseManualTime()->Unit(benchmark::kMillisecond);

// A range on a field outside the key: the rows come from the field's index
// and are sorted into the view's order.
void BM_FilterRegistrationDateRange(benchmark::State& state, const char* expression)
{
    filterBenchmark(state, expression);
}
BENCHMARK_CAPTURE(BM_FilterRegistrationDateRange, one_year,
                  "(登録年月日 >= '平成２０年０１月０１日') and (登録年月日 <= '平成２０年１２月３１日')")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FilterRegistrationDateRange, one_era,
                  "(登録年月日 >= '平成０１年０１月０１日') and (登録年月日 <= '平成３１年１２月３１日')")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// A whole-number field outside the key, true for most records.
void BM_FilterVehicleWeight(benchmark::State& state)
{
    filterBenchmark(state, "(車両重量 >= '1000')");
}
BENCHMARK(BM_FilterVehicleWeight)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_FilterOff(benchmark::State& state)
{
    auto t = openRecordTable();
    t->SetFilter(sj("(使用者ふりがな = 'か*')"));
    for (auto _ : state) {
        t->SetFiltered(true);
        state.SetIterationTime(secondsOf([&] { t->SetFiltered(false); }));
    }
}
BENCHMARK(BM_FilterOff)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_SortByChassisNumber(benchmark::State& state)
{
    auto t = openRecordTable();
    for (auto _ : state) {
        state.SetIterationTime(secondsOf([&] { t->SetIndexName("車台番"); }));
        t->SetIndexName("");
    }
}
BENCHMARK(BM_SortByChassisNumber)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_SortBackToPrimary(benchmark::State& state)
{
    auto t = openRecordTable();
    for (auto _ : state) {
        t->SetIndexName("車台番");
        state.SetIterationTime(secondsOf([&] { t->SetIndexName(""); }));
    }
}
BENCHMARK(BM_SortBackToPrimary)->UseManualTime()->Unit(benchmark::kMillisecond);

// ---- deleting all and restoring (goal for restore < 5 s) ------------------------------------

// A table of its own, copied from `from` before every timed run.
struct Scratch {
    QString path;
    std::unique_ptr<Database> db;
    std::unique_ptr<Table> table;

    Scratch(const QString& from, const char* name)
    {
        path = corpus().dir.filePath(name);
        if (from.isEmpty())
            removeDatabase(path);
        else
            copyDatabase(from, path);
        db = openSharedDatabase(path);
        table = std::make_unique<Table>(*db, "INDATA");
        table->Open();
    }
    ~Scratch()
    {
        table.reset();
        db.reset();
        removeDatabase(path);
    }
};

void BM_EmptyTable100k(benchmark::State& state)
{
    for (auto _ : state) {
        Scratch s(corpus().basePath, "empty.sqlite3");
        state.SetIterationTime(secondsOf([&] { s.table->EmptyTable(); }));
    }
}
BENCHMARK(BM_EmptyTable100k)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

void deleteLoop(benchmark::State& state, bool inOneTransaction)
{
    for (auto _ : state) {
        Scratch s(corpus().smallPath, "delete.sqlite3");
        Table& t = *s.table;
        state.SetIterationTime(secondsOf([&] {
            std::optional<Table::Bulk> bulk;
            if (inOneTransaction)
                bulk.emplace(t);
            t.First();
            while (!t.Eof())
                t.Delete();
            if (bulk)
                bulk->commit();
        }));
        if (!s.table->IsEmpty())
            state.SkipWithError("records left");
    }
    state.counters["records"] = kSmallRecordCount;
}

// First, then Delete until Eof, on 10,000 records: one transaction per record.
void BM_DeleteLoop10k(benchmark::State& state)
{
    deleteLoop(state, false);
}
BENCHMARK(BM_DeleteLoop10k)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_DeleteLoop10kInOneTransaction(benchmark::State& state)
{
    deleteLoop(state, true);
}
BENCHMARK(BM_DeleteLoop10kInOneTransaction)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

// Time spent in each phase of a one-shot operation, reported as counters.
class Phases {
public:
    void mark(const char* name)
    {
        auto now = Clock::now();
        spans_.emplace_back(name, std::chrono::duration<double>(now - last_).count());
        last_ = now;
    }
    double total() const
    {
        double sum = 0;
        for (const auto& s : spans_)
            sum += s.second;
        return sum;
    }
    void report(benchmark::State& state) const
    {
        for (const auto& s : spans_)
            state.counters[std::string(s.first) + "_ms"] = s.second * 1e3;
    }

private:
    Clock::time_point last_ = Clock::now();
    std::vector<std::pair<const char*, double>> spans_;
};

// 100,000 AppendRecord calls in one bulk scope on an empty table, in the
// order the records were generated; the view is rebuilt once at the end.
void BM_BulkAppend100kIntoEmptyTable(benchmark::State& state)
{
    const auto& records = corpus().records;
    for (auto _ : state) {
        Scratch s({}, "bulk.sqlite3");
        Table& t = *s.table;
        Phases p;
        {
            std::optional<Table::Bulk> bulk(std::in_place, t);
            for (const Values& r : records)
                t.AppendRecord(r);
            p.mark("append");
            bulk->commit();
            p.mark("commit");
            bulk.reset();
            p.mark("view");
        }
        state.SetIterationTime(p.total());
        p.report(state);
        if (t.RecordCount() != kRecordCount)
            state.SkipWithError("wrong record count");
    }
}
BENCHMARK(BM_BulkAppend100kIntoEmptyTable)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

void restoreBenchmark(benchmark::State& state, Table::Bulk::Mode mode)
{
    const auto& records = corpus().records;
    const auto& order = corpus().backupOrder();
    for (auto _ : state) {
        Scratch s(corpus().basePath, "restore.sqlite3");
        Table& t = *s.table;
        Phases p;
        {
            std::optional<Table::Bulk> bulk(std::in_place, t, mode);
            if (mode == Table::Bulk::Mode::Append)
                t.EmptyTable();
            p.mark("empty");
            for (std::size_t i : order)
                t.AppendRecord(records[i]);
            p.mark("append");
            bulk->commit();
            p.mark("commit");
            bulk.reset();
            p.mark("view");
        }
        state.SetIterationTime(p.total());
        p.report(state);
        if (t.RecordCount() != kRecordCount)
            state.SkipWithError("wrong record count");
    }
}

// A restore from a backup: the 100,000 records, in the order a backup lists
// them (the primary order), replace the 100,000 in the table, all in one
// transaction, keeping every index up to date record by record.
void BM_Restore100kKeepingIndexes(benchmark::State& state)
{
    restoreBenchmark(state, Table::Bulk::Mode::Append);
}
BENCHMARK(BM_Restore100kKeepingIndexes)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

// The same restore as the restore command runs it: the table is replaced
// whole and its secondary indexes are built once at the commit.
void BM_Restore100kReplacingAll(benchmark::State& state)
{
    restoreBenchmark(state, Table::Bulk::Mode::ReplaceAll);
}
BENCHMARK(BM_Restore100kReplacingAll)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
