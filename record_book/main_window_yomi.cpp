// Reading capture on the record card: each reading of the user's name typed
// through the input method is appended, in hiragana, to the name's reading.
#include "components/widgets/db_controls.h"
#include "components/core/japanese_text.h"
#include "components/widgets/find_control.h"
#include "components/widgets/yomi_memo.h"
#include "record_book/main_window.h"

void TCarDataForm::wireyomi()
{
    auto* name = findControl<TYomiDBMemo>(this, "YomiDBMemo1");
    name->VKkana = false;
    name->OnYomiOut = [this](TYomiDBMemo& sender, SjisString& yomi) { YomiDBMemo1YomiOut(&sender, yomi); };
}

void TCarDataForm::YomiDBMemo1YomiOut(TYomiDBMemo* /*Sender*/, SjisString& Yomi)
{
    ToHiragana(Yomi);
    if (Table1->state() != Table::State::Edit && Table1->state() != Table::State::Insert)
        Table1->Edit();
    // Text typed into the reading memo joins the field first, so the reading
    // follows what the memo shows, byte for byte.
    findControl<DBMemo>(this, "DBMemo1")->updateRecord();
    Field reading = Table1->FieldByName("使用者ふりがな");
    reading.SetAsString(reading.AsString() + Yomi);
}
