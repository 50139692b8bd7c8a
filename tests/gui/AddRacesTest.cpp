#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QTest>

#include <cstdlib>
#include <filesystem>

#include "GuiTest.h"
#include "app/LeagueCommands.h"
#include "data/League.h"
#include "data/Program.h"
#include "editing/frmEditRace.h"
#include "import/frmAddRaces.h"
#include "import/frmProgress.h"

namespace scorewell::gui::test {
namespace {

const std::string kDemo = std::string(SCOREWELL_SOURCE_DIR) + "/resources/demo/";
const std::string kFixtures = std::string(SCOREWELL_FIXTURES_DIR) + "/";

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

// What the progress window showed each time it was painted, repeats left out.
class ProgressWatcher : public QObject {
public:
    struct Frame {
        QString caption;
        QString info;
        int value;
        int maximum;
        bool operator==(const Frame&) const = default;
    };
    std::vector<Frame> frames;

    ProgressWatcher() { qApp->installEventFilter(this); }
    ~ProgressWatcher() override { qApp->removeEventFilter(this); }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && watched->objectName() == "lblInfo") {
            QWidget* window = static_cast<QWidget*>(watched)->window();
            if (auto* progress = qobject_cast<frmProgress*>(window)) {
                Frame frame{progress->windowTitle(), progress->lblInfo->text(),
                            progress->Prog->value(), progress->Prog->maximum()};
                if (frames.empty() || !(frames.back() == frame)) {
                    frames.push_back(frame);
                }
            }
        }
        return false;
    }
};

class AddRacesTest : public GuiTest {
protected:
    std::string exports;

    void SetUp() override {
        PrepareProgram();
        exports = dir.File("nr3/exports");
        std::filesystem::create_directories(exports);
        for (const char* name :
             {"01-harbor-point-400.stn", "02-millbrook-500.stn", "03-cedar-valley-250.stn"}) {
            std::filesystem::copy_file(kDemo + name, exports + "/" + name);
        }
        SetLeagueCommand(LeagueCommand::Import, ShowAddRaces);
        SetLeagueCommand(LeagueCommand::Edit, ShowEditRace);
        ASSERT_TRUE(Start());
    }
    void TearDown() override {
        SetLeagueCommand(LeagueCommand::Import, nullptr);
        SetLeagueCommand(LeagueCommand::Edit, nullptr);
        GuiTest::TearDown();
    }

    QString Export(const char* name) const { return Q(exports + "/" + name); }
    // Race > Import, worked by the handler.
    void Import(std::function<void(QDialog*)> handler) {
        desktop.OnModal("frmAddRaces", std::move(handler));
        Menu("mnuRace_0")->trigger();
    }
    static QPushButton* Button(QDialog* d, int index) {
        return Child<QPushButton>(d, QString("cmdButton_%1").arg(index));
    }
    static void Click(QDialog* d, int index) {
        QTest::mouseClick(Button(d, index), Qt::LeftButton);
    }
    static QListWidget* List(QDialog* d) { return Child<QListWidget>(d, "lstRaces"); }
    static QStringList Entries(QDialog* d) {
        QStringList entries;
        for (int i = 0; i < List(d)->count(); ++i) {
            entries << List(d)->item(i)->text();
        }
        return entries;
    }
    // Edit, Remove and Import available, in that order.
    static std::string States(QDialog* d) {
        std::string s;
        for (int i : {2, 1, 4}) {
            s += Button(d, i)->isEnabled() ? '1' : '0';
        }
        return s;
    }
    std::int64_t Count(const std::string& table) {
        return window->GetLeague()->Db().Scalar("SELECT Count(*) FROM " + table).AsInteger();
    }
};

