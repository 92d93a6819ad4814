// Code files and CodeType.INI: the input is CodeType.INI, a NUL byte and
// the code file. The search looks for the designation and classification
// of the file's first line, and for fixed ones.
#include "components/formats/lookup_settings.h"
#include "fuzz/fuzz_check.h"
#include "record_book/model/code_check.h"

#include <QDir>
#include <QFile>
#include <unistd.h>
#include <cstdint>
#include <cstdlib>

namespace {

// The search reads files: each input is written to one of this process's.
const QString& codeFilePath()
{
    static const QString path = QDir::temp().filePath(QStringLiteral("code_file_fuzz_%1.txt").arg(getpid()));
    static const bool removedAtExit = std::atexit([] { QFile::remove(codeFilePath()); }) == 0;
    (void)removedAtExit;
    return path;
}

void writeCodeFile(std::string_view bytes)
{
    QFile f(codeFilePath());
    FUZZ_CHECK(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    FUZZ_CHECK(f.write(bytes.data(), qint64(bytes.size())) == qint64(bytes.size()));
}

void search(const SjisString& designation, const SjisString& classification,
            const std::vector<speccode::CodeType>& types)
{
    for (bool other : {false, true}) {
        const speccode::CodeCheckOutcome outcome =
            speccode::searchCodeFiles(designation, classification, {codeFilePath()}, types, [other] { return other; });
        FUZZ_CHECK(outcome.result == speccode::NothingFound || outcome.result == speccode::Filled);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t nul = std::min(input.find('\0'), input.size());
    const std::vector<speccode::CodeType> types = bodyShapeCodesFromLines(LineListFile::fromBytes(input.substr(0, nul))).codes;
    const std::string_view code = input.substr(std::min(nul + 1, input.size()));
    const LineListFile lines = LineListFile::fromBytes(code);
    for (const SjisString& line : lines.lines()) {
        const std::vector<std::string_view> columns = speccode::codeColumns(line);
        FUZZ_CHECK(!columns.empty() && columns.size() <= 100);
        for (int variant = 0; variant < 3; ++variant)
            speccode::specificationValues(columns, variant, types);
    }
    writeCodeFile(code);
    const std::vector<std::string_view> first = speccode::codeColumns(lines.line(0));
    auto column = [&](std::size_t n) { return SjisString(n <= first.size() ? first[n - 1] : std::string_view{}); };
    search(column(15), column(6), types);
    search(sj("０１２３４"), sj("０００１"), types);
    return 0;
}
