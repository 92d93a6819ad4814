#include "components/formats/post_read.h"

#include "components/core/data_directory.h"
#include "components/core/japanese_text.h"
#include "components/core/table.h"
#include "components/formats/settings_file.h"

#include <QFile>
#include <QFileInfo>
#include <QDateTime>
#include <algorithm>
#include <bitset>
#include <cstring>
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

bool continuesCharacter(unsigned char b) { return (b >= 0x7F && b <= 0xA0) || b >= 0xE0; }

bool passedOver(std::string_view line)
{
    return line.empty() || line == "\x1A" || line.size() > KenAllLine::kMaxBytes;
}

}  // namespace

const std::vector<SjisString>& prefectureNames()
{
    static const std::vector<SjisString> names = [] {
        std::vector<SjisString> list;
        for (const char* name :
             {"北海道", "青森県", "岩手県", "宮城県", "秋田県", "山形県", "福島県", "茨城県", "栃木県", "群馬県",
              "埼玉県", "千葉県", "東京都", "神奈川県", "新潟県", "富山県", "石川県", "福井県", "山梨県", "長野県",
              "岐阜県", "静岡県", "愛知県", "三重県", "滋賀県", "京都府", "大阪府", "兵庫県", "奈良県", "和歌山県",
              "鳥取県", "島根県", "岡山県", "広島県", "山口県", "徳島県", "香川県", "愛媛県", "高知県", "福岡県",
              "佐賀県", "長崎県", "熊本県", "大分県", "宮崎県", "鹿児島県", "沖縄県"})
            list.push_back(sj(name));
        return list;
    }();
    return names;
}

namespace {

std::uint16_t firstCharacter(std::string_view text)
{
    return std::uint16_t(std::uint8_t(text[0]) << 8 | std::uint8_t(text[1]));
}

// The number of the prefecture whose name starts `text`, if one does.
std::optional<std::size_t> prefectureAtStart(std::string_view text)
{
    // Most characters start no name: their two bytes alone say so.
    static const std::bitset<0x10000> firstCharacters = [] {
        std::bitset<0x10000> set;
        for (const SjisString& name : prefectureNames())
            set.set(firstCharacter(name));
        return set;
    }();
    if (text.size() < 2 || !firstCharacters.test(firstCharacter(text)))
        return std::nullopt;
    const std::vector<SjisString>& names = prefectureNames();
    for (std::size_t n = 0; n < names.size(); ++n)
        if (firstCharacter(names[n]) == firstCharacter(text) && text.starts_with(names[n]))
            return n;
    return std::nullopt;
}

}  // namespace

std::optional<NamedPrefecture> namedPrefecture(std::string_view address)
{
    for (std::size_t i = 0; i < address.size(); i += (sjis::isLeadByte(address[i]) && i + 1 < address.size()) ? 2 : 1)
        if (const std::optional<std::size_t> n = prefectureAtStart(address.substr(i)))
            return NamedPrefecture{*n, i + prefectureNames()[*n].size()};
    return std::nullopt;
}

bool beginsWithPrefecture(std::string_view address)
{
    const SjisString& wideBlank = words().wideBlank;
    for (;;) {
        if (address.starts_with(' ') || address.starts_with('\t'))
            address.remove_prefix(1);
        else if (address.starts_with(wideBlank))
            address.remove_prefix(wideBlank.size());
        else
            return prefectureAtStart(address).has_value();
    }
}

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

// What the search needs of a town column before it sees an address.
struct TownShape {
    static constexpr std::uint32_t kNoBracket = 0xFFFFFFFF;
    enum class Fallback : std::uint8_t { Never, Always, WhenFollowed };

    TownShape() = default;
    // `town` as the line holds it, in quotes.
    explicit TownShape(std::string_view town);

    std::uint32_t open = kNoBracket;  // where "（" starts in the unquoted name
    Fallback fallback = Fallback::Never;
    bool closes = false;  // the unquoted name holds "）"
};

