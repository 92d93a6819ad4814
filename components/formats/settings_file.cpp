#include "components/formats/settings_file.h"

#include "components/core/data_directory.h"
#include "components/core/file_write.h"

#include <QFile>
#include <QSaveFile>
#include <cerrno>
#include <climits>

namespace {

int digitValue(char c, int base)
{
    int v = -1;
    if (c >= '0' && c <= '9')
        v = c - '0';
    else if (c >= 'a' && c <= 'f')
        v = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
        v = c - 'A' + 10;
    return v < base ? v : -1;
}

// The file's bytes; nothing when it holds more than `limit`. Read in pieces:
// a file's reported size may be 0 (a pipe, /proc), and reading `limit`
// bytes at once would allocate them all first.
std::optional<QByteArray> readUpTo(QFile& file, qint64 limit)
{
    if (file.size() > limit)
        return std::nullopt;
    QByteArray data;
    while (data.size() <= limit) {
        const QByteArray piece = file.read(std::min<qint64>(1 << 16, limit + 1 - data.size()));
        if (piece.isEmpty())
            return data;
        data += piece;
    }
    return std::nullopt;
}

}  // namespace

// The bytes go to the temporary file's descriptor, past Qt, so that a
// failure keeps its errno: Qt reports a short write without one. Qt's own
// failures (creating, committing) are explained by errno when it holds a
// reason writeFailureMessage puts in words, else in Qt's words.
SavedFile::SavedFile(const QString& path) : path_(path), file_(std::make_unique<QSaveFile>(path))
{
    errno = 0;
    if (!file_->open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        fail(errno, file_->errorString());
}

SavedFile::~SavedFile() = default;

void SavedFile::fail(int error, const QString& systemText)
{
    throw FileError(writeFailureMessage(path_, error, systemText));
}

void SavedFile::write(std::string_view data)
{
    if (const int error = writeAll(file_->handle(), data))
        fail(error);
}

void SavedFile::commit()
{
    errno = 0;
    if (!file_->commit())
        fail(errno, file_->errorString());
}

int readNumber(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        negative = text[i++] == '-';
    int base = 10;
    if (i < text.size() && text[i] == '$') {
        base = 16;
        ++i;
    } else if (i < text.size() && (text[i] == 'x' || text[i] == 'X')) {
        base = 16;
        ++i;
    } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    // The magnitude stops growing just past the int range, so an overflowing
    // number saturates at its own end of the range.
    constexpr long long kPastRange = static_cast<long long>(INT_MAX) + 1;
    long long value = 0;
    bool complete = true;
    for (; i < text.size(); ++i) {
        const int d = digitValue(text[i], base);
        if (d < 0) {
            complete = false;
            break;
        }
        value = std::min(value * base + d, kPastRange);
    }
    return negative && complete ? int(-value) : int(std::min<long long>(value, INT_MAX));
}

std::vector<std::string_view> splitLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n')
            continue;
        lines.push_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.push_back(text.substr(start));
    return lines;
}

std::optional<LineListFile> LineListFile::read(const QString& path, qint64 limit)
{
    QFile file(path);
    if (!file.exists())
        return std::nullopt;
    if (!file.open(QIODevice::ReadOnly))
        throw FileError(QStringLiteral("%1 を開けません。\r%2").arg(path, file.errorString()));
    const std::optional<QByteArray> data = readUpTo(file, limit);
    if (!data)
        throw FileError(QStringLiteral("%1 が大きすぎます。\r%2 バイトまでのファイルしか読み込めません。").arg(path).arg(limit));
    if (file.error() != QFileDevice::NoError)
        throw FileError(QStringLiteral("%1 を読み込めません。\r%2").arg(path, file.errorString()));
    return fromBytes(std::string_view(data->constData(), std::size_t(data->size())));
}

LineListFile LineListFile::fromBytes(std::string_view bytes)
{
    LineListFile result;
    for (std::string_view l : splitLines(bytes))
        result.lines_.emplace_back(l);
    return result;
}

SjisString LineListFile::toBytes() const
{
    SjisString data;
    for (const SjisString& l : lines_) {
        data += l;
        data += "\r\n";
    }
    return data;
}

void LineListFile::write(const QString& path) const
{
    SavedFile file(path);
    file.write(toBytes());
    file.commit();
}

void LineListFile::write(QIODevice& sink) const
{
    const SjisString data = toBytes();
    if (sink.write(data.data(), qint64(data.size())) != qint64(data.size()))
        throw FileError(QStringLiteral("書き込めません。\r%1").arg(sink.errorString()));
}

const SjisString& LineListFile::line(std::size_t index) const
{
    static const SjisString empty;
    return index < lines_.size() ? lines_[index] : empty;
}

std::vector<SjisString> LineListFile::listFrom(std::size_t start, std::size_t* next) const
{
    std::vector<SjisString> list;
    std::size_t i = start;
    while (i < lines_.size() && !lines_[i].empty())
        list.push_back(lines_[i++]);
    if (next)
        *next = i < lines_.size() ? i + 1 : i;
    return list;
}

void LineListFile::appendList(const std::vector<SjisString>& list)
{
    for (const SjisString& entry : list)
        append(entry);
    append(SjisString());
}

std::vector<std::pair<int, int>> LineListFile::numberPairs(std::size_t limit) const
{
    std::vector<std::pair<int, int>> pairs;
    for (std::size_t i = 0; i < lines_.size() && pairs.size() < limit; i += 2)
        pairs.emplace_back(number(i), number(i + 1));
    return pairs;
}

ChooserLists chooserListsFromLines(const LineListFile& file)
{
    ChooserLists lists;
    std::size_t next = 0;
    lists.left = file.listFrom(0, &next);
    lists.right = file.listFrom(next);
    return lists;
}

LineListFile chooserListsLines(const ChooserLists& lists)
{
    LineListFile file;
    file.appendList(lists.left);
    file.appendList(lists.right);
    return file;
}

std::optional<LineListFile> readSettingsFile(const QString& dir, const QString& name)
{
    return LineListFile::read(resolveFile(dir, name));
}

void writeSettingsFile(const QString& dir, const QString& name, const LineListFile& file)
{
    file.write(resolveFile(dir, name));
}

