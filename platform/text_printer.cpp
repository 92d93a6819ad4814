#include "platform/text_printer.h"

#include "platform/modal.h"

#include <QCoreApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGlyphRun>
#include <QImage>
#include <QPrintDialog>
#include <QPrinter>
#include <QRawFont>

#include <algorithm>
#include <cstdint>

namespace {

QPrinter* thePrinter = nullptr;

void freePrinter()
{
    delete thePrinter;
    thePrinter = nullptr;
}

constexpr int kMinimumSize = 1;
constexpr int kMaximumSize = 500;

int jobPointSize(const QFont& font)
{
    return std::clamp(font.pointSize() > 0 ? font.pointSize() : 9, kMinimumSize, kMaximumSize);
}

}  // namespace

QPrinter& runPrinter()
{
    if (!thePrinter) {
        thePrinter = new QPrinter(QPrinter::HighResolution);
        qAddPostRoutine(freePrinter);
    }
    return *thePrinter;
}

bool choosePrinter(QWidget* parent)
{
    QPrintDialog dialog(&runPrinter(), parent);
    dialog.setObjectName(QStringLiteral("PrintDialog"));
    return showModal(dialog) == QDialog::Accepted;
}

void substituteJapaneseFonts()
{
    static const bool done = [] {
        QFont::insertSubstitutions(QStringLiteral("ＭＳ 明朝"), {QStringLiteral("IPAMincho")});
        QFont::insertSubstitutions(QStringLiteral("ＭＳ Ｐ明朝"), {QStringLiteral("IPAPMincho")});
        QFont::insertSubstitutions(QStringLiteral("ＭＳ ゴシック"), {QStringLiteral("IPAGothic")});
        QFont::insertSubstitutions(QStringLiteral("ＭＳ Ｐゴシック"), {QStringLiteral("IPAPGothic")});
        return true;
    }();
    (void)done;
}

QString printingFace(const QFont& font)
{
    substituteJapaneseFonts();
    return QFontInfo(font).family();
}

// The glyphs of one font at one size: the font's own face, and the face
// the font falls back to for Japanese text it lacks.
struct TextPrinter::Faces {
    QRawFont face[2];
    double cell = 0, ascent = 0, lineHeight = 0;
    // By UTF-16 unit: 0 not looked up yet, else bit 31 the face and the
    // low bits the glyph index + 1.
    std::vector<std::uint32_t> glyphs = std::vector<std::uint32_t>(0x10000, 0);

    std::uint32_t glyphOf(char16_t c)
    {
        std::uint32_t& slot = glyphs[c];
        if (!slot) {
            const int f = face[0].supportsCharacter(QChar(c)) || !face[1].isValid() ? 0 : 1;
            const QList<quint32> g = face[f].glyphIndexesForString(QString(QChar(c)));
            slot = std::uint32_t(f) << 31 | ((g.value(0) + 1) & 0x7FFFFFFFu);
        }
        return slot;
    }
};

TextPrinter::TextPrinter(QPrinter& printer) : printer_(printer), toFile_(!printer.outputFileName().isEmpty())
{
    substituteJapaneseFonts();
}

// A job left open by a failure: a real printer's job is cancelled, a
// file keeps the pages printed so far.
TextPrinter::~TextPrinter()
{
    if (inJob_ && !toFile_)
        printer_.abort();
    if (painter_.isActive())
        painter_.end();
}

int TextPrinter::cellsPerLine(const QFont& font) const
{
    const double cell = jobPointSize(font) * printer_.resolution() / 72.0 / 2;
    return int(printer_.width() / cell);
}

void TextPrinter::beginJob(const QFont& font, const QColor& color)
{
    if (inJob_)
        endJob();
    if (font != font_)
        faces_.clear();
    font_ = font;
    color_ = color;
    fontSize_ = jobPointSize(font);
    if (!painter_.isActive()) {
        if (!painter_.begin(&printer_))
            throw PrintError(QStringLiteral("印刷を開始できません。").toStdString());
        pageUsed_ = false;
        ++pages_;
    } else {
        newPage();
    }
    inJob_ = true;
    y_ = 0;
}

