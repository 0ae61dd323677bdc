// The compiled core of the Python package velk: the library's C++ interface
// (velk.hpp) over flat NumPy arrays, and the budget and the reduction of the
// analysis layer as JSON in, JSON out.
//
// The Python layer (velk/_routines.py) checks the types, broadcasts the
// arguments and hands every kernel here C-contiguous 1-D arrays of one length
// and the exact dtypes below (float64, int32, complex128, complex64); a kernel
// that gets anything else raises TypeError (no silent casts) and arrays of
// different lengths raise ValueError.  The loops run with the GIL released
// and call the same functions as the C exports, so every element has the
// bits of the export.  Where the library has a batch routine (Bessel
// functions of one order over many arguments, a duct over many frequencies or
// modes) the kernel uses it.
#include <array>
#include <complex>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include <pybind11/complex.h>
#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include <nlohmann/json.hpp>

#include "json_input.hpp"
#include "report.hpp"
#include "velk/velk.h"
#include "velk/velk.hpp"

namespace py = pybind11;

namespace {

template <class T>
using Arr = py::array_t<T, py::array::c_style>;
using D = Arr<double>;
using I = Arr<std::int32_t>;
using Z = Arr<std::complex<double>>;
using Zf = Arr<std::complex<float>>;

template <class... A>
py::ssize_t common_size(const Arr<A> &...in) {
    const py::ssize_t sizes[] = {in.size()...};
    for (const py::array *a : {static_cast<const py::array *>(&in)...})
        if (a->ndim() != 1) throw py::value_error("kernel arguments must be 1-D");
    for (py::ssize_t s : sizes)
        if (s != sizes[0]) throw py::value_error("kernel arguments differ in length");
    return sizes[0];
}

// out[k] = f(in[k]...) for every k, without the GIL.
template <class R, class F, class... A>
Arr<R> map(F f, const Arr<A> &...in) {
    const py::ssize_t n = common_size(in...);
    Arr<R> out(n);
    R *o = out.mutable_data();
    const std::tuple<const A *...> p{in.data()...};
    {
        py::gil_scoped_release nogil;
        [&]<std::size_t... K>(std::index_sequence<K...>) {
            for (py::ssize_t i = 0; i < n; ++i) o[i] = f(std::get<K>(p)[i]...);
        }(std::index_sequence_for<A...>{});
    }
    return out;
}

// The same for a function with two results (a struct {x, y}).
template <class F, class... A>
py::tuple map2(F f, const Arr<A> &...in) {
    const py::ssize_t n = common_size(in...);
    D x(n), y(n);
    double *ox = x.mutable_data(), *oy = y.mutable_data();
    const std::tuple<const A *...> p{in.data()...};
    {
        py::gil_scoped_release nogil;
        [&]<std::size_t... K>(std::index_sequence<K...>) {
            for (py::ssize_t i = 0; i < n; ++i) {
                const auto r = f(std::get<K>(p)[i]...);
                ox[i] = std::get<0>(r);
                oy[i] = std::get<1>(r);
            }
        }(std::index_sequence_for<A...>{});
    }
    return py::make_tuple(x, y);
}

std::pair<double, double> pair(velk::Perturbation p) { return {p.df, p.g}; }
std::pair<double, double> pair(velk::Deformation d) { return {d.eps1, d.eps2}; }

// ---- Bessel functions ------------------------------------------------------

Z besselj_one_order(std::int32_t n, const Z &z) {
    Z out(z.size());
    std::span<const velk::complex> in(z.data(), static_cast<std::size_t>(z.size()));
    std::span<velk::complex> o(out.mutable_data(), in.size());
    py::gil_scoped_release nogil;
    velk::besselj(n, in, o);
    return out;
}

// ---- Ducts -------------------------------------------------------------------

struct Chain {
    std::span<const double> r, l;
};

Chain chain(const D &rduct, const D &lduct) {
    if (rduct.ndim() != 1 || lduct.ndim() != 1 || rduct.size() != lduct.size())
        throw py::value_error("rduct and lduct must be 1-D arrays of one length");
    return {{rduct.data(), static_cast<std::size_t>(rduct.size())},
            {lduct.data(), static_cast<std::size_t>(lduct.size())}};
}

py::tuple split(const std::vector<velk::Perturbation> &v) {
    D x(static_cast<py::ssize_t>(v.size())), y(static_cast<py::ssize_t>(v.size()));
    for (std::size_t i = 0; i < v.size(); ++i) {
        x.mutable_data()[i] = v[i].df;
        y.mutable_data()[i] = v[i].g;
    }
    return py::make_tuple(x, y);
}

py::tuple ducts(const D &rduct, const D &lduct, const D &rho, const D &cp, const D &c,
                const D &gamma, const D &kappa, const D &eta, const D &a, const D &f,
                const I &n) {
    const Chain ch = chain(rduct, lduct);
    return map2(
        [ch](double rho, double cp, double c, double gamma, double kappa, double eta, double a,
             double f, std::int32_t n) {
            return pair(velk::duct_perturbation(ch.r, ch.l, {rho, cp, c, gamma, kappa, eta}, a, f, n));
        },
        rho, cp, c, gamma, kappa, eta, a, f, n);
}

// One gas and radius, many frequencies or many modes: the batch routines.
py::tuple ducts_over_f(const D &rduct, const D &lduct, double rho, double cp, double c,
                       double gamma, double kappa, double eta, double a, const D &f,
                       std::int32_t n) {
    const Chain ch = chain(rduct, lduct);
    std::vector<velk::Perturbation> out(static_cast<std::size_t>(f.size()));
    {
        py::gil_scoped_release nogil;
        velk::duct_perturbation(ch.r, ch.l, {rho, cp, c, gamma, kappa, eta}, a,
                                std::span<const double>(f.data(), out.size()), n, out);
    }
    return split(out);
}

py::tuple ducts_over_n(const D &rduct, const D &lduct, double rho, double cp, double c,
                       double gamma, double kappa, double eta, double a, double f, const I &n) {
    const Chain ch = chain(rduct, lduct);
    std::vector<velk::Perturbation> out(static_cast<std::size_t>(n.size()));
    {
        py::gil_scoped_release nogil;
        velk::duct_perturbation(ch.r, ch.l, {rho, cp, c, gamma, kappa, eta}, a, f,
                                std::span<const std::int32_t>(n.data(), out.size()), out);
    }
    return split(out);
}

// ---- Budget and reduction ------------------------------------------------------

nlohmann::json parse(const std::string &text) {
    try {
        return nlohmann::json::parse(text);
    } catch (const nlohmann::json::exception &e) {
        std::string what = e.what();
        const auto at = what.find("parse error ");
        if (at != what.npos) what = what.substr(at + 12);
        throw velk::analysis::InputError("not valid JSON: " + what);
    }
}

std::string budget_json(const std::string &text) {
    const auto doc = parse(text);
    py::gil_scoped_release nogil;
    return velk::tool::json_report(velk::analysis::compute(velk::analysis::read_input(doc)));
}

std::string reduce_json(const std::string &text, std::size_t trials, std::uint64_t seed) {
    using namespace velk::analysis;
    const auto doc = parse(text);
    py::gil_scoped_release nogil;
    const ReduceInput in = read_reduce_input(doc);
    const Reduction r = reduce(in);
    const std::vector<Uncertain> u = propagate(in, r);
    std::optional<MonteCarlo> mc;
    if (trials > 0) mc = monte_carlo(in, r, trials, seed);
    return velk::tool::json_report(velk::tool::ReduceReport{in, r, u, mc});
}

}  // namespace

