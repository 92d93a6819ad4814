#include "platform/application.h"

#include <QApplication>
#include <QFont>
#include <QFontMetrics>
#include <QLibraryInfo>
#include <QLocale>
#include <QStyleOption>
#include <QTranslator>

#include <algorithm>

// The IPA fonts draw taller than the rows that the default style gives the
// entries of lists and drop-down lists: every row gets room around its text.
int RoomyRowsStyle::rowHeight(const QFontMetrics& metrics) { return metrics.lineSpacing() + 6; }

QSize RoomyRowsStyle::sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                                       const QWidget* widget) const
{
    QSize s = QProxyStyle::sizeFromContents(type, option, size, widget);
    if (type == CT_ItemViewItem && option)
        s.setHeight(std::max(s.height(), rowHeight(option->fontMetrics)));
    return s;
}

void setUpJapaneseApplication(QApplication& app)
{
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    auto* translator = new QTranslator(&app);
    if (translator->load(QLocale(QLocale::Japanese), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(translator);
    QFont font(QStringLiteral("IPAPGothic"));
    font.setPointSize(10);
    QApplication::setFont(font);
    QApplication::setStyle(new RoomyRowsStyle);
}
