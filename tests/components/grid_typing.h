// A user's click on a grid cell and typing there, as a real mouse and
// keyboard deliver them.
#pragma once

#include "components/widgets/db_controls.h"

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

// Clicks the cell, types `keys` (ASCII; the first key opens the cell's
// editor) and Return, which hands the text to the record.
inline void clickAndType(DBGrid& grid, int row, int column, const char* keys)
{
    const QModelIndex at = grid.model()->index(row, column);
    grid.scrollTo(at);
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, grid.visualRect(at).center());
    QApplication::processEvents();
    QTest::keyClick(&grid, keys[0]);
    QWidget* editor = grid.indexWidget(grid.currentIndex());
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, keys + 1);
    QTest::keyClick(editor, Qt::Key_Return);
    QApplication::processEvents();
}
