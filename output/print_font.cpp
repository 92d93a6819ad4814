#include "output/print_font.h"

#include "platform/font_dialog.h"
#include "platform/system_colors.h"
#include "platform/text_printer.h"

#include <QGuiApplication>

#include <algorithm>

QFont printFont(const FontBlock& block)
{
    substituteJapaneseFonts();
    QFont font(sjis::decode(block.name));
    font.setPointSize(block.pointSize());
    return font;
}

QColor printColor(const FontBlock& block)
{
    return toQColor(block.color, QGuiApplication::palette());
}

FontBlock fontBlockOf(const QFont& font, const FontBlock& previous)
{
    FontBlock block = previous;
    if (sjis::canEncode(font.family()))
        block.name = sjis::encode(font.family());
    if (font.pointSize() > 0) {
        block.size = font.pointSize();
        block.height = -((block.size * kScreenDpi + 36) / 72);
    }
    return block;
}

bool choosePrintFont(FontBlock& block, QWidget* parent)
{
    const QFont printed = printFont(block);
    QFont font = printed;
    font.setFamily(printingFace(printed));
    QColor color = printColor(block);
    if (!chooseFont(font, color, parent))
        return false;
    const FontBlock previous = block;
    block = fontBlockOf(font, previous);
    if (font.family() == printingFace(printed))
        block.name = previous.name;
    if (color != printColor(previous))
        block.color = rgbColor(color.red(), color.green(), color.blue());
    return true;
}

std::vector<int> byteColumns(std::string_view cp932, const QString& decoded)
{
    std::vector<int> columns;
    columns.reserve(std::size_t(decoded.size()));
    std::size_t i = 0;
    for (QChar c : decoded) {
        columns.push_back(int(i));
        // A two-byte character decodes to one character; a lead byte
        // without a valid partner shows as U+FFFD and takes its byte alone.
        const bool pair = sjis::isLeadByte(uint8_t(cp932[i])) && i + 1 < cp932.size() && c != QChar(0xFFFD);
        i += pair ? 2 : 1;
    }
    return columns;
}

void printText(TextPrinter& printer, std::string_view cp932)
{
    const QString text = sjis::decode(cp932);
    printer.printLine(text, byteColumns(cp932, text));
}

void printWhole(TextPrinter& printer, const std::vector<SjisString>& lines)
{
    const auto blank = [](const SjisString& line) { return line.find_first_not_of(' ') == SjisString::npos; };
    const auto last = std::find_if_not(lines.rbegin(), lines.rend(), blank);
    printer.keepTogether(int(lines.rend() - last));
    for (const SjisString& line : lines)
        printText(printer, line);
}
