#pragma once
// What the plot drawing needs of a paint surface, in the plot's own 256 x 240 pixel coordinates.
// The Qt layer implements it with QPainter (scaled to the widget); tests record the calls.
#include <cstdint>
#include <string>

namespace gc::response {

struct Rgb {
    std::uint8_t r{0};
    std::uint8_t g{0};
    std::uint8_t b{0};
    friend bool operator==(Rgb a, Rgb b) { return a.r == b.r && a.g == b.g && a.b == b.b; }
};

inline constexpr Rgb kWhite{255, 255, 255};
inline constexpr Rgb kBlack{0, 0, 0};
inline constexpr Rgb kRed{255, 0, 0};

enum class PenStyle { Solid, Dotted };

class Canvas {
  public:
    virtual ~Canvas() = default;
    [[nodiscard]] virtual int width() const = 0;   // paint box width in plot pixels (256)
    [[nodiscard]] virtual int height() const = 0;  // paint box height in plot pixels (240)
    virtual void fillRect(int x, int y, int w, int h, Rgb colour) = 0;
    virtual void setPen(Rgb colour, int width, PenStyle style) = 0;
    virtual void moveTo(int x, int y) = 0;
    virtual void lineTo(int x, int y) = 0;
    // The system colour of an active window's caption (the cursor pen).
    [[nodiscard]] virtual Rgb activeCaptionColour() const = 0;
    // A line of text (UTF-8) whose left end and vertical middle are at (x, y), cut to `maxWidth`
    // plot pixels. Surfaces without text (the recorders of most tests) draw nothing.
    virtual void drawText(int x, int y, int maxWidth, const std::string& text, Rgb colour) {
        (void)x, (void)y, (void)maxWidth, (void)text, (void)colour;
    }
};

}  // namespace gc::response
