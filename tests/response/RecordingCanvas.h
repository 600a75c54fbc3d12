#pragma once
// A Canvas that records every call, and the lines drawn with the pen that drew them.
#include <string>
#include <vector>

#include "response/Canvas.h"

namespace gc::testing {

using gc::response::PenStyle;
using gc::response::Rgb;

class RecordingCanvas : public gc::response::Canvas {
  public:
    struct Fill {
        int x, y, w, h;
        Rgb colour;
    };
    struct Line {
        int x0, y0, x1, y1;
        Rgb colour;
        int width;
        PenStyle style;
    };
    struct Text {
        int x, y, maxWidth;
        std::string text;
        Rgb colour;
    };
    // One entry per call: "fill", "pen", "move", "line", "text".
    std::vector<std::string> calls;
    std::vector<Fill> fills;
    std::vector<Line> lines;
    std::vector<Text> texts;
    int moves{0};

    static constexpr Rgb kCaption{10, 36, 106};

    int width() const override { return 256; }
    int height() const override { return 240; }
    Rgb activeCaptionColour() const override { return kCaption; }
    void fillRect(int x, int y, int w, int h, Rgb colour) override {
        calls.emplace_back("fill");
        fills.push_back({x, y, w, h, colour});
    }
    void setPen(Rgb colour, int width, PenStyle style) override {
        calls.emplace_back("pen");
        colour_ = colour;
        width_ = width;
        style_ = style;
    }
    void moveTo(int x, int y) override {
        calls.emplace_back("move");
        ++moves;
        x_ = x;
        y_ = y;
    }
    void lineTo(int x, int y) override {
        calls.emplace_back("line");
        lines.push_back({x_, y_, x, y, colour_, width_, style_});
        x_ = x;
        y_ = y;
    }

    void drawText(int x, int y, int maxWidth, const std::string& text, Rgb colour) override {
        calls.emplace_back("text");
        texts.push_back({x, y, maxWidth, text, colour});
    }

    // Lines drawn in one colour, in drawing order.
    [[nodiscard]] std::vector<Line> linesIn(Rgb colour) const {
        std::vector<Line> out;
        for (const auto& l : lines)
            if (l.colour == colour) out.push_back(l);
        return out;
    }

  private:
    Rgb colour_{};
    int width_{0};
    PenStyle style_{PenStyle::Solid};
    int x_{0};
    int y_{0};
};

}  // namespace gc::testing
