#include "components/data_directory.h"
#include "components/database.h"
#include "platform/application.h"
#include "platform/message_box.h"
#include "platform/single_instance.h"
#include "record_book/color_dlg.h"
#include "record_book/copy_pattern_dialog.h"
#include "record_book/date_dialog.h"
#include "record_book/filter_dialog.h"
#include "record_book/find_dialog.h"
#include "record_book/item_height_form.h"
#include "record_book/item_width_form.h"
#include "record_book/list_edit.h"
#include "record_book/main_window.h"
#include "record_book/post_form.h"
#include "record_book/small_dialogs.h"
#include "record_book/sort_dialog.h"
#include "record_book/spec_dialogs.h"

#include <QApplication>
#include <memory>

int main(int argc, char* argv[])
{
    SingleInstance mutex(QStringLiteral("EX_Dremlot"));
    if (!mutex.tryAcquire())
        return 0;  // another copy is running: end without a word
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Sorvani For Win32"));
    setUpJapaneseApplication(app);

    std::unique_ptr<Database> db;
    try {
        db = std::make_unique<Database>(Database::cardataPath(currentDataDirectory()));
    } catch (const std::exception& e) {
        showMessage(QString::fromUtf8(e.what()), {}, MessageIcon::Error);
        return 1;
    }
    // The forms, hidden, in their start-up order.
    TCarDataForm carData(*db);
    TFilterDlg filterDlg(&carData);
    FilterDlg = &filterDlg;
    TColorDlg colorDlg(carData, &carData);
    ColorDlg = &colorDlg;
    TVersionDlg versionDlg(&carData);
    VersionDlg = &versionDlg;
    TSortDlg sortDlg(&carData);
    SortDlg = &sortDlg;
    TDateSDlg dateSDlg(&carData);
    DateSDlg = &dateSDlg;
    TFindDlg findDlg(&carData);
    FindDlg = &findDlg;
    TPostForm postForm(*db, &carData);
    PostForm = &postForm;
    TItemWForm itemWForm(carData, &carData);
    ItemWForm = &itemWForm;
    TItemHForm itemHForm(carData, &carData);
    ItemHForm = &itemHForm;
    TFormDlg formDlg(&carData);
    FormDlg = &formDlg;
    TFListForm fListForm(*carData.Table5, &carData);
    FListForm = &fListForm;
    TListEditForm listEditForm(&carData);
    ListEditForm = &listEditForm;
    TCopyPatDlg copyPatDlg(&carData);
    CopyPatDlg = &copyPatDlg;
    TPassDlg passDlg(&carData);
    PassDlg = &passDlg;
    carData.show();
    return app.exec();
}
