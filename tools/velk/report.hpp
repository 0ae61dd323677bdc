// The reports of the tool: table (for reading), CSV and JSON (every value
// with round-trip precision) of a budget and of a reduction.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "budget.hpp"
#include "reduce.hpp"

namespace velk::tool {

std::string table_report(const analysis::Budget &b);
std::string csv_report(const analysis::Budget &b);
std::string json_report(const analysis::Budget &b);

// A reduction with the uncertainties of its results and, when run, the
// Monte Carlo check.
struct ReduceReport {
    const analysis::ReduceInput &in;
    const analysis::Reduction &r;
    const std::vector<analysis::Uncertain> &u;
    std::optional<analysis::MonteCarlo> mc;
};

std::string table_report(const ReduceReport &rep);
std::string csv_report(const ReduceReport &rep);
std::string json_report(const ReduceReport &rep);

// The built-in examples (their JSON text).
const std::string &example_text();
const std::string &reduce_example_text();

}  // namespace velk::tool
