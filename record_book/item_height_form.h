// The line-count dialog: one, two or three lines for the customer's
// reading and telephone line. A choice shows at once and every close keeps
// it in HEIGHT.INI, which is applied at every start.
#pragma once

#include <QDialog>

class QButtonGroup;
class QGroupBox;
class QPushButton;
class QRadioButton;
class TCarDataForm;
class TRestorePos;

class TItemHForm : public QDialog {
    Q_OBJECT
public:
    // Applies HEIGHT.INI to the main window.
    explicit TItemHForm(TCarDataForm& carData, QWidget* parent = nullptr);
    ~TItemHForm() override;

    QGroupBox* RadioGroup1 = nullptr;
    QRadioButton* radioItem(int index) const;
    QPushButton* OKBtn = nullptr;
    // The chosen line count as an index (0 to 2); another value from the
    // file chooses no item and keeps the design heights.
    int ItemIndex = 0;

    void FormCreate();
    void RadioGroup1Click(int index);
    void FormCloseQuery();
    void done(int result) override;

    // Lays the reading line out for a line-count index.
    void applyLineCount(int index);

private:
    void setItemIndex(int index);

    TCarDataForm& carData_;
    QButtonGroup* buttons_ = nullptr;
    TRestorePos* RestorePos1 = nullptr;
};

extern TItemHForm* ItemHForm;