// Which short byte sequences a text holds at any offset: a quick and sure
// "no" before a search for a name in the text or in a part of it.
class ByteWindows {
public:
    explicit ByteWindows(std::string_view text);
    bool mayHold(std::string_view needle) const;

private:
    void set(std::uint32_t bit) { bits_[bit >> 6] |= std::uint64_t(1) << (bit & 63); }
    bool has(std::uint32_t bit) const { return (bits_[bit >> 6] >> (bit & 63)) & 1; }

    std::array<std::uint64_t, 100> bits_{};
};

TownShape::TownShape(std::string_view town)
{
    const Words& w = words();
    if (contains(town, w.wholeArea) || town == w.notListed)
        fallback = Fallback::Always;
    else if (contains(town, w.blockNext))
        fallback = Fallback::WhenFollowed;
    const std::string_view name = unquote(town);
    const std::size_t at = findText(name, w.open);
    open = at == npos ? kNoBracket : std::uint32_t(at);
    closes = contains(name, w.close);
}

namespace {

// Bits of the windows: 4096 for four bytes, 2048 for two, 256 for one.
constexpr std::uint32_t kTwoBytes = 4096, kOneByte = kTwoBytes + 2048;

template <class T>
std::uint32_t load(std::string_view text, std::size_t at)
{
    T x;
    std::memcpy(&x, text.data() + at, sizeof x);
    return x;
}

std::uint32_t fourBytes(std::string_view text, std::size_t at) { return (load<std::uint32_t>(text, at) * 0x9E3779B1u) >> 20; }
std::uint32_t twoBytes(std::string_view text, std::size_t at) { return kTwoBytes + ((load<std::uint16_t>(text, at) * 0x9E3779B1u) >> 21); }

}  // namespace

ByteWindows::ByteWindows(std::string_view text)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        set(kOneByte + std::uint8_t(text[i]));
        if (i + 2 <= text.size())
            set(twoBytes(text, i));
        if (i + 4 <= text.size())
            set(fourBytes(text, i));
    }
}

bool ByteWindows::mayHold(std::string_view needle) const
{
    if (needle.size() >= 4) {
        // Every window of the needle stands in the text: try both ends and the middle.
        const std::size_t last = needle.size() - 4;
        return has(fourBytes(needle, 0)) && has(fourBytes(needle, last)) && has(fourBytes(needle, last / 2));
    }
    if (needle.size() >= 2)
        return has(twoBytes(needle, 0));
    return needle.empty() || has(kOneByte + std::uint8_t(needle[0]));
}

PostScan::PostScan(std::string_view address) : PostScan(address, nullptr) {}

PostScan::PostScan(std::string_view address, const ByteWindows* windows)
    : address_(address), named_(namedPrefecture(address)), windows_(windows)
{
}

std::optional<std::string_view> PostScan::cityText(std::string_view prefecture, std::string_view* prefix) const
{
    *prefix = {};
    if (!named_) {
        *prefix = prefecture;
        return address_;
    }
    if (prefecture != prefectureNames()[named_->number])
        return std::nullopt;
    return address_.substr(named_->end);
}

std::optional<std::string_view> PostScan::afterCity(std::string_view prefecture, std::string_view city,
                                                    std::string_view* prefix) const
{
    const std::optional<std::string_view> text = cityText(prefecture, prefix);
    const std::size_t at = text ? findText(*text, city) : npos;
    if (at == npos)
        return std::nullopt;
    return text->substr(at + city.size());
}

bool PostScan::missCity()
{
    ended_ = cityMatched_;
    return !ended_;
}

