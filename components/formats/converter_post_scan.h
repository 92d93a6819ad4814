// The converter's own postal-code search in KEN_ALL.CSV, made for each
// record of its backup. It is not PostRead's: a line is split at every ","
// (19 columns are read, the 20th is always empty); the first line whose
// city the address holds, and whose prefecture passes, enters the city,
// and the first line after it that fails those tests ends the scan. An
// address that names a prefecture (see namedPrefecture) passes only that
// prefecture's lines, in every mode; one that names none passes every line
// outside mode 1 and none in mode 1. Of each entered line the town columns
// are tested in turn: "0" ends the scan with the line's code, the quoted
// "以下に掲載がない場合" gives the line's code as a fallback, any other
// column must occur in the address for the next one to be tested. Outside
// mode 1 the prefecture of the last entered line is put in front of an
// address that names none. The end of the file keeps what was found.
//
// A text occurs in the address when it is not empty and the address holds
// its bytes from the start of a character on.
#pragma once

#include "components/core/cp932.h"
#include "components/formats/post_read.h"

#include <QString>
#include <array>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace postal {

// The scan over `lines` from the first, one line after the other.
PostReadResult converterPostScan(const std::vector<std::string_view>& lines, std::string_view address, int mode);

// KEN_ALL.CSV loaded and split once. Each city name knows the first line
// of each of its prefectures, and the names are found by their first bytes
// at each character of the address, so a look-up starts the scan at the
// first line that can enter a city.
class ConverterKenAll {
public:
    explicit ConverterKenAll(std::string data);
    ConverterKenAll(const ConverterKenAll&) = delete;
    ConverterKenAll& operator=(const ConverterKenAll&) = delete;

    // The same result as converterPostScan over lines().
    PostReadResult lookup(std::string_view address, int mode) const;
    const std::vector<std::string_view>& lines() const { return lines_; }

    // The file at `path`, or nullptr when it does not exist. Throws
    // FileError when it exists but cannot be read.
    static std::unique_ptr<ConverterKenAll> read(const QString& path);

private:
    // A line's columns as the scan reads them: code, prefecture and city
    // unquoted, column 9 as it stands, and the columns after it unsplit.
    struct Line {
        std::string_view code, prefecture, city, town, rest;
        bool hasRest;  // column 9 is followed by a ","
    };
    struct Entry {
        std::uint32_t line;
        std::string_view prefecture;
    };
    std::size_t firstLine(std::string_view address, int mode, const std::optional<NamedPrefecture>& named) const;

    std::string data_;
    std::vector<std::string_view> lines_;
    std::vector<Line> columns_;
    std::vector<std::uint32_t> summaries_;  // per line, for passing over it
    std::vector<std::vector<Entry>> cityEntries_;  // per city: first line of each prefecture, in order
    std::vector<std::string_view> cities_;
    std::unordered_map<std::uint32_t, std::vector<std::uint32_t>> byStart_;  // first bytes → cities
};

}  // namespace postal
