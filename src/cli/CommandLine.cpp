#include "cli/CommandLine.h"

#include <algorithm>
#include <iostream>
#include <memory>
#include <sstream>
#include <utility>

#include "cli/CliSupport.h"
#include "cli/ExitCodes.h"
#include "model/Language.h"
#include "model/Numeric.h"

namespace gc::cli {

namespace {

constexpr const char* kTool = "gc4016-cli";
constexpr size_t kUsageWidth = 92;  // usage lines are wrapped before this column

// The options a help text lists: every named option but the help flag, in declaration order.
std::vector<const CLI::Option*> listedOptions(const CLI::App& app) {
    std::vector<const CLI::Option*> list;
    for (const CLI::Option* option :
         app.get_options([](const CLI::Option* o) { return o->nonpositional(); })) {
        if (option != app.get_help_ptr()) list.push_back(option);
    }
    return list;
}

std::string optionName(const CLI::Option* option) { return option->get_name(false, true); }

// "--out DIR", "--json", "CONFIG.trv".
std::string synopsis(const CLI::Option* option) {
    if (!option->nonpositional()) return option->get_name();
    const std::string value = option->get_type_size_max() > 0 ? option->get_type_name() : "";
    return optionName(option) + (value.empty() ? "" : " " + value);
}

// "usage: gc4016-cli NAME ARGS..." wrapped, continuation lines under the first argument.
std::string usageLines(const CLI::App& app) {
    const std::string head = std::string("usage: ") + kTool + " " + app.get_name() + " ";
    std::vector<std::string> words;
    for (const CLI::Option* option : app.get_options()) {
        if (option == app.get_help_ptr()) continue;
        const std::string text = synopsis(option);
        words.push_back(option->get_required() ? text : "[" + text + "]");
    }
    std::string out = head;
    size_t column = head.size();
    bool first = true;
    for (const std::string& word : words) {
        if (!first && column + 1 + word.size() > kUsageWidth) {
            out += '\n' + std::string(head.size(), ' ');
            column = head.size();
            first = true;
        }
        if (!first) {
            out += ' ';
            ++column;
        }
        out += word;
        column += word.size();
        first = false;
    }
    return out + '\n';
}

// "  NAME VALUE   help", the help's own lines indented to the help column.
std::string optionLines(const std::vector<const CLI::Option*>& options) {
    size_t width = 0;
    for (const CLI::Option* option : options) width = std::max(width, synopsis(option).size());
    std::string out;
    for (const CLI::Option* option : options) {
        const std::string name = synopsis(option);
        std::istringstream help(localisedHelp(option->get_description()));
        std::string line;
        bool first = true;
        while (std::getline(help, line)) {
            out += first ? "  " + name + std::string(width + 2 - name.size(), ' ')
                         : std::string(width + 4, ' ');
            out += line + '\n';
            first = false;
        }
        if (first) out += "  " + name + '\n';
    }
    return out;
}

std::string mainHelp(const CLI::App& app) {
    std::string out = std::string("usage: ") + kTool + " [--lang en|ru] COMMAND [ARGUMENTS]\n" +
                      "       " + kTool + " COMMAND --help\n\n";
    out += optionLines(listedOptions(app)) + "\ncommands:\n";
    size_t width = 0;
    for (const Command* command : commands()) width = std::max(width, command->name.size());
    for (const Command* command : commands()) {
        out += "  " + std::string(command->name) +
               std::string(width + 2 - command->name.size(), ' ') +
               localisedHelp(command->summary) + '\n';
    }
    return out + '\n' + kExitStatusHelp;
}

// The command whose arguments were being read (nullptr: none was named).
const CLI::App* parsedCommand(const CLI::App& app) {
    for (const CLI::App* sub : app.get_subcommands())
        if (sub->get_name() != "help") return sub;
    return nullptr;
}

// CLI11's finding as one line in the tool's words.
std::string usageMessage(const CLI::ParseError& error, const CLI::App& app) {
    const CLI::App* command = parsedCommand(app);
    const std::string what = error.what();
    if (dynamic_cast<const CLI::RequiredError*>(&error) && command) {
        for (const CLI::Option* option : command->get_options()) {
            if (option->get_required() && option->count() == 0)
                return synopsis(option) + " is required";
        }
    }
    if (dynamic_cast<const CLI::ArgumentMismatch*>(&error) &&
        what.find(" required ") != std::string::npos &&
        what.find(" missing") != std::string::npos) {
        return what.substr(0, what.find(':')) + " needs a value";
    }
    if (dynamic_cast<const CLI::ExtrasError*>(&error)) {
        const std::vector<std::string> extra = app.remaining(true);
        if (!extra.empty()) {
            const std::string& arg = extra.front();
            if (!command && (arg.empty() || arg.front() != '-'))
                return "unknown command \"" + arg + "\"";
            if (!arg.empty() && arg.front() == '-' && arg.size() > 1 &&
                !std::isdigit(static_cast<unsigned char>(arg[1])))
                return "unknown option " + arg;
            return "unexpected argument: " + arg;
        }
    }
    return what;
}

int reportUsageError(const CLI::App& app, const std::string& message) {
    const CLI::App* command = parsedCommand(app);
    const std::string name = command ? command->get_name() : std::string(kTool);
    const std::string helpCall =
        std::string(kTool) + (command ? " " + command->get_name() : std::string()) + " --help";
    std::cerr << name << ": " << message << " (usage: " << helpCall << ")\n";
    return kExitUsage;
}

}  // namespace

std::string commandHelp(const CLI::App& app) {
    std::string out = usageLines(app) + '\n';
    const std::string description = localisedHelp(app.get_description());
    if (!description.empty()) out += description + '\n';
    const std::vector<const CLI::Option*> options = listedOptions(app);
    if (!options.empty()) out += optionLines(options) + '\n';
    out += localisedHelp(app.get_footer());
    return out;
}

int runCommandLine(int argc, const char* const* argv) {
    CLI::App app("", kTool);
    // Each command's options are its own; only --lang is read anywhere on the line.
    app.fallthrough();
    app.require_subcommand(0, 1);
    app.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    app.set_help_flag("-h,--help", "this help");
    addValue(app, "--lang", "en|ru",
             "the language of the reports and of the main window's texts (default ru);\n"
             "the files written are the same in both",
             [](const std::string& code) {
                 const auto language = gc::model::languageFromCode(code);
                 if (!language) throw UsageError("unknown language \"" + code + "\" (en or ru)");
                 gc::model::setLanguage(*language);
             })
        ->trigger_on_parse();  // the help and the errors that follow are in that language
    app.add_subcommand("help")->group("");

    std::vector<std::pair<CLI::App*, std::function<int()>>> runs;
    for (const Command* command : commands()) {
        CLI::App* sub = app.add_subcommand(std::string(command->name));
        runs.emplace_back(sub, command->declare(*sub));
    }

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        const CLI::App* command = parsedCommand(app);
        std::cout << (command ? commandHelp(*command) : mainHelp(app));
        return kExitOk;
    } catch (const CLI::ParseError& error) {
        return reportUsageError(app, usageMessage(error, app));
    } catch (const UsageError& error) {
        return reportUsageError(app, error.what());
    }
    if (app.got_subcommand("help")) {
        std::cout << mainHelp(app);
        return kExitOk;
    }
    for (auto& [sub, run] : runs) {
        if (!sub->parsed()) continue;
        try {
            return run();
        } catch (const UsageError& error) {
            return reportUsageError(app, error.what());
        }
    }
    return reportUsageError(app, "no command given");
}

