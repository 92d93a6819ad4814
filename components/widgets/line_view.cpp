#include "components/widgets/line_view.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>

namespace {

constexpr int kMargin = 4;

// Columns of a line in a Japanese fixed-pitch font: two for a wide
// character, one for the others.
int columnsOf(const QString& line)
{
    int n = 0;
    for (QChar c : line)
        n += c.unicode() >= 0x1100 && !(c.unicode() >= 0xFF61 && c.unicode() <= 0xFF9F) ? 2 : 1;
    return n;
}

}  // namespace

LineView::LineView(QWidget* parent) : QAbstractScrollArea(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
}

void LineView::setPlainText(const QString& text)
{
    lines_ = text.split(QLatin1Char('\n'));
    if (!lines_.isEmpty() && lines_.last().isEmpty())
        lines_.removeLast();
    widestColumns_ = 0;
    for (const QString& l : lines_)
        widestColumns_ = std::max(widestColumns_, columnsOf(l));
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
    updateScrollBars();
    viewport()->update();
}

QString LineView::toPlainText() const { return lines_.join(QLatin1Char('\n')); }

void LineView::updateScrollBars()
{
    const QFontMetrics fm(font());
    const int rows = std::max(1, viewport()->height() / fm.lineSpacing());
    verticalScrollBar()->setRange(0, std::max(0, int(lines_.size()) - rows));
    verticalScrollBar()->setPageStep(rows);
    verticalScrollBar()->setSingleStep(1);
    const int width = widestColumns_ * fm.horizontalAdvance(QLatin1Char('0')) + 2 * kMargin;
    horizontalScrollBar()->setRange(0, std::max(0, width - viewport()->width()));
    horizontalScrollBar()->setPageStep(viewport()->width());
    horizontalScrollBar()->setSingleStep(fm.horizontalAdvance(QLatin1Char('0')));
}

void LineView::paintEvent(QPaintEvent*)
{
    QPainter p(viewport());
    p.setFont(font());
    p.setPen(palette().color(QPalette::Text));
    const QFontMetrics fm(font());
    const int first = verticalScrollBar()->value();
    const int x = kMargin - horizontalScrollBar()->value();
    for (int row = 0, y = 0; first + row < lines_.size() && y < viewport()->height(); ++row, y += fm.lineSpacing())
        p.drawText(x, y + fm.ascent(), lines_[first + row]);
}

void LineView::resizeEvent(QResizeEvent* e)
{
    QAbstractScrollArea::resizeEvent(e);
    updateScrollBars();
}

void LineView::changeEvent(QEvent* e)
{
    QAbstractScrollArea::changeEvent(e);
    if (e->type() == QEvent::FontChange)
        updateScrollBars();
}

void LineView::keyPressEvent(QKeyEvent* e)
{
    if (e->matches(QKeySequence::Copy) || e->matches(QKeySequence::SelectAll)) {
        QApplication::clipboard()->setText(toPlainText());
        return;
    }
    QScrollBar* v = verticalScrollBar();
    switch (e->key()) {
    case Qt::Key_Home: v->setValue(0); break;
    case Qt::Key_End: v->setValue(v->maximum()); break;
    case Qt::Key_Up: v->triggerAction(QAbstractSlider::SliderSingleStepSub); break;
    case Qt::Key_Down: v->triggerAction(QAbstractSlider::SliderSingleStepAdd); break;
    case Qt::Key_PageUp: v->triggerAction(QAbstractSlider::SliderPageStepSub); break;
    case Qt::Key_PageDown: v->triggerAction(QAbstractSlider::SliderPageStepAdd); break;
    case Qt::Key_Left: horizontalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub); break;
    case Qt::Key_Right: horizontalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd); break;
    default: QAbstractScrollArea::keyPressEvent(e);
    }
}
