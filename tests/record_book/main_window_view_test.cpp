// Title colours, column widths and line count, and the list window.
#include "components/widgets/db_controls.h"
#include "components/widgets/dual_list.h"
#include "components/widgets/panel.h"
#include "components/core/record_fields.h"
#include "components/formats/settings_file.h"
#include "platform/message_box.h"
#include "platform/modal.h"
#include "record_book/color_dlg.h"
#include "record_book/display_pattern_dlg.h"
#include "record_book/item_height_form.h"
#include "record_book/item_width_form.h"
#include "record_book/model/list_columns.h"
#include "record_book/list_form.h"
#include "record_book/main_window.h"
#include "record_book/model/title_colors.h"
#include "tests/record_book/main_window_fixture.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// ---- colour names ------------------------------------------------------------------------

TEST(ColorNameToColor, NamesMatchByteForByteOnlyAndTwinNamesGiveOneColour)
{
    // Without the leading full-width space, with a trailing blank, or with
    // full-width letters where the table has single-byte ones: no match.
    // Black is the same value as no colour.
    const std::pair<const char*, TColor> cases[] = {
        {"　空　色", rgbColor(0, 255, 255)}, {"　黄　色", rgbColor(255, 255, 0)},
        {"アクティブでないウィンドウのタイトルバーの色", systemColorValue(3)},
        {"　ツールチップコントロールの背景色", systemColorValue(24)},
        {"黒　色", 0u}, {"空　色", 0u}, {"　空　色 ", 0u}, {"　Ｗｉｎｄｏｗｓ　デスクトップの背景色", 0u},
        {"　３次元表示要素の暗い影", 0u}, {"　Windows デスクトップの背景色", systemColorValue(1)},
        {"　3次元表示要素の暗い影", systemColorValue(21)}, {"", 0u}, {"　黒　色", 0u}};
    for (auto [name, color] : cases)
        EXPECT_EQ(ColorNameToColor(sj(name)), color) << name;
    // Twin names give one colour.
    EXPECT_EQ(ColorNameToColor(sj("　灰色（暗）")), ColorNameToColor(sj("　灰　色")));
    EXPECT_EQ(ColorNameToColor(sj("　灰色（明）")), ColorNameToColor(sj("　銀　色")));
}

TEST(ColorNameToColor, EveryNameOfTheTableIsFoundAtItsOwnRow)
{
    std::set<SjisString> names;
    int systemColors = 0;
    for (const ColorName& c : kColorNames) {
        names.insert(sj(c.name));
        EXPECT_EQ(ColorNameToColor(sj(c.name)), c.color) << c.name;
        systemColors += isSystemColor(c.color);
    }
    EXPECT_EQ(names.size(), 42u);
    EXPECT_EQ(systemColors, 24);
}

TEST(SystemColors, FollowThePalette)
{
    QPalette p;
    p.setColor(QPalette::Text, QColor(1, 2, 3));
    p.setColor(QPalette::Highlight, QColor(200, 0, 0));
    EXPECT_EQ(toQColor(systemColorValue(kColorWindowText), p), QColor(1, 2, 3));
    EXPECT_EQ(toQColor(systemColorValue(13), p), QColor(200, 0, 0));
    EXPECT_EQ(toQColor(rgbColor(10, 20, 30), p), QColor(10, 20, 30));
}

// ---- list columns ------------------------------------------------------------------------

TEST(ListColumns, ItemsNameThePositionRightAlignedAndTheField)
{
    EXPECT_EQ(displayItem(0), sj(" 0,使用者ふりがな"));
    EXPECT_EQ(displayItem(46), sj("46,自賠責期間至"));
    const auto items = designDisplayItems();
    ASSERT_EQ(items.size(), 47u);
    for (int k = 0; k < 47; ++k)
        EXPECT_EQ(displayItemPosition(items[std::size_t(k)]), k);
    EXPECT_EQ(displayItemPosition(sj("  7,名前")), 7);
    EXPECT_EQ(displayItemPosition(sj("名前")), 0);
}

std::vector<int> fieldsOf(const std::vector<ListColumn>& columns)
{
    std::vector<int> f;
    for (const ListColumn& c : columns)
        f.push_back(c.field);
    return f;
}

TEST(ListColumns, NamedFieldsComeFirstWithTheirWidthsTheOthersFollow)
{
    const auto columns = arrangeListColumns(10, {1, 3, 5, 7}, {{8, 20}, {2, 5}});
    EXPECT_EQ(fieldsOf(columns), (std::vector<int>{7, 1, 3, 5}));
    EXPECT_EQ(columns[0].width, 20);
    EXPECT_EQ(columns[1].width, 5);
    EXPECT_FALSE(columns[2].width);
    EXPECT_FALSE(columns[3].width);
}

