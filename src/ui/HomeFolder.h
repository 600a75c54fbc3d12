#pragma once
// The working folder of "gc4016 --home-folder" (what the desktop entry starts): gc4016 in the
// user's home folder, made on the first start as "gc4016-cli init" makes a working folder.
#include <QString>
#include <QStringList>

namespace gc::ui {

// `home`/gc4016, made with CONFIGS/std.trv, CONFIGS/sinc.cfg and FILTERS/*.taps of the built-in
// defaults when it does not exist; an existing folder is used as it is. Files that cannot be
// written are added to `reports`, one line each.
[[nodiscard]] QString prepareHomeFolder(const QString& home, QStringList& reports);

}  // namespace gc::ui
