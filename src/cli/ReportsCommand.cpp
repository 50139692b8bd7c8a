#include <iostream>

#include "cli/Cli.h"

namespace scorewell::cli {

// The reports of the program database, in the order of the standings window's list.
int CommandReports(Context& ctx, Arguments& args) {
    if (!args.Positional().empty()) {
        throw UsageError("The command reports takes no arguments.");
    }
    Database& db = ctx.GetProgram().Db();
    ctx.Print({"ReportID", "Name"});
    for (Cursor c = db.Query("SELECT ReportID, Name FROM Report ORDER BY Sequence"); !c.AtEnd();
         c.MoveNext()) {
        ctx.Print({c.Field(0).AsText(), c.Field(1).AsText()});
    }
    return 0;
}

} // namespace scorewell::cli
