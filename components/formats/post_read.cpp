#include "components/formats/post_read.h"

#include "components/core/data_directory.h"
#include "components/core/japanese_text.h"
#include "components/core/table.h"
#include "components/formats/settings_file.h"

#include <QFile>
#include <QFileInfo>
#include <QDateTime>
#include <algorithm>
#include <map>
#include <mutex>
#include <unordered_set>

namespace postal {

namespace {

constexpr auto npos = std::string_view::npos;

struct Words {
    SjisString open = sj("（"), close = sj("）"), wholeArea = sj("一円"), notListed = sj("\"以下に掲載がない場合\""),
               blockNext = sj("次に番地がくる場合"), others = sj("その他）"), banchi = sj("番地"),
               tilde = sj("～"), comma = sj("、"), dot = sj("・"), wideBlank = sj("　");
    std::vector<SjisString> prefectures = sjList({
        "北海道", "青森県", "岩手県", "宮城県", "秋田県", "山形県", "福島県", "茨城県", "栃木県", "群馬県",
        "埼玉県", "千葉県", "東京都", "神奈川県", "新潟県", "富山県", "石川県", "福井県", "山梨県", "長野県",
        "岐阜県", "静岡県", "愛知県", "三重県", "滋賀県", "京都府", "大阪府", "兵庫県", "奈良県", "和歌山県",
        "鳥取県", "島根県", "岡山県", "広島県", "山口県", "徳島県", "香川県", "愛媛県", "高知県", "福岡県",
        "佐賀県", "長崎県", "熊本県", "大分県", "宮崎県", "鹿児島県", "沖縄県"});