TEST(ListColumns, UnshownRepeatedAndNullFieldsAreSkippedTheWalkEndsAndTheRestRotate)
{
    // 5 (field 4) is not shown, 0 names no field, 2 comes twice.
    const auto columns = arrangeListColumns(6, {0, 1, 2}, {{5, 9}, {0, 9}, {2, 11}, {2, 12}, {1, 13}});
    EXPECT_EQ(fieldsOf(columns), (std::vector<int>{1, 0, 2}));
    EXPECT_EQ(columns[0].width, 11);
    EXPECT_EQ(columns[1].width, 13);
    EXPECT_FALSE(columns[2].width);
    // A shown number past the table's fields names nothing.
    EXPECT_EQ(fieldsOf(arrangeListColumns(3, {1, 50}, {{51, 4}})), (std::vector<int>{1}));
    EXPECT_TRUE(arrangeListColumns(3, {}, {{1, 4}}).empty());
    // A rotation keeps the order of the fields left behind: field 3 is
    // fetched to the front, 0, 1, 2 rotate behind the rest.
    EXPECT_EQ(fieldsOf(arrangeListColumns(5, {0, 1, 2, 3, 4}, {{4, 7}})), (std::vector<int>{3, 4, 0, 1, 2}));
}

// ---- the main window with its view dialogs --------------------------------------------------

class ViewTest : public MainWindowFixture {
protected:
    // The dialogs that change the window.
    static TColorDlg* colorDlg() { return ColorDlg; }
    static TItemWForm* itemW() { return ItemWForm; }
    static TItemHForm* itemH() { return ItemHForm; }

    // A settings file that cannot be written: a folder of that name.
    void blockFile(const char* name) { ASSERT_TRUE(QDir(dir.path()).mkdir(QString::fromLatin1(name))); }

    template <class T = QWidget> T* card(const char* name) { return findControl<T>(form()->card(), name); }
    int width(const char* name) { return card(name)->width(); }
    int left(const char* name) { return card(name)->x(); }
    QColor titleColor(const char* name) { return card<Panel>(name)->color(); }
    QColor indicatorColor(const char* name) { return w<Panel>(name)->fontColor(); }
    QSpinBox* spin(int n) { return itemW()->SpinEdits[std::size_t(n - 1)]; }
    int offset() { return card<QSpinBox>("SpinEdit1")->value(); }

    void seed(int records)
    {
        Table t(*db, "INDATA");
        t.Open();
        for (int i = 0; i < records; ++i) {
            t.Append();
            t.FieldByName("使用者ふりがな").SetAsString(sj("あ") + std::to_string(i));
            t.FieldByName("自動車登録番号").SetAsString(std::to_string(i));
            t.Post();
        }
    }
};

// ---- title colours ------------------------------------------------------------------------

TEST_F(ViewTest, TitleColorIniOrTheInactiveTitleBarColourColoursEveryTitlePanelAndTheIndicators)
{
    create();
    EXPECT_EQ(colorDlg()->ColorComboBox->currentText(), QStringLiteral("アクティブでないウィンドウのタイトルバーの色"));
    EXPECT_EQ(colorDlg()->ColorComboBox1->currentText(), QStringLiteral("　黒　色"));
    EXPECT_EQ(colorDlg()->ColorComboBox->count(), 42);
    ASSERT_EQ(TColorDlg::titlePanelNames().size(), 55);
    // Without the file black is never applied: the indicators keep the window-text colour.
    const QPalette& p = form()->palette();
    const QColor designs[] = {systemColor(kColorInactiveCaption, p), systemColor(kColorWindowText, p)};
    const QColor yellowRed[] = {QColor(255, 255, 0), QColor(255, 0, 0)};
    for (const QColor* expected : {designs, yellowRed}) {
        for (const QString& name : TColorDlg::titlePanelNames()) {
            auto* panel = form()->card()->findChild<Panel*>(name);
            ASSERT_TRUE(panel) << name.toStdString();
            EXPECT_EQ(panel->color(), expected[0]) << name.toStdString();
        }
        EXPECT_EQ(indicatorColor("SortPanel"), expected[1]);
        EXPECT_EQ(indicatorColor("FilterPanel"), expected[1]);
        writeSettings("TitleColor.INI", {"　黄　色", "　赤　色"});
        restart();
    }
}

TEST_F(ViewTest, AShortOrEmptyTitleColorIniChangesOnlyWhatItNames)
{
    writeSettings("TitleColor.INI", {"　青　色"});
    create();
    EXPECT_EQ(colorDlg()->ColorComboBox1->currentText(), QStringLiteral("　黒　色"));
    EXPECT_EQ(titleColor("Title1Panel1"), QColor(0, 0, 255));

    writeSettings("TitleColor.INI", {});
    restart();
    EXPECT_EQ(colorDlg()->ColorComboBox->currentText(), QString());
    EXPECT_EQ(colorDlg()->ColorComboBox1->currentText(), QStringLiteral("　黒　色"));
    EXPECT_EQ(titleColor("Title15Panel1"), systemColor(kColorInactiveCaption, form()->palette()));
}

