// Settings files ("*.INI" without sections): CP932 text, one value per line,
// the meaning of a line given by its position from the top.
#pragma once

#include "components/core/cp932.h"

#include <QByteArray>
#include <QString>
#include <algorithm>
#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string_view>
#include <utility>
#include <vector>

class QIODevice;
class QSaveFile;

// A file that cannot be opened, read or written; its message is shown as is.
class FileError : public std::runtime_error {
public:
    explicit FileError(const QString& message) : std::runtime_error(message.toStdString()), message_(message) {}
    QString message() const { return message_; }

private:
    QString message_;
};

// A file written to a temporary name and put in place by commit(): a
// failure part-way, or no commit, leaves an older file of the name as it
// was. Throws FileError naming the file and saying why it failed (a full
// disk, a file too large, no permission: writeFailureMessage).
class SavedFile {
public:
    explicit SavedFile(const QString& path);
    ~SavedFile();
    SavedFile(const SavedFile&) = delete;
    SavedFile& operator=(const SavedFile&) = delete;

    void write(std::string_view data);
    void commit();

private:
    [[noreturn]] void fail(int error, const QString& systemText = {});

    QString path_;
    std::unique_ptr<QSaveFile> file_;
};

// Reads a number the way every settings value is read: leading blanks are
// skipped, an optional sign and then digits are taken; reading stops at the
// first other character, keeping the digits read so far but dropping the
// sign. A leading "$", "0x" or "x" (either case) reads hexadecimal. Text
// without digits gives 0. A number past the int range saturates at the end
// of the range on its own side (the sign is kept unless the reading
// stopped early).
int readNumber(std::string_view text);

// The lines of a text, split at CR LF, LF or a lone CR; a final line break
// starts no further line. The lines view `text`.
std::vector<std::string_view> splitLines(std::string_view text);

// The most a settings file may hold; a larger one is refused whole.
constexpr qint64 kSettingsFileLimit = 1 << 20;

class LineListFile {
public:
    LineListFile() = default;
    explicit LineListFile(std::vector<SjisString> lines) : lines_(std::move(lines)) {}

    // The file's lines, or nothing when it does not exist (the reader keeps
    // its defaults). Lines end with CR LF, LF or CR. Throws FileError,
    // naming the file, when it exists but cannot be read or holds more than
    // `limit` bytes.
    static std::optional<LineListFile> read(const QString& path, qint64 limit = kSettingsFileLimit);
    // The lines of a file's bytes, split as read() splits them.
    static LineListFile fromBytes(std::string_view bytes);

    // Rewrites the whole file atomically with toBytes(). Throws FileError.
    void write(const QString& path) const;
    // The bytes write() puts in the file.
    SjisString toBytes() const;
    // Writes toBytes() to a device (a buffer in tests). Throws FileError.
    void write(QIODevice& sink) const;

    // Line `index` (from 0); past the last line an empty text.
    const SjisString& line(std::size_t index) const;
    int number(std::size_t index) const { return readNumber(line(index)); }
    // The number of line `index` brought into [low, high].
    int number(std::size_t index, int low, int high) const { return std::clamp(number(index), low, high); }
    std::size_t lineCount() const { return lines_.size(); }
    const std::vector<SjisString>& lines() const { return lines_; }

    void append(SjisString line) { lines_.push_back(std::move(line)); }
    void append(int number) { lines_.push_back(std::to_string(number)); }

    // The list that starts at line `start` and ends before the next empty
    // line (or at the end of the file); `next` receives the line after it.
    std::vector<SjisString> listFrom(std::size_t start, std::size_t* next = nullptr) const;
    // Appends the entries and an empty line: the layout listFrom reads.
    void appendList(const std::vector<SjisString>& list);

    // The file as pairs of numbers, two lines each, from the top (a last
    // line without a partner pairs with 0), at most `limit` pairs.
    std::vector<std::pair<int, int>> numberPairs(std::size_t limit = SIZE_MAX) const;
    void appendPair(int first, int second)
    {
        append(first);
        append(second);
    }

private:
    std::vector<SjisString> lines_;
};

// The two lists of a dual-list chooser, left then right, each ended by an
// empty line: the layout of every file that keeps such a choice.
struct ChooserLists {
    std::vector<SjisString> left;
    std::vector<SjisString> right;
};

ChooserLists chooserListsFromLines(const LineListFile& file);
LineListFile chooserListsLines(const ChooserLists& lists);

// The settings file `name` of `dir` (any case), or nothing when it does not
// exist. Throws FileError.
std::optional<LineListFile> readSettingsFile(const QString& dir, const QString& name);
// The settings file `name` of `dir` as `fromLines` reads it, or nothing
// when the file does not exist. Throws FileError.
template <class FromLines>
auto readSettingsAs(const QString& dir, const QString& name, FromLines fromLines)
    -> std::optional<decltype(fromLines(std::declval<const LineListFile&>()))>
{
    if (auto file = readSettingsFile(dir, name))
        return fromLines(*file);
    return std::nullopt;
}

// The same, with the defaults of the read type when the file does not exist.
template <class FromLines>
auto readSettingsOrDefaults(const QString& dir, const QString& name, FromLines fromLines)
{
    using Settings = decltype(fromLines(std::declval<const LineListFile&>()));
    return readSettingsAs(dir, name, fromLines).value_or(Settings{});
}

// Rewrites the settings file `name` of `dir` (the existing spelling when the
// name exists in another case). Throws FileError.
void writeSettingsFile(const QString& dir, const QString& name, const LineListFile& file);