TEST_F(AddRacesTest, ThreeRaceFinalsOneRefusedAreStagedCorrectedAndImported) {
    const std::string cup = MakeLeague("cup.slf");
    Open(cup);
    const QString bad = Q(kFixtures + "stn/refused-header.stn");
    const QString elsewhere = Q(kFixtures + "stn/nr3-harbor-point.stn");
    ProgressWatcher watcher;
    desktop.ExpectOpenFiles({Export("02-millbrook-500.stn"), bad, elsewhere});
    desktop.ExpectMessage("Error Reading '" + bad + "'", MessageAnswer::OK,
                          "\"" + bad + "\" does not seem to be a race final!");
    Import([&](QDialog* d) {
        EXPECT_FALSE(window->centralWidget()->isEnabled());
        EXPECT_EQ(d->windowTitle(), "Import");
        EXPECT_EQ(Child<QLabel>(d, "Label1")->text(), "&Standing files to import:");
        EXPECT_EQ(List(d)->toolTip(), "List of files to be imported.");
        EXPECT_FALSE(Child<QLabel>(d, "lblNote")->isVisible());
        EXPECT_TRUE(Child<QComboBox>(d, "cboLRM")->isVisible());
        EXPECT_EQ(Child<QLabel>(d, "lblN3Msg")->text(), "Interpret &Qualifying as:");
        EXPECT_EQ(Child<QComboBox>(d, "cboLRM")->currentText(), "Speed");
        const QStringList captions = {"&Add", "&Remove", "&Edit", "Cancel", "&Import"};
        for (int i = 0; i < 5; ++i) {
            EXPECT_EQ(Button(d, i)->text(), captions[i]);
        }
        EXPECT_EQ(Button(d, 0)->toolTip(), "Add files to import list.");
        EXPECT_EQ(States(d), "000");

        Click(d, 0);
        const FileDialogRequest& request = desktop.FileRequests().back();
        EXPECT_EQ(request.filter, "Standings File (*.stn)|*.stn");
        EXPECT_EQ(request.initialFolder, Export(""));
        EXPECT_EQ(desktop.Messages().back().icon, MessageIcon::Exclamation);
        EXPECT_EQ(Entries(d), (QStringList{"02-millbrook-500.stn",
                                           "nr3-harbor-point.stn\t" + Q(kFixtures + "stn/")}));
        EXPECT_TRUE(List(d)->item(0)->isSelected());
        EXPECT_EQ(States(d), "111");
        EXPECT_EQ(Count("STNRace"), 2);
        EXPECT_EQ(desktop.BusyDepth(), 0);

        // The staged race is corrected: a name typed there is kept as it is, no driver is made.
        desktop.OnModal("frmEditRace", [&](QDialog* e) {
            EXPECT_EQ(e->windowTitle(), "Race Results - 02-millbrook-500.stn");
            auto* grid = Child<QTableWidget>(e, "fgDrivers");
            EXPECT_EQ(grid->rowCount(), 20);
            desktop.OnModal("frmEditDriver2", [](QDialog* r) {
                Child<QLineEdit>(r, "txtInfo_2")->setText("Bram O. Okonkwo");
                QTest::mouseClick(Child<QPushButton>(r, "cmdButton_1"), Qt::LeftButton);
            });
            QTest::keyClick(grid, Qt::Key_Return);
            EXPECT_EQ(grid->item(0, 2)->text(), "Bram O. Okonkwo");
            QTest::mouseClick(Child<QPushButton>(e, "cmdButton_0"), Qt::LeftButton);
        });
        QTest::keyClick(List(d), Qt::Key_Return);
        EXPECT_EQ(desktop.ModalCount("frmEditRace"), 1);
        EXPECT_EQ(Count("Driver"), 0);
        Click(d, 4);
    });

    ASSERT_GE(watcher.frames.size(), 4u);
    const QString reading = "Reading STN Files";
    EXPECT_EQ(watcher.frames[0],
              (ProgressWatcher::Frame{reading, "Reading: \"02-millbrook-500.stn\"", 1, 3}));
    EXPECT_EQ(watcher.frames[1],
              (ProgressWatcher::Frame{reading, "Reading: \"refused-header.stn\"", 2, 3}));
    EXPECT_EQ(watcher.frames[2],
              (ProgressWatcher::Frame{reading, "Reading: \"nr3-harbor-point.stn\"", 3, 3}));
    const std::int64_t results = CountRows(cup, "Stats");
    EXPECT_EQ(watcher.frames.back(),
              (ProgressWatcher::Frame{"Importing Results", "Progress...", static_cast<int>(results),
                                      static_cast<int>(results)}));

    EXPECT_TRUE(window->centralWidget()->isEnabled());
    EXPECT_EQ(GridNames(), (QStringList{"Millbrook 500", "Harbor Point 400"}));
    EXPECT_EQ(CountRows(cup, "Race"), 2);
    Database db = Database::Open(cup);
    EXPECT_EQ(db.Scalar("SELECT Driver.Name FROM Stats INNER JOIN Driver ON "
                        "Driver.DriverID=Stats.DriverID WHERE RaceID=1 AND Finish=1")
                  .AsText(),
              "Bram O. Okonkwo");
    EXPECT_EQ(db.Scalar("SELECT Count(*) FROM Stats WHERE RaceID=1").AsInteger(), 20);
    EXPECT_EQ(desktop.BusyDepth(), 0);
}

