// The cost settings: the weight-tax brackets of the five uses, the flat
// weight taxes, and the fees by use, class and registration, edited in the
// one row of WeightTax and of Expense; and the name of the
// miscellaneous-fee line, kept in ExpenseName.INI. Its some 350 edits are
// made from a table of descriptors.
#pragma once

#include "components/core/cp932.h"

#include <QDialog>
#include <array>
#include <string>
#include <vector>

class CostTables;
class Panel;
class QButtonGroup;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollArea;
class Table;

// Where one field of a fee table is edited. Groups 0..4: the brackets of
// uses 1..5 (rows 1..13; columns 0 the bound, 1 private, 2 business, 3
// and 4 the load columns of 特種); group 5: the flat taxes (rows 1..4);
// groups 6..8: 自賠責, 検査印紙, 諸費用 (rows 1..4 by class; two columns a
// use, 特種 with two more); group 9: the temporary plate.
struct ExpenseFormField {
    const char* table;  // "WeightTax" or "Expense"
    std::string field;  // UTF-8
    int group, row, column;
};
const std::vector<ExpenseFormField>& expenseFormFields();

class TExpenseForm : public QDialog {
    Q_OBJECT
public:
    TExpenseForm(CostTables& tables, const QString& dataDir, QWidget* parent = nullptr);
    ~TExpenseForm() override;

    static constexpr int kUses = 5;
    QScrollArea* ScrollBox1 = nullptr;
    std::array<QGroupBox*, kUses> radioGroups{};  // JyouyouGroup, kamotuGroup, TokusyuGroup, NoriaiGroup, TokushyuGroup
    std::array<Panel*, kUses> coverPanels{};     // JyouyouPanel, …
    QGroupBox* GroupBox4 = nullptr;              // the miscellaneous fees, captioned with their name
    QLineEdit* Edit1 = nullptr;                  // the miscellaneous-fee name
    QWidget* BtnPanel = nullptr;
    QPushButton* OKBtn = nullptr;
    QPushButton* CancelBtn = nullptr;

    // The edit of a field (UTF-8 name), null when the form has none.
    QLineEdit* fieldEdit(const std::string& field) const;
    QRadioButton* radioItem(int use, int row) const;  // use 1..5, row 1..13
    // The name of the miscellaneous-fee line: the file's bytes while Edit1
    // shows them unchanged.
    SjisString feeName() const;

    void FormCreate();
    void groupClick(int use, int row);  // JyouyouGroupClick and the others
    void Edit1Change();
    void OKBtnClick();
    void FormCloseQuery();
    void FormResize();

    void done(int result) override;

protected:
    void showEvent(QShowEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    QWidget* buildContents();
    QGroupBox* buildBracketGroup(QWidget* parent, int use);
    QGroupBox* buildFeeGroup(QWidget* parent, const QString& caption);
    void loadFields();
    void writeFields(Table& table, const char* name);
    int rowCount(int use) const;  // from the bound edits
    void layOutGroup(int use, int n);

    CostTables& tables_;
    QString dataDir_;
    SjisString nameBytes_;
    std::vector<std::pair<const ExpenseFormField*, QLineEdit*>> edits_;
    std::array<QButtonGroup*, kUses> buttons_{};
    std::array<QGroupBox*, 3> feeGroups_{};  // 自賠責, 検査印紙, GroupBox4
};

extern TExpenseForm* ExpenseForm;
