#include "output/print_font.h"

#include "platform/system_colors.h"
#include "platform/text_printer.h"

#include <QGuiApplication>

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
