#include "components/widgets/dual_list.h"

#include "platform/error_guard.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QScrollBar>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <optional>
#include <utility>

namespace {

// First and last selected row of a list.
std::optional<std::pair<int, int>> selectionBlock(const QListWidget* list)
{
    int first = -1, last = -1;
    for (int i = 0; i < list->count(); ++i) {
        if (!list->item(i)->isSelected())
            continue;
        if (first < 0)
            first = i;
        last = i;
    }
    if (first < 0)
        return std::nullopt;
    return std::make_pair(first, last);
}

// Moves the block to the end of `to`, in its order.
bool moveBlock(QListWidget* from, QListWidget* to)
{
    auto block = selectionBlock(from);
    if (!block)
        return false;
    for (int n = block->second - block->first + 1; n > 0; --n)
        to->addItem(from->takeItem(block->first));
    return true;
}

void selectOnly(QListWidget* list, int row)
{
    list->clearSelection();
    list->setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
}

// Room in a list beside its widest entry: frame, item margins, scroll bar.
int listExtras(const QListWidget* list)
{
    return 2 * list->frameWidth() + 12 + list->verticalScrollBar()->sizeHint().width();
}

QToolButton* speedButton(QWidget* parent, const char* name)
{
    auto* b = new QToolButton(parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setFixedSize(28, 25);
    return b;
}

}  // namespace

TDualListChooser::TDualListChooser(const QString& leftCaption, const QString& rightCaption, Buttons buttons,
                                   QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("DualListChooser"));
    Label1 = new QLabel(leftCaption, this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label2 = new QLabel(rightCaption, this);
    Label2->setObjectName(QStringLiteral("Label2"));
    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox2 = new QListWidget(this);
    ListBox2->setObjectName(QStringLiteral("ListBox2"));
    for (QListWidget* l : {ListBox1, ListBox2}) {
        l->setSelectionMode(QAbstractItemView::ExtendedSelection);
        l->setMinimumWidth(kMinimumListWidth);
        connect(l->model(), &QAbstractItemModel::rowsInserted, this, &TDualListChooser::fitEntries);
    }

    SpeedButton1 = speedButton(this, "SpeedButton1");
    SpeedButton1->setText(QStringLiteral("＞"));
    SpeedButton2 = speedButton(this, "SpeedButton2");
    SpeedButton2->setText(QStringLiteral("＜"));
    SpeedButton3 = speedButton(this, "SpeedButton3");
    SpeedButton3->setIcon(QApplication::style()->standardIcon(QStyle::SP_ArrowUp));
    SpeedButton4 = speedButton(this, "SpeedButton4");
    SpeedButton4->setIcon(QApplication::style()->standardIcon(QStyle::SP_ArrowDown));

    auto* middle = new QVBoxLayout;
    middle->addStretch(1);
    middle->addWidget(SpeedButton1);
    middle->addSpacing(8);
    middle->addWidget(SpeedButton2);
    middle->addStretch(1);
    auto* order = new QHBoxLayout;
    order->addStretch(1);
    order->addWidget(SpeedButton3);
    order->addWidget(SpeedButton4);
    order->addStretch(1);

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(Label1, 0, 0);
    grid->addWidget(Label2, 0, 2);
    grid->addWidget(ListBox1, 1, 0);
    grid->addLayout(middle, 1, 1);
    grid->addWidget(ListBox2, 1, 2);
    grid->addLayout(order, 2, 2);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(2, 1);
    if (buttons == Buttons::MoveOnly) {
        SpeedButton3->hide();
        SpeedButton4->hide();
    }

    connectGuarded(SpeedButton1, &QToolButton::clicked, this, &TDualListChooser::SpeedButton1Click);
    connectGuarded(SpeedButton2, &QToolButton::clicked, this, &TDualListChooser::SpeedButton2Click);
    connectGuarded(SpeedButton3, &QToolButton::clicked, this, &TDualListChooser::SpeedButton3Click);
    connectGuarded(SpeedButton4, &QToolButton::clicked, this, &TDualListChooser::SpeedButton4Click);
}

// Entries move between the lists, so both are as wide as the widest entry.
void TDualListChooser::fitEntries()
{
    int widest = 0;
    for (const QListWidget* l : {ListBox1, ListBox2})
        for (int i = 0; i < l->count(); ++i)
            widest = std::max(widest, l->fontMetrics().horizontalAdvance(l->item(i)->text()) + listExtras(l));
    for (QListWidget* l : {ListBox1, ListBox2})
        l->setMinimumWidth(std::max(kMinimumListWidth, widest));
}

void TDualListChooser::SpeedButton1Click()
{
    if (moveBlock(ListBox1, ListBox2))
        emit changed();
}

void TDualListChooser::SpeedButton2Click()
{
    if (moveBlock(ListBox2, ListBox1))
        emit changed();
}

void TDualListChooser::SpeedButton3Click()
{
    auto block = selectionBlock(ListBox2);
    if (!block || block->first == 0)
        return;
    ListBox2->insertItem(block->second, ListBox2->takeItem(block->first - 1));
    selectOnly(ListBox2, block->first - 1);
    emit changed();
}

void TDualListChooser::SpeedButton4Click()
{
    auto block = selectionBlock(ListBox2);
    if (!block || block->second == ListBox2->count() - 1)
        return;
    ListBox2->insertItem(block->first, ListBox2->takeItem(block->second + 1));
    selectOnly(ListBox2, block->second + 1);
    emit changed();
}
