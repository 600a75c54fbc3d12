#pragma once
// A software canvas that really draws: a 256 x 240 pixel buffer, one-pixel lines with the end
// points included, dotted pens setting every other pixel, everything clipped to the buffer.
// The benchmarks draw onto it instead of a window; the tests compare pictures with it.
#include <algorithm>
#include <cstdlib>
#include <vector>

#include "response/Canvas.h"

namespace gc::bench {

class RasterCanvas : public gc::response::Canvas {
  public:
    static constexpr int kWidth = 256;
    static constexpr int kHeight = 240;

    RasterCanvas() : pixels_(static_cast<size_t>(kWidth * kHeight)) {}

    int width() const override { return kWidth; }
    int height() const override { return kHeight; }
    gc::response::Rgb activeCaptionColour() const override { return {0, 84, 227}; }

    void fillRect(int x, int y, int w, int h, gc::response::Rgb colour) override {
        const int x0 = std::max(x, 0), x1 = std::min(x + w, kWidth);
        const int y0 = std::max(y, 0), y1 = std::min(y + h, kHeight);
        for (int r = y0; r < y1; ++r)
            for (int c = x0; c < x1; ++c) pixels_[static_cast<size_t>(r * kWidth + c)] = colour;
    }
    void setPen(gc::response::Rgb colour, int, gc::response::PenStyle style) override {
        colour_ = colour;
        dotted_ = style == gc::response::PenStyle::Dotted;
    }
    void moveTo(int x, int y) override {
        x_ = x;
        y_ = y;
    }
    void lineTo(int x, int y) override {
        line(x_, y_, x, y);
        x_ = x;
        y_ = y;
    }

    [[nodiscard]] gc::response::Rgb at(int x, int y) const {
        return pixels_[static_cast<size_t>(y * kWidth + x)];
    }
    [[nodiscard]] int count(gc::response::Rgb colour) const {
        return static_cast<int>(std::count(pixels_.begin(), pixels_.end(), colour));
    }
    [[nodiscard]] bool samePicture(const RasterCanvas& other) const {
        return pixels_ == other.pixels_;
    }

  private:
    void plot(int x, int y) {
        if (x >= 0 && x < kWidth && y >= 0 && y < kHeight)
            pixels_[static_cast<size_t>(y * kWidth + x)] = colour_;
    }

    // Steps along the longer axis, only over the part that can lie in the buffer; the other
    // coordinate is the nearest pixel to the exact line (ties away from the start).
    void line(int x0, int y0, int x1, int y1) {
        const long long dx = static_cast<long long>(x1) - x0;
        const long long dy = static_cast<long long>(y1) - y0;
        if ((x0 < 0 && x1 < 0) || (x0 >= kWidth && x1 >= kWidth) || (y0 < 0 && y1 < 0) ||
            (y0 >= kHeight && y1 >= kHeight))
            return;
        if (dx == 0 && dy == 0) {
            plot(x0, y0);
            return;
        }
        const bool steep = std::llabs(dy) > std::llabs(dx);
        const long long major = steep ? dy : dx;
        const long long minor = steep ? dx : dy;
        const long long start = steep ? y0 : x0;
        const long long otherStart = steep ? x0 : y0;
        const long long limit = steep ? kHeight : kWidth;
        const long long sign = major > 0 ? 1 : -1;
        const long long len = std::llabs(major);
        // Steps i = 0..len with start + sign * i inside 0..limit-1.
        long long lo = 0, hi = len;
        if (sign > 0) {
            lo = std::max(lo, -start);
            hi = std::min(hi, limit - 1 - start);
        } else {
            lo = std::max(lo, start - (limit - 1));
            hi = std::min(hi, start);
        }
        for (long long i = lo; i <= hi; ++i) {
            if (dotted_ && (i % 2) != 0) continue;
            const long long num = minor * i * 2;
            const long long den = len * 2;
            const long long off = num >= 0 ? (num + len) / den : -((-num + len) / den);
            const long long a = start + sign * i;
            const long long b = otherStart + off;
            if (steep)
                plot(static_cast<int>(b), static_cast<int>(a));
            else
                plot(static_cast<int>(a), static_cast<int>(b));
        }
    }

    std::vector<gc::response::Rgb> pixels_;
    gc::response::Rgb colour_{};
    bool dotted_{false};
    int x_{0};
    int y_{0};
};

}  // namespace gc::bench
