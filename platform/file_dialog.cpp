#include "platform/file_dialog.h"

#include "platform/modal.h"
#include "platform/screen_fit.h"

#include <QFileDialog>
#include <QHeaderView>
#include <QRegularExpression>
#include <QTreeView>

namespace {

// "*.CSV" as "*.CSV *.csv": Linux file names are case-sensitive.
QString anyCase(const QString& patterns)
{
    QStringList out;
    for (const QString& p : patterns.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString trimmed = p.trimmed();
        out << trimmed;
        if (trimmed.toLower() != trimmed)
            out << trimmed.toLower();
        if (trimmed.toUpper() != trimmed)
            out << trimmed.toUpper();
    }
    out.removeDuplicates();
    return out.join(QLatin1Char(' '));
}

// Files listed with their name, size, type and date, every column whole:
// the name takes the room the others leave.
void showDetails(QFileDialog& dialog)
{
    dialog.setViewMode(QFileDialog::Detail);
    dialog.resize(840, 500);
    keepOnScreen(&dialog);
    if (auto* list = dialog.findChild<QTreeView*>(QStringLiteral("treeView"))) {
        QHeaderView* header = list->header();
        header->setStretchLastSection(false);
        header->setSectionResizeMode(0, QHeaderView::Stretch);
        for (int c = 1; c < header->count(); ++c)
            header->setSectionResizeMode(c, QHeaderView::ResizeToContents);
    }
}

std::optional<QString> runDialog(QFileDialog& dialog, const QString& objectName, const QString& title,
                                 const QString& filter, const QString& folder)
{
    dialog.setObjectName(objectName);
    dialog.setWindowTitle(title);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    showDetails(dialog);
    if (!filter.isEmpty())
        dialog.setNameFilters(nameFilters(filter));
    if (!folder.isEmpty())
        dialog.setDirectory(folder);
    if (showModal(dialog) != QDialog::Accepted)
        return std::nullopt;
    const QStringList files = dialog.selectedFiles();
    if (files.isEmpty() || files.first().isEmpty())
        return std::nullopt;
    return files.first();
}

}  // namespace

QStringList nameFilters(const QString& filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    static const QRegularExpression trailingPatterns(QStringLiteral("\\s*\\([^()]*\\)\\s*$"));
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString name = parts[i];
        name.remove(trailingPatterns);
        filters << QStringLiteral("%1 (%2)").arg(name.trimmed(), anyCase(parts[i + 1]));
    }
    return filters;
}

std::optional<QString> openFileName(const QString& objectName, const QString& title, const QString& filter,
                                    const QString& folder, QWidget* parent)
{
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    return runDialog(dialog, objectName, title, filter, folder);
}

std::optional<QString> saveFileName(const QString& objectName, const QString& title, const QString& filter,
                                    const QString& folder, const QString& fileName, QWidget* parent)
{
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // The callers replace an existing file without asking (and may write
    // another extension than the one chosen), so Qt asks nothing either.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (!folder.isEmpty())
        dialog.setDirectory(folder);
    if (!fileName.isEmpty())
        dialog.selectFile(fileName);
    return runDialog(dialog, objectName, title, filter, {});
}
