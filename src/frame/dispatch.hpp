// The export table as data: every row of the table with its parsed argument
// list and the address linked in.  A generic caller invokes any routine
// through its row, so that tests, tools and benchmarks walk the whole
// interface from one table.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "velk/velk.h"

namespace velk::dispatch {

enum class Kind { routine, data, rodata };
enum class Result { real, single, complex, none, csingle, data };
// Argument types; see the head of export_table.inc.
enum class Arg { d, i, z, d2, dN, x, od, oz, C, oC, desc, vf, vi };

struct Param {
    Arg type;
    std::string name;
    std::string unit;
    int table = 0;       // a mode number: the size of the table it indexes
    bool inert = false;  // read, but without influence on the results
    bool count = false;  // the element count of the dN arrays
};

struct Export {
    int ordinal;
    std::string_view name;
    Kind kind;
    Result result;
    std::string_view spec;     // the arguments column as written
    std::vector<Param> params;  // routines only
    void *address;              // the export linked in
};

// All rows, in ordinal order.
const std::vector<Export> &table();
// The row of that name, or null.
const Export *find(std::string_view name);

// What a routine returned.
struct Value {
    double real = 0.0;
    float single = 0.0f;
    velk_complex cplx{};
    void *pointer = nullptr;  // the returned address of a complex routine
};

// Calls a by-reference routine at `fn` with one address per parameter.
Value call(const Export &row, void *fn, std::span<void *const> args);
// Calls the by-value complex power routine at `fn`.
std::uint64_t call_cpowi(void *fn, float re, float im, std::int32_t n);

}  // namespace velk::dispatch
