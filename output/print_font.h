// The printed lists' fonts and lines: a font block as the font the text
// device prints in, and CP932 text on the device's grid of bytes.
#pragma once

#include "components/core/cp932.h"
#include "components/formats/print_settings.h"

#include <QColor>
#include <QFont>
#include <string_view>
#include <vector>

class QWidget;
class TextPrinter;

QFont printFont(const FontBlock& block);
// The block's colour; a system colour is taken from the application's palette.
QColor printColor(const FontBlock& block);
// The block of a font chosen in the font dialog: its face and size, the
// colour, character set and handle kept from `previous`.
FontBlock fontBlockOf(const QFont& font, const FontBlock& previous);
// The font dialog on the face, size and colour the block prints in; true
// with the block changed when it is accepted. The block keeps its face's
// name while that face is chosen, and a system colour while no other
// colour is.
bool choosePrintFont(FontBlock& block, QWidget* parent);

// The start column of each character of the text as decode() shows it: a
// character takes one cell per byte.
std::vector<int> byteColumns(std::string_view cp932, const QString& decoded);
// Prints one line of CP932 text, each byte one cell of the grid.
void printText(TextPrinter& printer, std::string_view cp932);
// Prints the lines on one page: a new page first when the rest of this one
// cannot hold them up to the last that is not blank.
void printWhole(TextPrinter& printer, const std::vector<SjisString>& lines);
