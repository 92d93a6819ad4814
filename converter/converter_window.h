#pragma once

#include <QMainWindow>

// Brindel's main window: imports, backups and the address check.
class TConvertForm : public QMainWindow {
    Q_OBJECT
public:
    explicit TConvertForm(QWidget* parent = nullptr);
};
