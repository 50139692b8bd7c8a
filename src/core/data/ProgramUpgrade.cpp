#include "data/ProgramUpgrade.h"

#include <vector>

#include "common/Text.h"
#include "data/Defaults.h"

namespace scorewell {

namespace {

std::int64_t ReportsVersion(Database& db) {
    return db.Scalar("PRAGMA user_version").AsInteger();
}

bool Contains(const std::vector<std::string>& fields, const std::string& field) {
    for (const std::string& f : fields) {
        if (EqualsNoCase(f, field)) {
            return true;
        }
    }
    return false;
}

std::vector<std::string> FieldsOf(Database& db, const Value& reportId) {
    std::vector<std::string> fields;
    for (Cursor c = db.Query("SELECT Field FROM ReportField WHERE ReportID=?", {reportId});
         !c.AtEnd(); c.MoveNext()) {
        fields.push_back(c.Field(0).AsText());
    }
    return fields;
}

// A shipped report is the user's report of the same number and name; one he renamed, or a number
// he gave to a report of his own, is his and is left alone.
void UpgradeReport(Database& db, Database& shipped, const std::vector<Value>& report) {
    const Value& id = report[0];
    const Value& name = report[1];
    const Value current = db.Scalar("SELECT Name FROM Report WHERE ReportID=?", {id});
    if (!current.IsNull() && !EqualsNoCase(current.AsText(), name.AsText())) {
        return;
    }
    if (current.IsNull()) {
        // New to this database; unless the user has one of that name.
        if (db.Scalar("SELECT Count(*) FROM Report WHERE Name=?", {name}).AsInteger() > 0) {
            return;
        }
        db.Execute("INSERT INTO Report (ReportID, Name, Query, Sequence) VALUES (?,?,?,?)",
                   {id, name, report[2], report[3]});
    } else {
        db.Execute("UPDATE Report SET Query=? WHERE ReportID=?", {report[2], id});
    }

    const ResultSet columns =
        shipped.QueryAll("SELECT Sequence, Name, ColWidth, ColAlignment, ColFormat, Hidden, Field "
                         "FROM ReportField WHERE ReportID=? ORDER BY Sequence",
                         {id});
    std::vector<std::string> shippedFields;
    for (const auto& column : columns.rows) {
        shippedFields.push_back(column[6].AsText());
    }
    for (const std::string& field : FieldsOf(db, id)) {
        if (!Contains(shippedFields, field)) {
            db.Execute("DELETE FROM ReportField WHERE ReportID=? AND Field=?", {id, Value(field)});
        }
    }
    const std::vector<std::string> kept = FieldsOf(db, id);
    for (const auto& column : columns.rows) {
        if (Contains(kept, column[6].AsText())) {
            continue;
        }
        db.Execute("INSERT INTO ReportField (ReportID, Sequence, Name, ColWidth, ColAlignment, "
                   "ColFormat, Hidden, Field) VALUES (?1, (SELECT IFNULL(Max(Sequence), 0) + 1 "
                   "FROM ReportField WHERE ReportID=?1), ?2, ?3, ?4, ?5, ?6, ?7)",
                   {id, column[1], column[2], column[3], column[4], column[5], column[6]});
    }
}

} // namespace

void UpgradeProgramDatabase(Database& programDb) {
    Database shipped = Database::CreateInMemory();
    shipped.ExecuteScript(ProgramDatabaseDefaults());
    const std::int64_t version = ReportsVersion(shipped);
    if (ReportsVersion(programDb) >= version) {
        return;
    }
    Transaction t(programDb);
    // Another program may have done it while this one waited for the database.
    if (ReportsVersion(programDb) >= version) {
        return;
    }
    if (!programDb.FieldExists("ReportField", "Hidden")) {
        programDb.AddField("ReportField",
                           "\"Hidden\" BOOLEAN NOT NULL ON CONFLICT REPLACE DEFAULT 0");
    }
    for (const auto& report :
         shipped.QueryAll("SELECT ReportID, Name, Query, Sequence FROM Report ORDER BY ReportID")
             .rows) {
        UpgradeReport(programDb, shipped, report);
    }
    programDb.Execute("PRAGMA user_version = " + std::to_string(version));
    t.Commit();
}

} // namespace scorewell