TEST_F(AddRacesTest, EntriesAreListedSelectedAndRemovedAndEveryOpeningStartsEmpty) {
    const std::string cup = MakeLeague("cup.slf");
    Open(cup);
    desktop.ExpectOpenFiles({});
    desktop.ExpectOpenFiles({Export("01-harbor-point-400.stn"), Export("02-millbrook-500.stn"),
                             Export("03-cedar-valley-250.stn")});
    desktop.ExpectOpenFiles({});
    desktop.ExpectOpenFiles({Q(kFixtures + "stn/nr3-millbrook-laptimes-lf.stn")});
    Import([&](QDialog* d) {
        // A cancelled file dialog adds nothing, but Import becomes available.
        Click(d, 0);
        EXPECT_TRUE(Entries(d).isEmpty());
        EXPECT_EQ(States(d), "001");

        Click(d, 0);
        EXPECT_EQ(Entries(d), (QStringList{"01-harbor-point-400.stn", "02-millbrook-500.stn",
                                           "03-cedar-valley-250.stn"}));
        List(d)->clearSelection();
        EXPECT_EQ(States(d), "001");
        // Cancelled again: the first entry is selected once more.
        Click(d, 0);
        EXPECT_TRUE(List(d)->item(0)->isSelected());
        EXPECT_EQ(States(d), "111");

        // Two entries: Remove, but no Edit, not even by Enter.
        List(d)->clearSelection();
        List(d)->item(1)->setSelected(true);
        List(d)->item(2)->setSelected(true);
        EXPECT_EQ(States(d), "011");
        QTest::keyClick(List(d), Qt::Key_Return);
        EXPECT_EQ(desktop.ModalCount("frmEditRace"), 0);
        const std::int32_t kept = List(d)->item(0)->data(Qt::UserRole).toInt();
        Click(d, 1);
        EXPECT_EQ(Entries(d), QStringList{"01-harbor-point-400.stn"});
        EXPECT_EQ(Count("STNRace"), 1);
        EXPECT_EQ(window->GetLeague()
                      ->Db()
                      .Scalar("SELECT Count(*) FROM STNStats WHERE STNRaceID<>?", {Value(kept)})
                      .AsInteger(),
                  0);

        // Lap times are read as such when the list says so.
        Child<QComboBox>(d, "cboLRM")->setCurrentIndex(1);
        Click(d, 0);
        EXPECT_EQ(window->GetLeague()
                      ->Db()
                      .Scalar("SELECT Qualifying FROM STNStats WHERE DriverName='Bram Okonkwo' "
                              "AND STNRaceID<>?",
                              {Value(kept)})
                      .AsDouble(),
                  144.0);
        Click(d, 3);
        EXPECT_TRUE(static_cast<frmAddRaces*>(d)->Cancelled());
    });
    EXPECT_EQ(CountRows(cup, "Race"), 0);
    EXPECT_EQ(Count("STNRace"), 2);

    // The next opening starts with nothing staged; the close box cancels too.
    Import([&](QDialog* d) {
        EXPECT_EQ(Count("STNRace"), 0);
        EXPECT_TRUE(Entries(d).isEmpty());
        d->close();
        EXPECT_TRUE(static_cast<frmAddRaces*>(d)->Cancelled());
    });
    EXPECT_EQ(GridNames(), QStringList{""});
}

TEST_F(AddRacesTest, AnImportTheLeagueRefusesImportsNothingAndKeepsTheList) {
    const std::string cup = MakeLeague("cup.slf");
    Open(cup);
    Database& db = window->GetLeague()->Db();
    db.Execute("CREATE TEMP TRIGGER refuse BEFORE INSERT ON main.Stats WHEN new.Finish=5 "
               "BEGIN SELECT RAISE(ABORT, 'refused'); END");
    desktop.ExpectOpenFiles({Export("01-harbor-point-400.stn"), Export("02-millbrook-500.stn")});
    desktop.ExpectMessage("Error", MessageAnswer::OK, "Nothing was imported");
    Import([&](QDialog* d) {
        Click(d, 0);
        Click(d, 4);
        EXPECT_TRUE(d->isVisible());
        EXPECT_EQ(Count("Race") + Count("Stats") + Count("Driver"), 0);
        EXPECT_EQ(Entries(d).size(), 2);
        db.Execute("DROP TRIGGER refuse");
        Click(d, 4);
        EXPECT_FALSE(static_cast<frmAddRaces*>(d)->Cancelled());
    });
    EXPECT_EQ(GridNames(), (QStringList{"Harbor Point 400", "Millbrook 500"}));
}

