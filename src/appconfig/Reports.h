#pragma once
// Label texts of the file report window (TErrFileCoeff), top to bottom: what kind of file,
// the path as the program was given it, and what is wrong with it.
#include <string>
#include <vector>

#include "appconfig/ConfigFile.h"
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
};

[[nodiscard]] inline std::string fileKindText(FileKind kind) {
    switch (kind) {
        case FileKind::Configuration:
        case FileKind::ChipConfiguration:
            return "Файл конфигурации";
        case FileKind::CfirTaps:
            return "Файл коэфициентов CFIR";
        case FileKind::PfirTaps:
            return "Файл коэфициентов PFIR";
        case FileKind::RfirTaps:
            return "Файл коэфициентов RFIR";
        case FileKind::Program:
            return "Файл программы";
        case FileKind::Requirement:
            return "Файл требований";
    }
    return {};
}

inline constexpr const char* kMissingText = "отсутствует!";
inline constexpr const char* kDamagedText = "поврежден!";
inline constexpr const char* kNotWrittenText = "не может быть записан!";
inline constexpr const char* kUnreadableText = "не может быть прочитан!";
inline constexpr const char* kNotRemovedText = "не может быть удален!";

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
            return {fileKindText(FileKind::Configuration), pathAsGiven, kMissingText};
        case ConfigReadStatus::Unreadable:
            return {fileKindText(FileKind::Configuration), pathAsGiven,
                    withReason(kUnreadableText, systemError)};
        case ConfigReadStatus::Damaged:
            return {fileKindText(FileKind::Configuration), pathAsGiven, kDamagedText};
    }
    return {};
}

// The report of a file that could not be written, with the system's reason when known.
[[nodiscard]] inline std::vector<std::string> writeFailureLabels(FileKind kind,
                                                                 const std::string& pathAsGiven,
                                                                 int systemError = 0) {
    return {fileKindText(kind), pathAsGiven, withReason(kNotWrittenText, systemError)};
}

}  // namespace gc::appconfig
