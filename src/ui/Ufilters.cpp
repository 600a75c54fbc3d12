#include "ui/Ufilters.h"

namespace gc::ui {

TFilters::TFilters(gc::chip::RegisterImage& image, const gc::model::ConfigurationModel& model,
                   QWidget* parent)
    : RegisterEditorForm(QString::fromStdString(gc::app::filtersLayout().caption),
                         gc::app::filtersLayout().staysOnTop, parent),
      presenter_(image, model) {
    widgets_.build(this, gc::app::filtersLayout());
    // Only the user's own ticks and picks reach the presenter: `clicked` and `activated` are not
    // emitted when the window sets a control, and showing blocks signals besides.
    for (const auto& b : widgets_.bound()) {
        const std::string name = b.control->name;
        if (auto* box = qobject_cast<QCheckBox*>(b.widget)) {
            connect(box, &QCheckBox::clicked, this, [this, name](bool checked) {
                presenter_.onCheckBoxClick(name, checked);
                widgets_.show(presenter_.state());
            });
        } else if (auto* combo = qobject_cast<QComboBox*>(b.widget)) {
            connect(combo, &QComboBox::activated, this, [this, name](int index) {
                presenter_.onComboBoxChange(name, index);
                widgets_.show(presenter_.state());
            });
        }
    }
}

void TFilters::showWindow() {
    refresh();
    showNonModal();
}

void TFilters::refresh() {
    presenter_.fill();
    widgets_.show(presenter_.state());
}

}  // namespace gc::ui
