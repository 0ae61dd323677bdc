// The library's routines as the tool calls them: the address comes from the
// export table of this build (frame/dispatch.hpp) and the type from the
// routine's declaration in velk.h.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

#include "frame/dispatch.hpp"
#include "velk/velk.h"

namespace velk::tool {

template <class F>
F routine(std::string_view name) {
    const dispatch::Export *row = dispatch::find(name);
    if (row == nullptr) throw std::logic_error(std::string(name) + " is not in the export table");
    return reinterpret_cast<F>(row->address);
}

}  // namespace velk::tool

// VELK_ROUTINE(f_id)(&n, &c, &a): calls f_id with its declared signature.
#define VELK_ROUTINE(name) ::velk::tool::routine<decltype(&::name)>(#name)