TEST_F(ViewTest, OkAppliesAndWritesTheNamesAsTheyStand)
{
    create();
    ScriptedDialogs dialogs;
    dialogs.answer("ColorDlg", [](QDialog& d) {
        auto& c = static_cast<TColorDlg&>(d);
        c.ColorComboBox->setEditText(QStringLiteral("　緑　色"));
        c.ColorComboBox1->setCurrentIndex(13);  // 　赤　色
        c.OKBtn->click();
        return 0;
    });
    form()->N7Click();
    EXPECT_EQ(titleColor("Title9Panel4"), QColor(0, 128, 0));
    EXPECT_EQ(indicatorColor("FilterPanel"), QColor(255, 0, 0));
    EXPECT_EQ(fileBytes("TitleColor.INI"), crlf({sj("　緑　色"), sj("　赤　色")}));

    // Black and an unknown name change nothing but are written back.
    dialogs.answer("ColorDlg", [](QDialog& d) {
        auto& c = static_cast<TColorDlg&>(d);
        c.ColorComboBox->setEditText(QStringLiteral("　黒　色"));
        c.ColorComboBox1->setEditText(QStringLiteral("空　色"));
        c.OKBtn->click();
        return 0;
    });
    form()->N7Click();
    EXPECT_EQ(titleColor("Title9Panel4"), QColor(0, 128, 0));
    EXPECT_EQ(indicatorColor("FilterPanel"), QColor(255, 0, 0));
    EXPECT_EQ(fileBytes("TitleColor.INI"), crlf({sj("　黒　色"), sj("空　色")}));

    // The next start shows the design colour for black.
    restart();
    EXPECT_EQ(titleColor("Title9Panel4"), systemColor(kColorInactiveCaption, form()->palette()));
    EXPECT_EQ(colorDlg()->ColorComboBox1->currentText(), QStringLiteral("空　色"));
}

TEST_F(ViewTest, AnEditedNameKeepsTheBytesItDidNotTouchAndARefusedOneWritesNothing)
{
    // A name with a byte that is no character and a NEC-selected IBM code
    // (which re-encodes as 0xFA40).
    const SjisString odd = SjisString("\xFD") + sj("　青") + "\xEE\xEF";
    LineListFile({odd, sj("　赤　色")}).write(dir.filePath(QStringLiteral("TitleColor.INI")));
    create();
    ScriptedDialogs dialogs;
    ScriptedMessages messages;  // any prompt fails the test
    dialogs.answer("ColorDlg", [](QDialog& d) {
        auto& c = static_cast<TColorDlg&>(d);
        c.ColorComboBox->lineEdit()->end(false);
        c.ColorComboBox->lineEdit()->insert(QStringLiteral("色"));
        c.OKBtn->click();
        return 0;
    });
    form()->N7Click();
    EXPECT_EQ(fileBytes("TitleColor.INI"), QByteArray::fromStdString(odd + sj("色") + "\r\n" + sj("　赤　色") + "\r\n"));

    messages.answer(MessageAnswer::Ok);
    dialogs.answer("ColorDlg", [](QDialog& d) {
        auto& c = static_cast<TColorDlg&>(d);
        c.ColorComboBox1->setEditText(QString::fromUtf8("　赤😀"));
        c.OKBtn->click();
        return 0;
    });
    form()->N7Click();
    ASSERT_EQ(messages.prompts().size(), 1u);
    EXPECT_EQ(messages.prompts()[0].text, sjis::refusalMessage(U'😀'));
    EXPECT_EQ(messages.prompts()[0].icon, MessageIcon::Warning);
    EXPECT_EQ(fileBytes("TitleColor.INI"), QByteArray::fromStdString(odd + sj("色") + "\r\n" + sj("　赤　色") + "\r\n"));
}

TEST_F(ViewTest, TheCloseBoxNeitherAppliesNorWritesButTheTextsStay)
{
    create();
    ScriptedDialogs dialogs;
    dialogs.answer("ColorDlg", [](QDialog& d) {
        static_cast<TColorDlg&>(d).ColorComboBox->setEditText(QStringLiteral("　白　色"));
        d.close();
        return 0;
    });
    form()->N7Click();
    EXPECT_EQ(fileBytes("TitleColor.INI"), "<missing>");
    EXPECT_NE(titleColor("Title1Panel1"), QColor(255, 255, 255));
    EXPECT_EQ(colorDlg()->ColorComboBox->currentText(), QStringLiteral("　白　色"));
}

