// velk: the library's command-line tool.
//   velk budget [FILE] [--format table|csv|json]   correction budget of a resonator
//   velk reduce [FILE] [--format F] [--monte-carlo N] [--seed S]
//                                                 radius, speed of sound, temperature
//   velk example [budget|reduce]                  a built-in example's input
//   velk call NAME ARG...                         evaluate one export
//   velk list                                     every export with its arguments
//   velk --version                                the version of the tool and library
// Exit status: 0 done, 2 a usage or input error (message on standard error,
// nothing on standard output), 3 a routine this build does not implement.
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <optional>
#include <iostream>
#include <string>
#include <vector>

#include <unistd.h>

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include "call.hpp"
#include "json_input.hpp"
#include "report.hpp"
#include "velk/velk.h"

namespace {

using namespace velk::tool;
using namespace velk::analysis;

constexpr int input_error = 2;

// Reads a whole file ("-" for standard input); throws InputError.
std::string read_file(const std::string &path) {
    std::FILE *f = path == "-" ? stdin : std::fopen(path.c_str(), "rb");
    if (f == nullptr) throw InputError(std::string("cannot open: ") + std::strerror(errno));
    std::string text;
    char buf[65536];
    std::size_t got;
    while ((got = std::fread(buf, 1, sizeof buf, f)) > 0) text.append(buf, got);
    const bool failed = std::ferror(f) != 0;
    const int error = errno;
    if (f != stdin) std::fclose(f);
    if (failed) throw InputError(std::string("cannot read: ") + std::strerror(error));
    return text;
}

// Where the parser is, as a field path ("gas.pressure_kPa", "ducts[1]"), for
// the errors that the parser reports without one (a number beyond the double
// range).
class PathTracker {
public:
    bool operator()(int, nlohmann::json::parse_event_t event, nlohmann::json &parsed) {
        using E = nlohmann::json::parse_event_t;
        switch (event) {
            case E::object_start: frames_.push_back({false, "", 0}); break;
            case E::array_start: frames_.push_back({true, "", 0}); break;
            case E::key:
                if (!frames_.empty()) frames_.back().key = parsed.get<std::string>();
                break;
            case E::object_end:
            case E::array_end:
                if (!frames_.empty()) frames_.pop_back();
                advance();
                break;
            case E::value: advance(); break;
        }
        return true;
    }

    std::string path() const {
        std::string p;
        for (const Frame &f : frames_)
            p += f.array ? "[" + std::to_string(f.index) + "]" : (p.empty() ? "" : ".") + f.key;
        return p;
    }

private:
    struct Frame {
        bool array;
        std::string key;
        std::size_t index;
    };
    void advance() {
        if (!frames_.empty() && frames_.back().array) ++frames_.back().index;
    }
    std::vector<Frame> frames_;
};

nlohmann::json parse_json(const std::string &text) {
    PathTracker where;
    try {
        return nlohmann::json::parse(text, std::ref(where));
    } catch (const nlohmann::json::parse_error &e) {
        // "[json.exception.parse_error.101] parse error at line 3, column 5: ..."
        std::string what = e.what();
        const auto at = what.find("parse error ");
        if (at != what.npos) what = what.substr(at + 12);
        throw InputError("not valid JSON: " + what);
    } catch (const nlohmann::json::out_of_range &) {  // a number beyond the double range
        throw InputError(where.path() + " must be finite, not beyond the double range");
    } catch (const nlohmann::json::exception &e) {
        throw InputError(std::string("not valid JSON: ") + e.what());
    }
}

int budget(const std::string &file, const std::string &format) {
    const std::string source = file.empty() ? "built-in example" : file;
    std::string report;
    try {
        const Input in = read_input(parse_json(file.empty() ? example_text() : read_file(file)));
        const Budget b = compute(in);
        report = format == "csv"    ? csv_report(b)
                 : format == "json" ? json_report(b)
                                    : table_report(b);
    } catch (const InputError &e) {
        std::cerr << "velk budget: " << source << ": " << e.what() << '\n';
        return input_error;
    }
    std::cout << report;
    return 0;
}

// A progress bar on standard error, drawn only when it is a terminal.
class Progress {
public:
    Progress() : on_(isatty(STDERR_FILENO) != 0) {}
    void operator()(std::size_t done, std::size_t total) {
        if (!on_) return;
        const std::size_t width = 40, filled = done * width / total;
        if (filled == shown_ && done != total) return;
        shown_ = filled;
        std::cerr << "\rMonte Carlo [" << std::string(filled, '#') << std::string(width - filled, ' ')
                  << "] " << done << "/" << total << (done == total ? "\n" : "") << std::flush;
    }

private:
    bool on_;
    std::size_t shown_ = static_cast<std::size_t>(-1);
};

int reduce(const std::string &file, const std::string &format, std::size_t trials,
           std::uint64_t seed) {
    const std::string source = file.empty() ? "built-in example" : file;
    std::string report;
    try {
        const ReduceInput in =
            read_reduce_input(parse_json(file.empty() ? reduce_example_text() : read_file(file)));
        const Reduction r = velk::analysis::reduce(in);
        const std::vector<Uncertain> u = propagate(in, r);
        std::optional<MonteCarlo> mc;
        if (trials > 0) {
            Progress bar;
            mc = monte_carlo(in, r, trials, seed, std::ref(bar));
        }
        const ReduceReport rep{in, r, u, mc};
        report = format == "csv"    ? csv_report(rep)
                 : format == "json" ? json_report(rep)
                                    : table_report(rep);
    } catch (const InputError &e) {
        std::cerr << "velk reduce: " << source << ": " << e.what() << '\n';
        return input_error;
    }
    std::cout << report;
    return 0;
}

}  // namespace

