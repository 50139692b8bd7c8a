#include <QGroupBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>

#include <map>

#include "GuiHarness.h"
#include "app/OptionsDialog.h"
#include "data/LeaguePropertiesDialog.h"
#include "desktop/QtDesktop.h"
#include "html/ExportDialog.h"
#include "import/ImportDialog.h"
#include "reports/StandingsWindow.h"

namespace scorewell::gui::test {
namespace {

TEST(Controls, ColoursKeepTheirBytesBetweenSettingsAndScreen) {
    const QColor blue = ToQColor(0x00FF0000);
    EXPECT_EQ(blue, QColor(0, 0, 255));
    EXPECT_EQ(FromQColor(QColor(0x12, 0x34, 0x56)), 0x00563412);
    EXPECT_EQ(FromQColor(ToQColor(0x00ABCDEF)), 0x00ABCDEF);
    // A desktop colour shows as something valid; it is never stored from the screen.
    EXPECT_TRUE(ToQColor(static_cast<std::int32_t>(0x8000000F)).isValid());
}

TEST(Controls, FiltersAreWrittenTheWayQtReadsThem) {
    EXPECT_EQ(QtFilter("Scorewell File (*.slf)|*.slf"), "Scorewell File (*.slf)");
    EXPECT_EQ(QtFilter("All Files (*.*)|*.*|GIF and JPEG (*.gif, *.jpg)|*.gif;*.jpg"),
              "All Files (*.*);;GIF and JPEG (*.gif *.jpg)");
    EXPECT_EQ(QtFilter("HTML File|*.htm;*.html"), "HTML File (*.htm *.html)");
}

TEST(Controls, TheCloseBoxAndEscEndARealModalLoopAsTheDialogSays) {
    QtDesktop real;
    OptionsDialog options;
    QTimer::singleShot(0, &options, [&] { options.close(); });
    real.ShowModal(&options);
    EXPECT_FALSE(options.isVisible());
    EXPECT_FALSE(options.Cancelled());
    QTimer::singleShot(0, &options, [&] { QTest::keyClick(&options, Qt::Key_Escape); });
    real.ShowModal(&options);
    EXPECT_FALSE(options.isVisible());
    EXPECT_TRUE(options.Cancelled());
}

// The access keys taken by more than one control the user can reach in the window as it shows
// now (a hidden tab's controls are not reachable), as "key: caption, caption".
QStringList ClashingAccessKeys(QWidget* window) {
    std::map<QChar, QStringList> takers;
    auto note = [&](const QString& caption) {
        for (qsizetype i = caption.indexOf('&'); i >= 0 && i + 1 < caption.size();
             i = caption.indexOf('&', i + 2)) {
            if (caption[i + 1] != '&') {
                takers[caption[i + 1].toUpper()] << caption;
                return;
            }
        }
    };
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(window)) {
            continue;
        }
        if (auto* label = qobject_cast<QLabel*>(w); label && label->buddy()) {
            note(label->text());
        } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
            note(button->text());
        } else if (auto* group = qobject_cast<QGroupBox*>(w)) {
            note(group->title());
        } else if (auto* tabs = qobject_cast<QTabBar*>(w)) {
            for (int t = 0; t < tabs->count(); ++t) {
                note(tabs->tabText(t));
            }
        }
    }
    QStringList clashes;
    for (const auto& [key, captions] : takers) {
        if (captions.size() > 1) {
            clashes << QString(key) + ": " + captions.join(", ");
        }
    }
    return clashes;
}

// Every tab of the window in turn.
void ExpectOwnAccessKeys(QWidget* window) {
    auto* tabs = window->findChild<QTabWidget*>();
    for (int t = 0; t < (tabs ? tabs->count() : 1); ++t) {
        if (tabs) {
            tabs->setCurrentIndex(t);
        }
        EXPECT_EQ(ClashingAccessKeys(window), QStringList())
            << window->objectName().toStdString() << " tab " << t;
    }
}

class KeyboardAndSizeTest : public GuiTest {
protected:
    template <class Window>
    void CheckModal(const char* item) {
        Modal<Window>(item, [](Window* d) {
            ExpectOwnAccessKeys(d);
            d->reject();
        });
    }
};

TEST_F(KeyboardAndSizeTest, EveryControlOfADialogHasItsOwnAccessKey) {
    OpenDemoLeague();
    ExpectOwnAccessKeys(window.get());
    CheckModal<LeaguePropertiesDialog>("mnuFile_8");
    CheckModal<OptionsDialog>("mnuFile_10");
    CheckModal<ImportDialog>("mnuRace_0");
    CheckModal<StandingsWindow>("mnuRace_4");
    SelectRows(0, 0);
    CheckModal<ExportDialog>("mnuRace_6");
}

TEST_F(KeyboardAndSizeTest, TheMainWindowKeepsItsButtonsApartWhenMadeSmall) {
    OpenDemoLeague();
    window->resize(250, 150);
    QApplication::processEvents();
    std::vector<QRect> placed;
    for (int b = 0; b < 5; ++b) {
        const QRect at(Button(b)->mapTo(window.get(), QPoint()), Button(b)->size());
        EXPECT_TRUE(window->rect().contains(at)) << b;
        for (const QRect& other : placed) {
            EXPECT_FALSE(at.intersects(other)) << b;
        }
        placed.push_back(at);
    }
    // The window keeps room for the heading and a few races.
    EXPECT_GE(Grid()->height(), 6 * Grid()->verticalHeader()->defaultSectionSize());
}

} // namespace
} // namespace scorewell::gui::test
