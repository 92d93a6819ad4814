#include "platform/system_colors.h"

namespace {

// A colour between two, `part` of the way from `a` to `b`.
QColor blend(const QColor& a, const QColor& b, double part)
{
    auto mix = [part](int x, int y) { return int(x + (y - x) * part + 0.5); };
    return QColor(mix(a.red(), b.red()), mix(a.green(), b.green()), mix(a.blue(), b.blue()));
}

}  // namespace

QColor systemColor(int index, const QPalette& p)
{
    using R = QPalette;
    switch (index) {
    case 1: return p.color(R::Dark);                                     // desktop
    case 2: return p.color(R::Active, R::Highlight);                     // active title bar
    case 3: return blend(p.color(R::Window), p.color(R::Highlight), 0.3); // inactive title bar: a pale tint
    case 4: return p.color(R::Window);                                   // menu
    case 5: return p.color(R::Base);                                     // window background
    case 6: return p.color(R::Shadow);                                   // window frame
    case 7: return p.color(R::WindowText);                               // menu text
    case 8: return p.color(R::Text);                                     // window text
    case 9: return p.color(R::HighlightedText);                          // active title text
    case 10:                                                             // active border
    case 11: return p.color(R::Window);                                  // inactive border
    case 12: return p.color(R::Mid);                                     // application workspace
    case 13: return p.color(R::Highlight);
    case 14: return p.color(R::HighlightedText);
    case 15: return p.color(R::Button);                                  // button face
    case 16: return p.color(R::Dark);                                    // button shadow
    case 17: return p.color(R::Disabled, R::Text);                       // greyed text
    case 18: return p.color(R::ButtonText);
    case 19: return p.color(R::WindowText);                              // inactive title text
    case 20: return p.color(R::Light);                                   // button highlight
    case 21: return p.color(R::Shadow);                                  // dark 3-D shadow
    case 22: return p.color(R::Midlight);                                // 3-D light
    case 23: return p.color(R::ToolTipText);
    case 24: return p.color(R::ToolTipBase);
    default: return p.color(R::Window);
    }
}

QColor toQColor(TColor c, const QPalette& palette)
{
    if (isSystemColor(c))
        return systemColor(int(c & 0xFFFFFFu), palette);
    return QColor(int(c & 0xFF), int(c >> 8 & 0xFF), int(c >> 16 & 0xFF));
}