TEST_F(ViewTest, TitleColorIniBytesThatAreNoCharacterSurviveOk)
{
    const QByteArray odd("\x81\xFF\r\n", 4);
    QFile f(dir.filePath("TitleColor.INI"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(odd);
    f.close();
    create();
    ScriptedDialogs dialogs;
    dialogs.answer("ColorDlg", [](QDialog& d) {
        static_cast<TColorDlg&>(d).OKBtn->click();
        return 0;
    });
    form()->N7Click();
    EXPECT_EQ(fileBytes("TitleColor.INI"), odd + QByteArray::fromStdString(sj("　黒　色")) + "\r\n");
}

TEST_F(ViewTest, ASystemColourFollowsTheDesktopScheme)
{
    writeSettings("TitleColor.INI", {"　選択した文字の背景色", "　ウィンドウ内の文字の色"});
    create();
    const QPalette before = QApplication::palette();
    QPalette p = before;
    p.setColor(QPalette::Highlight, QColor(10, 200, 30));
    p.setColor(QPalette::Text, QColor(90, 0, 90));
    QApplication::setPalette(p);
    QCoreApplication::processEvents();
    EXPECT_EQ(titleColor("Title3Panel12"), QColor(10, 200, 30));
    EXPECT_EQ(indicatorColor("SortPanel"), QColor(90, 0, 90));
    QApplication::setPalette(before);
}

// ---- column widths --------------------------------------------------------------------------

std::vector<std::string> widthFile(const std::vector<int>& widths)
{
    static const char* const labels[] = {"自動車登録番号", "登録年月日", "初度登録年月", "自動車の種別",
                                         "用途", "自家用事業用の別", "型式", "原動機の型式",
                                         "自動車型式指定番号", "類別区分番号", "電話番号"};
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < widths.size(); ++i) {
        lines.push_back(i < std::size(labels) ? labels[i] : "");
        lines.push_back(std::to_string(widths[i]));
    }
    return lines;
}

TEST_F(ViewTest, WidthIniIsAppliedBeforeTheWindowFirstShows)
{
    const std::vector<int> widths = {100, 110, 120, 90, 70, 60, 130, 95, 85, 75, 140, 50, 51, 52, 53, 54, 55, 56};
    writeSettings("WIDTH.INI", widthFile(widths));
    create();
    ASSERT_FALSE(form()->isVisible());
    const std::pair<const char*, int> widthsOf[] = {
        {"Title1Panel1", 100}, {"DBComboBox1", 100}, {"Title1Panel6", 60}, {"Title2Panel2", 130},
        {"DBMemo6", 130},      {"Title3Panel2", 95}, {"DBMemo21", 85},     {"Title3Panel9", 75},
        {"DBMemo22", 75},      {"DBMemo42", 140},    {"UpMemo1", 50},
        {"Title3Panel", 95 + 50 + 50 + 50 + 80 + 130 + 85 + 75}};
    for (auto [control, expected] : widthsOf)
        EXPECT_EQ(width(control), expected) << control;
    const std::pair<const char*, int> leftsOf[] = {
        {"DBComboBox2", 100}, {"DBComboBox3", 210}, {"DBComboBox6", 100 + 110 + 120 + 90 + 70},
        {"DBComboBox7", 100 + 110 + 120 + 90 + 70 + 60}, {"UpMemo2", 50}, {"UpMemo5", 50 + 51 + 52 + 53 + 54 + 55},
        {"UpComboBox3", 50 + 51 + 52 + 53 + 54 + 55 + 56}};
    for (auto [control, expected] : leftsOf)
        EXPECT_EQ(left(control), expected) << control;
    for (int n = 1; n <= 18; ++n)
        EXPECT_EQ(spin(n)->value(), widths[std::size_t(n - 1)]) << n;

    showQuietly();
    EXPECT_EQ(width("DBComboBox7"), width("Title1Panel7"));
    EXPECT_EQ(width("DBComboBox8"), width("Title2Panel1"));
}

TEST_F(ViewTest, TheHalfHeightTitleLinesTakeTheWidthMinus4)
{
    writeSettings("WIDTH.INI", widthFile({100, 110, 120, 90, 70, 60, 130, 95, 85, 75, 140}));
    create();
    for (const char* line : {"Title1Panel8", "Title1Panel9"})
        EXPECT_EQ(width(line), 56) << line;
    for (const char* line : {"Title3Panel12", "Title3Panel13"})
        EXPECT_EQ(width(line), 81) << line;
    for (const char* line : {"Title3Panel14", "Title3Panel15"})
        EXPECT_EQ(width(line), 71) << line;

    ScriptedDialogs dialogs;
    dialogs.answer("ItemWForm", [&](QDialog&) {
        spin(6)->setValue(90);
        spin(10)->setValue(100);
        EXPECT_EQ(width("Title1Panel8"), 86);
        EXPECT_EQ(width("Title3Panel14"), 96);
        EXPECT_EQ(width("Title3Panel15"), 96);
        return int(QDialog::Rejected);
    });
    form()->N11Click();  // the close applies the file again
    EXPECT_EQ(width("Title1Panel9"), 56);
    EXPECT_EQ(width("Title3Panel15"), 71);
}

TEST_F(ViewTest, AWidthIniCutShortKeepsTheWidthsItLacksAndTenSettingsGiveTheTelephone125)
{
    create();
    const int engine = width("DBMemo15"), up1 = width("UpMemo1"), up2Left = left("UpMemo2");
    writeSettings("WIDTH.INI", widthFile({100, 110, 120}));
    restart();
    EXPECT_EQ(width("DBComboBox3"), 120);
    EXPECT_EQ(left("DBComboBox4"), 330);
    EXPECT_EQ(width("DBMemo15"), engine);
    EXPECT_GT(width("DBComboBox5"), 0);

    writeSettings("WIDTH.INI", widthFile({100, 110, 120, 90, 70, 60, 130, 95, 85, 75}));
    restart();
    EXPECT_EQ(width("DBMemo42"), 125);
    EXPECT_EQ(width("UpMemo1"), up1);  // the extension row is left
    EXPECT_EQ(left("UpMemo2"), up2Left);
    EXPECT_EQ(width("DBMemo6"), 130);
}

TEST_F(ViewTest, WideningTheRegistrationNumberShiftsTheRowAndNarrowsTheBodyShape)
{
    create();
    showQuietly();
    const int lefts[] = {left("DBComboBox2"), left("DBComboBox3"), left("DBComboBox6")};
    const int shape = width("DBComboBox7");
    const int shapeTitle = width("Title1Panel7");
    const int make = width("Title2Panel1");
    ScriptedDialogs dialogs;
    dialogs.answer("ItemWForm", [&](QDialog&) {
        EXPECT_EQ(itemW()->Panel1->caption(), QString::number(shapeTitle));
        spin(1)->setValue(spin(1)->value() + 10);
        EXPECT_EQ(itemW()->Panel1->caption(), QString::number(shapeTitle - 10));
        return int(QDialog::Accepted);
    });
    form()->N11Click();
    EXPECT_EQ(left("DBComboBox2"), lefts[0] + 10);
    EXPECT_EQ(left("DBComboBox3"), lefts[1] + 10);
    EXPECT_EQ(left("DBComboBox6"), lefts[2] + 10);
    EXPECT_EQ(width("DBComboBox7"), shape - 10);
    EXPECT_EQ(width("Title1Panel7"), shapeTitle - 10);
    EXPECT_EQ(width("Title2Panel1"), make);
}

TEST_F(ViewTest, WideningTheEngineModelWidensTheRow3ContainersOnly)
{
    create();
    showQuietly();
    const int group = width("Title3Panel");
    const int chassis = width("Title3Panel1");
    const int designation = width("DBMemo21");
    const int make = width("Title2Panel1");
    ScriptedDialogs dialogs;
    dialogs.answer("ItemWForm", [&](QDialog&) {
        spin(8)->setValue(spin(8)->value() + 10);
        EXPECT_EQ(itemW()->Panel3->caption(), QString::number(chassis - 10));
        return int(QDialog::Rejected);
    });
    form()->N11Click();
    EXPECT_EQ(width("Title3Panel"), group + 10);
    EXPECT_EQ(width("Edit3Panel"), group + 10);
    EXPECT_EQ(width("DBMemo14"), chassis - 10);
    EXPECT_EQ(width("DBMemo21"), designation);
    EXPECT_EQ(width("Title2Panel1"), make);
}

TEST_F(ViewTest, WideningTheModelNarrowsTheMakeTitleAtOnceAndItsBoxAtTheClose)
{
    writeSettings("WIDTH.INI", widthFile({150, 150, 120, 80, 60, 80, 110, 90, 80, 80, 125}));
    create();
    showQuietly();
    const int make = width("Title2Panel1");
    ScriptedDialogs dialogs;
    dialogs.answer("ItemWForm", [&](QDialog&) {
        spin(7)->setValue(120);
        EXPECT_EQ(width("Title2Panel1"), make - 10);
        EXPECT_EQ(width("DBComboBox8"), make);
        EXPECT_EQ(itemW()->Panel2->caption(), QString::number(make - 10));
        itemW()->OKBtn->click();
        return 0;
    });
    form()->N11Click();
    EXPECT_EQ(width("DBMemo6"), 120);
    EXPECT_EQ(width("DBComboBox8"), make - 10);
}

TEST_F(ViewTest, CancelTakesThePreviewBackOnlyWhenWidthIniExists)
{
    create();
    showQuietly();
    const int design = width("DBMemo42");
    ScriptedDialogs dialogs;
    dialogs.answer("ItemWForm", [&](QDialog&) {
        spin(11)->setValue(200);
        return int(QDialog::Rejected);
    });
    form()->N11Click();
    EXPECT_EQ(width("DBMemo42"), 200);  // no file: the preview stays
    EXPECT_NE(design, 200);

    writeSettings("WIDTH.INI", widthFile({150, 150, 120, 80, 60, 80, 110, 90, 80, 80, 130}));
    dialogs.answer("ItemWForm", [&](QDialog&) {
        spin(11)->setValue(250);
        spin(1)->setValue(10);
        EXPECT_EQ(width("DBMemo42"), 250);
        return int(QDialog::Rejected);
    });
    form()->N11Click();
    EXPECT_EQ(width("DBMemo42"), 130);
    EXPECT_EQ(width("DBComboBox1"), 150);
    // The spin edits still show what was cancelled.
    EXPECT_EQ(spin(11)->value(), 250);
}

TEST_F(ViewTest, EmptyingASpinEditSetsItsColumnToZeroAtOnce)
{
    create();
    ScriptedDialogs dialogs;
    dialogs.answer("ItemWForm", [&](QDialog&) {
        spin(2)->findChild<QLineEdit*>()->clear();
        EXPECT_EQ(itemW()->spinValue(2), 0);
        EXPECT_EQ(width("DBComboBox2"), 0);
        EXPECT_EQ(width("Title1Panel2"), 0);
        EXPECT_EQ(left("DBComboBox3"), left("DBComboBox2"));
        return int(QDialog::Rejected);
    });
    form()->N11Click();
}

TEST_F(ViewTest, OkWritesAll18SettingsAlsoInTheStandardLayout)
{
    create();
    EXPECT_EQ(itemW()->LayoutFlag, 0);
    EXPECT_TRUE(itemW()->UpPanel1->isHidden());
    ScriptedDialogs dialogs;
    dialogs.answer("ItemWForm", [&](QDialog& d) {
        EXPECT_EQ(d.height(), 220);
        spin(12)->setValue(77);
        itemW()->OKBtn->click();
        return 0;
    });
    form()->N11Click();
    const auto file = LineListFile::read(dir.filePath("WIDTH.INI"));
    ASSERT_TRUE(file);
    ASSERT_EQ(file->lineCount(), 36u);
    EXPECT_EQ(file->line(0), sj("自動車登録番号"));
    EXPECT_EQ(file->line(20), sj("電話番号"));
    EXPECT_EQ(file->line(22), "");
    EXPECT_EQ(file->number(23), 77);
    EXPECT_EQ(file->number(1), width("Title1Panel1"));

    // Applied again at the next start, extension row included.
    restart();
    EXPECT_EQ(width("UpMemo1"), 77);
    EXPECT_EQ(left("UpMemo2"), 77);
}

TEST_F(ViewTest, TheExtensionLayoutShowsTheExtensionRowOfTheDialog)
{
    writeSettings("DataBase.INI", {"1"});
    create();
    EXPECT_EQ(itemW()->LayoutFlag, 1);
    ScriptedDialogs dialogs;
    dialogs.answer("ItemWForm", [&](QDialog& d) {
        EXPECT_EQ(d.height(), 260);
        EXPECT_FALSE(itemW()->UpPanel2->isHidden());
        EXPECT_EQ(itemW()->Panel29->caption(), QString::number(width("Title14Panel8")));
        spin(13)->setValue(spin(13)->value() + 20);
        return int(QDialog::Rejected);
    });
    const int last = left("UpComboBox3");
    form()->N11Click();
    EXPECT_EQ(left("UpComboBox3"), last + 20);
}

// ---- line count --------------------------------------------------------------------------------

TEST_F(ViewTest, ThreeLinesGiveTheReadingLine45AndTheOffset25AndOneLineTakesThemBack)
{
    create();
    EXPECT_TRUE(itemH()->radioItem(0)->isChecked());
    ScriptedDialogs dialogs;
    dialogs.answer("ItemHForm", [&](QDialog&) {
        itemH()->radioItem(2)->click();
        EXPECT_EQ(width("subPanel14") > 0, true);
        EXPECT_EQ(card("subPanel14")->height(), 45);
        EXPECT_EQ(card("EditPanel6")->height(), 75);
        EXPECT_EQ(offset(), 25);
        EXPECT_EQ(card("YomiDBMemo1")->height(), 30);
        return int(QDialog::Accepted);
    });
    form()->N12Click();
    EXPECT_EQ(fileBytes("HEIGHT.INI"), "2\r\n");
    const int below = card("EditPanel7")->y();

    dialogs.answer("ItemHForm", [&](QDialog& d) {
        itemH()->radioItem(0)->click();
        d.close();  // the close box stores the choice too
        return 0;
    });
    form()->N12Click();
    EXPECT_EQ(card("subPanel14")->height(), 20);
    EXPECT_EQ(card("EditPanel6")->height(), 50);
    EXPECT_EQ(offset(), 0);
    EXPECT_EQ(card("EditPanel7")->y(), below - 25);
    EXPECT_EQ(fileBytes("HEIGHT.INI"), "0\r\n");
}

TEST_F(ViewTest, HeightIniIsAppliedAtStartAndAnOddValueKeepsTheDesignHeights)
{
    writeSettings("HEIGHT.INI", {"1"});
    create();
    EXPECT_TRUE(itemH()->radioItem(1)->isChecked());
    EXPECT_EQ(card("subPanel14")->height(), 30);
    EXPECT_EQ(offset(), 10);

    writeSettings("HEIGHT.INI", {"7"});
    restart();
    EXPECT_EQ(card("subPanel14")->height(), 20);
    EXPECT_EQ(offset(), 0);
    EXPECT_FALSE(itemH()->radioItem(0)->isChecked() || itemH()->radioItem(1)->isChecked() ||
                 itemH()->radioItem(2)->isChecked());
    ScriptedDialogs dialogs;
    dialogs.answer("ItemHForm", QDialog::Accepted);
    form()->N12Click();
    EXPECT_EQ(fileBytes("HEIGHT.INI"), "7\r\n");
}

// ---- settings files that cannot be written -------------------------------------------------

TEST_F(ViewTest, ASettingsFileThatCannotBeWrittenIsReportedAndTheDialogStillCloses)
{
    struct Case {
        const char* file;
        const char* dialog;
        const char* menu;
        std::size_t prompts;
    };
    const Case cases[] = {{"TitleColor.INI", "ColorDlg", "N7", 1}, {"WIDTH.INI", "ItemWForm", "N11", 2},
                          {"HEIGHT.INI", "ItemHForm", "N12", 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        create();
        blockFile(c.file);
        ScriptedDialogs dialogs;
        ScriptedMessages messages;
        messages.answer(MessageAnswer::Ok).answer(MessageAnswer::Ok);
        bool open = true;
        dialogs.answer(c.dialog, [&](QDialog& d) {
            if (auto* colours = qobject_cast<TColorDlg*>(&d))
                colours->ColorComboBox->setEditText(QStringLiteral("　白　色"));
            findControl<QPushButton>(&d, "OKBtn")->click();
            open = d.isVisible();
            return 0;
        });
        EXPECT_TRUE(action(c.menu)->isEnabled());
        action(c.menu)->trigger();
        EXPECT_FALSE(open);
        ASSERT_EQ(messages.prompts().size(), c.prompts);
        EXPECT_EQ(messages.prompts()[0].icon, MessageIcon::Error);
        if (std::string_view(c.dialog) == "ColorDlg") {  // applied before the write
            EXPECT_EQ(titleColor("Title1Panel1"), QColor(255, 255, 255));
        }
        close();
        ASSERT_TRUE(QDir(dir.path()).rmdir(QString::fromLatin1(c.file)));
    }
}

// ---- the list window ------------------------------------------------------------------------------

class ListWindowTest : public ViewTest {
protected:
    QHeaderView* header() { return ListForm->DBGrid1->horizontalHeader(); }

    std::vector<int> shownFields()
    {
        std::vector<int> f;
        for (const ListColumn& c : ListForm->columns())
            f.push_back(c.field);
        return f;
    }

    QAction* list2() { return action("List2"); }

    // Dsplay.INI showing the given field positions, the rest unshown.
    void chooseFields(const std::vector<int>& shown)
    {
        LineListFile f;
        for (int k = 0; k < kStandardFieldCount; ++k)
            if (std::find(shown.begin(), shown.end(), k) == shown.end())
                f.append(displayItem(k));
        f.append(SjisString());
        for (int k : shown)
            f.append(displayItem(k));
        f.append(SjisString());
        f.write(dir.filePath("Dsplay.INI"));
    }
};

TEST_F(ListWindowTest, WithoutDsplayIniEveryFieldIsShownAndClosingWritesNothing)
{
    create();
    EXPECT_FALSE(list2()->isEnabled());
    form()->List1Click();
    ASSERT_TRUE(ListForm);
    EXPECT_TRUE(form()->ListFormsCreated);
    EXPECT_TRUE(ListForm->isVisible());
    EXPECT_EQ(ListForm->windowTitle(), QStringLiteral("リスト表示"));
    EXPECT_TRUE(list2()->isEnabled());
    EXPECT_EQ(int(shownFields().size()), form()->Table1->FieldCount());
    EXPECT_EQ(shownFields().back(), kExtendedFieldCount - 1);
    EXPECT_EQ(DspPatDlg->Chooser->leftEntries(), designDisplayItems());
    EXPECT_TRUE(DspPatDlg->Chooser->rightEntries().empty());
    ListForm->close();
    EXPECT_FALSE(ListForm->isVisible());
    EXPECT_FALSE(list2()->isEnabled());
    EXPECT_EQ(fileBytes("DsplayLen.INI"), "<missing>");
}

TEST_F(ListWindowTest, AnEmptySecondBlockShowsNoColumns)
{
    chooseFields({});
    create();
    form()->List1Click();
    EXPECT_TRUE(shownFields().empty());
}

TEST_F(ListWindowTest, ColumnMovesAndWidthsSurviveACloseAndARestart)
{
    chooseFields({0, 1, 2, 3});
    create();
    form()->List1Click();
    EXPECT_EQ(shownFields(), (std::vector<int>{0, 1, 2, 3}));
    header()->moveSection(header()->visualIndex(2), 0);
    header()->resizeSection(2, 13 * ListForm->characterWidth());
    header()->resizeSection(0, 4 * ListForm->characterWidth());
    const auto before = ListForm->columns();
    ListForm->close();
    EXPECT_EQ(fileBytes("DsplayLen.INI").left(8), "3\r\n13\r\n1");

    restart();
    EXPECT_FALSE(ListForm);
    form()->List1Click();
    const auto after = ListForm->columns();
    ASSERT_EQ(after.size(), before.size());
    for (std::size_t i = 0; i < after.size(); ++i) {
        EXPECT_EQ(after[i].field, before[i].field);
        EXPECT_EQ(after[i].width, before[i].width);
    }
    EXPECT_EQ(shownFields(), (std::vector<int>{2, 0, 1, 3}));
}

TEST_F(ListWindowTest, HidingWithListClearLosesTheChangesSinceTheLastClose)
{
    chooseFields({0, 1, 2});
    create();
    form()->List1Click();
    header()->moveSection(header()->visualIndex(1), 0);
    form()->List2Click();
    EXPECT_FALSE(ListForm->isVisible());
    EXPECT_FALSE(list2()->isEnabled());
    EXPECT_EQ(fileBytes("DsplayLen.INI"), "<missing>");
    restart();
    form()->List1Click();
    EXPECT_EQ(shownFields(), (std::vector<int>{0, 1, 2}));
}

TEST_F(ListWindowTest, AFieldChosenLaterFollowsTheNamedOnesWithTheDefaultWidth)
{
    chooseFields({0, 5, 9});
    writeSettings("DsplayLen.INI", {"10", "8", "6", "9"});
    create();
    form()->List1Click();
    const auto columns = ListForm->columns();
    ASSERT_EQ(columns.size(), 3u);
    EXPECT_EQ(columns[0].field, 9);
    EXPECT_EQ(columns[0].width, 8);
    EXPECT_EQ(columns[1].field, 5);
    EXPECT_EQ(columns[2].field, 0);
    EXPECT_EQ(header()->sectionSize(0), header()->defaultSectionSize());
}

TEST_F(ListWindowTest, CancelKeepsTheMovedItemsAndOkThenWritesThem)
{
    create();
    ScriptedDialogs dialogs;
    dialogs.answer("DspPatDlg", [](QDialog& d) {
        auto& dlg = static_cast<TDspPatDlg&>(d);
        dlg.Chooser->ListBox1->item(1)->setSelected(true);
        dlg.Chooser->SpeedButton1->click();
        return int(QDialog::Rejected);
    });
    form()->N15Click();
    EXPECT_FALSE(ListForm->isVisible());  // created, not shown
    EXPECT_EQ(fileBytes("Dsplay.INI"), "<missing>");
    dialogs.answer("DspPatDlg", [](QDialog& d) {
        auto& dlg = static_cast<TDspPatDlg&>(d);
        EXPECT_EQ(dlg.Chooser->rightEntries(), std::vector<SjisString>{displayItem(1)});
        dlg.OKBtn->click();
        return 0;
    });
    form()->N15Click();
    const auto file = LineListFile::read(dir.filePath("Dsplay.INI"));
    ASSERT_TRUE(file);
    ASSERT_EQ(file->lineCount(), 49u);
    EXPECT_EQ(file->line(0), displayItem(0));
    EXPECT_EQ(file->line(1), displayItem(2));
    EXPECT_EQ(file->line(46), "");
    EXPECT_EQ(file->line(47), displayItem(1));
    EXPECT_EQ(file->line(48), "");
    // The open grid is not changed now; the next run shows the choice.
    EXPECT_EQ(int(shownFields().size()), form()->Table1->FieldCount());
    restart();
    form()->List1Click();
    EXPECT_EQ(shownFields(), std::vector<int>{1});
}

TEST_F(ListWindowTest, ClickingARowMovesTheCardAndItsCounters)
{
    seed(5);
    create();
    showQuietly();
    form()->List1Click();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(ListForm));
    DBGrid* grid = ListForm->DBGrid1;
    const QRect cell = grid->visualRect(grid->model()->index(3, 0));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    QTRY_COMPARE(form()->Table1->RecNo(), 4);
    QCoreApplication::processEvents();
    EXPECT_EQ(w<Panel>("CurrentPanel")->caption(), QStringLiteral("4"));
    EXPECT_EQ(w<Panel>("TotalPanel")->caption(), QStringLiteral("5"));
    EXPECT_EQ(sjis::toUtf8(form()->Table1->FieldByName("自動車登録番号").AsString()), "3");
}

TEST_F(ListWindowTest, TheColumnsStayArrangedWhenTheTableIsReordered)
{
    seed(3);
    chooseFields({0, 1, 2});
    writeSettings("DsplayLen.INI", {"3", "10", "1", "5"});
    create();
    form()->List1Click();
    form()->Table1->SetFilter(sj("(自動車登録番号 = '1')"));
    form()->Table1->SetFiltered(true);
    QCoreApplication::processEvents();
    EXPECT_EQ(shownFields(), (std::vector<int>{2, 0, 1}));
}

}  // namespace