void PostScan::enterCity(std::string_view prefix)
{
    cityMatched_ = true;
    notedPrefecture_.assign(prefix);
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
    const std::optional<std::string_view> w = afterCity(unquote(line.column(7)), unquote(line.column(8)), &prefix);
    if (!w)
        return missCity();
    enterCity(prefix);
    const std::string_view code = unquote(line.column(3));
    std::string_view rest = *w;
    int score = 0;
    for (int number = 9; number <= KenAllLine::kMaxColumns; ++number) {
        const std::string_view town = line.column(number);
        if (town == "0" || town == "1")
            break;
        switch (matchTown(town, TownShape(town), rest, score)) {
        case Town::Matched:
            continue;
        case Town::Fallback:
            fallback_.assign(code);
            return true;
        case Town::Failed:
            return true;
        }
    }
    scoreLine(score, code);
    return true;
}

void PostScan::feedTown(std::string_view town, const TownShape& shape, std::string_view w, std::string_view code)
{
    int score = 0;
    switch (matchTown(town, shape, w, score)) {
    case Town::Matched:
        scoreLine(score, code);
        break;
    case Town::Fallback:
        fallback_.assign(code);
        break;
    case Town::Failed:
        break;
    }
}

void PostScan::scoreLine(int score, std::string_view code)
{
    if (score > bestScore_) {
        bestScore_ = score;
        best_.assign(code);
    }
}

// findText, with the index's sure "no" and the place it already knows first.
std::size_t PostScan::find(std::string_view w, std::string_view needle) const
{
    if (!windows_)
        return findText(w, needle);
    if (w.data() == knownIn_.data() && w.size() == knownIn_.size() && needle == known_)
        return knownAt_;
    return windows_->mayHold(needle) ? findText(w, needle) : npos;
}

PostScan::Town PostScan::matchTown(std::string_view text, const TownShape& shape, std::string_view& w, int& score)
{
    if (shape.fallback == TownShape::Fallback::Always || (shape.fallback == TownShape::Fallback::WhenFollowed && !w.empty()))
        return Town::Fallback;
    const std::string_view name = unquote(text);
    const bool hasOpen = shape.open != TownShape::kNoBracket;
    std::string_view content;
    if (bracketOpen_) {
        // The rest of the previous line's bracket, under its head.
        bracketOpen_ = false;
        content = hasOpen ? name.substr(shape.open + 2u) : name;
    } else if (!hasOpen) {
        if (find(w, name) == npos)
            return Town::Failed;
        score += int(name.size());
        return Town::Matched;
    } else {
        head_.assign(name.substr(0, shape.open));
        content = name.substr(shape.open + 2u);
        bracketOpen_ = !shape.closes;
    }

    const std::size_t headAt = find(w, head_);
    if (headAt == npos)
        return Town::Failed;
    const Words& words = postal::words();
    if (content == words.others) {
        score += int(head_.size());
        return Town::Matched;
    }
    w = w.substr(headAt);
    return parts(before(before(content, words.banchi), words.close), w, score) ? Town::Matched : Town::Failed;
}

