#pragma once
// Where the auxiliary windows come up: beside the main window rather than at the screen's
// corner, and never outside the visible screen. Plain rectangles in screen pixels, frames
// included.
#include <vector>

namespace gc::app {

struct ScreenRect {
    int x{0};
    int y{0};
    int width{0};
    int height{0};
    [[nodiscard]] int right() const { return x + width; }    // one past the last column
    [[nodiscard]] int bottom() const { return y + height; }  // one past the last row
    friend bool operator==(const ScreenRect& a, const ScreenRect& b) {
        return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height;
    }
};

// Gap between the main window and a window placed beside it, and the step between windows
// opened one after another (`slot` 0, 1, 2 ...), in pixels.
inline constexpr int kBesideGap = 8;
inline constexpr int kSlotStep = 32;
// The main window's settings take its left five eighths; the plot and its read-outs the rest.
inline constexpr int kSettingsShareEighths = 5;

// `window` moved (and if need be shrunk) so that it lies wholly inside `screen`.
[[nodiscard]] ScreenRect keepInside(ScreenRect window, const ScreenRect& screen);

// A `width` x `height` window beside `main`: to its right when it fits, else to its left, else
// over the main window's left part, where the settings are and not the plot with its read-outs
// (the plot is the main window's right-hand side). Windows of later slots step down.
[[nodiscard]] ScreenRect placeBeside(const ScreenRect& main, int width, int height,
                                     const ScreenRect& screen, int slot);

// What a tool window coming up has to keep in view: the main window, its plot with the axis
// labels around it (Panel5), and the other tool windows open on the screen.
struct PlacementScene {
    ScreenRect screen;
    ScreenRect main;
    ScreenRect plot;
    std::vector<ScreenRect> open;
};

// Width of the plot's left strip that holds the level labels ("-100.0"), pixels: covering it
// costs more than covering the curve.
inline constexpr int kAxisStrip = 64;

// A `width` x `height` tool window (shrunk to the screen if need be) placed so that, in this
// order of importance: it covers as little as possible of the plot (its axis strip counting
// four times), then of the other open tool windows' title bars, then of those windows,
// it is shrunk as little as possible, it covers as little as possible of the main window, and
// it lies close to the main window's right edge. A window that may be made smaller (down to
// `minWidth` x `minHeight`) is also tried at the sizes that fit beside the plot or under the
// other windows' title bars. Positions tried: beside the main window, the plot and each open
// window on every side, the screen's edges, and a cascade stepped by `slot`. Where the screen
// cannot hold them side by side the windows thus cascade over the settings, clear of the plot,
// each title bar in view.
[[nodiscard]] ScreenRect placeToolWindow(const PlacementScene& scene, int width, int height,
                                         int slot, int minWidth = 0, int minHeight = 0);

}  // namespace gc::app
