// Work storage of df_ducts: nine arrays plus one work sequence per Bessel
// evaluation, all released; any refused request gives quiet NaN outputs.
#include <cstdint>

#include "support/alloc_probe.hpp"
#include "support/bits.hpp"
#include "velk/velk.h"

namespace {

TEST(DuctsWorkStorage, RefusedRequestsGiveNaNAndLeakNothing) {
    const double r[] = {0.5, 1.5}, l[] = {10, 30};
    const std::int32_t nduct = 2, n = 2;
    const double rho = 1.78, cp = 520, c = 307.8, gamma = 1.6666666666666667, kappa = 0.0164,
                 eta = 2.1e-5, a = 50, f = 4400;
    double df = 0, g = 0;
    const long before = velk::test::live_blocks();
    velk::test::arm(0);
    df_ducts(r, l, &nduct, &rho, &cp, &c, &gamma, &kappa, &eta, &a, &f, &n, &df, &g);
    // Nine arrays, then four Bessel evaluations per section.
    const long total = velk::test::requests();
    EXPECT_EQ(total, 9 + 4 * nduct);
    EXPECT_EQ(velk::test::live_blocks(), before);
    ASSERT_TRUE(std::isfinite(df) && std::isfinite(g));

    for (long k = 1; k <= total; ++k) {
        df = g = 1.0;
        velk::test::arm(k);
        df_ducts(r, l, &nduct, &rho, &cp, &c, &gamma, &kappa, &eta, &a, &f, &n, &df, &g);
        velk::test::arm(0);
        EXPECT_EQ(velk::test::live_blocks(), before) << "request " << k << " refused";
        EXPECT_TRUE(velk::test::is_quiet_nan(df) && velk::test::is_quiet_nan(g))
            << "request " << k << " refused";
    }
}

}  // namespace