// A bracket's content divided at "～", "、" and "・": a part or a range of
// two parts matches.
bool PostScan::parts(std::string_view content, std::string_view w, int& score)
{
    const Words& words = postal::words();
    std::string_view pending;  // a range's lower bound
    bool inRange = false;
    auto part = [&](std::string_view text, bool rangeStart) {
        if (inRange) {
            inRange = false;
            const int number = numberOf(w.substr(head_.size()));
            if (numberOf(pending) <= number && number <= numberOf(text)) {
                score += int(head_.size() + pending.size());
                return true;
            }
            return false;
        }
        if (rangeStart) {
            inRange = true;
            pending = text;
            return false;
        }
        needle_.assign(head_).append(text);
        if (find(w, needle_) == npos)
            return false;
        score += int(head_.size() + text.size());
        return true;
    };
    std::size_t start = 0, i = 0;
    const char marks[] = {words.tilde[0], words.comma[0], words.dot[0]};
    while (i < content.size()) {
        const std::string_view rest = content.substr(i);
        const bool mark = std::find(std::begin(marks), std::end(marks), content[i]) != std::end(marks);
        const bool tilde = mark && rest.starts_with(words.tilde);
        if (tilde || (mark && (rest.starts_with(words.comma) || rest.starts_with(words.dot)))) {
            if (part(content.substr(start, i - start), tilde))
                return true;
            i += 2;
            start = i;
            continue;
        }
        i += (sjis::isLeadByte(content[i]) && i + 1 < content.size()) ? 2 : 1;
    }
    return part(content.substr(start), false);
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

PostReadResult postReadScan(const std::vector<std::string_view>& lines, std::string_view address, int)
{
    PostScan scan(address);
    for (std::string_view line : lines)
        if (!scan.feed(line))
            break;
    return scan.result();
}

// ---- the loaded file --------------------------------------------------------------

namespace {

constexpr std::uint32_t kNone = 0xFFFFFFFF;

std::size_t stepAt(std::string_view text, std::size_t i)
{
    return (sjis::isLeadByte(text[i]) && i + 1 < text.size()) ? 2 : 1;
}

// True when `part` is a view into `text` (not a column KenAllLine joined).
bool within(std::string_view text, std::string_view part)
{
    const auto at = reinterpret_cast<std::uintptr_t>(part.data()), from = reinterpret_cast<std::uintptr_t>(text.data());
    return part.empty() || (at >= from && at + part.size() <= from + text.size());
}

template <class T>
std::size_t bytesOf(const std::vector<T>& v)
{
    return v.capacity() * sizeof(T);
}

}  // namespace

// Names in a trie of bytes; a walk from every character start of a text
// finds each name the text holds, as findText would.
class KenAllIndex::NameTrie {
public:
    explicit NameTrie(const std::vector<std::string>& names)
    {
        std::vector<std::map<std::uint8_t, std::uint32_t>> children(1);
        nodes_.push_back({});
        for (std::uint32_t id = 0; id < names.size(); ++id) {
            std::uint32_t node = 0;
            for (char c : names[id]) {
                const auto [it, added] = children[node].emplace(std::uint8_t(c), std::uint32_t(nodes_.size()));
                node = it->second;
                if (added) {
                    children.emplace_back();
                    nodes_.push_back({});
                }
            }
            nodes_[node].name = id;
        }
        for (std::size_t n = 0; n < nodes_.size(); ++n) {
            nodes_[n].firstEdge = std::uint32_t(edges_.size());
            for (auto [byte, child] : children[n])
                edges_.push_back({byte, child});
            nodes_[n].endEdge = std::uint32_t(edges_.size());
        }
        for (auto [byte, child] : children[0])
            rootChildren_[byte] = child;
    }

    // Calls found(name, at) for each name the text holds at a character
    // start, by place; the empty name at 0 only.
    template <class Found>
    void walk(std::string_view text, Found&& found) const
    {
        if (nodes_[0].name != kNone)
            found(nodes_[0].name, std::size_t(0));
        for (std::size_t i = 0; i < text.size(); i += stepAt(text, i)) {
            std::uint32_t node = rootChildren_[std::uint8_t(text[i])];
            for (std::size_t j = i + 1; node != 0; node = j < text.size() ? child(node, text[j++]) : 0)
                if (nodes_[node].name != kNone)
                    found(nodes_[node].name, i);
        }
    }

    std::size_t bytes() const { return sizeof(*this) + bytesOf(nodes_) + bytesOf(edges_); }

private:
    struct Node {
        std::uint32_t firstEdge = 0, endEdge = 0, name = kNone;
    };
    struct Edge {
        std::uint8_t byte;
        std::uint32_t node;
    };

    std::uint32_t child(std::uint32_t node, char c) const
    {
        const auto first = edges_.begin() + nodes_[node].firstEdge, end = edges_.begin() + nodes_[node].endEdge;
        const auto it = std::lower_bound(first, end, std::uint8_t(c), [](const Edge& e, std::uint8_t b) { return e.byte < b; });
        return it != end && it->byte == std::uint8_t(c) ? it->node : 0;
    }

    std::vector<Node> nodes_;
    std::vector<Edge> edges_;
    std::array<std::uint32_t, 256> rootChildren_{};  // 0: none (the root is no child)
};

// A line's columns as the search reads them. A regular line has one town
// column (column 10 is "0" or "1") and its code and town stand in the line
// as they are; any other line is read by the scan as a whole.
struct KenAllIndex::Line {
    std::uint16_t code = 0, codeSize = 0, town = 0, townSize = 0;  // places in the line
    TownShape shape;
    bool regular = false;
    bool continues = false;  // reads the rest of the bracket the line before left open
};

// A run of lines of one prefecture and city. Read from its first line with
// no bracket open and something after the city (or no town that needs it),
// a line can only score when the address holds its needle: its town's name,
// or the head of its bracket. Lines that fall back do so whatever the
// address holds.
struct KenAllIndex::Block {
    std::uint32_t prefecture = 0, city = 0;
    std::uint32_t first = 0, end = 0;  // its lines
    std::uint32_t needles = 0, needlesEnd = 0;
    std::uint32_t lastFallback = kNone;  // the last line that falls back
    std::uint32_t openHead = kNone;      // the line whose bracket stays open after the block
    bool whole = false;                  // every line regular: the needles stand for the lines
    bool followed = false;               // a town falls back only when something follows the city
};

// A name or bracket head in the town column of `line`, and the lines that
// need it.
struct KenAllIndex::Needle {
    std::uint32_t line = 0;
    std::uint16_t at = 0, size = 0;  // in the line
    std::uint32_t candidates = 0, candidatesEnd = 0;
};

struct KenAllIndex::Candidate {
    std::string_view needle;
    std::uint32_t source, line;  // the line that holds the needle, the line that needs it
};

KenAllIndex::KenAllIndex(std::string data) : data_(std::move(data))
{
    for (std::string_view line : splitLines(data_))
        if (!passedOver(line))
            lines_.push_back(line);

    std::map<std::string, std::uint32_t, std::less<>> prefectureIds, cityIds;
    auto idOf = [](auto& ids, std::vector<std::string>& names, std::string_view name) {
        auto it = ids.find(name);
        if (it == ids.end()) {
            it = ids.emplace(std::string(name), std::uint32_t(names.size())).first;
            names.emplace_back(name);
        }
        return it->second;
    };
    std::unordered_set<std::uint64_t> pairs;
    std::string lastPrefecture, lastCity;
    columns_.reserve(lines_.size());
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const std::string_view text = lines_[i];
        const KenAllLine line(text);
        const std::string_view prefecture = unquote(line.column(7)), city = unquote(line.column(8));
        if (blocks_.empty() || prefecture != lastPrefecture || city != lastCity) {
            lastPrefecture = prefecture;
            lastCity = city;
            Block& b = blocks_.emplace_back();
            b.prefecture = idOf(prefectureIds, prefectures_, prefecture);
            b.city = idOf(cityIds, cities_, city);
            b.first = std::uint32_t(i);
            citySeen_.resize(cities_.size());
            if (pairs.insert(std::uint64_t(b.prefecture) << 32 | b.city).second)
                citySeen_[b.city].push_back({b.prefecture, std::uint32_t(blocks_.size() - 1)});
        }
        blocks_.back().end = std::uint32_t(i + 1);
        Line& l = columns_.emplace_back();
        const std::string_view code = unquote(line.column(3)), town = line.column(9), next = line.column(10);
        l.regular = (next == "0" || next == "1") && town != "0" && town != "1" && within(text, code) && within(text, town);
        if (l.regular) {
            l.code = code.empty() ? 0 : std::uint16_t(code.data() - text.data());
            l.codeSize = std::uint16_t(code.size());
            l.town = town.empty() ? 0 : std::uint16_t(town.data() - text.data());
            l.townSize = std::uint16_t(town.size());
            l.shape = TownShape(town);
        }
    }
    std::vector<Candidate> candidates;
    for (Block& b : blocks_)
        summarize(b, candidates);
    for (const SjisString& name : prefectureNames()) {
        const auto it = prefectureIds.find(name);
        namedIds_.push_back(it == prefectureIds.end() ? kNone : it->second);
    }
    cityTrie_ = std::make_unique<NameTrie>(cities_);
}

