// Whether the window can be seen, on a real X display: another window mapped over it hides it
// as surely as minimising does (which the Visualiser's own scenario covers).
#include "components/displays/windowsight.h"

#include <QGuiApplication>
#include <QTest>
#include <gtest/gtest.h>

namespace quillet {
namespace {

// The toolkit on the X display the test command starts, not the offscreen platform.
[[maybe_unused]] const bool OnX = [] {
    if (!qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    return true;
}();

TEST(WindowSight, AWindowFullyCoveredByAnotherIsNotSeenUntilUncovered)
{
    if (QGuiApplication::platformName() != "xcb")
        GTEST_SKIP() << "needs an X display (the test command starts one)";
    QWidget window, cover;
    window.setGeometry(40, 40, 200, 150);
    WindowSight sight;
    sight.Watch(&window);
    window.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return sight.Seen(); }, 5000));
    for (const QRect over : {QRect(20, 20, 260, 210), QRect(100, 100, 260, 210)}) {
        const bool whole = over.contains(window.geometry());
        cover.setGeometry(over);
        cover.show();
        QTest::qWait(300);
        EXPECT_TRUE(QTest::qWaitFor([&] { return sight.Seen() != whole; }, 5000)) << whole;
        cover.hide();
        EXPECT_TRUE(QTest::qWaitFor([&] { return sight.Seen(); }, 5000));
    }
}

} // namespace
} // namespace quillet
