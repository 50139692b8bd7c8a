#pragma once

#include "data/Database.h"

namespace scorewell {

// Brings the reports of a program database made by an earlier version up to those the program
// ships (the user_version of the database numbers them), in one transaction: the shipped
// reports get their new queries and the columns new to them (hidden or shown as shipped, at the
// end of the user's order); columns their queries no longer give are removed. The user's choices
// of the columns he keeps (Hidden, Sequence, widths) stay as they are, and so do reports of his
// own. A database as new as the program, or newer, is not written. Engine errors reach the
// caller, with nothing changed.
void UpgradeProgramDatabase(Database& programDb);

} // namespace scorewell
