#include "record_book/color_dlg.h"

#include "components/core/data_directory.h"
#include "components/widgets/list_entries.h"
#include "components/widgets/panel.h"
#include "components/formats/card_settings.h"
#include "components/widgets/typed_text.h"
#include "platform/error_guard.h"
#include "record_book/main_window.h"
#include "record_book/model/title_colors.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

TColorDlg* ColorDlg = nullptr;

namespace {

QComboBox* colorCombo(QWidget* parent, const char* name, int top)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setMaxVisibleItems(16);
    for (const ColorName& c : kColorNames)
        addListEntry(box, sj(c.name));
    box->setGeometry(16, top, 288, 24);
    return box;
}

QLabel* label(QWidget* parent, const char* name, const char* text, int top)
{
    auto* l = new QLabel(QString::fromUtf8(text), parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setGeometry(16, top, 288, 18);
    return l;
}

}  // namespace

const QStringList& TColorDlg::titlePanelNames()
{
    static const QStringList names = [] {
        QStringList l;
        auto range = [&l](int group, int from, int to) {
            for (int i = from; i <= to; ++i)
                l << QStringLiteral("Title%1Panel%2").arg(group).arg(i);
        };
        range(1, 1, 9);
        range(2, 1, 6);
        range(3, 1, 15);
        range(4, 1, 2);
        range(5, 1, 2);
        range(6, 1, 3);
        range(7, 1, 2);
        range(8, 1, 1);
        range(9, 1, 4);
        range(10, 1, 1);
        range(13, 1, 1);
        range(14, 1, 8);
        range(15, 1, 1);
        return l;
    }();
    return names;
}

TColorDlg::TColorDlg(TCarDataForm& carData, QWidget* parent) : QDialog(parent), carData_(carData)
{
    setObjectName(QStringLiteral("ColorDlg"));
    setWindowTitle(QStringLiteral("ﾀｲﾄﾙ色変更"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    Label1 = label(this, "Label1", "ﾀｲﾄﾙの色", 12);
    ColorComboBox = colorCombo(this, "ColorComboBox", 32);
    Label2 = label(this, "Label2", "ソート及びフィルタの文字", 64);
    ColorComboBox1 = colorCombo(this, "ColorComboBox1", 84);
    OKBtn = new QPushButton(QStringLiteral("OK"), this);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setDefault(true);
    OKBtn->setGeometry(122, 116, 75, 25);
    // OK closes the dialog even when the file cannot be written.
    connect(OKBtn, &QPushButton::clicked, this, [this] {
        guarded([this] { OKBtnClick(); });
        accept();
    });
    setFixedSize(320, 149);
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    FormCreate();
}

void TColorDlg::FormCreate()
{
    Directory = currentDataDirectory();
    TitleColorSettings stored;
    guarded([&] { stored = readTitleColorSettings(Directory); });
    const SjisString& title = stored.titleColor;
    const SjisString& indicator = stored.indicatorColor;
    paint();  // the design colours, until a name applies
    // The boxes keep the names as read, byte for byte (comboText).
    setComboText(ColorComboBox, title);
    applyTitleColor(title);
    setComboText(ColorComboBox1, indicator);
    applyIndicatorColor(indicator);
}

// A name CP932 cannot hold is refused and nothing is written.
void TColorDlg::OKBtnClick()
{
    const auto title = encodingOrWarn([this] { return comboText(ColorComboBox); }, this);
    if (!title)
        return;
    const auto indicator = encodingOrWarn([this] { return comboText(ColorComboBox1); }, this);
    if (!indicator)
        return;
    applyTitleColor(*title);
    applyIndicatorColor(*indicator);
    writeTitleColorSettings(Directory, {*title, *indicator});
    setComboText(ColorComboBox, *title);
    setComboText(ColorComboBox1, *indicator);
}

void TColorDlg::applyTitleColor(const SjisString& name)
{
    if (TColor c = ColorNameToColor(name)) {
        titleColor_ = c;
        paint();
    }
}

void TColorDlg::applyIndicatorColor(const SjisString& name)
{
    if (TColor c = ColorNameToColor(name)) {
        indicatorColor_ = c;
        paint();
    }
}

// Puts the colours on the main window, system colours as the palette has
// them now.
void TColorDlg::paint()
{
    const QPalette palette = QApplication::palette(&carData_);
    const QColor title = toQColor(titleColor_, palette);
    for (const QString& name : titlePanelNames())
        if (auto* p = carData_.card()->findChild<Panel*>(name))
            p->setColor(title);
    const QColor text = toQColor(indicatorColor_, palette);
    for (const char* name : {"SortPanel", "FilterPanel"})
        if (auto* p = carData_.findChild<Panel*>(QString::fromLatin1(name)))
            p->setFontColor(text);
}

// A change of the desktop's colour scheme reaches the system colours.
bool TColorDlg::event(QEvent* e)
{
    if (e->type() == QEvent::ApplicationPaletteChange || e->type() == QEvent::PaletteChange)
        paint();
    return QDialog::event(e);
}

TColorDlg::~TColorDlg()
{
    if (ColorDlg == this)
        ColorDlg = nullptr;
}
