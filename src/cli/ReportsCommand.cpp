#include <iostream>

#include "cli/Cli.h"

namespace scorewell::cli {

// The reports of the program database, in the order of the standings window's list.
int CommandReports(Context& ctx, Arguments& args) {
    if (!args.Positional().empty()) {
        throw UsageError("reports takes no arguments");
    }
    Database& db = ctx.GetProgram().Db();
    ctx.out << "ReportID\tName\n";
    for (Cursor c = db.Query("SELECT ReportID, Name FROM Report ORDER BY Sequence"); !c.AtEnd();
         c.MoveNext()) {
        ctx.out << c.Field(0).AsText() << "\t" << c.Field(1).AsText() << "\n";
    }
    return 0;
}

} // namespace scorewell::cli
