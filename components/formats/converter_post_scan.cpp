#include "components/formats/converter_post_scan.h"

#include "components/formats/settings_file.h"

#include <QFile>
#include <bitset>
#include <optional>
#include <unordered_set>

namespace postal {

namespace {

constexpr auto npos = std::string_view::npos;
constexpr int kReadColumns = 19;

// A line split at every ",": columns 1..19, column 20 always empty.
class Columns {
public:
    explicit Columns(std::string_view line)
    {
        std::size_t start = 0;
        for (int n = 0; n < kReadColumns; ++n) {
            const std::size_t comma = line.find(',', start);
            columns_[std::size_t(n)] = line.substr(start, comma == npos ? npos : comma - start);
            if (comma == npos)
                break;
            start = comma + 1;
            if (n == 8)
                afterTown_ = line.substr(start);
        }
    }
    std::string_view operator[](int number) const { return columns_[std::size_t(number - 1)]; }
    // What follows column 9's ",", or nothing when no "," ends it.
    const std::optional<std::string_view>& afterTown() const { return afterTown_; }

private:
    std::array<std::string_view, kReadColumns + 1> columns_{};
    std::optional<std::string_view> afterTown_;
};

std::size_t characterSize(std::string_view text, std::size_t at)
{
    return sjis::isLeadByte(static_cast<unsigned char>(text[at])) && at + 1 < text.size() ? 2 : 1;
}

// A byte-wise find first: most texts do not occur at all, and most that
// do occur at a character.
bool occurs(std::string_view address, std::string_view text)
{
    if (text.empty())
        return false;
    const std::size_t at = address.find(text);
    if (at == npos)
        return false;
    return at == 0 || sjis::isCharacterStart(address, at) || sjis::findCharacters(address, text, at) != npos;
}

// Where the names beginning with these bytes are kept: their first two
// bytes, or the only one.
std::uint32_t startKey(std::string_view text)
{
    const auto b0 = static_cast<unsigned char>(text[0]);
    return text.size() >= 2 ? (std::uint32_t(b0) << 8 | static_cast<unsigned char>(text[1])) : 0x10000u | b0;
}

const SjisString& notListed()
{
    static const SjisString text = sj("\"以下に掲載がない場合\"");
    return text;
}

// The two-byte starts of the characters of an address: a text of two
// bytes or more whose first two are not among them does not occur.
class CharacterStarts {
public:
    explicit CharacterStarts(std::string_view address)
    {
        for (std::size_t p = 0; p + 1 < address.size(); p += characterSize(address, p))
            starts_.set(key(address.substr(p)));
    }
    bool mayHold(std::string_view text) const { return text.size() < 2 || starts_.test(key(text)); }
    bool has(std::size_t key) const { return starts_.test(key); }

    static std::size_t key(std::string_view text)
    {
        return std::size_t(static_cast<unsigned char>(text[0])) << 8 | static_cast<unsigned char>(text[1]);
    }

private:
    std::bitset<0x10000> starts_;
};

// Whether a line of `prefecture` may enter its city: only the prefecture
// the address names, or, when it names none, any outside mode 1.
bool passesPrefecture(const std::optional<NamedPrefecture>& named, int mode, std::string_view prefecture)
{
    return named ? prefecture == prefectureNames()[named->number] : mode != 1;
}

class Scan {
public:
    // `starts`, when given, are the address's and let a town be passed
    // over without a search.
    Scan(std::string_view address, int mode, const CharacterStarts* starts = nullptr)
        : address_(address), mode_(mode), named_(namedPrefecture(address)), starts_(starts)
    {
    }

    // False when the scan ends at this line.
    bool feed(std::string_view line)
    {
        const Columns c(line);
        return feed(unquote(c[3]), unquote(c[7]), unquote(c[8]), [&](int n) { return c[n]; });
    }

    // The same with the line's columns given: the code, prefecture and city
    // unquoted, and `column(n)` giving town column n (9..20) as it stands.
    template <class Column>
    bool feed(std::string_view code, std::string_view prefecture, std::string_view city, Column column)
    {
        if (!tested_ || prefecture != testedPrefecture_ || city != testedCity_) {
            tested_ = true;
            testedPrefecture_ = prefecture;
            testedCity_ = city;
            passes_ = passesPrefecture(named_, mode_, prefecture) && occurs(address_, city);
        }
        if (!passes_)
            return !entered_;
        entered_ = true;
        if (mode_ != 1 && !named_)
            prefix_ = prefecture;
        for (int n = 9; n <= kReadColumns + 1; ++n) {
            const std::string_view town = column(n);
            if (town == "0") {
                code_ = code;
                return false;
            }
            if (town == notListed()) {
                code_ = code;
                return true;
            }
            const std::string_view name = unquote(town);
            if ((starts_ && !starts_->mayHold(name)) || !occurs(address_, name))
                return true;
        }
        return true;
    }

