// The choice lists of the card's combo boxes and the renamable section
// titles: which file fills which boxes, and the built-in entries that stay
// when a file is missing.
#pragma once

#include "components/core/cp932.h"
#include "components/formats/choice_files.h"

#include <vector>

struct ChoiceList {
    const char* menuItem;  // object name of its editor's menu item
    const char* heading;   // heading of the list editor
    const char* file;
    std::vector<const char*> boxes;  // object names, filled in this order
    std::vector<SjisString> builtIn;
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
