// Standard uncertainties of inputs and their propagation by sensitivity
// coefficients (GUM, law of propagation for uncorrelated inputs).
//
// An input with an uncertainty is named by its field path, the same path that
// the JSON input and the error messages use ("gas.viscosity_Pa_s",
// "ducts[0].sections[1].length_mm").  Each input type has a visitor that
// hands every numeric field to a callback with its path; the propagation
// copies the input, moves one field up and down by a step h and runs the
// whole computation again.  The contribution of input i to output y is the
// central difference c_i u_i = (y(x_i + h) - y(x_i - h)) / (2 h) * u_i, with
// h = min(u_i, 0.01 |x_i|): small enough to stay linear and inside the
// models' range, large enough that the differences stay far above the
// rounding of the single-precision routines and the iterations' tolerance.
#pragma once

#include <cmath>
#include <cstddef>
#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace velk::analysis {

// Input that cannot be used; the message names the field.
struct InputError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Field path -> absolute standard uncertainty (zero entries are left out).
using Uncertainties = std::map<std::string, double>;

using FieldVisitor = std::function<void(const std::string &path, double &value)>;

inline double difference_step(double x, double u) {
    const double cap = 0.01 * std::fabs(x);
    return cap > 0 && cap < u ? cap : u;
}

// One input's contribution c_i u_i to each output, in the order of `u`.
// `visit(in, f)` calls f on every numeric field of `in`; `outputs(in)` runs
// the computation.  Throws InputError for a path the input does not have.
template <class In, class Visit, class Outputs>
std::vector<std::vector<double>> contributions(const In &in, const Uncertainties &u, Visit visit,
                                               Outputs outputs) {
    std::vector<std::vector<double>> out;
    for (const auto &entry : u) {
        const std::string &path = entry.first;
        const double ui = entry.second;
        In up = in, down = in;
        double x = 0;
        bool found = false;
        visit(up, [&](const std::string &p, double &v) {
            if (p == path) x = v, found = true;
        });
        if (!found) throw InputError("an uncertainty is given for " + path + ", which is not an input");
        const double h = difference_step(x, ui);
        visit(up, [&](const std::string &p, double &v) { if (p == path) v = x + h; });
        visit(down, [&](const std::string &p, double &v) { if (p == path) v = x - h; });
        const std::vector<double> yu = outputs(up), yd = outputs(down);
        std::vector<double> c(yu.size());
        for (std::size_t k = 0; k < yu.size(); ++k) c[k] = (yu[k] - yd[k]) / (h + h) * ui;
        out.push_back(std::move(c));
    }
    return out;
}

}  // namespace velk::analysis
