// The reference calls of tests/host/cases.inc, which the Windows host programs
// run against the DLLs, checked here against the linked library: every call
// agrees, and every routine has some.
#include <set>
#include <string>

#include "frame/dispatch.hpp"
#include "host/callpack.h"
#include "support/bits.hpp"

namespace {

void *address_of(const char *routine) {
    const auto *row = velk::dispatch::find(routine);
    return row ? row->address : nullptr;
}

TEST(ReferenceCalls, AgreeWithTheLinkedLibrary) {
    int run = 0;
    for (int k = 0; k < velk_ncases; ++k) {
        const velk_case &c = velk_cases[k];
        ASSERT_NE(velk_find_row(c.routine), nullptr) << c.routine << " (line " << c.line << ")";
        void *fn = address_of(c.routine);
        ASSERT_NE(fn, nullptr) << c.routine;
        char msg[512];
        EXPECT_EQ(velk_run_case(&c, fn, -1, 1, msg, sizeof msg), 0) << msg;
        ++run;
    }
    EXPECT_GT(run, 0);
}

TEST(ReferenceCalls, CoverEveryRoutine) {
    std::set<std::string> covered;
    for (int k = 0; k < velk_ncases; ++k) covered.insert(velk_cases[k].routine);
    for (const auto &row : velk::dispatch::table())
        if (row.kind == velk::dispatch::Kind::routine) {
            EXPECT_TRUE(covered.count(std::string(row.name))) << row.name << " has no reference call";
        }
}

TEST(ReferenceCalls, HostTableMatchesTheDispatchTable) {
    const auto &t = velk::dispatch::table();
    ASSERT_EQ(t.size(), static_cast<size_t>(VELK_NROWS));
    for (const auto &row : t) {
        const velk_row &h = velk_rows[row.ordinal - 1];
        EXPECT_EQ(h.name, row.name);
        EXPECT_EQ(h.spec, row.spec);
        EXPECT_NE(row.address, nullptr) << row.name;
        if (row.kind == velk::dispatch::Kind::routine) {
            ASSERT_EQ(h.nparam, static_cast<int>(row.params.size())) << row.name;
            for (int k = 0; k < h.nparam; ++k) {
                EXPECT_EQ(h.type[k], static_cast<int>(row.params[k].type)) << row.name << " " << k;
                EXPECT_EQ(h.table[k], row.params[k].table) << row.name << " " << k;
            }
            EXPECT_NE(h.caller, nullptr);
        }
    }
}

}  // namespace
