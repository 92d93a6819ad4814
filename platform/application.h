// Start-up of either program's QApplication: Japanese standard buttons,
// the Japanese UI font, rows that fit it, and the locale.
#pragma once

#include <QProxyStyle>

class QApplication;

void setUpJapaneseApplication(QApplication& app);

// The application's style: rows of lists and drop-down lists at least
// rowHeight() of their font tall.
class RoomyRowsStyle : public QProxyStyle {
public:
    static int rowHeight(const QFontMetrics& metrics);
    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget) const override;
};
