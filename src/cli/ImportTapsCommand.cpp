// gc4016-cli import-taps: coefficients written by another tool (a list, a bracketed vector, an
// FPGA coefficient file; integers or reals) as a tap file of the chosen filter.
#include <cstdio>
#include <functional>
#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include "cli/CliSupport.h"
#include "cli/CommandLine.h"
#include "cli/ExitCodes.h"
#include "cli/TapCommands.h"
#include "filters/TapImport.h"
#include "model/Numeric.h"
#include "model/TextFile.h"

namespace gc::cli {

namespace {

namespace fl = gc::filters;

struct ImportArgs {
    std::string in;
    std::string out;
    fl::TapKind kind{fl::TapKind::Cfir};
    std::optional<double> gain;
};

std::string figure(double v) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.17g", v);
    return buf;
}

int runImport(const ImportArgs& args) {
    if (args.gain && args.kind == fl::TapKind::Rfir)
        throw UsageError("--gain is for cfir and pfir; resampler taps go to their 12-bit range");
    const fl::TapImport imported = fl::importTapFile(args.in, args.kind, args.gain);
    if (imported.status != fl::TapFileStatus::Ok) {
        printReport(fl::tapFileReportLabels(args.kind, args.in, imported.status));
        if (!imported.error.empty()) std::cerr << args.in << ": " << imported.error << '\n';
        return kExitBadInput;
    }
    const auto written = gc::model::writeFileAtomically(
        args.out, fl::tapFileText(imported.taps.data(), static_cast<int>(imported.taps.size())));
    if (!written) {
        printReport(
            gc::appconfig::writeFailureLabels(tapFileKind(args.kind), args.out, written.error));
        return kExitNotWritten;
    }
    std::cout << "format=" << fl::tapTextFormatName(imported.format) << '\n'
              << "taps=" << imported.taps.size() << '\n'
              << "scaled=" << (imported.scaled ? "true" : "false") << '\n'
              << "scale=" << figure(imported.scale) << '\n'
              << "rounding_error_db="
              << (imported.roundingErrorDb ? figure(*imported.roundingErrorDb) : "none") << '\n'
              << "tap_sum=" << imported.tapSum << '\n';
    if (args.kind != fl::TapKind::Rfir) std::cout << "gain=" << figure(imported.gain) << '\n';
    std::cout << "symmetric=" << (imported.symmetric ? "true" : "false") << '\n';
    return kExitOk;
}

std::function<int()> declareImport(CLI::App& app) {
    auto args = std::make_shared<ImportArgs>();
    app.description(
        "Reads IN, a coefficient list written by another tool, recognising its format from the\n"
        "content: this program's tap file (one integer per line), numbers separated by line\n"
        "ends, commas, semicolons or blanks (CSV), a bracketed vector \"h = [ ... ];\", or an\n"
        "FPGA coefficient file \"radix=10|16; coefdata=...;\" (radix 16: two's complement of the\n"
        "word, or a sign). Integers are taken as the chip's words; floating-point values are\n"
        "scaled, CFIR and PFIR taps to a tap sum of 65536 times the gain, resampler taps to a\n"
        "largest tap of 2047, and rounded. Writes the taps as a tap file FILE and prints what was\n"
        "done, NAME=VALUE: format, taps, scaled, scale, rounding_error_db (the largest rounding\n"
        "error relative to the largest tap, \"none\" when exact), tap_sum, gain (tap sum / "
        "65536),\n"
        "symmetric.\n");
    app.add_option("IN", args->in, "the coefficient file")->required();
    addTapKind(app, args->kind)->required();
    addValue(app, "--gain", "G", "the gain of scaled CFIR/PFIR taps (default 1)",
             [args](const std::string& value) {
                 const double gain = gc::model::parseReal(value);
                 if (!(gain > 0.0) || gain > 1e6) throw UsageError("--gain takes a value above 0");
                 args->gain = gain;
             });
    addText(app, "--out", "FILE", args->out, "the tap file written")->required();
    app.footer(
        "A wrong count (21 CFIR taps, 63 PFIR, up to 512 resampler) or an unreadable value is\n"
        "reported with its line. Exit status: 0 written, 1 FILE cannot be written, 2 wrong usage,\n"
        "5 IN missing or unreadable.\n");
    return [args] { return runImport(*args); };
}

}  // namespace

extern const Command kImportTapsCommand{
    "import-taps", "read coefficients of another tool (CSV, vector, FPGA file) into a tap file",
    &declareImport};

}  // namespace gc::cli
