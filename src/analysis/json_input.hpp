// The JSON adapter of the analysis layer: reads an input document into the
// plain input structs and checks it; throws InputError naming the field.
#pragma once

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "budget.hpp"
#include "reduce.hpp"

namespace velk::analysis {

Input read_input(const nlohmann::json &doc);
ReduceInput read_reduce_input(const nlohmann::json &doc);

namespace json_input {
// Parts shared by the two documents.  The resonator's radius is read only
// when `radius` is true; a radius of 0 marks it as absent.
Resonator read_resonator(const nlohmann::json &j, Uncertainties *u, bool radius);
std::vector<Duct> read_ducts(const nlohmann::json *j, double a, Uncertainties *u);
std::vector<Microphone> read_mics(const nlohmann::json *j, double a, Uncertainties *u);
}  // namespace json_input

}  // namespace velk::analysis
