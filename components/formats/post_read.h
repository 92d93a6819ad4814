// The postal code of an address, found in Japan Post's KEN_ALL.CSV.
//
// The search walks the file's lines in order, byte-wise on CP932 text
// (matches start at character boundaries). Lines of the city that the
// address names are scored by how much of their town columns the address
// holds, in bytes; the best line's column 3 is the code. Town names with
// "一円", the "以下に掲載がない場合" entry and "次に番地がくる場合" give a
// fallback code used when no line scores.
//
// An address that names a prefecture (see namedPrefecture) takes its code
// only from that prefecture's lines and gains nothing; one that names none
// is searched in every prefecture and gains that of the matched city.
//
// The scan is a pure function over the file's lines (PostScan). KenAllIndex
// keeps the file loaded and knows where each city's lines begin, so a
// look-up starts the same scan at the first line that can match, reads the
// columns it split once, and gives the same result as a scan from the top.
#pragma once

#include "components/core/cp932.h"

#include <QString>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class Table;

namespace postal {

// The names of the 47 prefectures, in the postal file's order.
const std::vector<SjisString>& prefectureNames();

// A prefecture an address names: its number in prefectureNames() and the
// place just after its name in the address.
struct NamedPrefecture {
    std::size_t number, end;
};

// The prefecture an address names: the first of the 47 names it holds, by
// place, starting at a character. A name that starts inside an earlier one
// is not read ("東京都府中市" names 東京都, not 京都府), and "小県郡" or
// "山県市" name none.
std::optional<NamedPrefecture> namedPrefecture(std::string_view address);

// True when the address begins, after blanks (half- and full-width spaces
// and tabs), with a prefecture's name.
bool beginsWithPrefecture(std::string_view address);

// One line of KEN_ALL.CSV split into columns at ",". A comma right after a
// byte in 0x7F-0xA0 or 0xE0-0xFF belongs to a two-byte character's text:
// it does not end the column and is dropped. At most 20 columns are kept,
// and the line is read no further than their end. The columns are views
// into `line`, which must outlive the object.
class KenAllLine {
public:
    static constexpr int kMaxColumns = 20;
    // A longer line is no address line: the scan passes over it.
    static constexpr std::size_t kMaxBytes = 4096;

    explicit KenAllLine(std::string_view line);
    KenAllLine(const KenAllLine&) = delete;
    KenAllLine& operator=(const KenAllLine&) = delete;

    // Column `number` from 1; past the last column an empty text.
    std::string_view column(int number) const;
    int count() const { return count_; }

private:
    std::string_view withoutCommas(std::string_view text, std::size_t lineSize);

    std::array<std::string_view, kMaxColumns> columns_{};
    int count_ = 0;
    std::string joined_;  // the columns that dropped commas, without them
};

// A column value without its quotes: the first and the last byte go,
// whatever they are.
std::string_view unquote(std::string_view value);

struct PostReadResult {
    SjisString code;        // the file's seven-digit code, or empty
    SjisString prefecture;  // to put in front of the address; empty: none
};

struct TownShape;
class ByteWindows;

// The search over successive lines, one scan per look-up.
class PostScan {
public:
    explicit PostScan(std::string_view address);

    // Feeds the next line. False when the scan ends at this line (it ends
    // at the first line of another city once a city matched). Empty lines,
    // lines longer than KenAllLine::kMaxBytes and the end-of-file mark 0x1A
    // are passed over.
    bool feed(std::string_view line);
    bool ended() const { return ended_; }

    // The result after the last line fed.
    PostReadResult result() const;

    // The address as the city test sees it for a line of prefecture
    // `prefecture` (the text of column 7 without quotes): the part after
    // the prefecture when the address names it, else the whole address;
    // nothing when the address names another prefecture. `prefix`
    // receives the prefecture that the address would gain.
    std::optional<std::string_view> cityText(std::string_view prefecture, std::string_view* prefix) const;

private:
    friend class KenAllIndex;
    enum class Town { Matched, Failed, Fallback };

    // The index's scan: `windows` are the address's, and outlive the scan.
    PostScan(std::string_view address, const ByteWindows* windows);

    // The city test: the address after the city, or nothing.
    std::optional<std::string_view> afterCity(std::string_view prefecture, std::string_view city,
                                              std::string_view* prefix) const;
    bool missCity();
    void enterCity(std::string_view prefix);
    bool feedColumns(const KenAllLine& line);
    // A line of the entered city whose only town column is `town`.
    void feedTown(std::string_view town, const TownShape& shape, std::string_view w, std::string_view code);
    void scoreLine(int score, std::string_view code);
    Town matchTown(std::string_view text, const TownShape& shape, std::string_view& w, int& score);
    bool parts(std::string_view content, std::string_view w, int& score);
    std::size_t find(std::string_view w, std::string_view needle) const;

