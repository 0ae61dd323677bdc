// Bounds-checked access to the eigenvalue tables of a model.  A mode number n
// counts from 1; outside the table the value is quiet NaN, so every result
// computed from it is NaN and nothing outside the table is read.
//
// exported_model() is the model of the exported data as it stands: pi and
// rgas read now, the tables by reference.  The exports take it once per call
// and pass it on, so a host that overwrites the exported data sees the effect.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "numeric.hpp"
#include "velk/model.hpp"
#include "velk/velk.h"

namespace velk {

template <std::size_t Size>
double table_at(std::span<const double, Size> table, std::int32_t n) {
    if (n < 1 || static_cast<std::size_t>(n) > Size) return qnan;
    return table[static_cast<std::size_t>(n) - 1];
}

inline double zac_at(const Model &m, std::int32_t n) { return table_at(m.zac, n); }
inline double zte_at(const Model &m, std::int32_t n) { return table_at(m.zte, n); }
inline double ztm_at(const Model &m, std::int32_t n) { return table_at(m.ztm, n); }

inline Model exported_model() {
    return Model{__velk_MOD_pi, __velk_MOD_cnst.rgas, std::span<const double, 16>(__velk_MOD_zac),
                 std::span<const double, 12>(__velk_MOD_zte),
                 std::span<const double, 13>(__velk_MOD_ztm)};
}

}  // namespace velk