    PostReadResult result() const { return {SjisString(code_), SjisString(prefix_)}; }
    const std::optional<NamedPrefecture>& named() const { return named_; }

private:
    std::string_view address_;
    int mode_;
    std::optional<NamedPrefecture> named_;
    const CharacterStarts* starts_;
    bool entered_ = false;
    std::string_view code_, prefix_;
    // The last line's prefecture and city, and what the tests gave for them.
    bool tested_ = false, passes_ = false;
    std::string_view testedPrefecture_, testedCity_;
};

}  // namespace

PostReadResult converterPostScan(const std::vector<std::string_view>& lines, std::string_view address, int mode)
{
    Scan scan(address, mode);
    for (std::string_view line : lines)
        if (!scan.feed(line))
            break;
    return scan.result();
}

namespace {

// A line's summary for the look-up: the first two bytes of its unquoted
// column 9, whether the line must be fed whatever the address holds, and
// whether its prefecture and city are the previous line's.
constexpr std::uint32_t kKeyBits = 0xFFFF, kMustFeed = 1u << 16, kSameCity = 1u << 17;

std::uint32_t summary(std::string_view town, bool sameCity)
{
    const std::string_view name = unquote(town);
    const bool mustFeed = town == "0" || town == notListed() || name.size() < 2;
    return (mustFeed ? kMustFeed : std::uint32_t(CharacterStarts::key(name))) | (sameCity ? kSameCity : 0);
}

}  // namespace

ConverterKenAll::ConverterKenAll(std::string data) : data_(std::move(data)), lines_(splitLines(data_))
{
    std::unordered_map<std::string_view, std::uint32_t> ids;
    std::vector<std::unordered_set<std::string_view>> seen;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const Columns c(lines_[i]);
        const std::string_view prefecture = unquote(c[7]), city = unquote(c[8]);
        const bool sameCity = i > 0 && columns_.back().prefecture == prefecture && columns_.back().city == city;
        columns_.push_back({unquote(c[3]), prefecture, city, c[9], c.afterTown().value_or(std::string_view()),
                            c.afterTown().has_value()});
        summaries_.push_back(summary(c[9], sameCity));
        if (city.empty())
            continue;
        auto [it, added] = ids.emplace(city, std::uint32_t(cities_.size()));
        if (added) {
            cities_.push_back(city);
            cityEntries_.emplace_back();
            seen.emplace_back();
            byStart_[startKey(city)].push_back(it->second);
        }
        if (seen[it->second].insert(prefecture).second)
            cityEntries_[it->second].push_back({std::uint32_t(i), prefecture});
    }
}

// The first line that passes the city and prefecture tests, or npos: the
// smallest first line of a city the address holds in a prefecture that
// passes.
std::size_t ConverterKenAll::firstLine(std::string_view address, int mode,
                                       const std::optional<NamedPrefecture>& named) const
{
    std::size_t best = npos;
    auto visit = [&](std::string_view rest, std::uint32_t key) {
        const auto bucket = byStart_.find(key);
        if (bucket == byStart_.end())
            return;
        for (std::uint32_t id : bucket->second) {
            if (!rest.starts_with(cities_[id]))
                continue;
            for (const Entry& e : cityEntries_[id]) {
                if (e.line >= best)
                    break;
                if (passesPrefecture(named, mode, e.prefecture)) {
                    best = e.line;
                    break;
                }
            }
        }
    };
    for (std::size_t p = 0; p < address.size(); p += characterSize(address, p)) {
        const std::string_view rest = address.substr(p);
        if (rest.size() >= 2)
            visit(rest, startKey(rest.substr(0, 2)));
        visit(rest, startKey(rest.substr(0, 1)));
    }
    return best;
}

PostReadResult ConverterKenAll::lookup(std::string_view address, int mode) const
{
    const CharacterStarts starts(address);
    Scan scan(address, mode, &starts);
    const std::size_t first = firstLine(address, mode, scan.named());
    if (first == npos)
        return {};
    for (std::size_t i = first; i < lines_.size(); ++i) {
        // A line of the entered city whose column 9 the address cannot hold
        // changes nothing and lets the scan go on.
        const std::uint32_t s = summaries_[i];
        if (i > first && (s & kSameCity) && !(s & kMustFeed) && !starts.has(s & kKeyBits))
            continue;
        const Line& line = columns_[i];
        std::array<std::string_view, kReadColumns + 1> towns{};
        bool split = false;
        auto column = [&](int n) {
            if (n == 9)
                return line.town;
            if (!split && line.hasRest) {
                // Columns 10..19 of the rest, split only when a town matched.
                std::size_t start = 0;
                for (int k = 10; k <= kReadColumns; ++k) {
                    const std::size_t comma = line.rest.find(',', start);
                    towns[std::size_t(k)] = line.rest.substr(start, comma == npos ? npos : comma - start);
                    if (comma == npos)
                        break;
                    start = comma + 1;
                }
            }
            split = true;
            return n <= kReadColumns ? towns[std::size_t(n)] : std::string_view();
        };
        if (!scan.feed(line.code, line.prefecture, line.city, column))
            break;
    }
    return scan.result();
}

std::unique_ptr<ConverterKenAll> ConverterKenAll::read(const QString& path)
{
    QFile file(path);
    if (!file.exists())
        return nullptr;
    if (!file.open(QIODevice::ReadOnly))
        throw FileError(QStringLiteral("%1 を開けません。\r%2").arg(path, file.errorString()));
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw FileError(QStringLiteral("%1 を読み込めません。\r%2").arg(path, file.errorString()));
    return std::make_unique<ConverterKenAll>(std::string(data.constData(), std::size_t(data.size())));
}

}  // namespace postal
