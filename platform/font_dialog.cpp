#include "platform/font_dialog.h"

#include "platform/modal.h"

#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFontDialog>
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

}  // namespace

bool chooseFont(QFont& font, QColor& color, QWidget* parent)
{
    QFontDialog dialog(font, parent);
    dialog.setObjectName(QStringLiteral("FontDialog1"));
    dialog.setOption(QFontDialog::DontUseNativeDialog);
    QColor chosen = color;
    auto* button = new QPushButton(swatch(chosen), QStringLiteral("文字色(&C)..."));
    button->setObjectName(QStringLiteral("ColorButton"));
    dialog.findChild<QDialogButtonBox*>()->addButton(button, QDialogButtonBox::ActionRole);
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
