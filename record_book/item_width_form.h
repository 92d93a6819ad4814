// The column-width dialog: a small model of the card's header rows with a
// spin edit under each of the 18 adjustable columns. A change shows on the
// main window at once; OK keeps the widths in WIDTH.INI, which is applied
// at every start and at every close of the dialog.
#pragma once

#include <QDialog>
#include <array>
#include <optional>

class Panel;
class QPushButton;
class QSpinBox;
class TCarDataForm;
class TRestorePos;
struct WidthSettings;

class TItemWForm : public QDialog {
    Q_OBJECT
public:
    static constexpr int kSettings = 18;

    // Applies WIDTH.INI to the main window.
    explicit TItemWForm(TCarDataForm& carData, QWidget* parent = nullptr);
    ~TItemWForm() override;

    std::array<QSpinBox*, kSettings> SpinEdits{};  // SpinEdit1 to SpinEdit18
    Panel* Panel1 = nullptr;   // what is left for 車体の形状
    Panel* Panel2 = nullptr;   // 車名
    Panel* Panel3 = nullptr;   // 車台番号
    Panel* Panel15 = nullptr;  // 使用者ふりがな
    Panel* Panel29 = nullptr;  // 盗難保険
    Panel* UpPanel1 = nullptr;  // the extension row's titles
    Panel* UpPanel2 = nullptr;  // and its spin edits
    QPushButton* OKBtn = nullptr;
    QPushButton* CancelBtn = nullptr;
    int LayoutFlag = 0;  // line 1 of DataBase.INI when the dialog was created

    void FormCreate();
    void FormShow();
    // The change handler of SpinEdit<setting> (1 to 18).
    void SpinEditChange(int setting);
    void OKBtnClick();
    void FormCloseQuery();

    // The value of a spin edit: its text as a whole number, else 0.
    int spinValue(int setting) const;

    // Every close (OK, Cancel, the close box) goes through FormCloseQuery.
    void done(int result) override;

protected:
    void showEvent(QShowEvent* e) override;

private:
    void buildRows();
    void wireControls();
    // Applies the widths of WIDTH.INI; at creation a file without the
    // telephone setting gives the telephone memo 125.
    void applyWidths(const WidthSettings& settings, bool creating);
    void setColumnWidth(int setting, int w);
    void setSubLineWidths(int setting, int w);
    void applyChain(int first, int last, const std::array<std::optional<int>, kSettings>& v);
    void changeChained(int setting, int w);
    void changeRow3(int setting, int w);
    void placeReadingLine();
    QWidget* mainControl(const QString& name) const;
    QWidget* mainControl(const char* name) const { return mainControl(QString::fromLatin1(name)); }

    TCarDataForm& carData_;
    TRestorePos* RestorePos1 = nullptr;
    Panel* readingTitles_ = nullptr;
    Panel* readingValues_ = nullptr;
    int extensionTop_ = 0;
};

extern TItemWForm* ItemWForm;
