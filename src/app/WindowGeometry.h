#pragma once
// Where the auxiliary windows come up: beside the main window rather than at the screen's
// corner, and never outside the visible screen. Plain rectangles in screen pixels, frames
// included.
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

}  // namespace gc::app
