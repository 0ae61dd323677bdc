// velk call and velk list.  Every parameter of the called routine gets its
// own storage slot here; the slots' addresses go to dispatch::call, which
// calls the routine through a pointer of its declared type.
#include "call.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <deque>
#include <limits>
#include <optional>
#include <ostream>
#include <sstream>
#include <stdexcept>

#include "frame/dispatch.hpp"
#include "numbers.hpp"
#include "shape/shape.hpp"

namespace velk::tool {
namespace {

using dispatch::Arg;
using dispatch::Export;
using dispatch::Kind;
using dispatch::Param;
using dispatch::Result;

constexpr double quiet_nan = std::numeric_limits<double>::quiet_NaN();

// A mistake of the caller: wrong name, count or argument text (status 2).
struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// A row without an address in this build (status 3), found once the
// arguments have been read.

// Outputs and the hidden result area are not given on the command line.
bool is_input(Arg a) { return a != Arg::od && a != Arg::oz && a != Arg::oC && a != Arg::desc; }

std::vector<std::string_view> split(std::string_view s) {
    std::vector<std::string_view> parts;
    if (s.empty()) return parts;
    for (;;) {
        const auto comma = s.find(',');
        parts.push_back(s.substr(0, comma));
        if (comma == s.npos) return parts;
        s.remove_prefix(comma + 1);
    }
}

std::string unit_text(const Param &p) {
    switch (p.type) {
        case Arg::i: return "int32";
        case Arg::vi: return "int32, by value";
        case Arg::vf: return "float, by value";
        case Arg::z:
        case Arg::oz: return "complex re,im";
        case Arg::C:
        case Arg::oC: return "Constants: rgas";
        case Arg::desc: return "3 doubles";
        case Arg::d2: return p.unit == "-" ? "2 values" : p.unit + ", 2 values";
        case Arg::dN: return p.unit + ", nduct values";
        case Arg::x: return p.unit + ", never read; null allowed";
        default: return p.unit == "-" ? "" : p.unit;
    }
}

std::string param_text(const Param &p) {
    const std::string unit = unit_text(p);
    return unit.empty() ? p.name : p.name + " [" + unit + "]";
}

std::string input_names(const Export &row) {
    std::string names;
    for (const Param &p : row.params)
        if (is_input(p.type)) names += (names.empty() ? "" : " ") + p.name;
    return names;
}

std::string result_text(const Export &row) {
    switch (row.result) {
        case Result::real: return "double";
        case Result::single: return "single";
        case Result::complex: return "complex";
        case Result::none: return "none";
        case Result::csingle: return "single complex";
        case Result::data: return row.kind == Kind::rodata ? "read-only data" : "data";
    }
    return "";
}

// Parses one argument text; `what` names it in messages.
double need_double(std::string_view text, const std::string &what) {
    if (auto v = parse_double(text)) return *v;
    throw UsageError(what + ": '" + std::string(text) + "' is not a number");
}

std::vector<double> need_list(std::string_view text, const std::string &what) {
    std::vector<double> values;
    for (std::string_view part : split(text)) values.push_back(need_double(part, what));
    return values;
}

// The storage of one call; deques keep the addresses stable.
struct Slots {
    std::deque<double> doubles;
    std::deque<std::int32_t> ints;
    std::deque<velk_complex> complexes;
    std::deque<std::vector<double>> arrays;
    std::deque<Constants> records;
    std::deque<velk_descriptor> descriptors;
    std::deque<std::array<double, 3>> sorted;
    std::vector<void *> addresses;
};

void fill_slots(const Export &row, const std::vector<std::string> &args, Slots &s) {
    std::size_t next = 0;
    std::optional<std::int32_t> nduct;
    std::vector<std::pair<const Param *, const std::vector<double> *>> lists;
    for (const Param &p : row.params) {
        const std::string what = "argument " + p.name + " of " + std::string(row.name);
        const std::string_view text = is_input(p.type) ? std::string_view(args[next++]) : "";
        switch (p.type) {
            case Arg::d:
                s.addresses.push_back(&s.doubles.emplace_back(need_double(text, what)));
                break;
            case Arg::x:
                s.addresses.push_back(
                    text == "null" ? nullptr : &s.doubles.emplace_back(need_double(text, what)));
                break;
            case Arg::i: {
                const auto v = parse_int32(text);
                if (!v)
                    throw UsageError(what + ": '" + std::string(text) +
                                     "' is not an int32 integer");
                if (p.name == "nduct") nduct = *v;
                s.addresses.push_back(&s.ints.emplace_back(*v));
                break;
            }
            case Arg::z: {
                const std::vector<double> v = need_list(text, what);
                if (v.size() != 2)
                    throw UsageError(what + ": '" + std::string(text) +
                                     "' is not a complex number re,im");
                s.addresses.push_back(&s.complexes.emplace_back(velk_complex{v[0], v[1]}));
                break;
            }
            case Arg::d2: {
                std::vector<double> &v = s.arrays.emplace_back(need_list(text, what));
                if (v.size() != 2)
                    throw UsageError(what + ": '" + std::string(text) +
                                     "' is not a list of 2 numbers");
                s.addresses.push_back(v.data());
                break;
            }
            case Arg::dN: {
                std::vector<double> &v = s.arrays.emplace_back(need_list(text, what));
                lists.emplace_back(&p, &v);
                v.reserve(1);  // a valid address also for an empty list
                s.addresses.push_back(v.data());
                break;
            }
            case Arg::C:
                s.addresses.push_back(&s.records.emplace_back(Constants{need_double(text, what)}));
                break;
            case Arg::od: s.addresses.push_back(&s.doubles.emplace_back(quiet_nan)); break;
            case Arg::oz:
                s.addresses.push_back(
                    &s.complexes.emplace_back(velk_complex{quiet_nan, quiet_nan}));
                break;
            case Arg::oC:
                s.addresses.push_back(&s.records.emplace_back(Constants{quiet_nan}));
                break;
            case Arg::desc: {
                std::array<double, 3> &out = s.sorted.emplace_back();
                out.fill(quiet_nan);
                s.addresses.push_back(
                    &s.descriptors.emplace_back(velk::shape::triplet_descriptor(out.data())));
                break;
            }
            case Arg::vf:
            case Arg::vi: break;  // by value: not this path
        }
    }
    // The routine reads nduct elements of each array: never more than given.
    for (const auto &[p, v] : lists) {
        if (!nduct) throw std::logic_error("export table: array without nduct");
        if (*nduct > 0 && static_cast<std::size_t>(*nduct) > v->size())
            throw UsageError("argument " + p->name + " of " + std::string(row.name) + " has " +
                             std::to_string(v->size()) + (v->size() == 1 ? " value" : " values") +
                             ", nduct is " + std::to_string(*nduct));
    }
}

std::string join(const double *v, std::size_t n) {
    std::string s;
    for (std::size_t k = 0; k < n; ++k) {
        if (k) s += ',';
        s += round_trip(v[k]);
    }
    return s;
}

std::string complex_text(double re, double im) { return round_trip(re) + "," + round_trip(im); }

std::string call_routine(const Export &row, const std::vector<std::string> &args) {
    std::ostringstream out;
    if (row.result == Result::csingle) {  // the by-value complex power
        const std::string what = "argument ";
        const auto re = parse_float(args[0]), im = parse_float(args[1]);
        const auto n = parse_int32(args[2]);
        if (!re)
            throw UsageError(what + row.params[0].name + ": '" + args[0] + "' is not a number");
        if (!im)
            throw UsageError(what + row.params[1].name + ": '" + args[1] + "' is not a number");
        if (!n)
            throw UsageError(what + row.params[2].name + ": '" + args[2] +
                             "' is not an int32 integer");
        const std::uint64_t bits = dispatch::call_cpowi(row.address, *re, *im, *n);
        float parts[2];
        const std::uint32_t lo = static_cast<std::uint32_t>(bits),
                            hi = static_cast<std::uint32_t>(bits >> 32);
        std::memcpy(&parts[0], &lo, 4);
        std::memcpy(&parts[1], &hi, 4);
        out << row.name << " = " << complex_text(parts[0], parts[1]) << '\n';
        return out.str();
    }
    Slots s;
    fill_slots(row, args, s);
    const dispatch::Value v = dispatch::call(row, row.address, s.addresses);
    switch (row.result) {
        case Result::real: out << row.name << " = " << round_trip(v.real) << '\n'; break;
        case Result::single: out << row.name << " = " << round_trip(v.single) << '\n'; break;
        case Result::complex:
            out << row.name << " = " << complex_text(v.cplx.re, v.cplx.im) << '\n';
            break;
        default: break;
    }
    for (std::size_t k = 0; k < row.params.size(); ++k) {
        const Param &p = row.params[k];
        const void *a = s.addresses[k];
        if (p.type == Arg::od)
            out << p.name << " = " << round_trip(*static_cast<const double *>(a)) << '\n';
        if (p.type == Arg::oC)
            out << p.name << ".rgas = " << round_trip(static_cast<const Constants *>(a)->rgas)
                << '\n';
        if (p.type == Arg::desc)
            out << p.name << " = " << join(static_cast<const velk_descriptor *>(a)->base, 3)
                << '\n';
    }
    return out.str();
}

std::string show_datum(const Export &row) {
    std::ostringstream out;
    const std::string_view shape = row.spec;
    if (shape == "double") {
        out << row.name << " = " << round_trip(*static_cast<const double *>(row.address)) << '\n';
    } else if (shape.starts_with("double[")) {
        const auto n = parse_int32(shape.substr(7, shape.size() - 8));
        if (!n || *n < 1) throw std::logic_error("export table: bad datum shape");
        out << row.name << " = "
            << join(static_cast<const double *>(row.address), static_cast<std::size_t>(*n)) << '\n';
    } else if (shape == "Constants") {
        out << row.name
            << ".rgas = " << round_trip(static_cast<const Constants *>(row.address)->rgas) << '\n';
    } else if (shape == "velk_vtab") {
        const auto *t = static_cast<const velk_vtab *>(row.address);
        out << row.name << ".hash = " << t->hash << '\n'
            << row.name << ".size = " << t->size << '\n';
    } else {
        throw std::logic_error("export table: unknown datum shape");
    }
    return out.str();
}

}  // namespace

int run_list(std::ostream &out) {
    out << "ord  export                                result           arguments [unit] -> "
           "outputs\n";
    for (const Export &row : dispatch::table()) {
        std::string name(row.name);
        name.resize(std::max<std::size_t>(name.size(), 37), ' ');
        std::string result = result_text(row);
        result.resize(std::max<std::size_t>(result.size(), 16), ' ');
        std::string args, outs;
        if (row.kind == Kind::routine) {
            for (const Param &p : row.params) {
                if (p.type == Arg::oz) continue;  // the function value
                std::string &list = is_input(p.type) ? args : outs;
                list += (list.empty() ? "" : ", ") + param_text(p);
            }
        } else {
            args = std::string(row.spec);
        }
        char ord[8];
        std::snprintf(ord, sizeof ord, "%3d", row.ordinal);
        out << ord << "  " << name << ' ' << result << ' ' << args;
        if (!outs.empty()) out << " -> " << outs;
        out << '\n';
    }
    out << "Units: mm, m, Hz, ...; 1 a dimensionless quantity; complex arguments as re,im,\n"
           "arrays as comma lists.  velk call NAME ARG... evaluates one export.\n";
    return 0;
}

int run_call(std::string_view name, const std::vector<std::string> &args, std::ostream &out,
             std::ostream &err) {
    const Export *row = dispatch::find(name);
    try {
        if (row == nullptr)
            throw UsageError("no export named '" + std::string(name) +
                             "' (velk list shows them all)");
        const std::size_t wanted = row->kind == Kind::routine
                                       ? static_cast<std::size_t>(std::count_if(
                                             row->params.begin(), row->params.end(),
                                             [](const Param &p) { return is_input(p.type); }))
                                       : 0;
        if (args.size() != wanted) {
            if (row->kind != Kind::routine)
                throw UsageError(std::string(name) + " is data and takes no arguments");
            throw UsageError(std::string(name) + " takes " + std::to_string(wanted) + " argument" +
                             (wanted == 1 ? "" : "s") +
                             (wanted ? " (" + input_names(*row) + ")" : "") + ", " +
                             std::to_string(args.size()) + " given");
        }
        const std::string text =
            row->kind == Kind::routine ? call_routine(*row, args) : show_datum(*row);
        out << text;
        return 0;
    } catch (const UsageError &e) {
        err << "velk call: " << e.what() << '\n';
        return 2;
    }
}

}  // namespace velk::tool
