// Work storage of df_ducts: nine arrays, on the stack for chains of up to 16
// sections and from the heap beyond, all released; any refused request gives
// quiet NaN outputs.
#include <cmath>
#include <cstdint>
#include <vector>

#include "support/alloc_probe.hpp"
#include "support/bits.hpp"
#include "velk/velk.h"

namespace {

struct Chain {
    std::vector<double> r, l;
};

Chain chain(int32_t sections) {
    Chain c;
    for (int32_t j = 0; j < sections; ++j) {
        c.r.push_back(0.5 + 0.1 * j);
        c.l.push_back(10.0 + j);
    }
    return c;
}

void call(const Chain &c, double &df, double &g) {
    const std::int32_t nduct = static_cast<std::int32_t>(c.r.size()), n = 2;
    const double rho = 1.78, cp = 520, c0 = 307.8, gamma = 1.6666666666666667, kappa = 0.0164,
                 eta = 2.1e-5, a = 50, f = 4400;
    df_ducts(c.r.data(), c.l.data(), &nduct, &rho, &cp, &c0, &gamma, &kappa, &eta, &a, &f, &n,
             &df, &g);
}

TEST(DuctsWorkStorage, ShortChainsUseNoHeap) {
    const Chain c = chain(16);
    double df = 0, g = 0;
    velk::test::arm(0);
    call(c, df, g);
    EXPECT_EQ(velk::test::requests(), 0);
    EXPECT_TRUE(std::isfinite(df) && std::isfinite(g));
}

TEST(DuctsWorkStorage, RefusedRequestsGiveNaNAndLeakNothing) {
    const Chain c = chain(17);  // longer chains take their nine arrays from the heap
    double df = 0, g = 0;
    const long before = velk::test::live_blocks();
    velk::test::arm(0);
    call(c, df, g);
    const long total = velk::test::requests();
    EXPECT_EQ(total, 9);
    EXPECT_EQ(velk::test::live_blocks(), before);
    ASSERT_TRUE(std::isfinite(df) && std::isfinite(g));

    for (long k = 1; k <= total; ++k) {
        df = g = 1.0;
        velk::test::arm(k);
        call(c, df, g);
        velk::test::arm(0);
        EXPECT_EQ(velk::test::live_blocks(), before) << "request " << k << " refused";
        EXPECT_TRUE(velk::test::is_quiet_nan(df) && velk::test::is_quiet_nan(g))
            << "request " << k << " refused";
    }
}

}  // namespace
