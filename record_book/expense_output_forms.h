// The cost estimate's dialogs: the options (scope, output, records per
// print job, the two questions, the print font), kept in Expense.INI, and
// the viewer of the estimate's text.
#pragma once

#include "components/formats/cost_settings.h"

#include <QDialog>
#include <array>

class LineView;
class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class TRestorePos;

class TExpenseEstablForm : public QDialog {
    Q_OBJECT
public:
    explicit TExpenseEstablForm(QWidget* parent = nullptr);
    ~TExpenseEstablForm() override;

    QGroupBox* RadioGroup1 = nullptr;  // scope
    QGroupBox* RadioGroup2 = nullptr;  // output
    QLabel* Label1 = nullptr;
    QSpinBox* UpDown1 = nullptr;
    QLineEdit* Edit1 = nullptr;  // records per print job, UpDown1's text
    QCheckBox* CheckBox1 = nullptr;  // 仮ﾅﾝﾊﾞｰ取得
    QCheckBox* CheckBox2 = nullptr;  // 自賠責保険持ち込み
    QPushButton* Button1 = nullptr;
    QPushButton* OKBtn = nullptr;
    QPushButton* CancelBtn = nullptr;
    FontBlock Font = expenseFontDefaults();  // the print font, FontDialog1's

    int scope() const;
    int output() const;
    void setScope(int index);
    void setOutput(int index);
    // Adds the item "明細書" to the outputs.
    void addRequestOutput();
    bool requestOutputOffered() const;

    void FormShow();
    void RadioGroup2Click();
    void Button1Click();
    void OKBtnClick();

protected:
    void showEvent(QShowEvent* e) override;

private:
    QButtonGroup* scopes_ = nullptr;
    QButtonGroup* outputs_ = nullptr;
    QString dir_;
};

class TExpenseOutForm : public QDialog {
    Q_OBJECT
public:
    explicit TExpenseOutForm(QWidget* parent = nullptr);
    ~TExpenseOutForm() override;

    LineView* Memo1 = nullptr;
    // The last record's insurance, weight tax, stamp, fees, plate and total.
    std::array<QSpinBox*, 6> SpinEdits{};
    std::array<QLabel*, 6> Labels{};

    // Memo1 takes the print font.
    void setPrintFont(const FontBlock& font);

private:
    TRestorePos* RestorePos1 = nullptr;
};

extern TExpenseEstablForm* ExpenseEstablForm;
extern TExpenseOutForm* ExpenseOutForm;
