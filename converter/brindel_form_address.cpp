// The address check, from the tool bar's "住所チェック".
#include "converter/address_check.h"
#include "converter/brindel_form.h"
#include "converter/grid_detached.h"
#include "platform/message_box.h"

#include <QLabel>

void TBrindelForm::SpeedButton3Click()
{
    if (showMessage(QStringLiteral("住所チェックを行いますよろしいですか？"), QStringLiteral("確認"), MessageIcon::Question,
                    MessageButtons::YesNo, this)
        != MessageAnswer::Yes)
        return;
    AddressCheckOutcome outcome;
    {
        GridDetached detached(DBGrid1, Table1);
        outcome = checkAddresses(*Table1);
    }
    Label1->setText(QStringLiteral("%1 件の住所を補完しました。").arg(outcome.completed));
    if (outcome.notCompleted)
        showMessage(QStringLiteral("%1 件の住所は、補完すると他のレコードと同じキーになるため、そのままにしました。")
                        .arg(outcome.notCompleted),
                    {}, MessageIcon::Warning, MessageButtons::Ok, this);
}
