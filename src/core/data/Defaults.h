#pragma once

namespace scorewell {

// The SQL text of resources/tabulon.sql, from which a missing program database is built.
const char* ProgramDatabaseDefaults();

} // namespace scorewell
