#include "record_book/model/choice_lists.h"

namespace {

std::vector<SjisString> list(std::initializer_list<const char*> items)
{
    std::vector<SjisString> l;
    for (const char* i : items)
        l.push_back(sj(i));
    return l;
}

}  // namespace

const std::vector<ChoiceList>& choiceLists()
{
    static const std::vector<ChoiceList> lists = {
        {"CarNo", "”自動車登録番号”の修正", "CarNo.INI", {"DBComboBox1"}, list({"群", "群馬"})},
        {"K4", "”カテゴリ”の修正", "CarCategory.INI", {"UpComboBox4"}, list({"昭和", "平成"})},
        {"CarDate1", "”日付関係”の修正", "CarDate.INI",
         {"DBComboBox2", "DBComboBox3", "DBComboBox11", "DBComboBox12", "DBComboBox14", "UpComboBox1",
          "UpComboBox2", "UpComboBox3"},
         list({"昭和", "平成"})},
        {"CarType1", "”自動車種別”の修正", "CarType1.INI", {"DBComboBox4"}, list({"軽自動車", "小型", "普通", "二輪"})},
        {"CarUse1", "”用途”の修正", "CarUse.INI", {"DBComboBox5"}, list({"貨物", "乗用", "特種"})},
        {"CarOther1", "”自家用事業用の別”の修正", "CarOther.INI", {"DBComboBox6"}, list({"自家用", "事業用"})},
        {"CarType2", "”車体の形状”の修正", "CarType2.INI", {"DBComboBox7"}, list({"箱形"})},
        {"CarName1", "”車名”の修正", "CarName.INI", {"DBComboBox8"},
         list({"トヨタ", "ニッサン", "ホンダ", "マツダ", "スバル", "スズキ", "ダイハツ"})},
        {"FuelType", "”燃料の種類”の修正", "FuelType.INI", {"DBComboBox9", "DBComboBox10"},
         list({"軽油", "ガソリン", "プロパン"})},
        {"CarTerm1", "”自賠責保険期間”の修正", "CarTerm.INI", {"DBComboBox13"}, list({"１２ヶ月", "２４ヶ月", "３６ヶ月"})},
        {"CarIns1", "”自賠責保険機関”の修正", "CarIns.INI", {"DBComboBox15", "UpComboBox3"},
         list({"あおば損害保険", "みなと火災海上"})},
        {"Memo1", "”備考”の修正", "CarMemo.INI", {"MemoListBox"}, list({"車検", "修理"})},
    };
    return lists;
}

const std::vector<SectionTitle>& sectionTitles()
{
    static const std::vector<SectionTitle> titles = {
        {"N17", "Title9Panel2", "CarInsure.INI", 0}, {"N19", "Title15Panel1", "CarMemo1.INI", 0},
        {"N20", "Title14Panel1", "CarMemo2.INI", 0}, {"N21", "Title14Panel2", "CarMemo2.INI", 1},
        {"N22", "Title14Panel3", "CarMemo2.INI", 2}, {"N23", "Title14Panel4", "CarMemo2.INI", 3},
        {"N24", "Title14Panel5", "CarMemo2.INI", 4}, {"N25", "Title14Panel6", "CarMemo2.INI", 5},
        {"N26", "Title14Panel7", "CarMemo2.INI", 6}, {"N27", "Title14Panel8", "CarMemo2.INI", 7},
    };
    return titles;
}
