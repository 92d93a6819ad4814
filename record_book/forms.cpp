#include "record_book/forms.h"

#include "record_book/color_dlg.h"
#include "record_book/copy_pattern_dialog.h"
#include "record_book/date_dialog.h"
#include "record_book/expense_form.h"
#include "record_book/filter_dialog.h"
#include "record_book/find_dialog.h"
#include "record_book/item_height_form.h"
#include "record_book/item_width_form.h"
#include "record_book/list_edit.h"
#include "record_book/main_window.h"
#include "record_book/model/record_book.h"
#include "record_book/post_form.h"
#include "record_book/print_dialogs.h"
#include "record_book/print_pat_dlg.h"
#include "record_book/small_dialogs.h"
#include "record_book/sort_dialog.h"
#include "record_book/spec_dialogs.h"

DremlotForms::DremlotForms(Database& db)
    : book_(std::make_unique<RecordBook>(db)), carData_(std::make_unique<TCarDataForm>(*book_))
{
    TCarDataForm& form = *carData_;
    FilterDlg = new TFilterDlg(&form);
    ColorDlg = new TColorDlg(form, &form);
    SelectDlg = new TSelectDlg(form, &form);
    VersionDlg = new TVersionDlg(&form);
    SortDlg = new TSortDlg(&form);
    DateSDlg = new TDateSDlg(&form);
    FreeEditForm = new TFreeEditForm(db, &form);
    UserSetForm = new TUserSetForm(&form);
    FindDlg = new TFindDlg(&form);
    PrintSlctDlg = new TPrintSlctDlg(&form);
    PostForm = new TPostForm(db, &form);
    ItemWForm = new TItemWForm(form, &form);
    ItemHForm = new TItemHForm(form, &form);
    FormDlg = new TFormDlg(&form);
    FListForm = new TFListForm(*form.Table5, &form);
    ListEditForm = new TListEditForm(&form);
    CopyPatDlg = new TCopyPatDlg(&form);
    InDTLenForm = form.createInDTLenForm();
    PassDlg = new TPassDlg(&form);
    PrintPatDlg = new TPrintPatDlg(&form);
    ExpenseForm = new TExpenseForm(form.costTables(), form.dataDirectory(), &form);
}

DremlotForms::~DremlotForms()
{
    // The dialogs are children of the main window and go with it.
    carData_.reset();
    FilterDlg = nullptr;
    ColorDlg = nullptr;
    SelectDlg = nullptr;
    VersionDlg = nullptr;
    SortDlg = nullptr;
    DateSDlg = nullptr;
    FreeEditForm = nullptr;
    UserSetForm = nullptr;
    FindDlg = nullptr;
    PrintSlctDlg = nullptr;
    PostForm = nullptr;
    ItemWForm = nullptr;
    ItemHForm = nullptr;
    FormDlg = nullptr;
    FListForm = nullptr;
    ListEditForm = nullptr;
    CopyPatDlg = nullptr;
    InDTLenForm = nullptr;
    PassDlg = nullptr;
    PrintPatDlg = nullptr;
    ExpenseForm = nullptr;
}
