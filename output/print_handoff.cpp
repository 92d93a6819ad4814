#include "output/print_handoff.h"

#include "components/core/table.h"
#include "platform/message_box.h"
#include "platform/process_start.h"
#include "record_book/model/record_book.h"

#include <algorithm>

namespace {

bool refuse(const QString& message)
{
    showMessage(message, {}, MessageIcon::Warning);
    return false;
}

// Text as the hand-off file holds it; nothing (after the message) when
// CP932 cannot hold it.
std::optional<SjisString> encodedOrRefused(const QString& text)
{
    char32_t offending = 0;
    if (sjis::canEncode(text, &offending))
        return sjis::encode(text);
    refuse(sjis::refusalMessage(offending) + QStringLiteral("\r印刷プログラムに渡せません。"));
    return std::nullopt;
}

}  // namespace

bool handOffToPrintProgram(const RecordBook& book, const QString& currentRecord, int pattern, PrintMode mode)
{
    const Table& records = book.records();
    const auto indexName = encodedOrRefused(QString::fromStdString(records.IndexName()));
    const auto record = indexName ? encodedOrRefused(currentRecord) : std::nullopt;
    if (!record)
        return false;
    // The hand-off is written only when the program can start.
    const QString dir = book.dataDirectory();
    const QString program = findPrintProgram(dir);
    const QString folder = findPrintFolder(dir);
    const QString cannotStart = QStringLiteral("印刷プログラム Pelmora.EXE を起動できません。\r"
                                               "データフォルダに実行できる Pelmora.EXE と作業フォルダ Pelmora があるか確かめて下さい。");
    if (program.isEmpty() || folder.isEmpty() || !canStart(program, folder))
        return refuse(cannotStart);
    try {
        writeHandOff(dir, {*indexName, records.Filtered() ? records.Filter() : SjisString(), *record, pattern, mode});
    } catch (const PrintFileRefusal& e) {
        return refuse(e.message());
    }
    return startDetached(program, folder) || refuse(cannotStart);
}

void appendPatternRow(Table& prtData)
{
    prtData.AppendRecord({SjisString(), SjisString(), SjisString("0"), SjisString("10"), SjisString("10")});
}

void preparePattern(Table& prtData, Table& prtFreeData, int pattern)
{
    while (prtData.RecordCount() < pattern)
        appendPatternRow(prtData);
    if (prtData.state() == Table::State::Browse && !prtData.IsEmpty())
        prtData.Edit();
    if (prtData.state() != Table::State::Browse)
        prtData.Post();
    if (prtFreeData.RecordCount() < pattern) {
        while (prtFreeData.RecordCount() < pattern)
            prtFreeData.AppendRecord({});
    } else {
        prtFreeData.SetRecNo(pattern);
    }
}

int patternRowsMissing(Table& prtData, Table& prtFreeData, int pattern)
{
    return std::max({0, pattern - prtData.RecordCount(), pattern - prtFreeData.RecordCount()});
}
