#pragma once
// The command line of gc4016-cli, on CLI11: the list of commands, the declarations several
// commands share, the help texts made from the declarations and the one-line usage errors.
//
// A command is one file: it declares its arguments and options on the CLI::App it is given
// (each with its help text; the command's description and footer go on the App too) and returns
// what runs once they are parsed. Its line in Commands.cpp puts it on the list.
#include <CLI/CLI.hpp>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace gc::cli {

struct FileSources;

// Wrong usage found while reading a value or by a command after parsing (a value outside its
// range, a folder given as the configuration): printed as one line, exit status 2.
class UsageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// A command: its name on the command line, one line of help, and `declare`, which declares the
// command's arguments and options on `app` and returns what runs after a successful parse (its
// result is the exit status).
struct Command {
    std::string_view name;
    std::string_view summary;
    std::function<int()> (*declare)(CLI::App& app);
};

// Every command (Commands.cpp), sorted by name.
[[nodiscard]] const std::vector<const Command*>& commands();

// The whole tool: parses `argv`, runs the command and returns the exit status.
[[nodiscard]] int runCommandLine(int argc, const char* const* argv);

// The help of one command: the usage lines made from its declarations, its description, its
// options with their help texts and its footer, in the interface language.
[[nodiscard]] std::string commandHelp(const CLI::App& app);

// Declarations shared by the commands. Each returns the CLI11 option, for ->required() and the
// like.

// --NAME VALUE handed to `take` as typed. `take` throws UsageError for a wrong value (its message
// is the whole line) or gc::model::ConversionError (reported as "NAME: message").
CLI::Option* addValue(CLI::App& app, const std::string& name, const std::string& valueName,
                      const std::string& help, std::function<void(const std::string&)> take);
// A real number as the window reads typed numbers ("." or "," as the decimal separator).
CLI::Option* addReal(CLI::App& app, const std::string& name, const std::string& valueName,
                     double& target, const std::string& help);
CLI::Option* addReal(CLI::App& app, const std::string& name, const std::string& valueName,
                     std::optional<double>& target, const std::string& help);
// An integer in lo..hi; outside: "NAME takes lo..hi".
CLI::Option* addInt(CLI::App& app, const std::string& name, const std::string& valueName,
                    int& target, int lo, int hi, const std::string& help);
// One word of `choices`; `target` becomes its index. Another word: "NAME takes a|b|c".
CLI::Option* addChoice(CLI::App& app, const std::string& name, const std::string& help,
                       const std::vector<std::string>& choices, int& target);
// A text that must not be empty.
CLI::Option* addText(CLI::App& app, const std::string& name, const std::string& valueName,
                     std::string& target, const std::string& help);
// The CONFIG.trv argument (`name` in the help): required; a folder (or a name ending in "/") is
// wrong usage.
CLI::Option* addConfigArgument(CLI::App& app, std::string& config,
                               const std::string& name = "CONFIG.trv");
// --file-source LIST: the taps of the filters named from their tap files or from the tables,
// over the choice saved with the configuration.
CLI::Option* addFileSources(CLI::App& app, FileSources& sources);

}  // namespace gc::cli
