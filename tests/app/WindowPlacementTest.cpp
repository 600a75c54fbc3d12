// Where the tool windows come up: clear of the main plot and its axis labels, clear of the other
// open tool windows' title bars, on the screen. The scenes are those of the program under a
// window manager at 1366x768, 1600x1000 and 1920x1080 (frames measured from screenshots).
#include <gtest/gtest.h>

#include <algorithm>

#include "app/WindowGeometry.h"

namespace gc::app {
namespace {

bool inside(const ScreenRect& r, const ScreenRect& screen) {
    return r.x >= screen.x && r.y >= screen.y && r.right() <= screen.right() &&
           r.bottom() <= screen.bottom();
}

bool overlaps(const ScreenRect& a, const ScreenRect& b) {
    return std::min(a.right(), b.right()) > std::max(a.x, b.x) &&
           std::min(a.bottom(), b.bottom()) > std::max(a.y, b.y);
}

ScreenRect titleBar(const ScreenRect& r) { return {r.x, r.y, r.width, kSlotStep}; }

// The requirement window's frame and the design window's with its least size.
constexpr int kRequirementW = 770;
constexpr int kRequirementH = 503;
constexpr int kDesignW = 1045;
constexpr int kDesignH = 620;
constexpr int kDesignMinW = 760;
constexpr int kDesignMinH = 470;

TEST(ToolWindowPlacement, At1366x768TheWindowsCascadeOverTheSettingsClearOfThePlot) {
    // The main window fills the screen's width; the plot with its labels is its right part.
    PlacementScene scene{{0, 0, 1366, 768}, {0, 98, 1366, 560}, {948, 145, 412, 502}, {}};
    const ScreenRect requirement =
        placeToolWindow(scene, kRequirementW, kRequirementH, 0, kRequirementW, kRequirementH);
    EXPECT_TRUE(inside(requirement, scene.screen));
    EXPECT_FALSE(overlaps(requirement, scene.plot));
    EXPECT_EQ(requirement.width, kRequirementW);
    EXPECT_EQ(requirement.height, kRequirementH);

    // The design window is wider than the room left of the plot: it is made narrower (not
    // below its least size), keeps off the plot and leaves the requirement's title bar in view.
    scene.open.push_back(requirement);
    const ScreenRect design =
        placeToolWindow(scene, kDesignW, kDesignH, 1, kDesignMinW, kDesignMinH);
    EXPECT_TRUE(inside(design, scene.screen));
    EXPECT_FALSE(overlaps(design, scene.plot));
    EXPECT_FALSE(overlaps(design, titleBar(requirement)));
    EXPECT_GE(design.width, kDesignMinW);
    EXPECT_GE(design.height, kDesignMinH);
    EXPECT_LE(design.right(), scene.plot.x);

    // A third window still finds a place clear of the plot and of both title bars.
    scene.open.push_back(design);
    const ScreenRect third = placeToolWindow(scene, 400, 300, 2, 300, 200);
    EXPECT_FALSE(overlaps(third, scene.plot));
    EXPECT_FALSE(overlaps(third, titleBar(requirement)));
    EXPECT_FALSE(overlaps(third, titleBar(design)));
}

TEST(ToolWindowPlacement, At1600x1000And1920x1080NoWindowCoversThePlotOrAnotherWindow) {
    // 1600x1000: the main window centred, 1441 wide; no room beside it for either window.
    PlacementScene scene{{0, 0, 1600, 1000}, {79, 215, 1441, 556}, {1041, 258, 470, 502}, {}};
    const ScreenRect requirement =
        placeToolWindow(scene, kRequirementW, kRequirementH, 0, kRequirementW, kRequirementH);
    EXPECT_FALSE(overlaps(requirement, scene.plot));
    scene.open.push_back(requirement);
    const ScreenRect design =
        placeToolWindow(scene, kDesignW, kDesignH, 1, kDesignMinW, kDesignMinH);
    EXPECT_FALSE(overlaps(design, scene.plot));
    EXPECT_FALSE(overlaps(design, requirement));
    EXPECT_TRUE(inside(design, scene.screen));

    // 1920x1080: the same, with the main window 1441 wide in the middle.
    scene = {{0, 0, 1920, 1080}, {239, 255, 1441, 556}, {1201, 298, 470, 502}, {}};
    const ScreenRect r2 =
        placeToolWindow(scene, kRequirementW, kRequirementH, 0, kRequirementW, kRequirementH);
    EXPECT_FALSE(overlaps(r2, scene.plot));
    scene.open.push_back(r2);
    const ScreenRect d2 = placeToolWindow(scene, kDesignW, kDesignH, 1, kDesignMinW, kDesignMinH);
    EXPECT_FALSE(overlaps(d2, scene.plot));
    EXPECT_FALSE(overlaps(d2, r2));
    EXPECT_TRUE(inside(d2, scene.screen));
}

TEST(ToolWindowPlacement, BesideTheMainWindowWhenThereIsRoomAndAwayFromTheAxisWhenNot) {
    // Room on the right of a small main window: right beside it, at its own size.
    PlacementScene scene{{0, 0, 1920, 1080}, {100, 100, 900, 600}, {600, 140, 390, 500}, {}};
    EXPECT_EQ(placeToolWindow(scene, 500, 400, 0), (ScreenRect{1000 + kBesideGap, 100, 500, 400}));
    // The second window beside the first rather than over it.
    scene.open.push_back({1000 + kBesideGap, 100, 500, 400});
    const ScreenRect second = placeToolWindow(scene, 500, 400, 1);
    EXPECT_FALSE(overlaps(second, scene.open[0]));
    EXPECT_FALSE(overlaps(second, scene.main));

    // No place can keep off the plot: the window covers as little of it as it can.
    scene = {{0, 0, 1000, 700}, {0, 0, 1000, 700}, {500, 40, 490, 600}, {}};
    const ScreenRect forced = placeToolWindow(scene, 600, 500, 0, 600, 500);
    EXPECT_TRUE(inside(forced, scene.screen));
    EXPECT_EQ(forced.x, 0);  // 100 columns of the plot, the fewest there can be
    const ScreenRect axis{scene.plot.x, scene.plot.y, kAxisStrip, scene.plot.height};
    EXPECT_TRUE(overlaps(forced, axis));  // unavoidable here: 600 > 500 columns left of it
    // With the plot further left the window still covers the fewest of its columns possible.
    scene.plot = {300, 40, 690, 600};
    const ScreenRect left = placeToolWindow(scene, 600, 500, 0, 600, 500);
    EXPECT_EQ(left.x, 0);  // 300 columns, against 600 anywhere right of the labels
}

}  // namespace
}  // namespace gc::app
