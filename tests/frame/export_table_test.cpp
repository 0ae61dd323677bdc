// The export table itself: 42 rows in ascending byte order of their names,
// ordinals 1 to 42, the result kinds of the interface.
#include <map>

#include "frame/dispatch.hpp"
#include "support/bits.hpp"

namespace {

using velk::dispatch::Result;

TEST(ExportTable, RowsAreOrderedAndNumbered) {
    const auto &t = velk::dispatch::table();
    ASSERT_EQ(t.size(), 42u);
    for (size_t k = 0; k < t.size(); ++k) {
        EXPECT_EQ(t[k].ordinal, static_cast<int>(k + 1));
        if (k > 0) {
            EXPECT_LT(t[k - 1].name, t[k].name) << "byte order at row " << k + 1;
        }
    }
}

TEST(ExportTable, ResultKinds) {
    std::map<Result, int> count;
    for (const auto &row : velk::dispatch::table())
        if (row.kind == velk::dispatch::Kind::routine) ++count[row.result];
    EXPECT_EQ(count[Result::real], 20);
    EXPECT_EQ(count[Result::single], 5);
    EXPECT_EQ(count[Result::complex], 2);
    EXPECT_EQ(count[Result::none], 7);
    EXPECT_EQ(count[Result::csingle], 1);
}

TEST(ExportTable, ArgumentCounts) {
    const std::map<std::string_view, size_t> expected = {
        {"df_ducts", 14}, {"g_t", 9}, {"g_b", 7}, {"df_th", 8}, {"I_t", 6},
        {"__velk_MOD_normbesselj", 6}, {"__velk_MOD_besselj", 3}, {"O2dZ2AC", 2}};
    for (const auto &[name, n] : expected) {
        const auto *row = velk::dispatch::find(name);
        ASSERT_NE(row, nullptr) << name;
        EXPECT_EQ(row->params.size(), n) << name;
    }
}

}  // namespace
