// The choice-list editor: one entry per line of a memo, under a heading
// that names the list.
#pragma once

#include <QDialog>
#include <QStringList>

class Panel;
class QPlainTextEdit;
class QPushButton;

class TListEditForm : public QDialog {
    Q_OBJECT
public:
    explicit TListEditForm(QWidget* parent = nullptr);

    // The memo's lines as a list of entries: a line break at the very end
    // starts no further entry, an empty memo has none.
    QStringList lines() const;
    void setLines(const QStringList& lines);

    Panel* Panel1;
    QPlainTextEdit* Memo1;
    Panel* BtnPanel;
    QPushButton* OKBtn;
    QPushButton* CancelBtn;

    void FormResize();
    void OKBtnClick();
    void CancelBtnClick();

protected:
    void resizeEvent(QResizeEvent* e) override;
};

extern TListEditForm* ListEditForm;