KenAllIndex::~KenAllIndex() = default;

// The block's needles and fallbacks, following the brackets as matchTown
// does from a block entered with no bracket open and text after the city.
void KenAllIndex::summarize(Block& b, std::vector<Candidate>& candidates)
{
    b.whole = std::all_of(columns_.begin() + b.first, columns_.begin() + b.end, [](const Line& l) { return l.regular; });
    if (!b.whole)
        return;
    candidates.clear();
    std::string_view head;
    for (std::uint32_t i = b.first; i < b.end; ++i) {
        Line& line = columns_[i];
        if (line.shape.fallback != TownShape::Fallback::Never) {
            b.lastFallback = i;
            b.followed = b.followed || line.shape.fallback == TownShape::Fallback::WhenFollowed;
            continue;
        }
        const std::string_view name = unquote(town(i));
        if (b.openHead != kNone) {
            line.continues = true;
            candidates.push_back({head, b.openHead, i});
            b.openHead = kNone;
        } else if (line.shape.open == TownShape::kNoBracket) {
            candidates.push_back({name, i, i});
        } else {
            head = name.substr(0, line.shape.open);
            b.openHead = line.shape.closes ? kNone : i;
            candidates.push_back({head, i, i});
        }
    }
    std::stable_sort(candidates.begin(), candidates.end(),
                     [](const Candidate& x, const Candidate& y) { return x.needle < y.needle; });
    b.needles = std::uint32_t(needles_.size());
    for (std::size_t k = 0; k < candidates.size();) {
        const Candidate& c = candidates[k];
        Needle& n = needles_.emplace_back();
        n.line = c.source;
        n.at = c.needle.empty() ? 0 : std::uint16_t(c.needle.data() - lines_[c.source].data());
        n.size = std::uint16_t(c.needle.size());
        n.candidates = std::uint32_t(candidates_.size());
        for (; k < candidates.size() && candidates[k].needle == c.needle; ++k)
            candidates_.push_back(candidates[k].line);
        n.candidatesEnd = std::uint32_t(candidates_.size());
    }
    b.needlesEnd = std::uint32_t(needles_.size());
}

