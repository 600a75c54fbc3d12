#pragma once
// Labels of the design and simulation windows: a label named for the tests and the state it
// shows, and the colour of a verdict or status text.
#include <QLabel>

#include "app/RequirementPresenter.h"

namespace gc::ui {

// An empty label called `name`, aligned as asked and centred vertically.
QLabel* namedLabel(const char* name, QWidget* parent, Qt::Alignment align = Qt::AlignLeft);

// Bold dark green for a limit met, bold dark red for one failed or an error, the window's own
// text colour otherwise.
void setLimitColour(QLabel* label, gc::app::LimitColour colour);

}  // namespace gc::ui
