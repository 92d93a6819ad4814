// Printing: the one printer of the run and the text device that prints on
// it, for the list print and the cost estimate.
//
// The printer is chosen once with the printer set-up dialog and kept for
// the run. A print job on a real printer is one job of the print system;
// on a printer that writes a file (Qt's print dialog offers a PDF file)
// the jobs of one TextPrinter become the pages of that one file, since a
// second job would overwrite the first.
//
// The text device puts every glyph on a grid of cells half the font's size
// wide; its callers give a character of CP932 text one cell for each of
// its bytes. Columns of fixed byte widths so line up in any font. Lines
// go down the page from its top, each as high as its font size (the em,
// which a Japanese font's characters fill); a line that would pass the
// bottom starts a new page, except a blank one, which is dropped there.
#pragma once

#include <QColor>
#include <QFont>
#include <QPainter>
#include <map>
#include <memory>
#include <stdexcept>
#include <vector>

class QImage;
class QPrinter;
class QWidget;

// A print that cannot be started or written. Its message is shown as is.
class PrintError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The printer of the run (created on first use, freed with the application).
QPrinter& runPrinter();

// The printer set-up dialog ("PrintDialog") on runPrinter(), shown through
// showModal; false when it is cancelled.
bool choosePrinter(QWidget* parent = nullptr);

// The faces the system's font names stand for ("ＭＳ 明朝" and the rest),
// registered once as Qt font substitutes.
void substituteJapaneseFonts();
// The face the device prints `font` in: its family, or the face that
// stands for it.
QString printingFace(const QFont& font);

class TextPrinter {
public:
    explicit TextPrinter(QPrinter& printer);
    ~TextPrinter();  // cancels an open job on a real printer, ends a file printer's file
    TextPrinter(const TextPrinter&) = delete;
    TextPrinter& operator=(const TextPrinter&) = delete;

    // The cells of the grid a line holds across the page in `font`.
    int cellsPerLine(const QFont& font) const;
    // Starts a job in `font` at its point size. Throws PrintError.
    void beginJob(const QFont& font, const QColor& color = Qt::black);
    // The point size of the lines printed from now on.
    void setFontSize(int points);
    int fontSize() const { return fontSize_; }
    // Starts a new page unless `lines` lines at the current size fit in
    // the rest of this one (or nothing is printed on it yet).
    void keepTogether(int lines);
    // One line at the current size: character k of `text` starts at cell
    // `columns[k]` from the left edge.
    void printLine(const QString& text, const std::vector<int>& columns);
    // An image scaled to fit the page, keeping its proportions.
    void printImage(const QImage& image);
    // Ends the job: its last page is printed.
    void endJob();
    bool inJob() const { return inJob_; }
    // Ends the job and the file printer's file. Throws PrintError when the
    // file could not be written.
    void finish();

    int pageCount() const { return pages_; }

private:
    struct Faces;
    Faces& faces();
    void ensureRoom(double height);
    void startPage();
    void newPage();

    QPrinter& printer_;
    QPainter painter_;
    bool toFile_;
    bool inJob_ = false;
    bool pageUsed_ = false;
    int pages_ = 0;
    QFont font_;
    QColor color_;
    int fontSize_ = 0;
    double y_ = 0;
    std::map<int, std::unique_ptr<Faces>> faces_;  // by point size
};
