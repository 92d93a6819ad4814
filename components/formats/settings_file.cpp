#include "components/formats/settings_file.h"

#include <QFile>
#include <QSaveFile>
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

}  // namespace

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
    long long value = 0;
    bool complete = true;
    for (; i < text.size(); ++i) {
        int d = digitValue(text[i], base);
        long long next = value * base + (d < 0 ? 0 : d);
        if (d < 0 || next > INT_MAX) {
            complete = false;
            break;
        }
        value = next;
    }
    return int(negative && complete ? -value : value);
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

std::optional<LineListFile> LineListFile::read(const QString& path)
{
    QFile file(path);
    if (!file.exists())
        return std::nullopt;
    if (!file.open(QIODevice::ReadOnly))
        throw FileError(QStringLiteral("%1 を開けません。\r%2").arg(path, file.errorString()));
    const QByteArray data = file.readAll();
    LineListFile result;
    for (std::string_view l : splitLines(std::string_view(data.constData(), std::size_t(data.size()))))
        result.lines_.emplace_back(l);
    return result;
}

void LineListFile::write(const QString& path) const
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw FileError(QStringLiteral("%1 に書き込めません。\r%2").arg(path, file.errorString()));
    const QByteArray data = bytes();
    if (file.write(data) != data.size() || !file.commit())
        throw FileError(QStringLiteral("%1 に書き込めません。\r%2").arg(path, file.errorString()));
}

void LineListFile::write(QIODevice& sink) const
{
    const QByteArray data = bytes();
    if (sink.write(data) != data.size())
        throw FileError(QStringLiteral("書き込めません。\r%1").arg(sink.errorString()));
}

QByteArray LineListFile::bytes() const
{
    QByteArray data;
    for (const SjisString& l : lines_) {
        data.append(l.data(), qsizetype(l.size()));
        data.append("\r\n");
    }
    return data;
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

std::vector<std::pair<int, int>> LineListFile::numberPairs() const
{
    std::vector<std::pair<int, int>> pairs;
    for (std::size_t i = 0; i < lines_.size(); i += 2)
        pairs.emplace_back(number(i), number(i + 1));
    return pairs;
}
