#include "GuiHarness.h"

#include <gtest/gtest.h>

#include <QGroupBox>
#include <QTabWidget>

#include <filesystem>

#include "data/Database.h"
#include "data/League.h"
#include "data/LeagueFile.h"
#include "data/Program.h"
#include "data/Settings.h"
#include "import/RaceFinal.h"
#include "import/StagedImport.h"
#include "support/Golden.h"

namespace scorewell::gui::test {

void GuiHarness::End() {
    // Closing is part of the test only where a test closes; otherwise the league is dropped.
    window.reset();
    for (int c = 0; c <= static_cast<int>(LeagueCommand::Adjustments); ++c) {
        SetLeagueCommand(static_cast<LeagueCommand>(c), nullptr);
    }
    desktop.VerifyAllAnswered();
}

void GuiHarness::PrepareProgram(bool withSimulationFolder) {
    Program program(programFolder);
    if (withSimulationFolder) {
        WriteSetting(program.Db(), 0, SimulationFolder("nr3", "NASCAR Racing 3.exe"));
    }
}

std::string GuiHarness::SimulationFolder(const std::string& name, const std::string& executable) {
    std::filesystem::create_directories(dir.File(name));
    scorewell::test::WriteFileBytes(dir.File(name + "/" + executable), "MZ");
    return dir.File(name) + "/";
}

void GuiHarness::WriteProgramSetting(int id, const std::string& value) {
    Program program(programFolder);
    WriteSetting(program.Db(), id, value);
}

std::string GuiHarness::ReadProgramSetting(int id) {
    Database db = Database::Open(programFolder + "/Tabulon.dat");
    return ReadSetting(db, id);
}

bool GuiHarness::Start(const QString& commandLine) {
    RegisterLeagueWindows();
    window = std::make_unique<MainWindow>();
    window->SetShowSplash(false);
    const bool loaded = window->Load(QString::fromStdString(programFolder), commandLine);
    if (loaded) {
        window->show();
        QApplication::processEvents();
    }
    return loaded;
}

std::string GuiHarness::MakeLeague(const std::string& name, const std::vector<TestRace>& races,
                                   int simTitle, int leagueType) {
    const std::string path = dir.File(name);
    {
        Program program(programFolder);
        CreateLeagueFile(path, simTitle, leagueType, program.Db(), 0, 0);
    }
    Database db = Database::Open(path);
    for (const TestRace& race : races) {
        db.Execute(
            "INSERT INTO Race (Name, Laps, Length, FileName) VALUES (?,?,?,?)",
            {Value(race.name), Value(race.laps), Value(race.length), Value(race.name + ".stn")});
        db.Execute("INSERT OR IGNORE INTO Driver (DriverID, Name) VALUES (1, 'Ann Able')");
        db.Execute("INSERT INTO Stats (RaceID, DriverID, Finish) VALUES (?, 1, 1)",
                   {Value(db.LastInsertRowId())});
    }
    return path;
}

std::string GuiHarness::MakeDemoLeague(const std::string& name, int races, int dropped) {
    const std::string path = dir.File(name);
    Program program(programFolder);
    CreateLeagueFile(path, 0, 0, program.Db(), dropped, 0);
    League league(program, path);
    for (int r = 0; r < races; ++r) {
        const StagingResult staged =
            ImportSTNFile(league, league.LoadPointTable(), kDemoFolder + kDemoFinals[r],
                          Simulation::NascarRacing3, LapReportingMethod::Speed);
        EXPECT_TRUE(staged.Staged()) << staged.message;
    }
    ImportStagedRaces(league);
    league.Close();
    return path;
}

std::string GuiHarness::OpenDemoLeague(int dropped) {
    const std::string path = MakeDemoLeague("demo.slf", 3, dropped);
    Open(path);
    return path;
}

void GuiHarness::Open(const std::string& path) {
    window->OpenLeagueFile(QString::fromStdString(path));
    QApplication::processEvents();
}

QAction* GuiHarness::Menu(const QString& name) const {
    return Child<QAction>(window.get(), name);
}

QPushButton* GuiHarness::Button(int index) const {
    return Child<QPushButton>(window.get(), QString("cmdButton_%1").arg(index));
}

QTableWidget* GuiHarness::Grid() const {
    return Child<QTableWidget>(window.get(), "fgRaces");
}

QStringList GuiHarness::GridNames() const {
    QStringList names;
    for (int r = 0; r < Grid()->rowCount(); ++r) {
        names << Row(Grid(), r).value(0);
    }
    return names;
}

void GuiHarness::SelectRows(int first, int last) {
    ClickRows(Grid(), first, last);
}

std::int64_t GuiHarness::CountRows(const std::string& league, const std::string& table) {
    Database db = Database::Open(league);
    return db.Scalar("SELECT Count(*) FROM " + QuoteIdentifier(table)).AsInteger();
}

void Click(QObject* parent, const QString& name) {
    QTest::mouseClick(Child<QAbstractButton>(parent, name), Qt::LeftButton);
}

void ClickButton(QObject* parent, int index) {
    Click(parent, QString("cmdButton_%1").arg(index));
}

void Tick(QAbstractButton* box) {
    QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, QPoint(6, box->height() / 2));
}

