#include "components/formats/converter_post_scan.h"

#include "components/formats/settings_file.h"

#include <QFile>
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
        }
    }
    std::string_view operator[](int number) const { return columns_[std::size_t(number - 1)]; }

private:
    std::array<std::string_view, kReadColumns + 1> columns_{};
};

std::size_t characterSize(std::string_view text, std::size_t at)
{
    return sjis::isLeadByte(static_cast<unsigned char>(text[at])) && at + 1 < text.size() ? 2 : 1;
}

bool occurs(std::string_view address, std::string_view text)
{
    return !text.empty() && sjis::findCharacters(address, text) != npos;
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

class Scan {
public:
    Scan(std::string_view address, int mode) : address_(address), mode_(mode) {}

    // False when the scan ends at this line.
    bool feed(std::string_view line)
    {
        const Columns c(line);
        const std::string_view prefecture = unquote(c[7]);
        const bool prefectureOccurs = occurs(address_, prefecture);
        if ((mode_ == 1 && !prefectureOccurs) || !occurs(address_, unquote(c[8])))
            return !entered_;
        entered_ = true;
        if (mode_ != 1)
            prefix_ = prefectureOccurs ? std::string_view() : prefecture;
        for (int n = 9; n <= kReadColumns + 1; ++n) {
            const std::string_view town = c[n];
            if (town == "0") {
                code_ = unquote(c[3]);
                return false;
            }
            if (town == notListed()) {
                code_ = unquote(c[3]);
                return true;
            }
            if (!occurs(address_, unquote(town)))
                return true;
        }
        return true;
    }

    PostReadResult result() const { return {SjisString(code_), SjisString(prefix_)}; }

private:
    std::string_view address_;
    int mode_;
    bool entered_ = false;
    std::string_view code_, prefix_;
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

ConverterKenAll::ConverterKenAll(std::string data) : data_(std::move(data)), lines_(splitLines(data_))
{
    std::unordered_map<std::string_view, std::uint32_t> ids;
    std::vector<std::unordered_set<std::string_view>> seen;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const Columns c(lines_[i]);
        const std::string_view prefecture = unquote(c[7]), city = unquote(c[8]);
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

// The first line that passes the city test (and in mode 1 the prefecture
// test), or npos: the smallest first line of a city the address holds.
std::size_t ConverterKenAll::firstLine(std::string_view address, int mode) const
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
                if (mode != 1 || occurs(address, e.prefecture)) {
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
    const std::size_t first = firstLine(address, mode);
    Scan scan(address, mode);
    for (std::size_t i = first; i < lines_.size() && scan.feed(lines_[i]); ++i) {
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
