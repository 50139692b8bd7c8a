// Tables given out as CSV and JSON for other programs.

#include <gtest/gtest.h>

#include "reports/DataTable.h"

namespace scorewell {
namespace {

DataTable Awkward() {
    DataTable t;
    t.title = "Point \"Standings\"";
    t.caption = "Results after 2 events:";
    t.columns = {"Driver", "Points", "Interval", "Avg Finish", "Note"};
    t.rows = {
        {{"Smith, \"Smokey\"", Value("Smith, \"Smokey\"")},
         {"175", Value(175)},
         {"--", Value(0)},
         {"1,5", Value(1.5)},
         {"line\r\nbreak\ttab\x01", Value("line\r\nbreak\ttab\x01")}},
        {{"Zoë Ångström", Value("Zoë Ångström")},
         {"007", Value(7)},
         {"168", Value(168)},
         {"", Value()},
         {"42", Value("42")}},
    };
    return t;
}

TEST(DataTableTest, CsvQuotesOnlyWhatNeedsItWithCrLfLines) {
    EXPECT_EQ(ToCsv(Awkward()),
              "Driver,Points,Interval,Avg Finish,Note\r\n"
              "\"Smith, \"\"Smokey\"\"\",175,--,\"1,5\",\"line\r\nbreak\ttab\x01\"\r\n"
              "Zoë Ångström,007,168,,42\r\n");
}

TEST(DataTableTest, JsonHasNumbersAsShownAndTextsEscaped) {
    EXPECT_EQ(ToJson(Awkward()),
              "{\n  \"title\": \"Point \\\"Standings\\\"\",\n"
              "  \"caption\": \"Results after 2 events:\",\n"
              "  \"columns\": [\"Driver\", \"Points\", \"Interval\", \"Avg Finish\", \"Note\"],\n"
              "  \"rows\": [\n"
              // A zero interval shown as "--" is the number 0; "1,5" with a comma separator 1.5.
              "    [\"Smith, \\\"Smokey\\\"\", 175, 0, 1.5, \"line\\r\\nbreak\\ttab\\u0001\"],\n"
              // A number that is a text (a name "42") stays a text; Null is null.
              "    [\"Zoë Ångström\", 7, 168, null, \"42\"]\n"
              "  ]\n}\n");
    DataTable empty;
    EXPECT_EQ(ToJson(empty), "{\n  \"title\": \"\",\n  \"caption\": \"\",\n  \"columns\": [],\n"
                             "  \"rows\": []\n}\n");
}

} // namespace
} // namespace scorewell
