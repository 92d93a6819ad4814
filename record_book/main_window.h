#pragma once

#include "components/database.h"
#include "components/table.h"

#include <QMainWindow>
#include <QPointer>
#include <memory>

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
class TRestorePos;

// Dremlot's main window: one vehicle record shown as a card, with tabs by
// the kana row of the reading.
class TCarDataForm : public QMainWindow {
    Q_OBJECT
public:
    explicit TCarDataForm(Database& db, QWidget* parent = nullptr);
    ~TCarDataForm() override;

    Table* Table1 = nullptr;  // INDATA: the records
    Table* Table5 = nullptr;  // code: vehicle specifications

    // State held for the whole run.
    QString dataDirectory() const;
    int RecordLayoutMode = 0;
    int RequestProgramPresent = 0;
    SjisString StartupPassword;
    int DesignationOnlySearch = 0;
    SjisString BackupNamePrefix, BackupNameSuffix;
    SjisString RememberedInsurer, RememberedCertificate;
    bool BulkRestoring = false, ListFormsCreated = false, ExpenseFormsCreated = false;
    int SortFilterCombined = 0;
    int ResizeOffset = 0;
    QString RestoreInitialFolder;

    // Handlers.
    void FormCreate();
    void Timer1Timer();
    void TabControl1Change();
    void FormResize();
    void Table1AfterScroll();
    void Table1BeforePost();
    void Table1AfterPost();
    void N18Click();
    void Ver1Click();
    void Contents1Click();
    void Exit1Click();
    void Up1Click();
    void setStatusHint(const QString& text);
    void refreshCounters();
    void selectTab(int index);  // without running the tab-change command

    QTabBar* tabs() const { return TabControl1; }
    QWidget* card() const;

protected:
    void closeEvent(QCloseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void showEvent(QShowEvent* e) override;

private:
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

    Database& db_;
    std::unique_ptr<Table> table1_, table5_;
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
    int cardBaseHeight_ = 0;  // the card's height in the standard layout, remarks at 130
    bool closingConfirmed_ = false;
};

extern TCarDataForm* CarDataForm;