PYBIND11_MODULE(_velk, m) {
    m.doc() = "velk's compiled kernels; use the package velk.";
    m.attr("version") = VELK_VERSION_STRING;
    py::register_exception<velk::analysis::InputError>(m, "InputError", PyExc_ValueError);

    // Ideal resonator
    m.def("equal_volume_radius", [](const D &a1, const D &a2, const D &a3) {
        return map<double>(velk::equal_volume_radius, a1, a2, a3);
    });
    m.def("ideal_frequency", [](const I &n, const D &c, const D &a) {
        return map<double>([](std::int32_t n, double c, double a) { return velk::ideal_frequency(n, c, a); }, n, c, a);
    });
    m.def("cpowi", [](const Zf &z, const I &n) {
        return map<std::complex<float>>(velk::cpowi, z, n);
    });

    // Bessel functions
    m.def("besselj", [](const I &n, const Z &z) {
        return map<std::complex<double>>(
            [](std::int32_t n, std::complex<double> z) { return velk::besselj(n, z); }, n, z);
    });
    m.def("besselj_one_order", besselj_one_order);
    m.def("normbesselj", [](const I &n, const Z &z, const I &nstart, const Z &seed) {
        return map<std::complex<double>>(velk::normbesselj, n, z, nstart, seed);
    });
    m.def("boundary_layer_function", [](const Z &z) {
        Z out(z.size());
        std::span<const velk::complex> in(z.data(), static_cast<std::size_t>(z.size()));
        std::span<velk::complex> o(out.mutable_data(), in.size());
        py::gil_scoped_release nogil;
        velk::boundary_layer_function(in, o);
        return out;
    });

    // Triplets and shape
    m.def("sort_frequencies", [](const D &fa, const D &fb, const D &fc) {
        const py::ssize_t n = common_size(fa, fb, fc);
        Arr<double> f({n, py::ssize_t{3}});
        I count(n);
        const double *a = fa.data(), *b = fb.data(), *c = fc.data();
        double *of = f.mutable_data();
        std::int32_t *oc = count.mutable_data();
        {
            py::gil_scoped_release nogil;
            for (py::ssize_t i = 0; i < n; ++i) {
                const auto s = velk::sort_frequencies(a[i], b[i], c[i]);
                for (int k = 0; k < 3; ++k) of[3 * i + k] = s.f[k];
                oc[i] = s.count;
            }
        }
        return py::make_tuple(f, count);
    });
    m.def("te_family_factor", [](const D &z) { return map<double>(velk::te_family_factor, z); });
    m.def("tm_family_factor", [](const D &z) { return map<double>(velk::tm_family_factor, z); });
    m.def("deformation_te1n", [](const D &fa, const D &fb, const D &fc, const I &n) {
        return map2([](double a, double b, double c, std::int32_t n) { return pair(velk::deformation_te1n(a, b, c, n)); }, fa, fb, fc, n);
    });
    m.def("deformation_tm1n", [](const D &fa, const D &fb, const D &fc, const I &n) {
        return map2([](double a, double b, double c, std::int32_t n) { return pair(velk::deformation_tm1n(a, b, c, n)); }, fa, fb, fc, n);
    });
    m.def("second_order_te1n", [](const D &e1, const D &e2, const I &n) {
        return map<float>([](double e1, double e2, std::int32_t n) { return velk::second_order_te1n(e1, e2, n); }, e1, e2, n);
    });
    m.def("second_order_tm1n", [](const D &e1, const D &e2, const I &n) {
        return map<float>([](double e1, double e2, std::int32_t n) { return velk::second_order_tm1n(e1, e2, n); }, e1, e2, n);
    });
    m.def("second_order_ac", [](const D &e1, const D &e2, const I &n) {
        return map<float>([](double e1, double e2, std::int32_t n) { return velk::second_order_ac(e1, e2, n); }, e1, e2, n);
    });

    // Microwave corrections
    m.def("skin_depth", [](const D &x1, const D &x2, const D &x3) {
        return map<double>([](double a, double b, double c) { return velk::skin_depth(a, b, c); }, x1, x2, x3);
    });
    m.def("skin_perturbation_te", [](const D &dsk, const D &a) {
        return map2([](double d, double a) { return pair(velk::skin_perturbation_te(d, a)); }, dsk, a);
    });
    m.def("skin_perturbation_tm1n", [](const D &dsk, const D &a, const I &n) {
        return map2([](double d, double a, std::int32_t n) { return pair(velk::skin_perturbation_tm1n(d, a, n)); }, dsk, a, n);
    });
    m.def("cube_shift_te", [](const D &r, const D &a) {
        return map<double>([](double r, double a) { return velk::cube_shift_te(r, a); }, r, a);
    });
    m.def("cube_shift_tm1n", [](const D &r, const D &a, const I &n) {
        return map<double>([](double r, double a, std::int32_t n) { return velk::cube_shift_tm1n(r, a, n); }, r, a, n);
    });

    // Boundary layers and thermal terms
    m.def("viscous_penetration", [](const D &eta, const D &rho, const D &f) {
        return map<double>([](double e, double r, double f) { return velk::viscous_penetration(e, r, f); }, eta, rho, f);
    });
    m.def("thermal_penetration", [](const D &kappa, const D &rho, const D &cp, const D &f) {
        return map<double>([](double k, double r, double c, double f) { return velk::thermal_penetration(k, r, c, f); }, kappa, rho, cp, f);
    });
    m.def("accommodation_length", [](const D &t, const D &p, const D &cv, const D &kappa, const D &mw, const D &h) {
        return map<double>([](double t, double p, double cv, double k, double mw, double h) {
            return velk::accommodation_length(t, p, cv, k, mw, h);
        }, t, p, cv, kappa, mw, h);
    });
    m.def("thermal_halfwidth", [](const D &g, const D &a, const D &dt) { return map<double>(velk::thermal_halfwidth, g, a, dt); });
    m.def("thermal_shift", [](const D &g, const D &a, const D &dt) { return map<double>(velk::thermal_shift, g, a, dt); });
    m.def("thermal_second_order", [](const D &g, const D &a, const D &dt) { return map<double>(velk::thermal_second_order, g, a, dt); });
    m.def("accommodation_shift", [](const D &g, const D &a, const D &lt) { return map<float>(velk::accommodation_shift, g, a, lt); });
    m.def("thermal_shift_hz", [](const D &g, const D &dt, const D &dcu, const D &lt, const D &k, const D &kcu, const D &a, const D &f) {
        return map<double>(velk::thermal_shift_hz, g, dt, dcu, lt, k, kcu, a, f);
    });
    m.def("thermal_halfwidth_hz", [](const D &g, const D &dt, const D &dcu, const D &k, const D &kcu, const D &a, const D &f) {
        return map<double>(velk::thermal_halfwidth_hz, g, dt, dcu, k, kcu, a, f);
    });

    // Bulk, microphone, copper
    m.def("bulk_halfwidth", [](const D &c, const D &g, const D &dv, const D &dt, const D &f) {
        return map<double>([](double c, double g, double dv, double dt, double f) { return velk::bulk_halfwidth(c, g, dv, dt, f); }, c, g, dv, dt, f);
    });
    m.def("mic_shift", [](const D &r, const D &a, const D &rho, const D &c) { return map<double>(velk::mic_shift, r, a, rho, c); });
    m.def("copper_conductivity", [](const D &t, const D &rrr) { return map<double>(velk::copper_conductivity, t, rrr); });
    m.def("copper_heat_capacity", [](const D &t) { return map<double>(velk::copper_heat_capacity, t); });
    m.def("shell_halfwidth", [](const D &g, const D &a, const D &dcu, const D &k, const D &kcu) {
        return map<double>(velk::shell_halfwidth, g, a, dcu, k, kcu);
    });
    m.def("shell_shift", [](const D &g, const D &a, const D &dcu, const D &k, const D &kcu) {
        return map<float>(velk::shell_shift, g, a, dcu, k, kcu);
    });

    // Ducts
    m.def("duct_perturbation", ducts);
    m.def("duct_perturbation_over_f", ducts_over_f);
    m.def("duct_perturbation_over_n", ducts_over_n);

    // Budget and reduction: the tool's JSON input and output documents.
    m.def("budget_json", budget_json);
    m.def("reduce_json", reduce_json, py::arg("text"), py::arg("trials") = 0, py::arg("seed") = 1);
    m.def("example", [](const std::string &which) {
        if (which == "budget") return velk::tool::example_text();
        if (which == "reduce") return velk::tool::reduce_example_text();
        throw py::value_error("example must be 'budget' or 'reduce'");
    });
}