void ClickRows(QTableWidget* grid, int first, int last, int column) {
    auto centre = [grid, column](int row) {
        return grid->visualRect(grid->model()->index(row, column)).center();
    };
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, centre(first));
    if (last != first) {
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::ShiftModifier, centre(last));
    }
}

void DoubleClick(QTableWidget* grid, int row) {
    const QPoint at = grid->visualRect(grid->model()->index(row, 0)).center();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, at);
}

std::string Enabled(QObject* parent, const QStringList& names) {
    std::string states;
    for (const QString& name : names) {
        states += Child<QWidget>(parent, name)->isEnabled() ? '1' : '0';
    }
    return states;
}

void SelectBlock(QTableWidget* grid, int first, int last) {
    grid->setCurrentCell(first, 0);
    grid->setRangeSelected(QTableWidgetSelectionRange(first, 0, last, grid->columnCount() - 1),
                           true);
}

std::string Describe(QWidget* window, const QStringList& names) {
    QString text = names.isEmpty() || names.contains("windowTitle")
                       ? "windowTitle: " + window->windowTitle() + "\n"
                       : QString();
    const auto checked = [](bool checkable, bool on) {
        return checkable ? (on ? " [x]" : " [ ]") : "";
    };
    // A row's gutter: ">" on the current row, "*" on a selected one.
    const auto gutter = [](bool current, bool selected) {
        return QString("\n") + (current ? '>' : ' ') + (selected ? '*' : ' ');
    };
    for (QObject* o : window->findChildren<QObject*>()) {
        if (o->objectName().isEmpty() || o->objectName().startsWith("qt_") ||
            (!names.isEmpty() && !names.contains(o->objectName()))) {
            continue;
        }
        if (auto* action = qobject_cast<QAction*>(o)) {
            text += action->objectName() + (action->isEnabled() ? "" : " [off]") +
                    (action->isVisible() ? "" : " [hidden]") + ": " + action->text() +
                    checked(action->isCheckable(), action->isChecked()) + "\n";
        }
        auto* w = qobject_cast<QWidget*>(o);
        if (!w) {
            continue;
        }
        text += w->objectName() + (w->isEnabled() ? "" : " [off]") +
                (w->isVisibleTo(window) ? "" : " [hidden]");
        if (auto* box = qobject_cast<QLineEdit*>(w)) {
            text += ": " + box->text();
        } else if (auto* label = qobject_cast<QLabel*>(w)) {
            text += ": " + label->text();
        } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
            text += ": " + button->text() + checked(button->isCheckable(), button->isChecked());
        } else if (auto* group = qobject_cast<QGroupBox*>(w)) {
            text += ": " + group->title() + checked(group->isCheckable(), group->isChecked());
        } else if (auto* choice = qobject_cast<QComboBox*>(w)) {
            text += ": " + choice->currentText();
        } else if (auto* tabs = qobject_cast<QTabWidget*>(w)) {
            text += ": " + tabs->tabText(tabs->currentIndex());
        } else if (auto* list = qobject_cast<QListWidget*>(w)) {
            for (int i = 0; i < list->count(); ++i) {
                const QListWidgetItem* item = list->item(i);
                text += gutter(i == list->currentRow(), item->isSelected()) + item->text() +
                        checked(item->data(Qt::CheckStateRole).isValid(),
                                item->checkState() == Qt::Checked) +
                        (item->toolTip().isEmpty() ? "" : " (tip: " + item->toolTip() + ")");
            }
        } else if (auto* grid = qobject_cast<QTableWidget*>(w)) {
            QStringList headers;
            for (int c = 0; c < grid->columnCount(); ++c) {
                QTableWidgetItem* header = grid->horizontalHeaderItem(c);
                headers << (header ? header->text() : QString()) +
                               (grid->columnWidth(c) == 0 ? " [hidden]" : "");
            }
            text += "\n  " + headers.join(" | ");
            for (int r = 0; r < grid->rowCount(); ++r) {
                text += gutter(r == grid->currentRow(),
                               grid->selectionModel()->rowIntersectsSelection(r, {})) +
                        Row(grid, r).join(" | ");
            }
        }
        text += "\n";
    }
    return text.toStdString();
}

void ExpectLooks(QWidget* window, const std::string& name) {
    scorewell::test::ExpectGolden("gui/" + name + ".txt", Describe(window));
}

void Steps::Note(const std::string& step, QWidget* window) {
    QString shown = QString::fromStdString("== " + step + "\n" + Describe(window, watched));
    for (const auto& [changing, alias] : shownAs) {
        shown.replace(QString::fromStdString(changing), QString::fromStdString(alias));
    }
    text += shown.toStdString();
}

void Steps::Note(const std::string& step, const std::string& what) {
    text += "== " + step + "\n" + what + "\n";
}

void Steps::Expect(const std::string& name) const {
    scorewell::test::ExpectGolden("gui/" + name + ".txt", text);
}

QStringList Row(QTableWidget* grid, int row) {
    QStringList cells;
    for (int c = 0; c < grid->columnCount(); ++c) {
        QTableWidgetItem* cell = grid->item(row, c);
        cells << (cell ? cell->text() : QString());
    }
    return cells;
}

} // namespace scorewell::gui::test
