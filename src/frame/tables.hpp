// Bounds-checked access to the module's eigenvalue tables.  A mode number n
// counts from 1; outside the table the value is quiet NaN, so every result
// computed from it is NaN and nothing outside the table is read.  The tables
// are read afresh on every call: a host may overwrite them.
#pragma once

#include <cstdint>

#include "numeric.hpp"
#include "velk/velk.h"

namespace velk {

template <std::int32_t Size>
double table_at(const double (&table)[Size], std::int32_t n) {
    if (n < 1 || n > Size) return qnan;
    return table[n - 1];
}

inline double zac_at(std::int32_t n) { return table_at(__velk_MOD_zac, n); }
inline double zte_at(std::int32_t n) { return table_at(__velk_MOD_zte, n); }
inline double ztm_at(std::int32_t n) { return table_at(__velk_MOD_ztm, n); }

// The module's stored pi, 3.1415927410125732.
inline double stored_pi() { return __velk_MOD_pi; }

}  // namespace velk
