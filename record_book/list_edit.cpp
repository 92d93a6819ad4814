#include "record_book/list_edit.h"

#include "components/widgets/panel.h"
#include "components/widgets/typed_text.h"
#include "platform/error_guard.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

TListEditForm* ListEditForm = nullptr;

TListEditForm::TListEditForm(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("ListEditForm"));
    setWindowTitle(QStringLiteral("ﾘｽﾄ修正"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    Panel1 = new Panel(this, Align::None, QStringLiteral("Panel1"));
    Panel1->setFixedHeight(33);
    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    BtnPanel = new Panel(this, Align::None, QStringLiteral("BtnPanel"));
    BtnPanel->setFixedHeight(35);
    OKBtn = new QPushButton(QStringLiteral("OK(&Y)"), BtnPanel);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    CancelBtn = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), BtnPanel);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    for (QPushButton* b : {OKBtn, CancelBtn}) {
        b->setAutoDefault(false);
        b->setGeometry(0, 5, 75, 25);
    }

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(Panel1);
    layout->addWidget(Memo1, 1);
    layout->addWidget(BtnPanel);

    connectGuarded(OKBtn, &QPushButton::clicked, this, &TListEditForm::OKBtnClick);
    connectGuarded(CancelBtn, &QPushButton::clicked, this, &TListEditForm::CancelBtnClick);
    resize(300, 167);
}

std::vector<SjisString> TListEditForm::lines() const
{
    QString text = Memo1->toPlainText();
    if (text.isEmpty())
        return {};
    if (text.endsWith(QLatin1Char('\n')))
        text.chop(1);
    return sjis::encodeEditedLines(original_, text.split(QLatin1Char('\n')));
}

void TListEditForm::setLines(const std::vector<SjisString>& lines)
{
    original_ = lines;
    QStringList shown;
    for (const SjisString& l : lines)
        shown << sjis::decode(l);
    Memo1->setPlainText(shown.join(QLatin1Char('\n')));
}

void TListEditForm::resizeEvent(QResizeEvent* e)
{
    QDialog::resizeEvent(e);
    guarded([this] { FormResize(); });
}

void TListEditForm::FormResize()
{
    const int w = BtnPanel->width();
    OKBtn->move(w / 3 - 37, OKBtn->y());
    CancelBtn->move((w / 3) * 2 - 37, CancelBtn->y());
}

// Entries that code page 932 cannot hold are refused before anything is
// stored; the dialog stays open to mend them.
void TListEditForm::OKBtnClick()
{
    if (encodingOrWarn([this] { return lines(); }, this))
        accept();
}

void TListEditForm::CancelBtnClick()
{
    reject();
}
