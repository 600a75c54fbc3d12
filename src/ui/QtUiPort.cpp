#include "ui/QtUiPort.h"

#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMessageBox>
#include <QStringList>
#include <QWidget>

#include "ui/ProgramInfo.h"
#include "ui/Uerrdecim.h"
#include "ui/Uerrequaldecim.h"
#include "ui/Uerrfilecoeff.h"
#include "ui/Uerrresamp.h"

namespace gc::ui {
namespace {

constexpr std::size_t kWindowSlots = gc::app::kWindowCount;

std::size_t slotOf(gc::app::Window window) {
    const auto index = static_cast<std::size_t>(window);
    return index < kWindowSlots ? index : kWindowSlots - 1;
}

QString fromStd(const std::string& s) { return QString::fromStdString(s); }

QStringList textsOf(const gc::app::ErrorReport& report) {
    QStringList texts;
    for (const auto& label : report.labels) texts << fromStd(label);
    return texts;
}

void raiseNonModal(QWidget* window) {
    window->show();
    window->raise();
    window->activateWindow();
}

}  // namespace

QtUiPort::QtUiPort(std::string workingFolder) : workingFolder_(std::move(workingFolder)) {}

QtUiPort::~QtUiPort() = default;

void QtUiPort::setMainWindow(QWidget* window) { mainWindow_ = window; }

void QtUiPort::setReportWindows(TErrFileCoeff* fileCoeff, TErrDecim* decim,
                                TErrEqualDecim* equalDecim, TErrResamp* resamp) {
    fileCoeff_ = fileCoeff;
    decim_ = decim;
    equalDecim_ = equalDecim;
    resamp_ = resamp;
}

void QtUiPort::setChannelPlot(QWidget* plot) { plot_ = plot; }

void QtUiPort::registerWindow(gc::app::Window window, WindowHooks hooks) {
    windows_[slotOf(window)] = std::move(hooks);
}

bool QtUiPort::hasWindow(gc::app::Window window) const {
    return static_cast<bool>(windows_[slotOf(window)].show);
}

void QtUiPort::showError(const gc::app::ErrorReport& report) {
    using gc::app::ErrorWindow;
    const QStringList texts = textsOf(report);
    switch (report.window) {
        case ErrorWindow::ErrFileCoeff:
            // The caller goes on once the user has closed the report.
            if (fileCoeff_) {
                fileCoeff_->setReportList({});
                fileCoeff_->setTexts(texts);
                fileCoeff_->exec();
            }
            break;
        case ErrorWindow::ErrDecim:
            if (decim_) {
                decim_->setTexts(texts);
                raiseNonModal(decim_);
            }
            break;
        case ErrorWindow::ErrEqualDecim:
            if (equalDecim_) {
                equalDecim_->setTexts(texts);
                raiseNonModal(equalDecim_);
            }
            break;
        case ErrorWindow::ErrResamp:
            if (resamp_) {
                resamp_->setTexts(texts);
                raiseNonModal(resamp_);
            }
            break;
    }
}

// Missing or damaged files in one window, one line each; other reports one by one.
void QtUiPort::showErrors(const std::vector<gc::app::ErrorReport>& reports) {
    QStringList lines;
    for (const gc::app::ErrorReport& report : reports) {
        if (report.window != gc::app::ErrorWindow::ErrFileCoeff) {
            showError(report);
            continue;
        }
        lines << textsOf(report).join(QLatin1Char(' '));
    }
    if (lines.size() == 1) {
        for (const gc::app::ErrorReport& report : reports) {
            if (report.window == gc::app::ErrorWindow::ErrFileCoeff) showError(report);
        }
        return;
    }
    if (lines.isEmpty() || !fileCoeff_) return;
    fileCoeff_->setReportList(lines);
    fileCoeff_->exec();
    fileCoeff_->setReportList({});
}

void QtUiPort::showConversionError(const std::string& message) {
    QMessageBox box(QMessageBox::Critical, programTitle(), fromStd(message), QMessageBox::Ok,
                    mainWindow_);
    box.setObjectName(QStringLiteral("ConversionError"));
    box.exec();
}

void QtUiPort::showNotice(const std::vector<std::string>& lines) {
    QStringList text;
    for (const std::string& line : lines) text << fromStd(line);
    QMessageBox box(QMessageBox::Information, programTitle(), text.join(QLatin1Char('\n')),
                    QMessageBox::Ok, mainWindow_);
    box.setObjectName(QStringLiteral("Notice"));
    box.exec();
}

QString QtUiPort::nameFilter(const std::string& filter) {
    const QStringList parts = fromStd(filter).split(QLatin1Char('|'));
    if (parts.size() < 2) return fromStd(filter);
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        // "FIRFilterl(*.taps)|*.taps": the description already names its patterns.
        if (parts[i].endsWith(QLatin1Char('(') + patterns + QLatin1Char(')')))
            filters << parts[i];
        else
            filters << QStringLiteral("%1 (%2)").arg(parts[i], patterns);
    }
    return filters.join(QStringLiteral(";;"));
}

std::optional<std::string> QtUiPort::askFile(bool save, const gc::app::FileDialogRequest& request) {
    if (chooser_) return chooser_(save, request);

    const QDir working(fromStd(workingFolder_));
    const QString folder =
        request.initialDir.empty()
            ? working.absolutePath()
            : QDir::cleanPath(working.absoluteFilePath(fromStd(request.initialDir)));
    QFileDialog dialog(mainWindow_, QString(), folder, nameFilter(request.filter));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (!request.defaultExt.empty()) {
        std::string ext = request.defaultExt;
        if (ext.front() == '.') ext.erase(0, 1);
        dialog.setDefaultSuffix(fromStd(ext));
    }
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    const QStringList files = dialog.selectedFiles();
    if (files.isEmpty()) return std::nullopt;
    return files.front().toStdString();
}

std::optional<std::string> QtUiPort::askOpenFile(const gc::app::FileDialogRequest& request) {
    return askFile(false, request);
}

std::optional<std::string> QtUiPort::askSaveFile(const gc::app::FileDialogRequest& request) {
    return askFile(true, request);
}

void QtUiPort::showWindow(gc::app::Window window) {
    const auto& hooks = windows_[slotOf(window)];
    if (hooks.show) hooks.show();
}

void QtUiPort::refreshWindow(gc::app::Window window) {
    const auto& hooks = windows_[slotOf(window)];
    if (hooks.refresh) hooks.refresh();
}

void QtUiPort::closeSaveReports() {
    for (QWidget* report : {static_cast<QWidget*>(decim_), static_cast<QWidget*>(equalDecim_),
                            static_cast<QWidget*>(resamp_)}) {
        if (report != nullptr) report->hide();
    }
}

void QtUiPort::repaintChannelPlot() {
    if (plot_) plot_->update();
}

}  // namespace gc::ui
