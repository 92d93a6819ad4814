#include "components/formats/print_files.h"

#include "components/core/data_directory.h"

#include <QFileInfo>
#include <algorithm>

namespace {

const QString kPrintNameFile = QStringLiteral("PrintName.INI");
const QString kHandOffFile = QStringLiteral("Pelmora.INI");
const QString kOwnCompanyFile = QStringLiteral("User.INI");

bool holdsLineBreak(const SjisString& value) { return value.find_first_of("\r\n") != SjisString::npos; }

bool holdsNoCharacter(const SjisString& value) { return sjis::decode(value).contains(QChar(0xFFFD)); }

}  // namespace

QString findPrintProgram(const QString& dataDir)
{
    const QString path = resolveFile(dataDir, QStringLiteral("Pelmora.EXE"));
    return QFileInfo(path).isFile() ? path : QString();
}

QString findPrintFolder(const QString& dataDir)
{
    const QString path = resolveFile(dataDir, QStringLiteral("Pelmora"));
    return QFileInfo(path).isDir() ? path : QString();
}

// ---- PrintName.INI

SjisString newPatternName() { return sj("新規追加"); }

int PrintNameList::patternOfItem(int item) const
{
    const int pair = item - 2;
    return pair >= 0 && pair < int(pairs.size()) ? pairs[std::size_t(pair)].pattern() : 0;
}

std::optional<SjisString> PrintNameList::itemName(int item) const
{
    const int pair = item - 2;
    if (pair < 0 || pair + 1 >= int(pairs.size()))
        return std::nullopt;
    const SjisString& name = pairs[std::size_t(pair)].name;
    if (name.empty() || name == newPatternName())
        return std::nullopt;
    return name;
}

void PrintNameList::settleNewPattern()
{
    if (pairs.empty())
        pairs.push_back({});
    PrintName& last = pairs.back();
    int highest = 1;
    bool taken = false;
    for (std::size_t i = 0; i + 1 < pairs.size(); ++i) {
        highest = std::max(highest, pairs[i].pattern());
        taken = taken || pairs[i].pattern() == last.pattern();
    }
    last.name = newPatternName();
    if (last.pattern() < 2 || taken)
        last.number = std::to_string(highest + 1);
}

PrintNameList printNamesFromLines(const LineListFile& file)
{
    std::size_t count = file.lineCount();
    while (count > 0 && file.line(count - 1).empty())
        --count;
    PrintNameList names;
    for (std::size_t i = 0; i < count; i += 2)
        names.pairs.push_back({file.line(i), i + 1 < count ? file.line(i + 1) : SjisString()});
    return names;
}

LineListFile printNamesLines(const PrintNameList& names)
{
    LineListFile file;
    for (const PrintName& pair : names.pairs) {
        file.append(pair.name);
        file.append(pair.number);
    }
    return file;
}

std::optional<PrintNameList> readPrintNames(const QString& dataDir)
{
    auto names = readSettingsAs(dataDir, kPrintNameFile, printNamesFromLines);
    if (names && names->pairs.empty())
        return std::nullopt;
    return names;
}

void writePrintNames(const QString& dataDir, const PrintNameList& names)
{
    writeSettingsFile(dataDir, kPrintNameFile, printNamesLines(names));
}

// ---- Pelmora.INI

LineListFile handOffLines(const PrintHandOff& handOff)
{
    const std::pair<const SjisString*, const char*> lines[] = {
        {&handOff.indexName, "並び順の索引名"}, {&handOff.filter, "フィルタ"}, {&handOff.currentRecord, "現在のレコード番号"}};
    for (auto [value, what] : lines) {
        if (holdsLineBreak(*value))
            throw PrintFileRefusal(QStringLiteral("%1に改行が含まれているため、印刷プログラムに渡せません。")
                                       .arg(QString::fromUtf8(what)));
        if (holdsNoCharacter(*value))
            throw PrintFileRefusal(QStringLiteral("%1に文字でないバイトが含まれているため、印刷プログラムに渡せません。")
                                       .arg(QString::fromUtf8(what)));
    }
    LineListFile file;
    file.append(handOff.indexName);
    file.append(handOff.filter);
    file.append(handOff.currentRecord);
    file.append(handOff.pattern);
    file.append(sj(handOff.mode == PrintMode::Print ? "印刷" : "設定"));
    return file;
}

void writeHandOff(const QString& dataDir, const PrintHandOff& handOff)
{
    writeSettingsFile(dataDir, kHandOffFile, handOffLines(handOff));
}

// ---- User.INI

OwnCompany ownCompanyFromLines(const LineListFile& file)
{
    OwnCompany company;
    for (std::size_t i = 0; i < company.lines.size(); ++i)
        company.lines[i] = file.line(i);
    return company;
}

LineListFile ownCompanyLines(const OwnCompany& company)
{
    LineListFile file;
    for (std::size_t i = 0; i < company.lines.size(); ++i) {
        if (holdsLineBreak(company.lines[i]))
            throw PrintFileRefusal(QStringLiteral("自社情報の %1 行目に改行が含まれています。\r改行を取り除いて下さい。").arg(i + 1));
        file.append(company.lines[i]);
    }
    return file;
}

std::optional<OwnCompany> readOwnCompany(const QString& dir)
{
    return readSettingsAs(dir, kOwnCompanyFile, ownCompanyFromLines);
}

void writeOwnCompany(const QString& dir, const OwnCompany& company)
{
    writeSettingsFile(dir, kOwnCompanyFile, ownCompanyLines(company));
}
