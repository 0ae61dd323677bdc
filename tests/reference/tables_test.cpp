// Every routine against its bit-pattern table (tests/reference/tables, made
// by generate.py from the reference model).  A mismatch prints the routine,
// the arguments and both results in hex, for up to 20 cases of a table.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "frame/dispatch.hpp"
#include "reference/table_check.h"

namespace {

// The tables hold x86-64 glibc's pow, exp, log and complex functions; other
// runtimes are held to the relative bounds of table_check.c for the routines
// that use them.
#if defined(__x86_64__) && defined(__GLIBC__)
constexpr int exact_runtime = 1;
#else
constexpr int exact_runtime = 0;
#endif

void *lookup(const char *name, void *) {
    std::string export_name = name;
    for (const char *module : {"besselj", "normbesselj", "hte", "htm", "sortfreq"})
        if (export_name == module) export_name = std::string("__velk_MOD_") + module;
    const auto *row = velk::dispatch::find(export_name);
    return row ? row->address : nullptr;
}

std::string table_dir() {
    const char *env = std::getenv("VELK_TABLE_DIR");
    return env && *env ? env : VELK_TABLE_DIR;
}

class Table : public ::testing::TestWithParam<const char *> {};

TEST_P(Table, MatchesReferenceBits) {
    const std::string path = table_dir() + "/" + GetParam() + ".txt";
    velk_table_result r;
    velk_check_table(path.c_str(), lookup, nullptr, exact_runtime, 20, stdout, &r);
    ASSERT_EQ(r.error, 0) << path;
    EXPECT_GT(r.cases, 0) << path;
    EXPECT_EQ(r.mismatches, 0) << r.mismatches << " of " << r.cases << " cases of " << GetParam()
                               << " differ"
                               << (r.bounded ? " beyond the relative bound for this runtime" : "");
    if (r.bounded)
        std::printf("%s: %d cases within %.2g (largest relative difference %.3g)\n", GetParam(),
                    r.cases, velk_table_bound(GetParam()), r.worst);
}

std::vector<const char *> names() {
    std::vector<const char *> v;
    for (const char *const *p = velk_table_names; *p; ++p) v.push_back(*p);
    return v;
}

INSTANTIATE_TEST_SUITE_P(Every, Table, ::testing::ValuesIn(names()),
                         [](const auto &info) { return std::string(info.param); });

}  // namespace