std::string_view KenAllIndex::town(std::size_t line) const
{
    return lines_[line].substr(columns_[line].town, columns_[line].townSize);
}

std::string_view KenAllIndex::code(std::size_t line) const
{
    return lines_[line].substr(columns_[line].code, columns_[line].codeSize);
}

std::size_t KenAllIndex::indexBytes() const
{
    std::size_t bytes = bytesOf(lines_) + bytesOf(columns_) + bytesOf(blocks_) + bytesOf(needles_) +
                        bytesOf(candidates_) + bytesOf(citySeen_) + bytesOf(namedIds_) + cityTrie_->bytes();
    for (const auto* names : {&prefectures_, &cities_}) {
        bytes += bytesOf(*names);
        for (const std::string& name : *names)
            bytes += name.capacity() + 1 > sizeof(std::string) ? name.capacity() + 1 : 0;
    }
    for (const std::vector<Seen>& seen : citySeen_)
        bytes += bytesOf(seen);
    return bytes;
}

// Lines before the first one whose city matches change nothing in a scan,
// so the scan may start at its block: the first block of a city that the
// address holds, in any prefecture; or, when the address names its
// prefecture, the first block of that prefecture whose city the address
// holds after the name.
std::optional<std::size_t> KenAllIndex::firstBlock(const PostScan& scan) const
{
    std::uint32_t first = kNone;
    if (!scan.named_) {
        cityTrie_->walk(scan.address_, [&](std::uint32_t city, std::size_t) {
            first = std::min(first, citySeen_[city].front().block);
        });
    } else if (const std::uint32_t prefecture = namedIds_[scan.named_->number]; prefecture != kNone) {
        cityTrie_->walk(scan.address_.substr(scan.named_->end), [&](std::uint32_t city, std::size_t) {
            for (const Seen& seen : citySeen_[city])
                if (seen.prefecture == prefecture) {
                    first = std::min(first, seen.block);
                    break;
                }
        });
    }
    return first == kNone ? std::nullopt : std::optional<std::size_t>(first);
}