int main(int argc, char **argv) {
    CLI::App app{"velk: model corrections of a gas-filled spherical copper resonator"};
    app.require_subcommand(1, 1);
    app.set_version_flag("--version", std::string("velk ") + VELK_VERSION_STRING,
                         "Print the version of the tool and the library");

    std::string file, format = "table";
    CLI::App *budget_cmd = app.add_subcommand(
        "budget", "Correction budget of the radial acoustic modes and the TM1n microwave modes");
    budget_cmd->add_option("FILE", file,
                           "JSON description of gas, resonator and measurement "
                           "(- for standard input; default: the built-in example)");
    budget_cmd->add_option("--format", format, "table (default), csv or json")
        ->check(CLI::IsMember({"table", "csv", "json"}));

    std::string rfile, rformat = "table";
    std::size_t trials = 0;
    std::uint64_t seed = 1;
    CLI::App *reduce_cmd = app.add_subcommand(
        "reduce", "From measured resonances to the radius, the speeds of sound, the isotherm and "
                  "the temperature, with the uncertainty budget");
    reduce_cmd->add_option("FILE", rfile,
                           "JSON description of the measurement (- for standard input; default: "
                           "the built-in example, velk example reduce)");
    reduce_cmd->add_option("--format", rformat, "table (default), csv or json")
        ->check(CLI::IsMember({"table", "csv", "json"}));
    reduce_cmd->add_option("--monte-carlo", trials,
                           "also propagate the input distributions with N Monte Carlo trials")
        ->check(CLI::Range(std::size_t{1}, std::size_t{10000000}));
    reduce_cmd->add_option("--seed", seed, "seed of the Monte Carlo generator (default 1)");

    std::string which = "budget";
    CLI::App *example_cmd =
        app.add_subcommand("example", "Print a built-in example's input (JSON)");
    example_cmd->add_option("WHICH", which, "budget (default) or reduce")
        ->check(CLI::IsMember({"budget", "reduce"}));

    std::string name;
    CLI::App *call_cmd = app.add_subcommand("call",
                                            "Evaluate an export: integers for int32 arguments, "
                                            "re,im for complex ones, comma lists for arrays");
    call_cmd->add_option("NAME", name, "export name (velk list shows them)")->required();
    call_cmd->prefix_command();  // the arguments may be negative numbers, -inf, ...
    call_cmd->footer(
        "ARG...: the routine's input arguments in the order that velk list shows; "
        "the tool supplies out arguments and the result area.");

    app.add_subcommand("list", "List every export with its arguments and units");

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp &e) {
        return app.exit(e);
    } catch (const CLI::CallForVersion &e) {
        return app.exit(e);
    } catch (const CLI::ParseError &e) {
        std::cerr << "velk: " << e.what() << " (velk --help shows the usage)\n";
        return input_error;
    }

    int status = 0;
    if (budget_cmd->parsed()) {
        status = budget(file, format);
    } else if (reduce_cmd->parsed()) {
        status = reduce(rfile, rformat, trials, seed);
    } else if (call_cmd->parsed()) {
        status = run_call(name, call_cmd->remaining(), std::cout, std::cerr);
    } else if (app.got_subcommand("list")) {
        status = run_list(std::cout);
    } else if (example_cmd->parsed()) {
        std::cout << (which == "reduce" ? reduce_example_text() : example_text());
    }
    if (!std::cout.flush()) {
        std::cerr << "velk: cannot write to standard output\n";
        return 1;
    }
    return status;
}