    static std::vector<SjisString> sjList(std::initializer_list<const char*> utf8)
    {
        std::vector<SjisString> list;
        for (const char* text : utf8)
            list.push_back(sj(text));
        return list;
    }
};

const Words& words()
{
    static const Words w;
    return w;
}

// Byte-wise search that only accepts a match starting at a character.
std::size_t findText(std::string_view text, std::string_view needle)
{
    const std::size_t p = text.find(needle);
    if (p == npos || p == 0 || sjis::isCharacterStart(text, p))
        return p;
    return sjis::findCharacters(text, needle, p);
}

bool contains(std::string_view text, std::string_view needle) { return findText(text, needle) != npos; }

std::string_view before(std::string_view text, std::string_view mark)
{
    return text.substr(0, std::min(findText(text, mark), text.size()));
}

// A town's number as the ranges compare it: full-width digits made
// half-width, then the leading digits.
int numberOf(std::string_view text)
{
    return readNumber(ToHalfWidth(text));
}

struct Part {
    std::string_view text;
    bool rangeStart;  // followed by "～"
};

// A bracket's content divided at "～", "、" and "・".
std::vector<Part> partsOf(std::string_view content)
{
    const Words& w = words();
    std::vector<Part> parts;
    std::size_t start = 0, i = 0;
    while (i < content.size()) {
        const std::string_view rest = content.substr(i);
        const bool tilde = rest.starts_with(w.tilde);
        if (tilde || rest.starts_with(w.comma) || rest.starts_with(w.dot)) {
            parts.push_back({content.substr(start, i - start), tilde});
            i += 2;
            start = i;
            continue;
        }
        i += (sjis::isLeadByte(content[i]) && i + 1 < content.size()) ? 2 : 1;
    }
    parts.push_back({content.substr(start), false});
    return parts;
}

// True when the address begins, after its blanks, with a prefecture's name.
bool namesPrefecture(std::string_view address)
{
    const Words& w = words();
    for (;;) {
        if (address.starts_with(' '))
            address.remove_prefix(1);
        else if (address.starts_with(w.wideBlank))
            address.remove_prefix(w.wideBlank.size());
        else
            break;
    }
    return std::any_of(w.prefectures.begin(), w.prefectures.end(),
                       [&](const SjisString& name) { return address.starts_with(name); });
}

bool continuesCharacter(unsigned char b) { return (b >= 0x7F && b <= 0xA0) || b >= 0xE0; }

bool passedOver(std::string_view line)
{
    return line.empty() || line == "\x1A" || line.size() > KenAllLine::kMaxBytes;
}

}  // namespace

KenAllLine::KenAllLine(std::string_view line)
{
    std::size_t start = 0;
    bool dropped = false;  // the current column holds a character's comma
    for (std::size_t i = 0; i <= line.size() && count_ < kMaxColumns; ++i) {
        if (i < line.size() && line[i] != ',')
            continue;
        if (i < line.size() && i > 0 && continuesCharacter(line[i - 1])) {
            dropped = true;
            continue;
        }
        const std::string_view text = line.substr(start, i - start);
        columns_[std::size_t(count_++)] = dropped ? withoutCommas(text, line.size()) : text;
        start = i + 1;
        dropped = false;
    }
}

// The text without its commas, kept in joined_; reserving the whole line's
// size at once keeps earlier columns' views valid.
std::string_view KenAllLine::withoutCommas(std::string_view text, std::size_t lineSize)
{
    if (joined_.capacity() < lineSize)
        joined_.reserve(lineSize);
    const std::size_t at = joined_.size();
    for (char c : text)
        if (c != ',')
            joined_.push_back(c);
    return std::string_view(joined_).substr(at);
}

std::string_view KenAllLine::column(int number) const
{
    return number >= 1 && number <= count_ ? columns_[std::size_t(number - 1)] : std::string_view{};
}

std::string_view unquote(std::string_view value)
{
    return value.size() < 2 ? std::string_view{} : value.substr(1, value.size() - 2);
}

// ---- the scan ---------------------------------------------------------------------

PostScan::PostScan(std::string_view address, int mode)
    : address_(address), mode_(mode), namesPrefecture_(namesPrefecture(address))
{
}

std::optional<std::string_view> PostScan::cityText(std::string_view prefecture, std::string_view* prefix) const
{
    *prefix = {};
    if (!namesPrefecture_) {
        *prefix = prefecture;
        return address_;
    }
    const std::size_t p = findText(address_, prefecture);
    if (p != npos)
        return address_.substr(p + prefecture.size());
    if (mode_ == 1)
        return std::nullopt;
    // A same-named city of another prefecture may match, but an address
    // that names its prefecture never gains a second one.
    return address_;
}

bool PostScan::feed(std::string_view line)
{
    if (ended_)
        return false;
    if (passedOver(line))
        return true;
    const KenAllLine columns(line);
    return feedColumns(columns);
}

bool PostScan::feedColumns(const KenAllLine& line)
{
    std::string_view prefix;
    const std::optional<std::string_view> text = cityText(unquote(line.column(7)), &prefix);
    const std::string_view city = unquote(line.column(8));
    const std::size_t at = text ? findText(*text, city) : npos;
    if (at == npos) {
        ended_ = cityMatched_;
        return !ended_;
    }
    std::string_view w = text->substr(at + city.size());
    cityMatched_ = true;
    notedPrefecture_ = SjisString(prefix);
    int score = 0;
    for (int number = 9; number <= KenAllLine::kMaxColumns; ++number) {
        const std::string_view town = line.column(number);
        if (town == "0" || town == "1")
            break;
        switch (matchTown(town, w, score)) {
        case Town::Matched:
            continue;
        case Town::Fallback:
            fallback_ = SjisString(unquote(line.column(3)));
            return true;
        case Town::Failed:
            return true;
        }
    }
    if (score > bestScore_) {
        bestScore_ = score;
        best_ = SjisString(unquote(line.column(3)));
    }
    return true;
}

PostScan::Town PostScan::matchTown(std::string_view text, std::string_view& w, int& score)
{
    const Words& words = postal::words();
    if (contains(text, words.wholeArea) || text == words.notListed || (contains(text, words.blockNext) && !w.empty()))
        return Town::Fallback;
    const std::string_view name = unquote(text);
    const std::size_t open = findText(name, words.open);
    std::string_view content;
    if (bracketOpen_) {
        // The rest of the previous line's bracket, under its head.
        bracketOpen_ = false;
        content = open == npos ? name : name.substr(open + 2);
    } else if (open == npos) {
        if (!contains(w, name))
            return Town::Failed;
        score += int(name.size());
        return Town::Matched;
    } else {
        head_ = SjisString(name.substr(0, open));
        content = name.substr(open + 2);
        bracketOpen_ = !contains(name, words.close);
    }

    const std::size_t headAt = findText(w, head_);
    if (headAt == npos)
        return Town::Failed;
    if (content == words.others) {
        score += int(head_.size());
        return Town::Matched;
    }
    w = w.substr(headAt);
    content = before(before(content, words.banchi), words.close);

    const std::vector<Part> parts = partsOf(content);
    for (std::size_t i = 0; i < parts.size();) {
        if (parts[i].rangeStart) {
            const int number = numberOf(w.substr(head_.size()));
            const int lower = numberOf(parts[i].text);
            const int upper = i + 1 < parts.size() ? numberOf(parts[i + 1].text) : 0;
            if (lower <= number && number <= upper) {
                score += int(head_.size() + parts[i].text.size());
                return Town::Matched;
            }
            i += 2;
            continue;
        }
        if (contains(w, head_ + SjisString(parts[i].text))) {
            score += int(head_.size() + parts[i].text.size());
            return Town::Matched;
        }
        ++i;
    }
    return Town::Failed;
}

PostReadResult PostScan::result() const
{
    // Reaching the end of the file inside the last city's lines counts as
    // ending there: its fallback code and the prefecture stay. Before any
    // city matched, both are empty.
    PostReadResult r;
    r.code = bestScore_ >= 0 ? best_ : fallback_;
    r.prefecture = notedPrefecture_;
    return r;
}

PostReadResult postReadScan(const std::vector<std::string_view>& lines, std::string_view address, int mode)
{
    PostScan scan(address, mode);
    for (std::string_view line : lines)
        if (!scan.feed(line))
            break;
    return scan.result();
}

// ---- the loaded file --------------------------------------------------------------

KenAllIndex::KenAllIndex(std::string data) : data_(std::move(data))
{
    for (std::string_view line : splitLines(data_))
        if (!passedOver(line))
            lines_.push_back(line);

    std::map<std::string, std::size_t, std::less<>> prefectureAt;
    std::vector<std::unordered_set<std::string>> citiesSeen;
    std::string lastPrefecture, lastCity;
    bool first = true;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const KenAllLine line(lines_[i]);
        const std::string_view prefecture = unquote(line.column(7));
        const std::string_view city = unquote(line.column(8));
        if (!first && prefecture == lastPrefecture && city == lastCity)
            continue;
        first = false;
        lastPrefecture = prefecture;
        lastCity = city;
        auto it = prefectureAt.find(prefecture);
        if (it == prefectureAt.end()) {
            it = prefectureAt.emplace(std::string(prefecture), prefectures_.size()).first;
            prefectures_.push_back({std::string(prefecture), {}});
            citiesSeen.emplace_back();
        }
        if (citiesSeen[it->second].insert(std::string(city)).second)
            prefectures_[it->second].cities.push_back({std::string(city), std::uint32_t(i)});
    }
}

