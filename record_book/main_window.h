#pragma once

#include "components/core/table.h"
#include "components/formats/print_files.h"
#include "components/formats/width_set.h"
#include "record_book/model/record_book.h"

#include <QMainWindow>
#include <QPointer>
#include <array>
#include <memory>
#include <optional>
#include <vector>

class CostTables;
class DBComboBox;
class DBMemo;
class DBNavigator;
class Panel;
class QAction;
class QLabel;
class QListWidget;
class QMenu;
class QScrollArea;
class QSpinBox;
class QStatusBar;
class QTabBar;
class QTimer;
class QToolButton;
class TInDTLenForm;
class TRestorePos;
class TextPrinter;
class TYomiDBMemo;

// Dremlot's main window: one vehicle record of the book shown as a card,
// with tabs by the kana row of the reading. The book is loaded when the
// window is created.
class TCarDataForm : public QMainWindow {
    Q_OBJECT
public:
    explicit TCarDataForm(RecordBook& book, QWidget* parent = nullptr);
    ~TCarDataForm() override;

    RecordBook& book() const { return book_; }
    QString dataDirectory() const { return book_.dataDirectory(); }  // the book's, for the dialogs
    // The book's tables under the names the handlers use.
    Table* Table1 = nullptr;  // INDATA: the records
    Table* Table5 = nullptr;  // code: vehicle specifications

    // State of the window for the whole run.
    bool ListFormsCreated = false, ExpenseFormsCreated = false;
    int SortFilterCombined = 0;
    int ResizeOffset = 0;

    // Handlers.
    void FormCreate();
    void Timer1Timer();
    void TabControl1Change();
    void FormResize();
    void Table1AfterScroll();
    void N18Click();
    void Ver1Click();
    void Contents1Click();
    void Exit1Click();
    void Up1Click();
    void setStatusHint(const QString& text);
    void refreshCounters();
    void scheduleCounters();
    void lockForPassword(bool locked);
    QString helpPagePath() const;
    void selectTab(int index);  // without running the tab-change command

    // Reading capture (yomi): the name's reading fills 使用者ふりがな.
    void wireyomi();
    void YomiDBMemo1YomiOut(TYomiDBMemo* Sender, SjisString& Yomi);

    QTabBar* tabs() const { return TabControl1; }
    QWidget* card() const;

    // lookup: postal codes and addresses, vehicle specifications.
    void N28Click();
    void DBMemo25DblClick();
    void DBMemo29DblClick();
    void DBMemo32DblClick();
    void Title4Panel1Click();
    void Title8Panel1Click();
    void CodeCheck(int& Result);
    void DBMemo21DblClick();
    void N13Click();

    // view: title colours, column widths and line count, the list window
    // and its display settings (main_window_view.cpp).
    void wireview();
    void N7Click();
    void N11Click();
    void N12Click();
    void List1Click();
    void List2Click();
    void N15Click();

    // dates: era dates and the date dialog, choice lists and section titles,
    // weights and remarks (main_window_dates.cpp).
    Table* Table4 = nullptr;  // Sort: the book's scratch table of the remarks sort, set by the first sort
    void wiredates();
    void DBComboBox2DblClick();
    void DBComboBox3DblClick();
    void DBComboBox11DblClick();
    void DBComboBox12DblClick();
    void DBComboBox14DblClick();
    void UpComboBox1DblClick();
    void UpComboBox2DblClick();
    void UpComboBox3DblClick();
    void DBComboBox2Exit();
    void DBComboBox3Exit();
    void DBComboBox11Exit();
    void DBComboBox12Exit();
    void DBComboBox14Exit();
    void UpComboBox1Exit();
    void UpComboBox2Exit();
    void UpComboBox3Exit();
    void DBComboBox12Enter();
    void CarNoClick();
    void CarDate1Click();
    void CarType1Click();
    void CarUse1Click();
    void CarOther1Click();
    void CarType2Click();
    void CarName1Click();
    void FuelTypeClick();
    void CarIns1Click();
    void CarTerm1Click();
    void Memo1Click();
    void K4Click();
    void N17Click();
    void N19Click();
    void N20Click();
    void N21Click();
    void N22Click();
    void N23Click();
    void N24Click();
    void N25Click();
    void N26Click();
    void N27Click();
    void DBMemo7Enter();
    void DBMemo8Enter();
    void DBMemo7DblClick();
    void DBMemo8DblClick();
    void MemoButtonClick();
    void MemoSpeedClick();
    void MemoListBoxClick();
    void MemoCancelSpeedClick();
    void Title9Panel3Click();
    void Title9Panel4Click();
    void DBNavigator3Click();

    // find: finding, filtering and sorting records, copying a record
    // (main_window_find.cpp).
    void wirefind();
    void CopySpeedClick();
    void FindSpeedClick();
    void FindNextSpeedClick();
    void FindBackSpeedClick();
    void Filter1Click();
    void FilterNClick();
    void Sort1Click();
    void SortNClick();
    void SortFilter1Click();

