#include "reports/ReportColumns.h"

namespace scorewell {

void SaveReportColumns(Database& programDb, const std::vector<ColumnChoice>& columns) {
    Transaction t(programDb);
    int sequence = 0;
    for (const ColumnChoice& column : columns) {
        programDb.Execute("UPDATE ReportField SET Hidden=?, Sequence=? WHERE ReportFieldID=?",
                          {Value(!column.shown), Value(++sequence), Value(column.reportFieldId)});
    }
    t.Commit();
}

} // namespace scorewell
