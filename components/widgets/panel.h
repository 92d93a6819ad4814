// Panel: a captioned frame that lays its children out by alignment, the way
// the card of the record book is built: children aligned to the top, the
// bottom, the left or the right are stacked against that edge in the order
// they were added, one child may fill what is left, and children without an
// alignment keep the geometry they are given. A change of a child's width
// re-stacks its row at once, also while the window is still hidden, so that
// widths read back right after a change are already the new ones.
#pragma once

#include "components/core/cp932.h"

#include <QColor>
#include <QFrame>
#include <QString>

enum class Align { None, Top, Bottom, Left, Right, Client };

class Panel : public QFrame {
    Q_OBJECT
public:
    enum class Bevel { None, Raised, Lowered };

    explicit Panel(QWidget* parent = nullptr, Align align = Align::None, const QString& objectName = {});

    QString caption() const { return caption_; }
    void setCaption(const QString& caption);
    void setBevel(Bevel bevel);
    void setColor(const QColor& color);  // background
    QColor color() const { return color_; }
    void setFontColor(const QColor& color);
    QColor fontColor() const { return fontColor_; }  // invalid: the palette's text colour
    void setCaptionAlignment(Qt::Alignment a);

    // Places the aligned children now, and those of child panels.
    void realign();

signals:
    void clicked();
    void doubleClicked();

protected:
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    bool event(QEvent* e) override;

private:
    QString caption_;
    QColor color_;
    QColor fontColor_;
    Qt::Alignment captionAlignment_ = Qt::AlignCenter;
    bool realigning_ = false;
};

// Alignment of any widget inside a Panel.
void setAlign(QWidget* w, Align align);
Align alignOf(const QWidget* w);

// Sets a widget's width, height or left edge and re-stacks its panel at once.
void setControlWidth(QWidget* w, int width);
void setControlHeight(QWidget* w, int height);
void setControlLeft(QWidget* w, int left);
// Shows or hides a widget and re-stacks its panel at once.
void setControlVisible(QWidget* w, bool visible);

// A title's caption and the bytes it stands for: titleBytes gives back the
// bytes setTitle showed while the caption is still theirs, else the
// caption encoded (the design's caption).
void setTitle(Panel* panel, const SjisString& bytes);
SjisString titleBytes(const Panel* panel);
