// The grid lets go of the table while an operation writes to it, so that
// it does not follow every record; it shows the result afterwards.
#pragma once

#include "components/widgets/db_controls.h"

class GridDetached {
public:
    GridDetached(DBGrid* grid, Table* table) : grid_(grid), table_(table) { grid_->setTable(nullptr); }
    ~GridDetached() { grid_->setTable(table_); }
    GridDetached(const GridDetached&) = delete;
    GridDetached& operator=(const GridDetached&) = delete;

private:
    DBGrid* grid_;
    Table* table_;
};