TEST_F(AddRacesTest, AnOffLineLeagueIsToldThatMergingIsNotAvailableYet) {
    const std::string night = MakeLeague("night.slf", {}, 0, 1);
    Open(night);
    ProgressWatcher watcher;
    desktop.ExpectOpenFiles({Export("01-harbor-point-400.stn")});
    desktop.ExpectMessage("Notice", MessageAnswer::OK, "not available yet");
    Import([&](QDialog* d) {
        EXPECT_TRUE(Child<QLabel>(d, "lblNote")->isVisible());
        EXPECT_EQ(Child<QLabel>(d, "lblNote")->text(),
                  "These standing files will be merged into a single event.  Only unique drivers "
                  "will be retained.");
        Click(d, 0);
        Click(d, 4);
        EXPECT_TRUE(d->isVisible());
        Click(d, 3);
    });
    // One file is read without the progress window.
    EXPECT_TRUE(watcher.frames.empty());
    EXPECT_EQ(CountRows(night, "Race"), 0);
}

TEST_F(AddRacesTest, ANascarRacing4LeagueReadsExportedStandings) {
    const std::string nr4 = dir.File("nr4");
    std::filesystem::create_directories(nr4 + "/Tracks/millbrook");
    std::filesystem::create_directories(nr4 + "/exports");
    scorewell::test::WriteFileBytes(nr4 + "/Tracks/millbrook/TRACK.INI",
                                    "[track]\r\ntrack_name = Millbrook Speedway\xAE\r\n"
                                    "track_length = 2.5\r\n");
    std::filesystem::copy_file(kFixtures + "nr4/millbrook-standings.html",
                               nr4 + "/exports/millbrook-standings.html");
    scorewell::test::WriteFileBytes(nr4 + "/exports/notes.html", "<html>notes</html>");
    window->GetProgram()->SetSimPath(2, nr4 + "/");
    Open(MakeLeague("nr4.slf", {}, 3));
    EXPECT_TRUE(window->GetProgram()->HasTrackCatalogue());

    ProgressWatcher watcher;
    desktop.ExpectOpenFiles(
        {Q(nr4 + "/exports/millbrook-standings.html"), Q(nr4 + "/exports/notes.html")});
    desktop.ExpectMessage("Failed to Read Import File", MessageAnswer::OK,
                          Q(nr4 + "/exports/notes.html") + "\n");
    Import([&](QDialog* d) {
        EXPECT_FALSE(Child<QComboBox>(d, "cboLRM")->isVisible());
        EXPECT_FALSE(Child<QLabel>(d, "lblN3Msg")->isVisible());
        Click(d, 0);
        EXPECT_EQ(desktop.FileRequests().back().filter, "N4 Exported Standings (*.html)|*.html");
        EXPECT_EQ(desktop.FileRequests().back().initialFolder, Q(nr4 + "/exports/"));
        EXPECT_EQ(desktop.Messages().back().icon, MessageIcon::Critical);
        EXPECT_EQ(Entries(d), QStringList{"millbrook-standings.html"});
        Click(d, 4);
    });
    ASSERT_FALSE(watcher.frames.empty());
    EXPECT_EQ(watcher.frames[0].caption, "Reading Standings Files");
    EXPECT_EQ(GridNames(), QStringList{"Millbrook Speedway"});
}

// Pictures of the import dialog and the progress window, written only when
// SCOREWELL_SCREENSHOTS names a folder.
TEST_F(AddRacesTest, Screenshots) {
    const char* target = std::getenv("SCOREWELL_SCREENSHOTS");
    if (!target || !*target) {
        GTEST_SKIP() << "SCOREWELL_SCREENSHOTS is not set";
    }
    const QString folder = target;
    QDir().mkpath(folder);
    auto save = [&](QWidget* w, const QString& name) {
        QApplication::processEvents();
        EXPECT_TRUE(w->grab().save(folder + "/" + name + ".png")) << name.toStdString();
    };
    Open(MakeLeague("Winston Cup 2002.slf"));
    desktop.ExpectOpenFiles({Export("01-harbor-point-400.stn"), Export("02-millbrook-500.stn"),
                             Q(kFixtures + "stn/nr3-harbor-point.stn")});
    Import([&](QDialog* d) {
        save(d, "import-empty");
        Click(d, 0);
        save(d, "import-three");
        Click(d, 3);
    });
    Open(MakeLeague("Night League.slf", {}, 0, 1));
    Import([&](QDialog* d) {
        save(d, "import-offline");
        Click(d, 3);
    });
    frmProgress progress(window.get());
    progress.setWindowTitle("Reading STN Files");
    progress.Prog->setMaximum(3);
    progress.show();
    progress.Step("Reading: \"02-millbrook-500.stn\"", 2);
    save(&progress, "progress");
}

} // namespace
} // namespace scorewell::gui::test
