// The title-colour dialog: the background colour of the card's title panels
// and the text colour of the sort and filter indicators, chosen by name and
// kept in TitleColor.INI.
#pragma once

#include "components/core/cp932.h"
#include "platform/system_colors.h"

#include <QDialog>
#include <QStringList>

class QComboBox;
class QLabel;
class QPushButton;
class TCarDataForm;

class TColorDlg : public QDialog {
    Q_OBJECT
public:
    // Applies TitleColor.INI (or the default names) to the main window.
    explicit TColorDlg(TCarDataForm& carData, QWidget* parent = nullptr);
    ~TColorDlg() override;

    QLabel* Label1 = nullptr;
    QComboBox* ColorComboBox = nullptr;
    QLabel* Label2 = nullptr;
    QComboBox* ColorComboBox1 = nullptr;
    QPushButton* OKBtn = nullptr;
    QString Directory;  // the current directory at creation

    void FormCreate();
    void OKBtnClick();

    // Applying a name: a name whose colour is 0 changes nothing.
    void applyTitleColor(const SjisString& name);
    void applyIndicatorColor(const SjisString& name);

    // The 55 title panels of the card.
    static const QStringList& titlePanelNames();

protected:
    bool event(QEvent* e) override;

private:
    void paint();

    TCarDataForm& carData_;
    TColor titleColor_ = systemColorValue(kColorInactiveCaption);
    TColor indicatorColor_ = systemColorValue(kColorWindowText);
};

extern TColorDlg* ColorDlg;