// Lines before the first one whose city matches change nothing in a scan,
// so the scan may start there.
std::optional<std::size_t> KenAllIndex::firstCityLine(const PostScan& scan) const
{
    std::optional<std::size_t> first;
    for (const Prefecture& p : prefectures_) {
        std::string_view prefix;
        const std::optional<std::string_view> text = scan.cityText(p.name, &prefix);
        if (!text)
            continue;
        for (const City& c : p.cities) {
            if (first && c.firstLine >= *first)
                break;
            if (findText(*text, c.name) != npos) {
                first = c.firstLine;
                break;
            }
        }
    }
    return first;
}

PostReadResult KenAllIndex::lookup(std::string_view address, int mode) const
{
    PostScan scan(address, mode);
    if (const auto first = firstCityLine(scan))
        for (std::size_t i = *first; i < lines_.size(); ++i)
            if (!scan.feed(lines_[i]))
                break;
    return scan.result();
}

std::shared_ptr<const KenAllIndex> kenAllIndex(const QString& path)
{
    static std::mutex mutex;
    static QString cachedPath;
    static qint64 cachedSize = -1;
    static QDateTime cachedTime;
    static std::shared_ptr<const KenAllIndex> cached;

    const QFileInfo info(path);
    if (!info.exists())
        return nullptr;
    std::lock_guard lock(mutex);
    const QString absolute = info.absoluteFilePath();
    if (cached && absolute == cachedPath && info.size() == cachedSize && info.lastModified() == cachedTime)
        return cached;

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw FileError(QStringLiteral("%1 を開けません。\r%2").arg(path, file.errorString()));
    std::string data(std::size_t(info.size()), '\0');
    const qint64 read = file.read(data.data(), qint64(data.size()));
    if (read < 0)
        throw FileError(QStringLiteral("%1 を読み込めません。\r%2").arg(path, file.errorString()));
    data.resize(std::size_t(read));
    cached = std::make_shared<const KenAllIndex>(std::move(data));
    cachedPath = absolute;
    cachedSize = info.size();
    cachedTime = info.lastModified();
    return cached;
}

