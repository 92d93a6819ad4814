#include "components/formats/backup_format.h"

#include "components/core/data_directory.h"
#include "components/formats/post_read.h"

#include <QFile>
#include <QStringList>
#include <algorithm>
#include <climits>
#include <numeric>

namespace backup {

namespace {

constexpr auto npos = std::string_view::npos;
constexpr int kMemoField = kExtendedFieldCount;
constexpr std::size_t kReadingsNamed = 5;

// Without the spaces and control bytes at both ends (never a trail byte).
std::string_view trimmed(std::string_view v)
{
    auto blank = [](char c) { return static_cast<unsigned char>(c) <= 0x20; };
    while (!v.empty() && blank(v.front()))
        v.remove_prefix(1);
    while (!v.empty() && blank(v.back()))
        v.remove_suffix(1);
    return v;
}

bool isLineEnd(std::string_view v)
{
    return !v.empty() && std::all_of(v.begin(), v.end(), [](char c) { return c == '\r' || c == '\n'; });
}

bool isMarker(char c) { return c == '1' || c == '2'; }

// "1" or "2" alone on the file's only line.
bool isMarkerOnly(std::string_view bytes)
{
    return !bytes.empty() && isMarker(bytes[0]) && (bytes.size() == 1 || isLineEnd(bytes.substr(1)));
}

// "," alone, or a marker line and the first record line's comma.
bool isRecordHeader(std::string_view header)
{
    return header == "," ||
           (header.size() > 2 && isMarker(header[0]) && isLineEnd(header.substr(1, header.size() - 2)));
}

// What follows a record's last value: a postal code of digits or nothing,
// then a line end (the file's end will do for the last record).
bool isRecordEnd(std::string_view rest, bool atFileEnd)
{
    const std::size_t digits = std::min(rest.find_first_not_of("0123456789"), rest.size());
    const std::string_view after = rest.substr(digits);
    return isLineEnd(after) || (atFileEnd && after.empty());
}

bool hasNegative(const Widths& widths)
{
    return std::any_of(widths.begin(), widths.end(), [](int w) { return w < 0; });
}

std::size_t recordSizeOf(const Widths& widths)
{
    if (hasNegative(widths))
        return 0;
    return std::accumulate(widths.begin(), widths.end(), std::size_t(0),
                           [](std::size_t sum, int w) { return sum + std::size_t(w); });
}

QString number(std::size_t n) { return QString::number(qulonglong(n)); }

QString findingText(const BackupFinding& f)
{
    switch (f.kind) {
    case BackupFinding::Kind::Header:
        return QStringLiteral("1行目：バックアップの形式で始まっていません（住所録などの可能性があります）。");
    case BackupFinding::Kind::RecordEnd:
        return QStringLiteral("%1行目（%2件目）：レコードの終わりが郵便番号と改行になっていません"
                              "（値に「,」があるか、項目の数が違います）。")
            .arg(number(f.line), number(f.record));
    case BackupFinding::Kind::NotText:
        return (f.line ? QStringLiteral("%1行目").arg(number(f.line)) : QStringLiteral("%1件目").arg(number(f.record))) +
               QStringLiteral("：文字として読めないバイトがあります（Shift-JIS 以外のファイルの可能性があります）。");
    case BackupFinding::Kind::IncompleteRecord:
        return QStringLiteral("%1件目：ファイルがレコードの途中で終わっています（%2バイト）。この分は読み込まれません。")
            .arg(number(f.record), number(f.bytes));
    default:
        return restoreStopMessage(f);
    }
}

// A NotText finding for each line (CSV) or record (fixed width, records of
// `recordSize` bytes) that holds bytes that are no CP932 text.
void noteNonText(std::string_view bytes, std::size_t recordSize, std::vector<BackupFinding>& findings)
{
    std::size_t line = 1, counted = 0;
    for (std::size_t p = sjis::findNonText(bytes); p != npos;) {
        std::size_t next;
        if (recordSize) {
            const std::size_t record = p / recordSize;
            findings.push_back({BackupFinding::Kind::NotText, 0, record + 1});
            next = (record + 1) * recordSize;
        } else {
            line += std::size_t(std::count(bytes.begin() + std::ptrdiff_t(counted), bytes.begin() + std::ptrdiff_t(p), '\n'));
            counted = p;
            findings.push_back({BackupFinding::Kind::NotText, line});
            next = std::min(bytes.find('\n', p), bytes.size());
        }
        p = next < bytes.size() ? sjis::findNonText(bytes, next) : npos;
    }
}

}  // namespace

// ---- CSV --------------------------------------------------------------------------------

int csvValueField(int valueCount, int index)
{
    return valueCount == kStandardFieldCount + 1 && index == kStandardFieldCount ? kMemoField : index + 1;
}

std::string_view csvMarkerLine(int layoutMode)
{
    switch (layoutMode) {
    case 1: return "1\r\n";
    case 2: return "2\r\n";
    default: return {};
    }
}

std::vector<int> csvLineFields(const WidthSet& set, int layoutMode)
{
    std::vector<int> fields;
    for (int no = 1; no <= kStandardFieldCount; ++no)
        if (set.widths[std::size_t(no - 1)] != 0)
            fields.push_back(no);
    if (set.isAddressBook())
        return fields;
    if (layoutMode == 1)
        for (int no = kStandardFieldCount + 1; no <= kExtendedFieldCount; ++no)
            fields.push_back(no);
    else if (layoutMode == 2)
        fields.push_back(kMemoField);
    return fields;
}

void appendCsvLine(SjisString& out, const std::vector<std::string_view>& values, bool addressBook,
                   std::optional<std::string_view> postalCode)
{
    const std::size_t start = out.size();
    for (std::string_view v : values) {
        if (!addressBook || out.size() > start)
            out += ',';
        out += v;
    }
    if (!addressBook || postalCode)
        out += ',';
    if (postalCode)
        out += *postalCode;
    out += "\r\n";
}

SjisString lookUpPostalCode(const postal::KenAllIndex& index, SjisString& address, int mode)
{
    postal::PostReadResult result = index.lookup(address, mode);
    if (!result.prefecture.empty())
        address.insert(0, result.prefecture);
    return std::move(result.code);
}

CsvBackupReader::CsvBackupReader(std::string_view bytes) : bytes_(bytes), headerEnd_(bytes.find(','))
{
    if (!hasComma()) {
        pos_ = bytes_.size();
        return;
    }
    const std::string_view h = header();
    const std::size_t marker = h.find_last_of("12");
    if (marker != npos)
        valueCount_ = h[marker] == '1' ? kExtendedFieldCount : kStandardFieldCount + 1;
    pos_ = headerEnd_ + 1;
    values_.reserve(std::size_t(valueCount_));
}

std::string_view CsvBackupReader::header() const
{
    return hasComma() ? bytes_.substr(0, headerEnd_ + 1) : std::string_view();
}

bool CsvBackupReader::next()
{
    if (pos_ >= bytes_.size())
        return false;
    values_.clear();
    std::size_t p = pos_;
    for (int i = 0; i < valueCount_; ++i) {
        const std::size_t comma = bytes_.find(',', p);
        if (comma == npos) {
            incomplete_ = bytes_.substr(pos_);
            pos_ = bytes_.size();
            return false;
        }
        values_.push_back(bytes_.substr(p, comma - p));
        p = comma + 1;
    }
    const std::size_t comma = bytes_.find(',', p);
    const std::size_t end = comma == npos ? bytes_.size() : comma;
    rest_ = bytes_.substr(p, end - p);
    line_ += std::size_t(std::count(bytes_.begin() + std::ptrdiff_t(linePos_), bytes_.begin() + std::ptrdiff_t(p), '\n'));
    linePos_ = p;
    pos_ = comma == npos ? bytes_.size() : comma + 1;
    return true;
}

void csvRecordValues(const CsvBackupReader& reader, int lastField, std::vector<std::optional<SjisString>>& values)
{
    std::fill(values.begin(), values.end(), std::nullopt);
    const auto& read = reader.values();
    for (std::size_t i = 0; i < read.size(); ++i) {
        const int field = csvValueField(reader.valueCount(), int(i));
        if (field <= lastField && std::size_t(field) <= values.size())
            values[std::size_t(field - 1)] = SjisString(read[i]);
    }
}

// ---- fixed-width TXT and its TIF ----------------------------------------------------

void appendTxtRecord(SjisString& out, const std::array<std::string_view, kStandardFieldCount>& values,
                     const Widths& widths, bool addressBook)
{
    for (std::size_t i = 0; i < widths.size(); ++i) {
        if (widths[i] <= 0)
            continue;
        const auto width = std::size_t(widths[i]);
        const std::size_t at = out.size();
        if (values[i].size() > width)
            out += sjis::cutBytes(values[i], width);
        else
            out += values[i];
        out.append(width - (out.size() - at), ' ');
    }
    if (addressBook)
        out += "\r\f";
}

bool widenToFit(Widths& widths, const std::array<std::string_view, kStandardFieldCount>& values)
{
    bool grown = false;
    for (std::size_t i = 0; i < widths.size(); ++i)
        if (values[i].size() > std::size_t(std::max(widths[i], 0))) {
            widths[i] = int(std::min<std::size_t>(values[i].size(), INT_MAX));
            grown = true;
        }
    return grown;
}

LineListFile tifFile(const Widths& widths)
{
    LineListFile file;
    for (int w : widths)
        file.append(std::max(w, 0));
    return file;
}

Widths tifWidths(const LineListFile& file)
{
    Widths widths{};
    for (std::size_t i = 0; i < widths.size(); ++i)
        widths[i] = file.number(i);
    return widths;
}

TxtBackupReader::TxtBackupReader(std::string_view bytes, const Widths& widths)
    : bytes_(bytes), widths_(widths), recordSize_(recordSizeOf(widths))
{
}

bool TxtBackupReader::next()
{
    if (recordSize_ == 0 || bytes_.size() - pos_ < recordSize_)
        return false;
    for (std::size_t i = 0; i < widths_.size(); ++i) {
        const auto width = std::size_t(widths_[i]);
        values_[i] = trimmed(bytes_.substr(pos_, width));
        pos_ += width;
    }
    return true;
}

std::size_t TxtBackupReader::leftover() const
{
    return recordSize_ == 0 ? bytes_.size() : bytes_.size() % recordSize_;
}

// ---- the check before a restore -------------------------------------------------------

const BackupFinding* BackupCheck::stop() const
{
    auto it = std::find_if(findings.begin(), findings.end(), [](const BackupFinding& f) { return f.stopsRestore(); });
    return it == findings.end() ? nullptr : &*it;
}

BackupCheck checkCsvBackup(std::string_view bytes)
{
    BackupCheck check;
    CsvBackupReader reader(bytes);
    if (!reader.hasComma()) {
        if (!bytes.empty() && !isMarkerOnly(bytes))
            check.findings.push_back({BackupFinding::Kind::NoComma});
        return check;
    }
    if (!isRecordHeader(reader.header()))
        check.findings.push_back({BackupFinding::Kind::Header, 1});
    while (reader.next()) {
        ++check.records;
        const std::string_view rest = reader.rest();
        if (!isRecordEnd(rest, rest.data() + rest.size() == bytes.data() + bytes.size()))
            check.findings.push_back({BackupFinding::Kind::RecordEnd, reader.line(), check.records});
    }
    if (!reader.incomplete().empty())
        check.findings.push_back(
            {BackupFinding::Kind::IncompleteRecord, 0, check.records + 1, reader.incomplete().size()});
    noteNonText(bytes, 0, check.findings);
    return check;
}

BackupCheck checkTxtBackup(std::string_view bytes, const Widths& widths)
{
    BackupCheck check;
    for (std::size_t i = 0; i < widths.size(); ++i)
        if (widths[i] < 0) {
            check.findings.push_back({BackupFinding::Kind::NegativeWidth, 0, 0, 0, int(i) + 1});
            return check;
        }
    const std::size_t recordSize = recordSizeOf(widths);
    if (recordSize == 0) {
        check.findings.push_back({BackupFinding::Kind::NoWidth});
        return check;
    }
    check.records = bytes.size() / recordSize;
    if (const std::size_t left = bytes.size() % recordSize)
        check.findings.push_back({BackupFinding::Kind::IncompleteRecord, 0, check.records + 1, left});
    noteNonText(bytes, recordSize, check.findings);
    return check;
}

QString restoreStopMessage(const BackupFinding& finding)
{
    switch (finding.kind) {
    case BackupFinding::Kind::NoComma:
        return QStringLiteral("このファイルはバックアップファイルではありません（「,」がありません）。\r"
                              "リストアを中止しました。");
    case BackupFinding::Kind::NegativeWidth:
        return QStringLiteral("桁数に負の値があります（%1）。\rリストアを中止しました。")
            .arg(QString::fromUtf8(recordField(finding.field).name));
    case BackupFinding::Kind::NoWidth:
        return QStringLiteral("桁数がすべて０です。\rリストアを中止しました。");
    default:
        return findingText(finding);
    }
}

QString findingsQuestion(const BackupCheck& check, std::size_t listed)
{
    QString text = QStringLiteral("このファイルには次の問題があります。\r");
    const std::size_t shown = std::min(listed, check.findings.size());
    for (std::size_t i = 0; i < shown; ++i)
        text += findingText(check.findings[i]) + QLatin1Char('\r');
    if (check.findings.size() > shown)
        text += QStringLiteral("ほか%1件\r").arg(number(check.findings.size() - shown));
    return text + QStringLiteral("このままリストアすると、項目のずれたレコードができたり、レコードが欠けたりします。\r"
                                 "リストアを続けますか？");
}

QString emptyBackupQuestion()
{
    return QStringLiteral("このファイルにはレコードがありません。\r"
                          "リストアすると、表示されているレコードがすべて削除されます。\rリストアを続けますか？");
}

void RestoreRefusals::refuse(const QString& why)
{
    if (refused++ == 0) {
        firstRecord = records;
        reason = why;
    }
}

QString allRefusedMessage(const RestoreRefusals& r)
{
    return QStringLiteral("%1件のレコードはすべて登録できませんでした。\r%2件目：%3\r"
                          "リストアを中止しました。データは元のままです。")
        .arg(number(r.refused), number(r.firstRecord), r.reason);
}

QString someRefusedQuestion(const RestoreRefusals& r)
{
    return QStringLiteral("%1件のうち%2件のレコードは登録できません。\r%3件目：%4\r"
                          "これらのレコードを除いてリストアしますか？\r"
                          "「いいえ」を選ぶと、データは元のままです。")
        .arg(number(r.records), number(r.refused), number(r.firstRecord), r.reason);
}

QString commaValuesQuestion(std::size_t values, const std::vector<SjisString>& readings)
{
    QStringList names;
    for (const SjisString& r : readings)
        names << (r.empty() ? QStringLiteral("（ふりがななし）") : sjis::decode(r));
    return QStringLiteral("「,」を含む値が%1個あります。これらの値はリストアで正しく読み戻せません。\r"
                          "該当するレコード：%2\rこのままバックアップを保存しますか？")
        .arg(number(values), names.join(QStringLiteral("、")));
}

void CommaValues::note(const std::vector<std::string_view>& values, std::string_view reading)
{
    std::size_t inRecord = 0;
    for (std::string_view v : values)
        inRecord += v.find(',') != std::string_view::npos;
    if (inRecord && readings_.size() < kReadingsNamed)
        readings_.emplace_back(reading);
    count_ += inRecord;
}

bool mayRestore(const BackupCheck& check, bool replacing, const BackupSteps& steps)
{
    if (const BackupFinding* stop = check.stop()) {
        steps.showError(restoreStopMessage(*stop));
        return false;
    }
    if (!check.findings.empty() && !steps.ask(findingsQuestion(check)))
        return false;
    return check.records > 0 || !replacing || steps.ask(emptyBackupQuestion());
}

// ---- files ------------------------------------------------------------------------

std::string readBackupFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        throw FileError(QStringLiteral("%1 を開けません。\r%2").arg(path, file.errorString()));
    // Read straight into the string that is returned, one byte larger than
    // the file so that its end is seen without growing: the file is held once.
    std::string data(std::size_t(std::max<qint64>(file.size(), 0)) + 1, '\0');
    std::size_t got = 0;
    for (;;) {
        if (got == data.size())
            data.resize(got + (1u << 16));
        const qint64 n = file.read(data.data() + got, qint64(data.size() - got));
        if (n < 0)
            throw FileError(QStringLiteral("%1 を読み込めません。\r%2").arg(path, file.errorString()));
        if (n == 0)
            break;
        got += std::size_t(n);
    }
    data.resize(got);
    return data;
}

