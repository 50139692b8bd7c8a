#include <gtest/gtest.h>

#include <QTest>
#include <QTimer>

#include "app/OptionsDialog.h"
#include "common/Controls.h"
#include "desktop/Desktop.h"
#include "desktop/QtDesktop.h"

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

} // namespace
} // namespace scorewell::gui::test
