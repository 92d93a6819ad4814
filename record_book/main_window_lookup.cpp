// The main window's look-ups: the postal code of the user's address, the
// addresses of a postal code, the "使用者に同じ" titles, and the vehicle
// specification of a type designation and classification number.
#include "components/core/data_directory.h"
#include "components/widgets/db_controls.h"
#include "components/core/japanese_text.h"
#include "components/widgets/find_control.h"
#include "components/widgets/list_entries.h"
#include "components/widgets/panel.h"
#include "components/formats/lookup_settings.h"
#include "components/widgets/widget_events.h"
#include "platform/error_guard.h"
#include "platform/input_box.h"
#include "platform/message_box.h"
#include "platform/modal.h"
#include "record_book/model/code_check.h"
#include "record_book/main_window.h"
#include "record_book/post_form.h"
#include "components/formats/post_read.h"
#include "record_book/model/record_rules.h"
#include "record_book/spec_dialogs.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>

namespace {

// A designation number with its leading zero put on or taken off: four
// full-width digits gain "０", a number starting with "０" loses it.
SjisString otherZeroForm(const SjisString& designation)
{
    static const SjisString zero = sj("０");
    if (designation.size() == 8)
        return zero + designation;
    if (designation.starts_with(zero))
        return designation.substr(zero.size());
    return designation;
}

}  // namespace

void TCarDataForm::wirelookup()
{
    connectGuarded(findControl<QAction>(this, "N28"), &QAction::triggered, this, &TCarDataForm::N28Click);
    connectGuarded(findControl<QAction>(this, "N13"), &QAction::triggered, this, &TCarDataForm::N13Click);
    const std::pair<const char*, void (TCarDataForm::*)()> doubleClicks[] = {
        {"DBMemo25", &TCarDataForm::DBMemo25DblClick},
        {"DBMemo29", &TCarDataForm::DBMemo29DblClick},
        {"DBMemo32", &TCarDataForm::DBMemo32DblClick},
        {"DBMemo21", &TCarDataForm::DBMemo21DblClick},
        {"DBMemo22", &TCarDataForm::DBMemo21DblClick},
    };
    for (const auto& click : doubleClicks)
        onDoubleClick(findControl<QWidget>(this, click.first),
                      [this, handler = click.second] { guarded([&] { (this->*handler)(); }); });
    for (const char* name : {"Title4Panel1", "Title5Panel1", "Title15Panel1"})
        connectGuarded(findControl<Panel>(this, name), &Panel::clicked, this, &TCarDataForm::Title4Panel1Click);
    connectGuarded(findControl<Panel>(this, "Title8Panel1"), &Panel::clicked, this, &TCarDataForm::Title8Panel1Click);
}

// ---- postal codes -----------------------------------------------------------------

void TCarDataForm::N28Click()
{
    book_.RecordBuffer[4] = Table1->FieldByName("使用者住所").AsString();
    SjisString code;
    book_.PostRead(code, 0);
    ChangeChar(code);
    const SjisString text = Table1->FieldByName("使用者").AsString() + sj("　様\rの郵便番号は、") + code + sj("です。");
    showMessage(sjis::decode(text), {}, MessageIcon::Information, MessageButtons::Ok, this);
}

void TCarDataForm::DBMemo25DblClick() { addressOfPostalCode("所有者住所"); }
void TCarDataForm::DBMemo29DblClick() { addressOfPostalCode("使用者住所"); }
void TCarDataForm::DBMemo32DblClick() { addressOfPostalCode("使用の本拠の位置"); }

// Asks for a postal code, shows the postal-code table on its first entry
// and, on OK, copies the chosen entry's address into `field`.
void TCarDataForm::addressOfPostalCode(const char* field)
{
    QString typed;
    if (!inputQuery(QStringLiteral("住所検索"), QStringLiteral("郵便番号を入力してください。"), typed, this))
        return;
    SjisString code = sjis::encode(typed);
    ToHalfWidth(code);
    Table& post = *PostForm->Table1;
    if (!post.Locate("郵便番号７桁", {code}, {.partialKey = true}))
        post.First();
    if (showModal(*PostForm) != QDialog::Accepted || post.IsEmpty())
        return;
    const SjisString address = post.FieldByName("住所").AsString();
    Table1->Edit();
    Table1->FieldByName(field).SetAsString(address);
}

void TCarDataForm::Title4Panel1Click()
{
    Table1->Edit();
    Table1->FieldByName("所有者").SetAsString(sj("使用者に同じ"));
    Table1->FieldByName("所有者住所").SetAsString(sj("使用者住所に同じ"));
}

void TCarDataForm::Title8Panel1Click()
{
    Table1->Edit();
    Table1->FieldByName("使用の本拠の位置").SetAsString(sj("使用者住所に同じ"));
}

// ---- vehicle specifications -------------------------------------------------------