    std::string_view address_;
    std::optional<NamedPrefecture> named_;
    const ByteWindows* windows_ = nullptr;
    std::string_view knownIn_, known_;  // the index's last needle found, in the file
    std::size_t knownAt_ = 0;
    bool cityMatched_ = false;
    bool bracketOpen_ = false;
    bool ended_ = false;
    SjisString head_;
    SjisString needle_;  // the head and one part of its bracket
    SjisString fallback_;
    SjisString notedPrefecture_;
    SjisString best_;
    int bestScore_ = -1;
};

// The search from the top of the file. `mode` is the caller's (0 for the
// single look-up, the width set's value for a backup); every mode searches
// alike, since an address that names its prefecture keeps to it in each.
PostReadResult postReadScan(const std::vector<std::string_view>& lines, std::string_view address, int mode);

// KEN_ALL.CSV loaded once: its lines, the columns the search reads, and
// every city's name in a trie, so that a look-up finds the cities its
// address holds in one walk and starts the scan at the first line that can
// match. Each run of lines of one city knows the names and
// bracket heads its towns need the address to hold, so the scan reads only
// the lines whose name the address holds.
class KenAllIndex {
public:
    explicit KenAllIndex(std::string data);
    KenAllIndex(const KenAllIndex&) = delete;
    KenAllIndex& operator=(const KenAllIndex&) = delete;
    ~KenAllIndex();

    // The same result as postReadScan over lines(), which hold the lines
    // the scan does not pass over.
    PostReadResult lookup(std::string_view address, int mode) const;
    const std::vector<std::string_view>& lines() const { return lines_; }
    // The memory the index takes besides the file's own bytes.
    std::size_t indexBytes() const;

private:
    class NameTrie;
    struct Line;
    struct Block;
    struct Needle;
    struct Seen {
        std::uint32_t prefecture, block;
    };
    struct Candidate;
    void summarize(Block& block, std::vector<Candidate>& candidates);
    std::optional<std::size_t> firstBlock(const PostScan& scan) const;
    void scanFrom(PostScan& scan, std::size_t block) const;
    void walkBlock(PostScan& scan, const Block& block, std::string_view w) const;
    void readBlock(PostScan& scan, const Block& block, std::string_view w) const;
    std::string_view town(std::size_t line) const;
    std::string_view code(std::size_t line) const;

    std::string data_;
    std::vector<std::string_view> lines_;
    std::vector<Line> columns_;  // per line of lines_
    std::vector<Block> blocks_;  // runs of lines of one prefecture and city
    std::vector<Needle> needles_;
    std::vector<std::uint32_t> candidates_;  // lines, by needle
    std::vector<std::string> prefectures_, cities_;
    std::vector<std::vector<Seen>> citySeen_;  // per city: its prefectures' first blocks, in order
    std::vector<std::uint32_t> namedIds_;  // per name of prefectureNames(): its id in prefectures_
    std::unique_ptr<NameTrie> cityTrie_;
};

// The index of the file at `path`, read once and kept while the file's size
// and modification time stay the same; nullptr when the file does not
// exist. Throws FileError when it exists but cannot be read.
std::shared_ptr<const KenAllIndex> kenAllIndex(const QString& path);

// One line of any comma-separated file as the PostData table's rebuild
// reads it: split at every "," (quotes do not protect a comma), at most 50
// cells. A cell that a comma ends is cleaned: "以下に掲載がない場合" in
// quotes and any cell holding "一円" become empty, a cell starting with a
// double quote loses its first and last byte; the last cell stays as read.
std::vector<SjisString> postDataCells(std::string_view line);

// The code and the address of one PostData record from a line's cells:
// cell `codeColumn`, and the cells of the three address columns joined.
// Columns count from 1; column 0 and columns past the line are empty.
std::pair<SjisString, SjisString> postDataRecord(const std::vector<SjisString>& cells, const std::array<int, 4>& columns);

// The PostData records of the file at `path`, read whole, up to an
// end-of-file mark. Throws FileError when it cannot be read.
std::vector<std::pair<SjisString, SjisString>> readPostDataFile(const QString& path, const std::array<int, 4>& columns);

// Replaces every record of the PostData table by the rows (code, address)
// in one transaction: all of them land, or none and the old ones stay.
void replacePostData(Table& table, const std::vector<std::pair<SjisString, SjisString>>& rows);

}  // namespace postal
