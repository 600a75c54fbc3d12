#include "ui/HomeFolder.h"

#include <QDir>

#include "app/WorkingFolder.h"

namespace gc::ui {
namespace {

// Collects the reports of making the folder as lines.
class CollectingUi final : public gc::app::UiPort {
  public:
    explicit CollectingUi(QStringList& lines) : lines_(lines) {}

    void showError(const gc::app::ErrorReport& report) override {
        QStringList labels;
        for (const std::string& label : report.labels) labels << QString::fromStdString(label);
        lines_ << labels.join(QLatin1Char(' '));
    }
    void showConversionError(const std::string& message) override {
        lines_ << QString::fromStdString(message);
    }
    std::optional<std::string> askOpenFile(const gc::app::FileDialogRequest&) override {
        return {};
    }
    std::optional<std::string> askSaveFile(const gc::app::FileDialogRequest&) override {
        return {};
    }
    void showWindow(gc::app::Window) override {}
    void refreshWindow(gc::app::Window) override {}
    void repaintChannelPlot() override {}

  private:
    QStringList& lines_;
};

}  // namespace

QString prepareHomeFolder(const QString& home, QStringList& reports) {
    const QString folder = QDir(home).filePath(QStringLiteral("gc4016"));
    if (QDir(folder).exists()) return folder;
    const std::string dir = folder.toStdString();
    CollectingUi ui(reports);
    gc::app::writeWorkingFolder(gc::app::workingFolderFiles(dir), ui);
    return folder;
}

}  // namespace gc::ui