BackupFileWriter::BackupFileWriter(const QString& path) : file_(path) {}

void BackupFileWriter::flush()
{
    file_.write(buffer_);
    buffer_.clear();
}

void BackupFileWriter::flushIfFull()
{
    if (buffer_.size() >= (1u << 20))
        flush();
}

void BackupFileWriter::commit()
{
    flush();
    file_.commit();
}

// ---- file names ---------------------------------------------------------------------

BackupPath BackupPath::split(const QString& path)
{
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    const QString name = path.mid(slash + 1);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return {path.left(slash + 1), dot < 0 ? name : name.left(dot), dot < 0 ? QString() : name.mid(dot)};
}

QString BackupPath::sibling(const QString& ext) const
{
    return resolveFile(folder, baseName + ext);
}

bool isAddressBookName(const QString& baseName) { return baseName.contains(QStringLiteral("住所録")); }
bool isAppendingName(const QString& baseName) { return baseName.contains(QStringLiteral("追加")); }
bool isSplitName(const QString& baseName) { return baseName.contains(QStringLiteral("分割")); }

bool isCsvExtension(const QString& extension)
{
    return extension == QLatin1String(".CSV") || extension == QLatin1String(".csv");
}

QString defaultBackupName(bool addressBook, const SjisString& prefix, const SjisString& suffix, QDate date,
                          std::string_view datePattern)
{
    if (addressBook)
        return QStringLiteral("住所録");
    return sjis::decode(prefix + formatEraDate(date, datePattern) + suffix);
}

std::optional<Widths> restoreWidths(const BackupPath& path, const BackupSteps& steps)
{
    if (const std::optional<LineListFile> tif = LineListFile::read(path.sibling(QStringLiteral(".TIF"))))
        return tifWidths(*tif);
    const std::optional<WidthSet> set = steps.chooseWidthSet(QStringLiteral("リストア方法を指定してください。"));
    if (!set)
        return std::nullopt;
    return set->widths;
}

}  // namespace backup