// The scan from block `k` on: the city test once per block, then its lines.
void KenAllIndex::scanFrom(PostScan& scan, std::size_t k) const
{
    for (; k < blocks_.size(); ++k) {
        const Block& b = blocks_[k];
        std::string_view prefix;
        const std::optional<std::string_view> w = scan.afterCity(prefectures_[b.prefecture], cities_[b.city], &prefix);
        if (!w) {
            if (!scan.missCity())
                return;
            continue;
        }
        scan.enterCity(prefix);
        if (b.whole && !scan.bracketOpen_ && !(b.followed && w->empty()))
            readBlock(scan, b, *w);
        else
            walkBlock(scan, b, *w);
    }
}

// Every line in turn: a regular one from its columns, any other whole.
void KenAllIndex::walkBlock(PostScan& scan, const Block& b, std::string_view w) const
{
    for (std::size_t i = b.first; i < b.end; ++i) {
        if (columns_[i].regular)
            scan.feedTown(town(i), columns_[i].shape, w, code(i));
        else
            scan.feed(lines_[i]);
    }
}

// The lines whose needle the address holds, each from the bracket state the
// walk would reach it in; then the state the walk would leave.
void KenAllIndex::readBlock(PostScan& scan, const Block& b, std::string_view w) const
{
    int bestScore = -1;
    std::uint32_t bestLine = kNone;
    for (std::uint32_t k = b.needles; k < b.needlesEnd; ++k) {
        const Needle& n = needles_[k];
        const std::string_view needle = lines_[n.line].substr(n.at, n.size);
        const std::size_t at = scan.find(w, needle);
        if (at == npos)
            continue;
        // Its lines search for it again: a bracket's head first.
        scan.knownIn_ = w;
        scan.known_ = needle;
        scan.knownAt_ = at;
        for (std::uint32_t c = n.candidates; c < n.candidatesEnd; ++c) {
            const std::uint32_t i = candidates_[c];
            const Line& line = columns_[i];
            scan.bracketOpen_ = line.continues;
            if (line.continues)
                scan.head_.assign(needle);
            std::string_view rest = w;
            int score = 0;
            if (scan.matchTown(town(i), line.shape, rest, score) == PostScan::Town::Matched &&
                (score > bestScore || (score == bestScore && i < bestLine))) {
                bestScore = score;
                bestLine = i;
            }
        }
    }
    if (b.lastFallback != kNone)
        scan.fallback_.assign(code(b.lastFallback));
    if (bestLine != kNone)
        scan.scoreLine(bestScore, code(bestLine));
    scan.bracketOpen_ = b.openHead != kNone;
    if (scan.bracketOpen_)
        scan.head_.assign(unquote(town(b.openHead)).substr(0, columns_[b.openHead].shape.open));
}

PostReadResult KenAllIndex::lookup(std::string_view address, int) const
{
    const ByteWindows windows(address);
    PostScan scan(address, &windows);
    if (const std::optional<std::size_t> first = firstBlock(scan))
        scanFrom(scan, *first);
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
