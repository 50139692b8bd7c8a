#include <gtest/gtest.h>

#include "data/Database.h"
#include "support/Checks.h"
#include "support/TempDir.h"

namespace scorewell {
namespace {

class DatabaseTest : public ::testing::Test {
protected:
    test::TempDir dir;
    Database db = Database::Create(dir.File("t.db"));
};

TEST_F(DatabaseTest, ValuesKeepNullApartFromEmptyTextAndBindSafely) {
    db.Execute("CREATE TABLE T (id INTEGER PRIMARY KEY, a TEXT, b REAL)");
    db.Execute("INSERT INTO T (a, b) VALUES (?, ?)", {Value(), Value(1.5)});
    db.Execute("INSERT INTO T (a, b) VALUES (?, ?)", {Value(""), Value(2)});
    db.Execute("INSERT INTO T (a) VALUES (?)", {Value("Robert'); DROP TABLE T;--")});
    ResultSet rows = db.QueryAll("SELECT a, b FROM T ORDER BY id");
    ASSERT_EQ(rows.rows.size(), 3u);
    EXPECT_TRUE(rows.rows[0][0].IsNull());
    EXPECT_EQ(rows.rows[1][0], Value(""));
    EXPECT_EQ(rows.rows[2][0].AsText(), "Robert'); DROP TABLE T;--");
    EXPECT_EQ(rows.ColumnIndex("B"), 1);

    Cursor c = db.Query("SELECT a FROM T WHERE id=?", {Value(2)});
    ASSERT_FALSE(c.AtEnd());
    EXPECT_EQ(c.Field("A"), Value(""));
    EXPECT_THROW(c.Field("nope"), DbError);
    c.MoveNext();
    EXPECT_TRUE(c.AtEnd());
    EXPECT_THROW(c.Field(0), DbError);
}

// The engine is Debian's library on Linux and one built in on Windows: both must behave alike
// where its build options show in what leagues store and compute.
TEST_F(DatabaseTest, TheEngineIsBuiltAndExtendedAlikeOnEverySystem) {
    EXPECT_EQ(db.Scalar("PRAGMA secure_delete").AsInteger(), 1);
    EXPECT_EQ(db.Scalar("SELECT pow(2, 10) + floor(2.5)").AsDouble(), 1026.0);
    EXPECT_EQ(db.Scalar("SELECT X'41' LIKE 'A'").AsInteger(), 0);
    EXPECT_TRUE(db.Scalar("SELECT ?250000").IsNull());
    EXPECT_THROW(db.Scalar("SELECT ?250001"), DbError);
    // The program's own Val function, and schema probes that ignore letter case (the schema
    // changes are run by the upgrade of old leagues, whose layout is golden).
    EXPECT_EQ(db.Scalar("SELECT Val('150.000mph')").AsDouble(), 150.0);
    EXPECT_TRUE(db.Scalar("SELECT Val(NULL)").IsNull());
    db.Execute("CREATE TABLE T (a TEXT(20), b INTEGER)");
    EXPECT_TRUE(db.TableExists("t"));
    EXPECT_TRUE(db.FieldExists("T", "A"));
    EXPECT_EQ(db.DeclaredSize("T", "a"), 20);
    EXPECT_EQ(db.DeclaredSize("T", "b"), std::nullopt);
}

TEST_F(DatabaseTest, ErrorsCarryTheEnginesMessageAndSecondStatementsAreRefused) {
    EXPECT_TRUE(test::Has(test::ErrorOf([&] { db.Execute("SELECT * FROM NoSuchTable"); }),
                          "no such table: NoSuchTable"));
    db.Execute("CREATE TABLE T (x INTEGER)");
    EXPECT_THROW(db.Execute("INSERT INTO T VALUES (1); DROP TABLE T"), DbError);
    EXPECT_TRUE(db.TableExists("T"));
    // Trailing blanks and comments are not a second statement.
    db.Execute("INSERT INTO T VALUES (1);  -- done\n");
    EXPECT_EQ(db.Scalar("SELECT Count(*) FROM T").AsInteger(), 1);
}

TEST_F(DatabaseTest, TransactionRollsBackUnlessCommittedAndNestsAsSavepoint) {
    db.Execute("CREATE TABLE T (x INTEGER)");
    {
        Transaction t(db);
        db.Execute("INSERT INTO T VALUES (1)");
    }
    EXPECT_EQ(db.Scalar("SELECT Count(*) FROM T").AsInteger(), 0);
    EXPECT_FALSE(db.InTransaction());
    {
        Transaction outer(db);
        db.Execute("INSERT INTO T VALUES (1)");
        {
            Transaction inner(db);
            db.Execute("INSERT INTO T VALUES (2)");
        } // the inner one alone is undone
        {
            Transaction inner(db);
            db.Execute("INSERT INTO T VALUES (3)");
            inner.Commit();
        }
        outer.Commit();
    }
    EXPECT_EQ(db.Scalar("SELECT group_concat(x) FROM (SELECT x FROM T ORDER BY x)").AsText(),
              "1,3");
}

TEST(DatabaseOpen, RefusesMissingAndForeignFilesAndExistingOnCreate) {
    test::TempDir dir;
    EXPECT_THROW(Database::Open(dir.File("missing.db")), DbError);
    test::WriteFileBytes(dir.File("text.db"), std::string(4096, 'x'));
    EXPECT_THROW(Database::Open(dir.File("text.db")), DbError);
    EXPECT_EQ(test::ReadFileBytes(dir.File("text.db")), std::string(4096, 'x'));
    { Database::Create(dir.File("new.db")).Execute("CREATE TABLE T (x)"); }
    EXPECT_THROW(Database::Create(dir.File("new.db")), DbError);
    Database reopened = Database::Open(dir.File("new.db"));
    EXPECT_EQ(reopened.Scalar("PRAGMA foreign_keys").AsInteger(), 1);
    EXPECT_EQ(reopened.Scalar("PRAGMA journal_mode").AsText(), "delete");
}

} // namespace
} // namespace scorewell
