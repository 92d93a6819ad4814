#include "components/widgets/list_entries.h"

#include <QComboBox>
#include <QListWidget>
#include <QSignalBlocker>

namespace {

// The bytes setComboText gave a combo box, and whether the box drops them
// when the user chooses an item.
constexpr char kTextBytes[] = "sjisText";
constexpr char kTextTracked[] = "sjisTextTracked";

SjisString entryOf(const QVariant& bytes, const QString& text)
{
    if (bytes.typeId() == QMetaType::QByteArray)
        return bytes.toByteArray().toStdString();
    return sjis::encode(text);
}

}  // namespace

std::vector<SjisString> listEntries(const QWidget* box)
{
    std::vector<SjisString> out;
    if (auto* list = qobject_cast<const QListWidget*>(box)) {
        out.reserve(std::size_t(list->count()));
        for (int i = 0; i < list->count(); ++i)
            out.push_back(listEntry(list->item(i)));
    } else if (auto* combo = qobject_cast<const QComboBox*>(box)) {
        out.reserve(std::size_t(combo->count()));
        for (int i = 0; i < combo->count(); ++i)
            out.push_back(listEntry(combo, i));
    }
    return out;
}

void addListEntry(QWidget* box, const SjisString& entry)
{
    const QByteArray bytes = QByteArray::fromStdString(entry);
    if (auto* list = qobject_cast<QListWidget*>(box)) {
        auto* item = new QListWidgetItem(sjis::decode(entry));
        item->setData(Qt::UserRole, bytes);
        list->addItem(item);
    } else if (auto* combo = qobject_cast<QComboBox*>(box)) {
        combo->addItem(sjis::decode(entry), bytes);
    }
}

void setListEntries(QWidget* box, const std::vector<SjisString>& entries)
{
    if (auto* list = qobject_cast<QListWidget*>(box)) {
        list->clear();
        for (const SjisString& e : entries)
            addListEntry(list, e);
    } else if (auto* combo = qobject_cast<QComboBox*>(box)) {
        const QString text = combo->currentText();
        QSignalBlocker block(combo);
        combo->clear();
        for (const SjisString& e : entries)
            addListEntry(combo, e);
        combo->setEditText(text);
    }
}

SjisString listEntry(const QListWidgetItem* item)
{
    return entryOf(item->data(Qt::UserRole), item->text());
}

SjisString listEntry(const QComboBox* box, int index)
{
    return entryOf(box->itemData(index, Qt::UserRole), box->itemText(index));
}

SjisString comboText(const QComboBox* box)
{
    const QString text = box->currentText();
    const int current = box->currentIndex();
    const QVariant set = box->property(kTextBytes);
    if (set.isValid() && text == sjis::decode(set.toByteArray().toStdString()))
        return set.toByteArray().toStdString();
    if (current >= 0 && box->itemText(current) == text)
        return listEntry(box, current);
    if (const int i = box->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive); i >= 0)
        return listEntry(box, i);
    // Typed text: an edit of the bytes it started from.
    if (set.isValid() || current >= 0) {
        const SjisString base = set.isValid() ? set.toByteArray().toStdString() : listEntry(box, current);
        return sjis::encodeEdit(base, sjis::decode(base), text);
    }
    return sjis::encode(text);
}

void setComboText(QComboBox* box, const SjisString& text)
{
    if (!box->property(kTextTracked).toBool()) {
        box->setProperty(kTextTracked, true);
        QObject::connect(box, &QComboBox::activated, box, [box] { box->setProperty(kTextBytes, QVariant()); });
    }
    box->setProperty(kTextBytes, QByteArray::fromStdString(text));
    box->setEditText(sjis::decode(text));
}
