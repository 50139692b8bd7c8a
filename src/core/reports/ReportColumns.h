#pragma once

#include <cstdint>
#include <vector>

#include "data/Database.h"

namespace scorewell {

// A report column as the column editor lists it: shown or not, in the order of the list.
struct ColumnChoice {
    std::int32_t reportFieldId = 0;
    bool shown = true;
};

// Saves the column editor's list in the program database: every column's Hidden flag, and its
// place in the list as its Sequence, numbered 1, 2, 3 ... whatever it was before. One change:
// engine errors reach the caller and nothing is saved then.
void SaveReportColumns(Database& programDb, const std::vector<ColumnChoice>& columns);

} // namespace scorewell
