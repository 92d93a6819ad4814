// The choice lists of the card's combo boxes and the renamable section
// titles: which file fills which boxes, and the built-in entries that stay
// when a file is missing.
#pragma once

#include "components/cp932.h"

#include <vector>

class Panel;

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

// A title's caption and the bytes it stands for: titleBytes gives back the
// bytes setTitle showed while the caption is still theirs, else the
// caption encoded (the design's caption).
void setTitle(Panel* panel, const SjisString& bytes);
SjisString titleBytes(const Panel* panel);
