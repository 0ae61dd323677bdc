// Table-driven calls of the exports (see dispatch.hpp).
#include "frame/dispatch.hpp"

#include <stdexcept>
#include <type_traits>
#include <utility>

namespace velk::dispatch {
namespace {

// Every call goes through a pointer of the routine's own type, taken from its
// declaration in velk.h: the addresses are converted back to the declared
// parameter types, and the call is exactly the one a C host makes.  Data rows
// and the by-value routine have no by-reference caller.
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
#define VELK_EXPORT(ord, name, kind, result, spec, ...) \
    {Typed<decltype(&name)>::caller, Typed<decltype(&name)>::arity},
#include "frame/export_table.inc"
#undef VELK_EXPORT
};

std::vector<Export> build() {
    // The rows as scripts/exportgen.py wrote them from the export table.
    std::vector<Export> rows = {
#include "velk_dispatch_rows.inc"
    };
    for (const Export &e : rows) {
        const TypedRow &t = typed_rows[e.ordinal - 1];
        if (t.caller && static_cast<int>(e.params.size()) != t.arity)
            throw std::logic_error("export table and header disagree on the arguments");
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
