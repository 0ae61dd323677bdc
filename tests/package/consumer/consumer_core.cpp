// A C++ consumer of the installed static library velk::core: one worked value
// through velk.hpp, and the Bessel function over an array against single calls.
#include <velk/velk.hpp>

#include <cstdio>
#include <vector>

int main() {
    // 343 (4.4934096336364746 / (6.2831854820251465 (0.001 * 50))) (worked example)
    const double f = velk::ideal_frequency(2, 343.0, 50.0);
    if (f != 4905.91757555612) {
        std::printf("FAIL: ideal_frequency(2, 343 m/s, 50 mm) = %.17g Hz\n", f);
        return 1;
    }
    std::vector<velk::complex> z, j;
    for (int k = 1; k <= 64; ++k) z.push_back({10.0 * k, -10.0 * k});
    j.resize(z.size());
    velk::besselj(0, z, j);
    for (std::size_t k = 0; k < z.size(); ++k)
        if (j[k] != velk::besselj(0, z[k])) {
            std::printf("FAIL: besselj over an array differs at z = %g - %gi\n", z[k].real(),
                        -z[k].imag());
            return 1;
        }
    std::printf("consumer_core: f_id 4905.91757555612 Hz, 64 values of J0 over an array\n");
    return 0;
}
