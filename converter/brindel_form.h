#pragma once

#include "components/core/cp932.h"

#include <QMainWindow>
#include <optional>

class Database;
class DBGrid;
class Panel;
class QLabel;
class QToolButton;
class Table;
class TInDTLenForm;
class TRestorePatDlg;
class TRestorePos;

// Brindel's main window: the record table in a grid under a tool bar of
// the converter's operations and a status line. Every operation runs to
// its end inside its click.
class TBrindelForm : public QMainWindow {
    Q_OBJECT
public:
    explicit TBrindelForm(Database& db, QWidget* parent = nullptr);
    ~TBrindelForm() override;

    Panel* Panel1 = nullptr;  // tool bar
    Panel* Panel2 = nullptr;  // holds the status line
    QLabel* Label1 = nullptr;  // status line
    DBGrid* DBGrid1 = nullptr;
    QLabel* T3Label = nullptr;  // "Busy" once the width-set chooser exists
    QLabel* PathLabel = nullptr;
    QToolButton* OpenSpeed = nullptr;
    QToolButton* SpeedButton4 = nullptr;
    QToolButton* NewSpeed = nullptr;
    QToolButton* SpeedButton1 = nullptr;
    QToolButton* SpeedButton2 = nullptr;
    QToolButton* SpeedButton3 = nullptr;
    Table* Table1 = nullptr;  // INDATA
    Table* Table3 = nullptr;  // INDTLEN, the width sets
    TRestorePos* RestorePos1 = nullptr;
    // The width-set chooser (choose-only) of backup and restore; its number
    // box Edit1 follows Table3.
    TInDTLenForm* InDTLForm = nullptr;
    // The column chooser of the CSV import; it keeps its lists.
    TRestorePatDlg* RestorePatDlg = nullptr;

    // Start-up state, read once.
    int RecordLayoutMode = 0;
    QString IniDirFolder;  // the first line of INIDIR.INI, or empty

    QString dataDirectory() const;

    void FormCreate();
    void OpenSpeedClick();
    void NewSpeedClick();
    void SpeedButton1Click();  // restore
    void SpeedButton2Click();  // backup
    void Table3AfterScroll();
    void SpeedButton4Click();  // CSV import with named columns
    void SpeedButton3Click();  // address check

    // OpenDialog1: a file to import or restore, from the INIDIR.INI folder.
    std::optional<QString> openImportFile();

private:
    void buildToolBar();
    // One old-data file of a run; false when the run ends here.
    bool importOldDataFile(bool base);
    // Before `file` replaces a book that holds records: asks, No by default.
    bool mayReplaceBook(const QString& file);
    void showOutcome(const SjisString& reading, int refused);

    Database& db_;
};
