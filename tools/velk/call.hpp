// `velk call NAME ARG...` and `velk list`: any export of the library, by
// name, driven by the export table (frame/export_table.inc through
// frame/dispatch.hpp), the same table that makes the .def files, the version
// script and the export tests.
#pragma once

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace velk::tool {

// Prints every export with its ordinal, result, arguments and units.
int run_list(std::ostream &out);

// Evaluates one export with arguments given as text: integers for int32
// arguments, "re,im" for complex ones, comma lists for arrays; a datum takes
// no arguments and prints its value.  Prints the function value as
// "NAME = value" and each out argument as "name = value", every double with
// 17 significant digits.  Returns the exit status: 0, or 2 for a wrong name,
// argument count or argument.
// Nothing is printed on `out` unless the call succeeds.
int run_call(std::string_view name, const std::vector<std::string> &args, std::ostream &out,
             std::ostream &err);

}  // namespace velk::tool