// ---- the PostData rebuild ---------------------------------------------------------

std::vector<SjisString> postDataCells(std::string_view line)
{
    constexpr std::size_t kMaxCells = 50;
    const Words& w = words();
    std::vector<SjisString> cells;
    std::size_t start = 0;
    for (std::size_t comma = line.find(','); comma != npos && cells.size() < kMaxCells;
         comma = line.find(',', start)) {
        std::string_view cell = line.substr(start, comma - start);
        if (cell == w.notListed || contains(cell, w.wholeArea))
            cell = {};
        else if (cell.starts_with('"'))
            cell = unquote(cell);
        cells.emplace_back(cell);
        start = comma + 1;
    }
    if (cells.size() < kMaxCells)
        cells.emplace_back(line.substr(std::min(start, line.size())));
    return cells;
}

std::pair<SjisString, SjisString> postDataRecord(const std::vector<SjisString>& cells, const std::array<int, 4>& columns)
{
    auto cell = [&](int number) {
        return number >= 1 && std::size_t(number) <= cells.size() ? cells[std::size_t(number - 1)] : SjisString();
    };
    return {cell(columns[0]), cell(columns[1]) + cell(columns[2]) + cell(columns[3])};
}

std::vector<std::pair<SjisString, SjisString>> readPostDataFile(const QString& path, const std::array<int, 4>& columns)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw FileError(QStringLiteral("%1 を開けません。\r%2").arg(path, file.errorString()));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw FileError(QStringLiteral("%1 を読み込めません。\r%2").arg(path, file.errorString()));
    std::vector<std::pair<SjisString, SjisString>> rows;
    for (std::string_view line : splitLines(std::string_view(bytes.constData(), std::size_t(bytes.size())))) {
        if (line.starts_with('\x1A'))
            break;  // the end-of-file mark
        rows.push_back(postDataRecord(postDataCells(line), columns));
    }
    return rows;
}

void replacePostData(Table& table, const std::vector<std::pair<SjisString, SjisString>>& rows)
{
    Table::Bulk bulk(table, Table::Bulk::Mode::ReplaceAll);
    for (const auto& [code, address] : rows)
        table.AppendRecord({code, address});
    bulk.commit();
}

}  // namespace postal
