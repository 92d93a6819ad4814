#include "components/widgets/list_entries.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <gtest/gtest.h>

namespace {

SjisString bytes(std::initializer_list<int> b)
{
    SjisString s;
    for (int c : b)
        s.push_back(char(c));
    return s;
}

// IBM Roman numeral one (re-encodes as NEC 0x8754), a NEC-selected IBM code
// (re-encodes as 0xFA40) and a byte that is no character.
const SjisString kIbmOne = bytes({0xFA, 0x4A});
const SjisString kNecSelected = bytes({0xEE, 0xEF});
const SjisString kOdd = sj("名") + bytes({0xFD});

TEST(ListEntries, ListBoxesAndComboBoxesKeepTheBytesOfTheirEntries)
{
    const std::vector<SjisString> entries = {kIbmOne, kNecSelected, kOdd, sj("車名")};
    QListWidget list;
    QComboBox combo;
    for (QWidget* box : std::initializer_list<QWidget*>{&list, &combo}) {
        setListEntries(box, entries);
        EXPECT_EQ(listEntries(box), entries);
        addListEntry(box, kOdd);
        EXPECT_EQ(listEntries(box).back(), kOdd);
    }
    EXPECT_EQ(list.item(3)->text(), QStringLiteral("車名"));
    EXPECT_EQ(combo.itemText(2), sjis::decode(kOdd));
    EXPECT_EQ(listEntry(list.item(0)), kIbmOne);
    EXPECT_EQ(listEntry(&combo, 1), kNecSelected);
}

TEST(ListEntries, AnItemAddedAsTextStandsForItsTextEncoded)
{
    QComboBox combo;
    combo.addItem(QStringLiteral("車検"));
    EXPECT_EQ(listEntry(&combo, 0), sj("車検"));
    combo.addItem(QString::fromUtf8("𠮷"));
    EXPECT_THROW(listEntry(&combo, 1), TextEncodingError);
}

TEST(ListEntries, AComboBoxTextIsTheChosenEntrysBytesAndFillingTheListKeepsIt)
{
    QComboBox combo;
    combo.setEditable(true);
    combo.setEditText(QStringLiteral("群馬"));
    setListEntries(&combo, {kIbmOne, kOdd});
    EXPECT_EQ(combo.currentText(), QStringLiteral("群馬"));
    EXPECT_EQ(combo.count(), 2);
    combo.setCurrentIndex(1);
    EXPECT_EQ(comboText(&combo), kOdd);
    combo.lineEdit()->end(false);
    combo.lineEdit()->insert(QStringLiteral("x"));  // typed after the entry
    EXPECT_EQ(comboText(&combo), kOdd + "x");
    combo.setEditText(sjis::decode(kIbmOne));  // typed as an entry reads
    EXPECT_EQ(comboText(&combo), kIbmOne);
    combo.setEditText(QStringLiteral("Ⅰ型"));
    EXPECT_EQ(comboText(&combo), sj("Ⅰ型"));
    combo.setEditText(QString::fromUtf8("😀"));
    EXPECT_THROW(comboText(&combo), TextEncodingError);
}

TEST(ListEntries, AComboBoxGivesBackTheBytesItWasSetToAndKeepsThemThroughAnEdit)
{
    QComboBox combo;
    combo.setEditable(true);
    setListEntries(&combo, {sj("東京")});
    const SjisString set = kIbmOne + kNecSelected + kOdd;
    setComboText(&combo, set);
    EXPECT_EQ(combo.currentText(), sjis::decode(set));
    EXPECT_EQ(comboText(&combo), set);
    combo.lineEdit()->end(false);
    combo.lineEdit()->insert(QStringLiteral("x"));
    EXPECT_EQ(comboText(&combo), set + "x");
    combo.setCurrentIndex(0);
    emit combo.activated(0);  // the user chose an entry
    EXPECT_EQ(comboText(&combo), sj("東京"));
    combo.setEditText(sjis::decode(set));  // typed: the set bytes are gone
    EXPECT_THROW(comboText(&combo), TextEncodingError);
}

}  // namespace
