#include "app/StageViewPresenter.h"

namespace gc::app {

using gc::response::StageKind;

StageViewPresenter::StageViewPresenter(StageKind kind, const gc::model::ConfigurationModel& model,
                                       UiPort& ui)
    : kind_(kind), model_(model), ui_(ui) {}

Window StageViewPresenter::window() const {
    switch (kind_) {
        case StageKind::Cic:
            return Window::Cic5;
        case StageKind::Cfir:
            return Window::Cfir;
        case StageKind::Pfir:
            return Window::Pfir;
        case StageKind::Resamp:
            break;
    }
    return Window::Resamp;
}

void StageViewPresenter::draw(gc::response::Canvas& canvas) {
    gc::response::DrawStageView(canvas, kind_, model_, state_, arrays_, labels_);
}

void StageViewPresenter::refresh() {
    gc::response::updateStageViewLabels(kind_, model_, state_, arrays_, labels_);
    ui_.refreshWindow(window());
}

void StageViewPresenter::setCursor(int x, int y) {
    // A drag may leave the plot: the column stays on it (and never reads as "no cursor").
    state_.CursorX = gc::response::plotColumn(x);
    state_.CursorY = y;
}

void StageViewPresenter::clearCursor() {
    state_.CursorX = -1;
    state_.CursorY = -1;
    state_.Dragging = 0;
    refresh();
}

void StageViewPresenter::onCICPBoxMouseDown(MouseButton button, int x, int y) {
    if (button != MouseButton::Right) return;
    setCursor(x, y);
    refresh();
    state_.Dragging = 1;
}

void StageViewPresenter::onCICPBoxMouseMove(int x, int y) {
    if (state_.Dragging != 1) return;
    setCursor(x, y);
    refresh();
}

void StageViewPresenter::onCICPBoxMouseUp(MouseButton button, int, int) {
    if (button == MouseButton::Right) state_.Dragging = 0;
}

void StageViewPresenter::onPanel2MouseUp(MouseButton) { clearCursor(); }

void StageViewPresenter::onFormMouseUp(MouseButton) {
    if (traits().formReleaseClears) clearCursor();
}

void StageViewPresenter::onButton5Click() {
    if (state_.CursorX != -1 && state_.CursorX != 0) --state_.CursorX;
    refresh();
}

void StageViewPresenter::onButton6Click() {
    if (state_.CursorX != -1 && state_.CursorX != gc::response::PlotPoints - 1) ++state_.CursorX;
    refresh();
}

void StageViewPresenter::onButton1Click() {
    if (state_.Stretch == traits().stretchMax) return;
    state_.Stretch *= 2;
    refresh();
}

void StageViewPresenter::onButton2Click() {
    if (state_.Stretch == 1) return;
    state_.Stretch /= 2;
    refresh();
}

void StageViewPresenter::onButton3Click() {
    state_.Stretch = traits().stretchMax;
    refresh();
}

void StageViewPresenter::onButton4Click() {
    state_.Stretch = 1;
    refresh();
}

void StageViewPresenter::onCheckBox1Click(bool checked) {
    if (!traits().hasAlias) return;
    state_.Alias = checked ? 1 : 0;
    refresh();
}

}  // namespace gc::app