// The code files of CodeFile.INI: a relative path is taken from the data
// directory, a backslash is a folder separator, the name in any case.
std::vector<QString> TCarDataForm::codeFiles() const
{
    std::vector<QString> files;
    for (const SjisString& entry : listEntries(ListBox1)) {
        const QFileInfo info(QDir(dataDirectory()).filePath(pathFromSettings(entry)));
        files.push_back(resolveFile(info.path(), info.fileName()));
    }
    return files;
}

void TCarDataForm::CodeCheck(int& Result)
{
    const std::vector<speccode::CodeType> types = readBodyShapeCodes(dataDirectory()).codes;
    const SjisString designation = sjis::encode(FormDlg->Edit1->text());
    const SjisString classification = sjis::encode(FormDlg->Edit2->text());
    const speccode::CodeCheckOutcome outcome =
        speccode::searchCodeFiles(designation, classification, codeFiles(), types, [this] {
            return showMessage(QStringLiteral("類別区分番号が違います。\r読み込みますか？"), {}, MessageIcon::Warning,
                               MessageButtons::YesNo, this) == MessageAnswer::Yes;
        });
    Result = outcome.result;
    if (Result != speccode::Filled)
        return;
    Table1->Edit();
    Table1->FieldByName("自動車型式指定番号").SetAsString(ChangeChar(designation));
    Table1->FieldByName("類別区分番号").SetAsString(ChangeChar(classification));
    for (const speccode::SpecValue& v : outcome.values)
        if (!v.value.empty())
            Table1->FieldByName(v.field).SetAsString(v.value);
}

// Finds the typed codes in the specification table: an exact match first,
// also with the other leading-zero form of the designation, and only then
// a record whose codes begin with the typed ones.
bool TCarDataForm::locateSpecification(const char* fields, SjisString designation, const SjisString& classification)
{
    const bool withClassification = std::string_view(fields).find(';') != std::string_view::npos;
    auto values = [&](const SjisString& d) {
        return withClassification ? std::vector<SjisString>{d, classification} : std::vector<SjisString>{d};
    };
    const SjisString other = otherZeroForm(designation);
    for (bool partial : {false, true})
        for (const SjisString& d : {designation, other})
            if (Table5->Locate(fields, values(d), {.partialKey = partial}))
                return true;
    return false;
}

void TCarDataForm::DBMemo21DblClick()
{
    showModal(*FormDlg);
    if (FormDlg->Edit1->text().isEmpty() || FormDlg->Edit2->text().isEmpty())
        return;
    if (ListBox1->count() > 0) {
        int result = 0;
        CodeCheck(result);
        if (result == speccode::Filled)
            return;
        if (result == speccode::NothingFound
            && showMessage(QStringLiteral("登録されていませんでした。\rもう一度検索しますか？"), {}, MessageIcon::Warning,
                           MessageButtons::YesNo, this) != MessageAnswer::Yes)
            return;
    }
    const SjisString typed = ChangeChar(sjis::encode(FormDlg->Edit1->text()));
    const SjisString classification = ChangeChar(sjis::encode(FormDlg->Edit2->text()));
    bool found = locateSpecification("自動車型式指定番号;類別区分番号", typed, classification);
    if (!found && book_.settings().DesignationOnlySearch == 1
        && showMessage(QStringLiteral("登録されていませんでした。\r自動車型式指定番号で検索しますか？"), {},
                       MessageIcon::Warning, MessageButtons::YesNo, this) == MessageAnswer::Yes)
        found = locateSpecification("自動車型式指定番号", typed, {});
    if (!found) {
        showMessage(QStringLiteral("登録されていませんでした。\r\n次回からは自動的に登録されたものが出力されます。"), {},
                    MessageIcon::None, MessageButtons::Ok, this);
        return;
    }
    copySpecification(typed);
}

// Copies the specification table's current record into the shown record,
// empty values too: the designation as typed, カテゴリ (the last field)
// under the extension layout only.
void TCarDataForm::copySpecification(const SjisString& designation)
{
    const std::vector<FieldDef>& fields = specificationFields();
    const bool withCategory = book_.settings().RecordLayoutMode == 1 && Table1->FieldIndex(fields.back().name) >= 0;
    std::vector<std::pair<std::string, SjisString>> values;
    for (std::size_t i = 1; i < fields.size() - (withCategory ? 0 : 1); ++i)
        values.emplace_back(fields[i].name, Table5->FieldByName(fields[i].name).AsString());
    Table1->Edit();
    Table1->FieldByName("自動車型式指定番号").SetAsString(designation);
    for (const auto& [field, value] : values)
        Table1->FieldByName(field).SetAsString(value);
}

void TCarDataForm::N13Click()
{
    showModal(*FListForm);
    if (Table5->state() != Table::State::Browse)
        Table5->Post();
}
