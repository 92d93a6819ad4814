// Open and save file dialogs. Each is a QFileDialog named by the caller
// (the system's component name, "OpenDialog1") and shown through
// showModal, so tests answer it from a ScriptedDialogs script: the answer
// calls selectFile(path) on the dialog and returns QDialog::Accepted.
//
// Filters are written as the system writes them, names and patterns
// separated by "|" ("CSVﾌｧｲﾙ(*.CSV)|*.CSV|すべて　(*.*)|*.*"); patterns
// match file names in any case, as they did where the system comes from.
#pragma once

#include <QString>
#include <optional>

class QWidget;

// The chosen file (an existing one), or nothing when cancelled.
std::optional<QString> openFileName(const QString& objectName, const QString& title, const QString& filter,
                                    const QString& folder = {}, QWidget* parent = nullptr);

// The file to write, or nothing when cancelled. Choosing an existing file
// asks nothing: the caller replaces it.
std::optional<QString> saveFileName(const QString& objectName, const QString& title, const QString& filter,
                                    const QString& folder = {}, const QString& fileName = {},
                                    QWidget* parent = nullptr);

// A filter of the system's notation as QFileDialog's name filters.
QStringList nameFilters(const QString& filter);
