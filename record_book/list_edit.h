// The choice-list editor: one entry per line of a memo, under a heading
// that names the list.
#pragma once

#include "components/core/cp932.h"

#include <QDialog>
#include <vector>

class Panel;
class QPlainTextEdit;
class QPushButton;

class TListEditForm : public QDialog {
    Q_OBJECT
public:
    explicit TListEditForm(QWidget* parent = nullptr);

    // The memo's lines as a list of entries: a line break at the very end
    // starts no further entry, an empty memo has none. A line left as
    // setLines showed it keeps its bytes; only what the user changed is
    // encoded (TextEncodingError for a character CP932 cannot hold).
    std::vector<SjisString> lines() const;
    void setLines(const std::vector<SjisString>& lines);

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

private:
    std::vector<SjisString> original_;  // the entries setLines showed
};

extern TListEditForm* ListEditForm;
