#include "components/widgets/panel.h"

#include <QChildEvent>
#include <QMouseEvent>
#include <QPainter>

namespace {

constexpr const char* kAlignProperty = "panelAlign";

void realignParent(QWidget* w)
{
    if (auto* p = qobject_cast<Panel*>(w->parentWidget()))
        p->realign();
}

}  // namespace

void setAlign(QWidget* w, Align align)
{
    w->setProperty(kAlignProperty, int(align));
    realignParent(w);
}

Align alignOf(const QWidget* w)
{
    QVariant v = w->property(kAlignProperty);
    return v.isValid() ? Align(v.toInt()) : Align::None;
}

void setControlWidth(QWidget* w, int width)
{
    w->resize(std::max(0, width), w->height());
    realignParent(w);
    if (auto* p = qobject_cast<Panel*>(w))
        p->realign();
}

void setControlHeight(QWidget* w, int height)
{
    w->resize(w->width(), std::max(0, height));
    realignParent(w);
    if (auto* p = qobject_cast<Panel*>(w))
        p->realign();
}

void setControlLeft(QWidget* w, int left)
{
    w->move(left, w->y());
}

void setControlVisible(QWidget* w, bool visible)
{
    w->setVisible(visible);
    realignParent(w);
}

Panel::Panel(QWidget* parent, Align align, const QString& objectName) : QFrame(parent)
{
    if (!objectName.isEmpty())
        setObjectName(objectName);
    setAlign(this, align);
    setBevel(Bevel::None);
}

void Panel::setCaption(const QString& caption)
{
    caption_ = caption;
    update();
}

void Panel::setBevel(Bevel bevel)
{
    switch (bevel) {
    case Bevel::None: setFrameStyle(QFrame::NoFrame); break;
    case Bevel::Raised: setFrameStyle(QFrame::Panel | QFrame::Raised); break;
    case Bevel::Lowered: setFrameStyle(QFrame::Panel | QFrame::Sunken); break;
    }
    setLineWidth(1);
}

void Panel::setColor(const QColor& color)
{
    color_ = color;
    update();
}

void Panel::setFontColor(const QColor& color)
{
    fontColor_ = color;
    update();
}

void Panel::setCaptionAlignment(Qt::Alignment a)
{
    captionAlignment_ = a;
    update();
}

void Panel::realign()
{
    if (realigning_)
        return;
    realigning_ = true;
    QRect r = contentsRect();
    const QObjectList kids = children();
    auto place = [&](Align which) {
        for (QObject* o : kids) {
            auto* w = qobject_cast<QWidget*>(o);
            if (!w || w->isWindow() || w->isHidden() || alignOf(w) != which)
                continue;
            switch (which) {
            case Align::Top:
                w->setGeometry(r.left(), r.top(), r.width(), w->height());
                r.setTop(r.top() + w->height());
                break;
            case Align::Bottom:
                w->setGeometry(r.left(), r.bottom() + 1 - w->height(), r.width(), w->height());
                r.setBottom(r.bottom() - w->height());
                break;
            case Align::Left:
                w->setGeometry(r.left(), r.top(), w->width(), std::max(0, r.height()));
                r.setLeft(r.left() + w->width());
                break;
            case Align::Right:
                w->setGeometry(r.right() + 1 - w->width(), r.top(), w->width(), std::max(0, r.height()));
                r.setRight(r.right() - w->width());
                break;
            case Align::Client:
                w->setGeometry(r.left(), r.top(), std::max(0, r.width()), std::max(0, r.height()));
                break;
            case Align::None: break;
            }
        }
    };
    for (Align a : {Align::Top, Align::Bottom, Align::Left, Align::Right, Align::Client})
        place(a);
    for (QObject* o : kids)
        if (auto* p = qobject_cast<Panel*>(o); p && !p->isHidden())
            p->realign();
    realigning_ = false;
}

void Panel::paintEvent(QPaintEvent* e)
{
    QPainter painter(this);
    if (color_.isValid())
        painter.fillRect(rect(), color_);
    if (!caption_.isEmpty()) {
        if (fontColor_.isValid())
            painter.setPen(fontColor_);
        painter.setFont(font());
        painter.drawText(contentsRect().adjusted(2, 0, -2, 0), int(captionAlignment_), caption_);
    }
    painter.end();
    QFrame::paintEvent(e);
}

void Panel::resizeEvent(QResizeEvent* e)
{
    QFrame::resizeEvent(e);
    realign();
}

void Panel::mousePressEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton)
        emit clicked();
    QFrame::mousePressEvent(e);
}

void Panel::mouseDoubleClickEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton)
        emit doubleClicked();
    QFrame::mouseDoubleClickEvent(e);
}

bool Panel::event(QEvent* e)
{
    if (e->type() == QEvent::LayoutRequest || e->type() == QEvent::ChildAdded ||
        e->type() == QEvent::ChildRemoved)
        realign();
    return QFrame::event(e);
}

namespace {
constexpr char kCaptionBytes[] = "sjisCaption";
}

void setTitle(Panel* panel, const SjisString& bytes)
{
    panel->setProperty(kCaptionBytes, QByteArray::fromStdString(bytes));
    panel->setCaption(sjis::decode(bytes));
}

SjisString titleBytes(const Panel* panel)
{
    const QVariant bytes = panel->property(kCaptionBytes);
    if (bytes.isValid() && sjis::decode(bytes.toByteArray().toStdString()) == panel->caption())
        return bytes.toByteArray().toStdString();
    return sjis::encode(panel->caption());
}
