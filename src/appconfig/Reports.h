#pragma once
// Label texts of the file report window (TErrFileCoeff), top to bottom: what kind of file,
// the path as the program was given it, and what is wrong with it.
#include <string>
#include <vector>

#include "appconfig/ConfigFile.h"
#include "model/Language.h"
#include "model/TextFile.h"

namespace gc::appconfig {

enum class FileKind {
    Configuration,      // application configuration file
    ChipConfiguration,  // chip configuration file; the window names it the same way
    CfirTaps,
    PfirTaps,
    RfirTaps,
    Program,
    Requirement,  // the channel requirement beside a configuration, NAME.req
    TapSources,   // the file-source choice beside a configuration, NAME.src
};

[[nodiscard]] inline std::string fileKindText(FileKind kind) {
    switch (kind) {
        case FileKind::Configuration:
        case FileKind::ChipConfiguration:
            return gc::model::tx("Файл конфигурации");
        case FileKind::CfirTaps:
            return gc::model::tx("Файл коэфициентов CFIR");
        case FileKind::PfirTaps:
            return gc::model::tx("Файл коэфициентов PFIR");
        case FileKind::RfirTaps:
            return gc::model::tx("Файл коэфициентов RFIR");
        case FileKind::Program:
            return gc::model::tx("Файл программы");
        case FileKind::Requirement:
            return gc::model::tx("Файл требований");
        case FileKind::TapSources:
            return gc::model::tx("Файл источников коэффициентов");
    }
    return {};
}

// What is wrong with the file, in the interface language.
[[nodiscard]] inline std::string missingText() { return gc::model::tx("отсутствует!"); }
[[nodiscard]] inline std::string damagedText() { return gc::model::tx("поврежден!"); }
[[nodiscard]] inline std::string notWrittenText() {
    return gc::model::tx("не может быть записан!");
}
[[nodiscard]] inline std::string unreadableText() {
    return gc::model::tx("не может быть прочитан!");
}
[[nodiscard]] inline std::string notRemovedText() { return gc::model::tx("не может быть удален!"); }

// `text` followed by the system's reason in brackets, when there is one:
// "не может быть записан! (нет места на устройстве)".
[[nodiscard]] inline std::string withReason(const std::string& text, int systemError) {
    if (systemError == 0) return text;
    return text + " (" + gc::model::systemErrorText(systemError) + ")";
}

// The report of an application configuration read; empty for Ok, which reports nothing.
// A file that exists but cannot be read says so, with the system's reason.
[[nodiscard]] inline std::vector<std::string> configReportLabels(const std::string& pathAsGiven,
                                                                 ConfigReadStatus status,
                                                                 int systemError = 0) {
    switch (status) {
        case ConfigReadStatus::Ok:
            break;
        case ConfigReadStatus::Missing:
            return {fileKindText(FileKind::Configuration), pathAsGiven, missingText()};
        case ConfigReadStatus::Unreadable:
            return {fileKindText(FileKind::Configuration), pathAsGiven,
                    withReason(unreadableText(), systemError)};
        case ConfigReadStatus::Damaged:
            return {fileKindText(FileKind::Configuration), pathAsGiven, damagedText()};
    }
    return {};
}

// The report of a file that could not be written, with the system's reason when known.
[[nodiscard]] inline std::vector<std::string> writeFailureLabels(FileKind kind,
                                                                 const std::string& pathAsGiven,
                                                                 int systemError = 0) {
    return {fileKindText(kind), pathAsGiven, withReason(notWrittenText(), systemError)};
}

}  // namespace gc::appconfig