    // print: the print program's menus and hand-off, the print settings of
    // free layouts, the pattern order, the own company
    // (main_window_print.cpp).
    PrintNameList PrintNames;  // PrintName.INI as PrintSet last read it
    void wireprint();
    void PrintSet();
    void CallPrint(int PrintNo);
    void Print1Click();
    void PrintS1Click();
    void Print2Click(), Print3Click(), Print4Click(), Print5Click(), Print6Click(), Print7Click(), Print8Click(),
        Print9Click(), Print10Click(), Print11Click(), Print12Click(), Print13Click(), Print14Click(),
        Print15Click(), Print16Click(), Print17Click(), Print18Click(), Print19Click(), Print20Click(),
        Print21Click(), Print22Click(), Print23Click();
    void PrintS2Click();
    void PrintS3Click();
    void User1Click();

    // widths: the width sets of INDTLEN, shown by the width-set dialog
    // (main_window_widths.cpp).
    Table* Table3 = nullptr;  // INDTLEN: width sets
    void S1Click();
    void Table3AfterScroll();
    // The width-set dialog, created after the main window.
    TInDTLenForm* createInDTLenForm();
    // Shows the width-set dialog to choose a set; the chosen set, which
    // stays the current row of INDTLEN, or nothing when cancelled.
    std::optional<WidthSet> chooseWidthSet(const QString& instruction);

    // backup: backup to CSV and restore (main_window_backup.cpp).
    void Exp1Click();
    void Inp1Click();

    // list print: the text list and the window's image (main_window_list_print.cpp).
    void PrintSBClick();
    void PrintBClick();
    void Timer2Timer();
    QTimer* Timer2 = nullptr;  // created by the first window-image print
    int FormPrintStep = 0;     // 0 while no window-image print runs
    int SavedFormHeight = 0;

    // costs: the fee tables, cost settings and estimates (main_window_costs.cpp).
    Table* Table2 = nullptr;  // Expense: fees, set by costTables()
    Table* Table7 = nullptr;  // WeightTax: weight-tax brackets, likewise
    CostTables& costTables();  // opened on first use
    void Expense1Click();
    void Expense2Click();
    void ExpenseOut();

private:
    void findFrom(int start, bool backwards);
    void applyFilter();
    void applySort(const SjisString& field);
    void clearFilterState();
    void clearSortState();
    void startFormPrint(bool allRecords);
    void formPrintStep();
    void endFormPrint();
    bool formPrintAll_ = false;
    std::shared_ptr<TextPrinter> formPrinter_;

protected:
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void showEvent(QShowEvent* e) override;

private:
    // lookup
    void wirelookup();
    void addressOfPostalCode(const char* field);
    std::vector<QString> codeFiles() const;
    bool locateSpecification(const char* fields, SjisString designation, const SjisString& classification);
    void copySpecification(const SjisString& designation);
    // dates
    void dateBoxDblClick(const char* name);
    void dateBoxExit(const char* name);
    void editChoiceList(const char* menuItem);
    void renameTitle(const char* menuItem);
    void clearWeights(int group);
    SjisString remarks();
    void setRemarks(const SjisString& text);
    void showRemarkWords(bool show);
    void sortRemarks(bool byContent);

    // print
    QAction* printItem(int n) const;
    void handOff(int pattern, PrintMode mode);

    void buildMenus();
    void buildToolbar();
    void buildCard();
    void loadLists();
    void applyLayoutMode(int mode);
    bool bindExtensionControls(bool all);
    bool FormCloseQuery();
    bool handleEnterKey(QObject* target);
    int cardBaseHeight() const;
    template <class T> T* control(const char* name) const;

    RecordBook& book_;
    QLabel* PathLabel = nullptr;
    QLabel* T3Label = nullptr;
    QListWidget* ListBox1 = nullptr;
    QSpinBox* SpinEdit1 = nullptr;
    QTabBar* TabControl1 = nullptr;
    QWidget* TabPage = nullptr;
    QScrollArea* ScrollBox1 = nullptr;
    Panel* CardPanel = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    QLabel* StatusPanel0 = nullptr;
    Panel* SortPanel = nullptr;
    Panel* FilterPanel = nullptr;
    Panel* CurrentPanel = nullptr;
    Panel* TotalPanel = nullptr;
    Panel* Commant1Panel = nullptr;
    Panel* Commant2Panel = nullptr;
    QTimer* Timer1 = nullptr;
    TRestorePos* RestorePos1 = nullptr;
    bool tabChanging_ = false;
    bool countersPending_ = false;
    bool lockedForPassword_ = false;
    int cardBaseHeight_ = 0;  // the card's height in the standard layout, remarks at 130
    bool closingConfirmed_ = false;
};

extern TCarDataForm* CarDataForm;
extern TInDTLenForm* InDTLenForm;
