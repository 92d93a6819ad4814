// The choice lists of the card's combo boxes and the renamable section
// titles: which file fills which boxes, and the built-in entries that stay
// when a file is missing.
#pragma once

#include <QStringList>
#include <vector>

class QWidget;

struct ChoiceList {
    const char* menuItem;  // object name of its editor's menu item
    const char* heading;   // heading of the list editor
    const char* file;
    std::vector<const char*> boxes;  // object names, filled in this order
    QStringList builtIn;
};

// In the order the lists are loaded at start-up.
const std::vector<ChoiceList>& choiceLists();

struct SectionTitle {
    const char* menuItem;
    const char* panel;  // title panel object name
    const char* file;
    int line;  // from 0
};

const std::vector<SectionTitle>& sectionTitles();

// The entries of a combo box or list box, and replacing them; a combo
// box keeps the text it shows.
QStringList choicesOf(const QWidget* box);
void fillChoices(QWidget* box, const QStringList& items);