CLI::Option* addValue(CLI::App& app, const std::string& name, const std::string& valueName,
                      const std::string& help, std::function<void(const std::string&)> take) {
    CLI::Option* option = app.add_option_function<std::string>(
        name,
        [name, take = std::move(take)](const std::string& value) {
            try {
                take(value);
            } catch (const gc::model::ConversionError& error) {
                throw UsageError(name + ": " + error.what());
            }
        },
        help);
    option->type_name(valueName);
    return option;
}

CLI::Option* addReal(CLI::App& app, const std::string& name, const std::string& valueName,
                     double& target, const std::string& help) {
    return addValue(app, name, valueName, help,
                    [&target](const std::string& value) { target = gc::model::parseReal(value); });
}

CLI::Option* addReal(CLI::App& app, const std::string& name, const std::string& valueName,
                     std::optional<double>& target, const std::string& help) {
    return addValue(app, name, valueName, help,
                    [&target](const std::string& value) { target = gc::model::parseReal(value); });
}

CLI::Option* addInt(CLI::App& app, const std::string& name, const std::string& valueName,
                    int& target, int lo, int hi, const std::string& help) {
    return addValue(app, name, valueName, help, [&target, name, lo, hi](const std::string& value) {
        const int v = gc::model::parseInt(value);
        if (v < lo || v > hi)
            throw UsageError(name + " takes " + std::to_string(lo) + ".." + std::to_string(hi));
        target = v;
    });
}

CLI::Option* addChoice(CLI::App& app, const std::string& name, const std::string& help,
                       const std::vector<std::string>& choices, int& target) {
    std::string list;
    for (const std::string& choice : choices) list += (list.empty() ? "" : "|") + choice;
    return addValue(app, name, list, help, [&target, name, choices, list](const std::string& v) {
        const auto found = std::find(choices.begin(), choices.end(), v);
        if (found == choices.end()) throw UsageError(name + " takes " + list);
        target = static_cast<int>(found - choices.begin());
    });
}

CLI::Option* addText(CLI::App& app, const std::string& name, const std::string& valueName,
                     std::string& target, const std::string& help) {
    return addValue(app, name, valueName, help, [&target, name](const std::string& value) {
        if (value.empty()) throw UsageError(name + " needs a value");
        target = value;
    });
}

CLI::Option* addConfigArgument(CLI::App& app, std::string& config, const std::string& name) {
    return app
        .add_option_function<std::string>(
            name,
            [&config](const std::string& value) {
                if (namesFolder(value))
                    throw UsageError("CONFIG names a folder, not a file: " + value);
                config = value;
            },
            "the configuration")
        ->required();
}

CLI::Option* addFileSources(CLI::App& app, FileSources& sources) {
    return addValue(
        app, "--file-source", "LIST",
        "where the taps of each filter come from, over the choice saved\n"
        "with CONFIG (NAME.src beside it; none: the built-in tables): a\n"
        "comma-separated list of KIND=file, KIND=table or KIND alone (its\n"
        "file), KIND one of cfir, pfir, rfir (or resampler) or all;\n"
        "filters not named keep the saved choice",
        [&sources](const std::string& value) {
            if (!parseFileSources(value, sources))
                throw UsageError(
                    "--file-source takes KIND, KIND=file or KIND=table, KIND one of cfir, pfir, "
                    "rfir, resampler, all: \"" +
                    value + "\"");
        });
}

}  // namespace gc::cli
