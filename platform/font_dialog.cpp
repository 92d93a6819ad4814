#include "platform/font_dialog.h"

#include "platform/modal.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QLayout>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>

namespace {

QIcon swatch(const QColor& color)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(color);
    QPainter(&pixmap).drawRect(0, 0, 15, 15);
    return QIcon(pixmap);
}

// Under the effects (strike-out, underline), as the colour stands in the
// system's font dialog; beside OK and Cancel when the dialog has no effects.
void placeButton(QFontDialog& dialog, QPushButton* button)
{
    const QCheckBox* effect = dialog.findChild<QCheckBox*>();
    QLayout* effects = effect && effect->parentWidget() ? effect->parentWidget()->layout() : nullptr;
    if (effects)
        effects->addWidget(button);
    else
        dialog.findChild<QDialogButtonBox*>()->addButton(button, QDialogButtonBox::ActionRole);
}

}  // namespace

bool chooseFont(QFont& font, QColor& color, QWidget* parent)
{
    QFontDialog dialog(font, parent);
    dialog.setObjectName(QStringLiteral("FontDialog1"));
    dialog.setOption(QFontDialog::DontUseNativeDialog);
    QColor chosen = color;
    auto* button = new QPushButton(swatch(chosen), QStringLiteral("文字色(&C)..."));
    button->setObjectName(QStringLiteral("ColorButton"));
    placeButton(dialog, button);
    QObject::connect(button, &QPushButton::clicked, &dialog, [&] {
        QColorDialog colors(chosen, &dialog);
        colors.setObjectName(QStringLiteral("ColorDialog1"));
        colors.setOption(QColorDialog::DontUseNativeDialog);
        if (showModal(colors) == QDialog::Accepted) {
            chosen = colors.selectedColor();
            button->setIcon(swatch(chosen));
        }
    });
    if (showModal(dialog) != QDialog::Accepted)
        return false;
    font = dialog.selectedFont();
    color = chosen;
    return true;
}