void TextPrinter::setFontSize(int points)
{
    fontSize_ = std::clamp(points, kMinimumSize, kMaximumSize);
}

TextPrinter::Faces& TextPrinter::faces()
{
    std::unique_ptr<Faces>& f = faces_[fontSize_];
    if (!f) {
        f = std::make_unique<Faces>();
        const double pixels = fontSize_ * printer_.resolution() / 72.0;
        f->face[0] = QRawFont::fromFont(font_);
        f->face[1] = QRawFont::fromFont(font_, QFontDatabase::Japanese);
        for (QRawFont& face : f->face)
            if (face.isValid())
                face.setPixelSize(pixels);
        const QRawFont& main = f->face[0].isValid() ? f->face[0] : f->face[1];
        f->cell = pixels / 2;
        f->ascent = std::min(main.isValid() ? main.ascent() : pixels * 0.88, pixels);
        f->lineHeight = pixels;
    }
    return *f;
}

void TextPrinter::newPage()
{
    if (!printer_.newPage())
        throw PrintError(QStringLiteral("印刷できません。").toStdString());
    ++pages_;
    pageUsed_ = false;
    y_ = 0;
}

void TextPrinter::ensureRoom(double height)
{
    if (!inJob_)
        throw PrintError(QStringLiteral("印刷ジョブが開始されていません。").toStdString());
    if (pageUsed_ && y_ + height > printer_.height())
        newPage();
    pageUsed_ = true;
}

void TextPrinter::keepTogether(int lines)
{
    if (inJob_ && pageUsed_ && y_ + lines * faces().lineHeight > printer_.height())
        newPage();
}

void TextPrinter::printLine(const QString& text, const std::vector<int>& columns)
{
    Faces& f = faces();
    const bool blank = std::all_of(text.begin(), text.end(), [](QChar c) { return c == u' ' || c == u'\u3000'; });
    if (blank && inJob_ && y_ + f.lineHeight > printer_.height()) {
        y_ += f.lineHeight;
        return;
    }
    ensureRoom(f.lineHeight);
    QList<quint32> indexes[2];
    QList<QPointF> positions[2];
    for (qsizetype k = 0; k < text.size() && std::size_t(k) < columns.size(); ++k) {
        const char16_t c = text[k].unicode();
        if (c == u' ' || c == u'\u3000')
            continue;
        const std::uint32_t g = f.glyphOf(c);
        const int face = int(g >> 31);
        indexes[face].append((g & 0x7FFFFFFFu) - 1);
        positions[face].append(QPointF(columns[std::size_t(k)] * f.cell, 0));
    }
    painter_.setPen(color_);
    const QPointF baseline(0, y_ + f.ascent);
    for (int face = 0; face < 2; ++face) {
        if (indexes[face].isEmpty())
            continue;
        QGlyphRun run;
        run.setRawFont(f.face[face]);
        run.setGlyphIndexes(indexes[face]);
        run.setPositions(positions[face]);
        painter_.drawGlyphRun(baseline, run);
    }
    y_ += f.lineHeight;
}

void TextPrinter::printImage(const QImage& image)
{
    ensureRoom(printer_.height());
    const QSize page(printer_.width(), printer_.height());
    const QSize size = image.size().scaled(page, Qt::KeepAspectRatio);
    painter_.setRenderHint(QPainter::SmoothPixmapTransform);
    painter_.drawImage(QRect(QPoint(0, 0), size), image);
    y_ = printer_.height();
}

void TextPrinter::endJob()
{
    if (!inJob_)
        return;
    inJob_ = false;
    if (!toFile_)
        painter_.end();
}

void TextPrinter::finish()
{
    endJob();
    if (painter_.isActive() && !painter_.end())
        throw PrintError(QStringLiteral("印刷できません。").toStdString());
}
