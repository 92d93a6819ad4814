#pragma once

#include <QMainWindow>

// Dremlot's main window: one vehicle record shown as a card.
class TCarDataForm : public QMainWindow {
    Q_OBJECT
public:
    explicit TCarDataForm(QWidget* parent = nullptr);
};
