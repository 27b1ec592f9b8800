#include "config/WindowGeometry.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

TEST(WindowGeometry, StoredTextReadsBackAndAnythingElseIsNothing)
{
    EXPECT_EQ(parseWindowGeometry(formatWindowGeometry({-8, 12, 1000, 620})), (WindowRect{-8, 12, 1000, 620}));
    EXPECT_EQ(formatWindowGeometry({-8, 12, 1000, 620}), "-8,12,1000,620");
    for (const char* bad :
         {"Unknown", "", "1,2,3", "1,2,3,4,5", "1,2,0,4", "1,2,3,-4", "1, 2,3,4", "a,2,3,4", "1,2,3,4x"})
        EXPECT_FALSE(parseWindowGeometry(bad).has_value()) << bad;
}

TEST(WindowGeometry, WindowsOpenCentredOnTheirOwnerAndWhollyOnTheScreen)
{
    const WindowRect screen{0, 0, 1920, 1040};
    const struct
    {
        WindowRect window;
        WindowRect owner;
        WindowRect placed;
    } cases[] = {
        {{0, 0, 400, 300}, {100, 100, 1000, 600}, {400, 250, 400, 300}},  // inside the owner
        {{0, 0, 400, 300}, {1700, 900, 200, 100}, {1520, 740, 400, 300}}, // owner at the corner: pulled back
        {{0, 0, 400, 300}, {-300, -200, 200, 100}, {0, 0, 400, 300}},     // owner off the top left
        {{0, 0, 2500, 1200}, screen, {0, 0, 1920, 1040}},                 // larger than the screen: shrunk
    };
    for (const auto& c : cases)
        EXPECT_EQ(keepOnScreen(centreOn(c.window, c.owner), screen), c.placed);
}

} // namespace
} // namespace qv
