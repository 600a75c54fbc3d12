#include "app/WindowGeometry.h"

#include <algorithm>
#include <cstdlib>

namespace gc::app {

ScreenRect keepInside(ScreenRect window, const ScreenRect& screen) {
    window.width = std::clamp(window.width, 1, std::max(1, screen.width));
    window.height = std::clamp(window.height, 1, std::max(1, screen.height));
    window.x = std::clamp(window.x, screen.x, screen.right() - window.width);
    window.y = std::clamp(window.y, screen.y, screen.bottom() - window.height);
    return window;
}

ScreenRect placeBeside(const ScreenRect& main, int width, int height, const ScreenRect& screen,
                       int slot) {
    const int y = main.y + std::max(0, slot) * kSlotStep;
    ScreenRect r{main.right() + kBesideGap, y, width, height};
    if (r.right() > screen.right()) {
        r.x = main.x - kBesideGap - width;
        if (r.x < screen.x) {
            // Stepped to the right with its slot, but never so far that it reaches the plot.
            const int settingsRight = main.x + main.width * kSettingsShareEighths / 8;
            r.x = std::min(main.x + std::max(0, slot) * kSlotStep,
                           std::max(main.x, settingsRight - width));
        }
    }
    return keepInside(r, screen);
}

namespace {

long long overlap(const ScreenRect& a, const ScreenRect& b) {
    const long long w = std::min(a.right(), b.right()) - std::max(a.x, b.x);
    const long long h = std::min(a.bottom(), b.bottom()) - std::max(a.y, b.y);
    return w > 0 && h > 0 ? w * h : 0;
}

// How bad a place is, compared in order.
struct PlaceCost {
    long long plot{0};
    long long titles{0};
    long long open{0};
    long long shrunk{0};
    long long main{0};
    long long distance{0};
    friend bool operator<(const PlaceCost& a, const PlaceCost& b) {
        if (a.plot != b.plot) return a.plot < b.plot;
        if (a.titles != b.titles) return a.titles < b.titles;
        if (a.open != b.open) return a.open < b.open;
        if (a.shrunk != b.shrunk) return a.shrunk < b.shrunk;
        if (a.main != b.main) return a.main < b.main;
        return a.distance < b.distance;
    }
};

}  // namespace

ScreenRect placeToolWindow(const PlacementScene& scene, int width, int height, int slot,
                           int minWidth, int minHeight) {
    const ScreenRect& main = scene.main;
    const ScreenRect& plot = scene.plot;
    const ScreenRect& screen = scene.screen;
    const ScreenRect sized = keepInside({screen.x, screen.y, width, height}, screen);
    const int w = sized.width;
    const int h = sized.height;
    const int minW = std::clamp(minWidth, 1, w);
    const int minH = std::clamp(minHeight, 1, h);
    const int step = std::max(0, slot) * kSlotStep;

    // Sizes tried: the window's own, and as far as its minimum allows, the room beside the
    // plot and under the title bars of the open windows.
    std::vector<std::pair<int, int>> sizes{{w, h}};
    const auto narrower = [&](int room) { sizes.emplace_back(std::clamp(room, minW, w), h); };
    const auto lower = [&](int room) { sizes.emplace_back(w, std::clamp(room, minH, h)); };
    narrower(plot.x - kBesideGap - screen.x);
    narrower(screen.right() - plot.right() - kBesideGap);
    lower(plot.y - kBesideGap - screen.y);
    lower(screen.bottom() - plot.bottom() - kBesideGap);
    for (const ScreenRect& o : scene.open) {
        const int room = screen.bottom() - (o.y + kSlotStep);
        sizes.emplace_back(std::clamp(plot.x - kBesideGap - screen.x, minW, w),
                           std::clamp(room, minH, h));
        lower(room);
    }

    const ScreenRect axis{plot.x, plot.y, std::min(kAxisStrip, plot.width), plot.height};
    ScreenRect best = keepInside({main.right() + kBesideGap, main.y, w, h}, screen);
    PlaceCost bestCost;
    bool first = true;
    for (const auto& [sw, sh] : sizes) {
        std::vector<int> xs{main.right() + kBesideGap, main.x - kBesideGap - sw,  main.x + step,
                            plot.x - kBesideGap - sw,  plot.right() + kBesideGap, screen.x,
                            screen.right() - sw};
        std::vector<int> ys{main.y,
                            main.y + step,
                            main.bottom() + kBesideGap,
                            main.y - kBesideGap - sh,
                            plot.bottom() + kBesideGap,
                            screen.y,
                            screen.bottom() - sh};
        for (const ScreenRect& o : scene.open) {
            xs.insert(xs.end(), {o.right() + kBesideGap, o.x - kBesideGap - sw, o.x + kSlotStep});
            ys.insert(ys.end(),
                      {o.bottom() + kBesideGap, o.y - kBesideGap - sh, o.y + kSlotStep, o.y});
        }
        for (const int x : xs) {
            for (const int y : ys) {
                const ScreenRect r = keepInside({x, y, sw, sh}, screen);
                PlaceCost cost;
                cost.plot = overlap(r, plot) + 3 * overlap(r, axis);
                // A window whose title bar is covered is lost from view: that counts first.
                for (const ScreenRect& o : scene.open) {
                    cost.titles += overlap(r, {o.x, o.y, o.width, kSlotStep});
                    cost.open += overlap(r, o);
                }
                cost.shrunk = static_cast<long long>(w) * h - static_cast<long long>(sw) * sh;
                cost.main = overlap(r, main);
                cost.distance = std::abs(static_cast<long long>(r.x) - main.right()) +
                                std::abs(static_cast<long long>(r.y) - main.y);
                if (first || cost < bestCost) {
                    best = r;
                    bestCost = cost;
                    first = false;
                }
            }
        }
    }
    return best;
}

}  // namespace gc::app