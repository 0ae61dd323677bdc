// Table-driven calls of the exports (see dispatch.hpp).
#include "frame/dispatch.hpp"

#include <stdexcept>
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

struct Address {
    int ordinal;
    void *address;
};

const Address addresses[] = {
#define VELK_IMPLEMENTED(ord, name) {ord, (void *)&name},
#include "velk_implemented.inc"
#undef VELK_IMPLEMENTED
    {0, nullptr},
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
        const auto c1 = tok.find(':');
        const auto c2 = tok.find(':', c1 + 1);
        if (c1 == tok.npos || c2 == tok.npos) throw std::logic_error("export table: bad token");
        out.push_back({parse_arg(tok.substr(0, c1)), std::string(tok.substr(c1 + 1, c2 - c1 - 1)),
                       std::string(tok.substr(c2 + 1))});
        if (end == spec.npos) break;
        spec.remove_prefix(end + 1);
    }
    return out;
}

std::vector<Export> build() {
    std::vector<Export> rows;
    for (const RawRow &r : raw_rows) {
        Export e{r.ordinal, r.name, parse_kind(r.kind), parse_result(r.result), r.spec, {},
                 nullptr};
        if (e.kind == Kind::routine) e.params = parse_params(r.spec);
        for (const Address &a : addresses)
            if (a.ordinal == r.ordinal) e.address = a.address;
        rows.push_back(std::move(e));
    }
    return rows;
}

template <class R, std::size_t... I>
R invoke(void *fn, [[maybe_unused]] std::span<void *const> args, std::index_sequence<I...>) {
    using F = R(VELK_CALL *)(decltype((void)I, (void *)nullptr)...);
    return reinterpret_cast<F>(fn)(args[I]...);
}

template <class R, std::size_t N = 0>
R invoke_n(void *fn, std::span<void *const> args) {
    if constexpr (N > 14) {
        throw std::invalid_argument("too many arguments");
    } else {
        if (args.size() == N) return invoke<R>(fn, args, std::make_index_sequence<N>{});
        return invoke_n<R, N + 1>(fn, args);
    }
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
    Value v;
    switch (row.result) {
        case Result::real: v.real = invoke_n<double>(fn, args); break;
        case Result::single: v.single = invoke_n<float>(fn, args); break;
        case Result::none: invoke_n<void>(fn, args); break;
        case Result::complex:
            v.pointer = invoke_n<void *>(fn, args);
            v.cplx = *static_cast<const velk_complex *>(args[0]);
            break;
        default: break;
    }
    return v;
}

std::uint64_t call_cpowi(void *fn, float re, float im, std::int32_t n) {
    using F = std::uint64_t(VELK_CALL *)(float, float, std::int32_t);
    return reinterpret_cast<F>(fn)(re, im, n);
}

}  // namespace velk::dispatch
