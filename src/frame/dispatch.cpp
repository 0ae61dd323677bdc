// Table-driven calls of the exports (see dispatch.hpp).
#include "frame/dispatch.hpp"

#include <stdexcept>
#include <type_traits>
#include <utility>

namespace velk::dispatch {
namespace {

struct RawRow {
    int ordinal;
    const char *name;
    const char *kind;
    const char *result;
    const char *spec;
};

constexpr RawRow raw_rows[] = {
#define VELK_EXPORT(ord, name, kind, result, spec) {ord, #name, #kind, #result, spec},
#include "frame/export_table.inc"
#undef VELK_EXPORT
};

// The address of every export, in ordinal order.
void *const addresses[] = {
#define VELK_EXPORT(ord, name, kind, result, spec) (void *)&name,
#include "frame/export_table.inc"
#undef VELK_EXPORT
};

// Every call goes through a pointer of the routine's own type, taken from its
// declaration in velk.h: the addresses are converted back to the declared parameter
// types, and the call is exactly the one a C host makes.  Data rows and the
// by-value routine have no by-reference caller.
using Caller = Value (*)(void *fn, std::span<void *const> args);

template <class F>
struct Typed {
    static constexpr Caller caller = nullptr;
    static constexpr int arity = -1;
};

template <class R, class... P>
    requires(std::is_pointer_v<P> && ...)
struct Typed<R(VELK_CALL *)(P...)> {
    template <std::size_t... I>
    static R invoke(void *fn, std::span<void *const> args, std::index_sequence<I...>) {
        return reinterpret_cast<R(VELK_CALL *)(P...)>(fn)(static_cast<P>(args[I])...);
    }
    static Value call(void *fn, std::span<void *const> args) {
        Value v;
        constexpr auto seq = std::index_sequence_for<P...>{};
        if constexpr (std::is_void_v<R>) {
            invoke(fn, args, seq);
        } else if constexpr (std::is_same_v<R, double>) {
            v.real = invoke(fn, args, seq);
        } else if constexpr (std::is_same_v<R, float>) {
            v.single = invoke(fn, args, seq);
        } else {
            static_assert(std::is_same_v<R, velk_complex *>);
            v.pointer = invoke(fn, args, seq);
            v.cplx = *static_cast<const velk_complex *>(args[0]);
        }
        return v;
    }
    static constexpr Caller caller = &call;
    static constexpr int arity = sizeof...(P);
};

struct TypedRow {
    Caller caller;
    int arity;
};

constexpr TypedRow typed_rows[] = {
#define VELK_EXPORT(ord, name, kind, result, spec) \
    {Typed<decltype(&name)>::caller, Typed<decltype(&name)>::arity},
#include "frame/export_table.inc"
#undef VELK_EXPORT
};

Kind parse_kind(std::string_view s) {
    if (s == "routine") return Kind::routine;
    if (s == "data") return Kind::data;
    if (s == "rodata") return Kind::rodata;
    throw std::logic_error("export table: bad kind");
}

Result parse_result(std::string_view s) {
    if (s == "double") return Result::real;
    if (s == "single") return Result::single;
    if (s == "complex") return Result::complex;
    if (s == "none") return Result::none;
    if (s == "csingle") return Result::csingle;
    if (s == "data") return Result::data;
    throw std::logic_error("export table: bad result");
}

Arg parse_arg(std::string_view s) {
    static constexpr std::pair<std::string_view, Arg> names[] = {
        {"d", Arg::d},   {"i", Arg::i},   {"z", Arg::z},   {"d2", Arg::d2}, {"dN", Arg::dN},
        {"x", Arg::x},   {"od", Arg::od}, {"oz", Arg::oz}, {"C", Arg::C},   {"oC", Arg::oC},
        {"desc", Arg::desc}, {"vf", Arg::vf}, {"vi", Arg::vi},
    };
    for (const auto &[n, a] : names)
        if (n == s) return a;
    throw std::logic_error("export table: bad argument type");
}

std::vector<Param> parse_params(std::string_view spec) {
    std::vector<Param> out;
    while (!spec.empty()) {
        const auto end = spec.find(' ');
        const std::string_view tok = spec.substr(0, end);
        // type:name:unit, then optional attributes, each after a colon.
        std::vector<std::string_view> parts;
        for (std::string_view rest = tok;;) {
            const auto colon = rest.find(':');
            parts.push_back(rest.substr(0, colon));
            if (colon == rest.npos) break;
            rest.remove_prefix(colon + 1);
        }
        if (parts.size() < 3) throw std::logic_error("export table: bad token");
        Param p{parse_arg(parts[0]), std::string(parts[1]), std::string(parts[2])};
        for (std::size_t k = 3; k < parts.size(); ++k) {
            if (parts[k] == "inert") {
                p.inert = true;
            } else if (parts[k] == "count") {
                p.count = true;
            } else if (parts[k].starts_with("table=")) {
                p.table = std::stoi(std::string(parts[k].substr(6)));
            } else {
                throw std::logic_error("export table: bad attribute");
            }
        }
        out.push_back(std::move(p));
        if (end == spec.npos) break;
        spec.remove_prefix(end + 1);
    }
    return out;
}

std::vector<Export> build() {
    std::vector<Export> rows;
    for (const RawRow &r : raw_rows) {
        Export e{r.ordinal, r.name, parse_kind(r.kind), parse_result(r.result), r.spec, {},
                 addresses[r.ordinal - 1]};
        if (e.kind == Kind::routine) e.params = parse_params(r.spec);
        const TypedRow &t = typed_rows[r.ordinal - 1];
        if (t.caller && static_cast<int>(e.params.size()) != t.arity)
            throw std::logic_error("export table and header disagree on the arguments");
        rows.push_back(std::move(e));
    }
    return rows;
}

}  // namespace

const std::vector<Export> &table() {
    static const std::vector<Export> rows = build();
    return rows;
}

const Export *find(std::string_view name) {
    for (const Export &e : table())
        if (e.name == name) return &e;
    return nullptr;
}

Value call(const Export &row, void *fn, std::span<void *const> args) {
    if (row.kind != Kind::routine || row.result == Result::csingle)
        throw std::invalid_argument("not a by-reference routine");
    if (args.size() != row.params.size()) throw std::invalid_argument("wrong argument count");
    const Caller caller = typed_rows[row.ordinal - 1].caller;
    if (!caller) throw std::logic_error("export table: no typed caller for this row");
    return caller(fn, args);
}

std::uint64_t call_cpowi(void *fn, float re, float im, std::int32_t n) {
    using F = std::uint64_t(VELK_CALL *)(float, float, std::int32_t);
    return reinterpret_cast<F>(fn)(re, im, n);
}

}  // namespace velk::dispatch
