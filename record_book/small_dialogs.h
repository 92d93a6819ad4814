// The start-up password dialog and the about box.
#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;

class TPassDlg : public QDialog {
    Q_OBJECT
public:
    explicit TPassDlg(QWidget* parent = nullptr);
    QLineEdit* MaskEdit1;
};

class TVersionDlg : public QDialog {
    Q_OBJECT
public:
    explicit TVersionDlg(QWidget* parent = nullptr);
};

extern TPassDlg* PassDlg;
extern TVersionDlg* VersionDlg;
