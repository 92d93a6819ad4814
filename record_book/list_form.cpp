#include "record_book/list_form.h"

#include "components/widgets/column_width.h"
#include "components/core/data_directory.h"
#include "components/widgets/db_controls.h"
#include "components/widgets/restore_pos.h"
#include "components/formats/list_settings.h"
#include "platform/error_guard.h"
#include "record_book/main_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QHeaderView>
#include <QVBoxLayout>

TListForm* ListForm = nullptr;

TListForm::TListForm(TCarDataForm& carData, QWidget* parent) : QWidget(parent, Qt::Window), carData_(carData)
{
    setObjectName(QStringLiteral("ListForm"));
    setWindowTitle(QStringLiteral("リスト表示"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    DBGrid1 = new DBGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setEditable(true);
    DBGrid1->horizontalHeader()->setSectionsMovable(true);
    DBGrid1->setTable(carData.Table1);
    layout->addWidget(DBGrid1);
    // The click has moved the record by the time the queued handler runs.
    connectGuarded(DBGrid1, &QTableView::clicked, this, &TListForm::DBGrid1CellClick, Qt::QueuedConnection);

    RestorePos1 = new TRestorePos(this, QStringLiteral("Dremlot"), QStringLiteral("List "));

    resize(435, 300);
    FormCreate();
    RestorePos1->restore();
}

TListForm::~TListForm()
{
    if (ListForm == this)
        ListForm = nullptr;
}

void TListForm::FormCreate()
{
    Directory = currentDataDirectory();
}

void TListForm::DBGrid1CellClick()
{
    carData_.refreshCounters();
}

int TListForm::characterWidth() const
{
    return ColumnWidth(DBGrid1->fontMetrics()).unit();
}

std::vector<ListColumn> TListForm::columns() const
{
    const QHeaderView* header = DBGrid1->horizontalHeader();
    const ColumnWidth width(DBGrid1->fontMetrics());
    std::vector<ListColumn> out;
    for (int visual = 0; visual < header->count(); ++visual) {
        const int logical = header->logicalIndex(visual);
        if (header->isSectionHidden(logical))
            continue;
        out.push_back({DBGrid1->gridModel()->fieldIndex(logical),
                       width.nearestCharacters(header->sectionSize(logical))});
    }
    return out;
}

// The columns named come first, in this order; every other column leaves
// the grid.
void TListForm::setColumns(const std::vector<ListColumn>& columns)
{
    QHeaderView* header = DBGrid1->horizontalHeader();
    const ColumnWidth width(DBGrid1->fontMetrics());
    std::vector<bool> keep(std::size_t(header->count()), false);
    int visual = 0;
    for (const ListColumn& c : columns) {
        if (c.field < 0 || c.field >= header->count())
            continue;
        keep[std::size_t(c.field)] = true;
        header->moveSection(header->visualIndex(c.field), visual++);
        if (c.width)
            header->resizeSection(c.field, width.pixels(std::max(0, *c.width)));
    }
    for (int logical = 0; logical < header->count(); ++logical)
        header->setSectionHidden(logical, !keep[std::size_t(logical)]);
}

void TListForm::closeEvent(QCloseEvent* e)
{
    // The window closes even when DsplayLen.INI cannot be written.
    guarded([this] { FormCloseQuery(); });
    if (auto* list2 = carData_.findChild<QAction*>(QStringLiteral("List2")))
        list2->setEnabled(false);
    e->accept();
}

// Keeps the columns' order and widths for the next run, while Dsplay.INI
// chooses the fields.
void TListForm::FormCloseQuery()
{
    if (!fileExists(Directory, QStringLiteral("Dsplay.INI")))
        return;
    ColumnWidths widths;
    for (const ListColumn& c : columns())
        widths.columns.emplace_back(c.field + 1, c.width.value_or(0));
    writeListColumnWidths(Directory, widths);
}
