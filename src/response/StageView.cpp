#include "response/StageView.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "model/Numeric.h"
#include "response/ChannelPlot.h"
#include "response/PlotDrawing.h"

namespace gc::response {

using gc::model::formatFixed;

namespace {

constexpr int N = PlotPoints;

// Segments of the CIC alias view: one per unit of decimation, never more than the decimation
// entry allows, so that a stray value read from a file cannot stall the window.
constexpr int kMaxAliasSegments = 4096;

const StageTraits kCicTraits{"TCIC5Form",
                             "CIC Фильтр",
                             false,
                             512,
                             true,
                             true,
                             false,
                             6,
                             4,
                             {"Label19", "Label21", "Label22", "Label20"},
                             {"Label14", "Label23", "Label24", "Label25"}};
const StageTraits kCfirTraits{"TCFIRForm",
                              "CFIR Фильтр",
                              true,
                              2,
                              true,
                              true,
                              true,
                              6,
                              4,
                              {"Label21", "Label22", "Label27", "Label28"},
                              {"Label20", "Label23", "Label24", "Label25"}};
const StageTraits kPfirTraits{"TPFIRForm",
                              "PFIR Фильтр",
                              true,
                              2,
                              true,
                              true,
                              true,
                              5,
                              3,
                              {"Label21", "Label22", "Label27", "Label28"},
                              {"Label20", "Label23", "Label24", "Label25"}};
const StageTraits kResampTraits{"TResampForm",
                                "RESAMPLER Фильтр",
                                true,
                                32,
                                false,
                                false,
                                true,
                                6,
                                4,
                                {"Label21", "Label22", "Label29", "Label15"},
                                {"Label20", "Label23", "Label24", "Label25"}};

int atLeastOne(int v) { return v < 1 ? 1 : v; }

bool aliasView(StageKind kind, const StageViewState& state) {
    return stageTraits(kind).hasAlias && state.Alias != 0;
}

const int* stageTaps(StageKind kind, const gc::model::ConfigurationModel& model, int& count) {
    const int ch = model.currentIndex();
    switch (kind) {
        case StageKind::Cfir:
            count = gc::model::kCfirTapCount;
            return model.CfirTaps[ch].data();
        case StageKind::Pfir:
            count = gc::model::kPfirTapCount;
            return model.PfirTaps[ch].data();
        case StageKind::Resamp:
            count = std::clamp(model.Work.ResamplerTapCount, 0, gc::model::kResamplerTapMax);
            return model.ResamplerTaps.data();
        case StageKind::Cic:
            break;
    }
    count = 0;
    return nullptr;
}

// The CIC window's alias view: D segments of the CIC response, each folded onto the output
// band and overlaid in red. A segment that cannot reach the plot is not drawn: its ratios are
// at most 1 / sin((a + 1) w) (the denominator grows with k, the numerator is a sine), so when
// that bound already lies below the plot the segment is skipped without evaluating it. At
// D = 4096 only the first dozen segments come near the plot.
void drawCicAliasSegments(Canvas& canvas, const gc::model::ConfigurationModel& model,
                          ResponseArray& segment) {
    const int d = std::clamp(model.Work.CurrentDecimation, 1, kMaxAliasSegments);
    const int hidden = canvas.height() + kHiddenBelowMargin;
    const CicSegmentTable table(d);
    const double w = kPi / (static_cast<double>(d) * 2.0 * N);
    double peak = 0.0;
    std::array<int, N> rows{};
    for (int m = 0; m < d; ++m) {
        if (m > 0) {
            const double e = std::max(1.0 / std::sin((m * N + 1.0) * w), 0.0001) * (1 + 1e-9);
            if (ResponseRow(e * e * e * e * e, peak, 1) > hidden) continue;
        }
        table.segment(m * N, segment);
        if (m == 0) peak = ResponsePeak(segment);
        if (m % 2 != 0)
            for (int k = 0; k < N / 2; ++k) std::swap(segment[k], segment[N - 1 - k]);
        // Rows only grow as values fall, so the segment's largest value gives its top row.
        const double top = *std::max_element(segment.begin(), segment.end());
        if (ResponseRow(top, peak, 1) > hidden) continue;
        for (int k = 0; k < N; ++k) rows[k] = ResponseRow(segment[k], peak, 1);
        drawCurveVisiblePart(canvas, rows.data(), N, canvas.height());
    }
}

}  // namespace

const StageTraits& stageTraits(StageKind kind) {
    switch (kind) {
        case StageKind::Cic:
            return kCicTraits;
        case StageKind::Cfir:
            return kCfirTraits;
        case StageKind::Pfir:
            return kPfirTraits;
        case StageKind::Resamp:
            break;
    }
    return kResampTraits;
}

double stageInputRate(StageKind kind, const gc::model::ConfigurationModel& model) {
    const double clock = model.Work.WorkingClock;
    const double d = model.Work.CurrentDecimation;
    const int mode = responseMode(model.Chip.ModeOfDdc);
    const double r = mode == 0 ? 1.0 : 2.0;                      // channel mode factor
    const double q = mode == 0 ? 1.0 : (mode == 1 ? 2.0 : 4.0);  // resampler mode factor
    switch (kind) {
        case StageKind::Cic:
            return clock;
        case StageKind::Cfir:
            return r * clock / d;
        case StageKind::Pfir:
            return r * clock / (2.0 * d);
        case StageKind::Resamp:
            break;
    }
    return model.Work.Ndelay * q * clock / (4.0 * d);
}

double stageOutputRate(StageKind kind, const gc::model::ConfigurationModel& model) {
    if (kind == StageKind::Cic)
        return static_cast<double>(model.Work.WorkingClock) / model.Work.CurrentDecimation;
    return stageInputRate(kind, model) / 2.0;
}

int stageMarkerColumn(StageKind kind, const gc::model::ConfigurationModel& model, int stretch) {
    const int s = atLeastOne(stretch);
    const bool oneChannel = responseMode(model.Chip.ModeOfDdc) == 2;
    switch (kind) {
        case StageKind::Cfir:
            return oneChannel ? s * N - 1 : s * N / 2;
        case StageKind::Pfir:
            return oneChannel ? s * N : s * N / 2;
        case StageKind::Cic:
            return s * N / atLeastOne(model.Work.CurrentDecimation);
        case StageKind::Resamp:
            break;
    }
    const double coef = model.Chip.CoefInterpol[0];
    const int m = gc::model::truncToInt(s * coef * N / model.Work.Ndelay);
    return oneChannel ? gc::model::truncToInt(2.0 * m) : m;
}

void computeStageResponse(StageKind kind, const gc::model::ConfigurationModel& model, int stretch,
                          ResponseArray& out) {
    const int s = atLeastOne(stretch);
    if (kind == StageKind::Cic) {
        ComputeCicResponse(model.Work.CurrentDecimation, s, out);
        return;
    }
    int count = 0;
    const int* taps = stageTaps(kind, model, count);
    if (kind == StageKind::Resamp)
        ComputeFirResponseFixedStep(taps, count, 0, s, out);
    else
        ComputeFirResponse(taps, count, kPi / N, 0, s, out);
}

void updateStageViewLabels(StageKind kind, const gc::model::ConfigurationModel& model,
                           StageViewState& state, StageViewArrays& arrays,
                           StageViewLabels& labels) {
    const StageTraits& traits = stageTraits(kind);
    const int column = plotColumn(state.CursorX);
    if (aliasView(kind, state)) {
        const double foutMHz = stageOutputRate(kind, model) * 0.000001;
        labels.Label17 = "F/Fsout";
        labels.top = {"8", "4", "8", "2"};
        // Fout/8 .. Fout/2 in the unit that keeps neighbouring ticks apart.
        const FrequencyAxis axis = frequencyAxis(stageOutputRate(kind, model), 1);
        labels.bottom = axis.ticks;
        labels.unit = axis.unit;
        labels.Panel1 = "1";
        if (state.CursorX == -1) {
            labels.Panel3.clear();
            labels.Panel4.clear();
        } else {
            // The row is where the mouse put it; the level is read off the row.
            labels.Panel3 = formatFixed(foutMHz / 2 * (static_cast<double>(column) / N),
                                        traits.freqPrecision, traits.freqDecimals);
            labels.Panel4 = formatFixed(state.CursorY * -1 * 0.5, 5, 2);
        }
        return;
    }
    const int s = atLeastOne(state.Stretch);
    const double finMHz = stageInputRate(kind, model) * 0.000001;
    labels.Label17 = "F/Fsinp";
    labels.top = {intText(8 * s), intText(4 * s), intText(8 * s), intText(2 * s)};
    const FrequencyAxis axis = frequencyAxis(stageInputRate(kind, model), s);
    labels.bottom = axis.ticks;
    labels.unit = axis.unit;
    labels.Panel1 = intText(state.Stretch);
    computeStageResponse(kind, model, s, arrays.Response);
    if (state.CursorX == -1) {
        labels.Panel3.clear();
        labels.Panel4.clear();
    } else {
        const float level = cursorLevel(arrays.Response[column], ResponsePeak(arrays.Response));
        state.CursorY = cursorRow(level, 1);
        labels.Panel3 = formatFixed(finMHz / (2 * s) * (static_cast<double>(column) / N),
                                    traits.freqPrecision, traits.freqDecimals);
        labels.Panel4 = formatFixed(level, 5, 2);
    }
}

void DrawStageView(Canvas& canvas, StageKind kind, const gc::model::ConfigurationModel& model,
                   StageViewState& state, StageViewArrays& arrays, StageViewLabels& labels) {
    const int w = canvas.width();
    const int h = canvas.height();
    const Rgb cursorColour = canvas.activeCaptionColour();
    auto drawCursorLines = [&] {
        canvas.setPen(cursorColour, 1, PenStyle::Solid);
        canvas.moveTo(state.CursorX, 0);
        canvas.lineTo(state.CursorX, h);
        canvas.moveTo(0, state.CursorY);
        canvas.lineTo(w, state.CursorY);
    };

    if (aliasView(kind, state)) {
        updateStageViewLabels(kind, model, state, arrays, labels);
        drawPlotGrid(canvas);
        canvas.setPen(kRed, 1, PenStyle::Solid);
        if (kind == StageKind::Cic) {
            drawCicAliasSegments(canvas, model, arrays.Segment);
        } else {
            int count = 0;
            const int* taps = stageTaps(kind, model, count);
            // Pass band 0 .. Fout/2, then the band Fout/2 .. Fout mirrored onto it, both against
            // the pass band's peak.
            ComputeFirResponse(taps, count, kPi / N, 0, 2, arrays.Response);
            const double peak = ResponsePeak(arrays.Response);
            drawCurve(canvas, arrays.Response, peak, 1);
            ComputeFirResponse(taps, count, kPi / N, N, 2, arrays.Response);
            drawMirroredCurve(canvas, arrays.Response, peak, 1);
        }
        drawCursorLines();
        return;
    }

    const int marker = stageMarkerColumn(kind, model, state.Stretch);
    updateStageViewLabels(kind, model, state, arrays, labels);
    drawPlotGrid(canvas);
    drawCurve(canvas, arrays.Response, ResponsePeak(arrays.Response), 1);
    auto drawMarker = [&] {
        canvas.setPen(kRed, 1, PenStyle::Solid);
        canvas.moveTo(marker, 0);
        canvas.lineTo(marker, h);
    };
    // The resampler window draws its marker over the cursor lines, the others under them.
    if (kind != StageKind::Resamp) drawMarker();
    drawCursorLines();
    if (kind == StageKind::Resamp) drawMarker();
}

}  // namespace gc::response
