// Hostile inputs, swept over every routine from the export
// table: every real input (each part of a complex value, each element of an
// array) in turn takes NaN, infinities, signed zeros, subnormals, +-1e308 and
// negative values; every integer input -2^31, -1, 0, 1, the end of its table
// and one past it, and 2^31-1; the descriptor strides 0, -1, 1 and 2.  The
// other inputs keep the values of the routine's first reference call.
//
// For every call: nothing crashes (and, in the sanitizer build, nothing is
// reported), every out argument is written, no input is written, and
//   - a mode number outside its table gives quiet NaN in every output,
//   - an argument that is never read (or has no influence) changes nothing,
//     and a null address in place of a never-read one changes nothing,
//   - a NaN in any argument that is read shows up as a NaN output,
//   - a descriptor's buffer changes only at the elements it describes.
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include <sys/resource.h>

#include "frame/dispatch.hpp"
#include "host/callpack.h"
#include "support/bits.hpp"

namespace {

using Bits = std::vector<std::uint64_t>;

constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

const double kSignallingNaN = std::bit_cast<double>(0x7ff4000000000001ull);

const std::vector<double> kHostileReals = {
    std::numeric_limits<double>::quiet_NaN(),
    -std::numeric_limits<double>::quiet_NaN(),
    kSignallingNaN,
    INFINITY,
    -INFINITY,
    0.0,
    -0.0,
    std::numeric_limits<double>::denorm_min(),
    -std::numeric_limits<double>::denorm_min(),
    2.2250738585072009e-308,  // largest subnormal
    1e308,
    -1e308,
    -1.0,
    -50.0,
    -2500.0,
    1e6,
};

// The routine's first reference call whose outputs are all finite.
const velk_case *nominal(std::string_view routine) {
    const velk_case *any = nullptr;
    for (int k = 0; k < velk_ncases; ++k) {
        const velk_case &c = velk_cases[k];
        if (c.routine != routine) continue;
        if (!any) any = &c;
        bool finite = true;
        for (int j = 0; j < c.nout; ++j) finite = finite && std::isfinite(c.out[j]);
        if (finite) return &c;
    }
    return any;
}

int components(int type, int len) {
    switch (type) {
        case VELK_T_Z: case VELK_T_D2: return 2;
        case VELK_T_DN: return len;
        case VELK_T_OD: case VELK_T_OZ: case VELK_T_OC: case VELK_T_DESC: return 0;
        default: return 1;
    }
}

bool is_real(int type) {
    return type != VELK_T_I && type != VELK_T_VI && type != VELK_T_DESC;
}

// The bytes of every input slot of a pack, to see that no input is written.
std::vector<unsigned char> inputs_image(const velk_pack &p) {
    std::vector<unsigned char> img;
    auto add = [&](const void *a, size_t n) {
        const auto *b = static_cast<const unsigned char *>(a);
        img.insert(img.end(), b, b + n);
    };
    for (int k = 0; k < p.nparam; ++k) {
        switch (p.type[k]) {
            case VELK_T_D: case VELK_T_X: add(&p.d[k], 8); break;
            case VELK_T_I: add(&p.i[k], 4); break;
            case VELK_T_Z: add(&p.z[k], 16); break;
            case VELK_T_D2: case VELK_T_DN: add(p.arr[k], sizeof p.arr[k]); break;
            case VELK_T_C: add(&p.rec[k], 8); break;
            case VELK_T_DESC: add(&p.desc, sizeof p.desc); break;
            default: break;
        }
    }
    return img;
}

class Sweep {
public:
    Sweep(const velk::dispatch::Export &row, const velk_case &base) : row_(row), base_(base) {
        hrow_ = velk_find_row(base.routine);
        velk_pack p;
        EXPECT_EQ(velk_pack_build(&p, hrow_, base.len, base.in, base.nin), 0);
        nparam_ = p.nparam;
        std::memcpy(types_, p.type, sizeof types_);
        reference_ = call(p, "nominal");
    }

    void run() {
        for (int k = 0; k < nparam_; ++k) {
            const auto &param = row_.params[k];
            const int type = types_[k];
            const std::string what = std::string(row_.name) + "(" + param.name + ")";
            if (type == VELK_T_DESC) {
                strides(k, what);
            } else if (type == VELK_T_I || type == VELK_T_VI) {
                integers(k, what, param);
            } else if (is_real(type)) {
                const bool ignored = type == VELK_T_X || param.inert;
                for (int e = 0; e < components(type, base_.len); ++e)
                    for (double v : kHostileReals) reals(k, e, v, ignored, what);
                if (type == VELK_T_X) {
                    velk_pack p = fresh();
                    velk_pack_null(&p, k);
                    EXPECT_EQ(call(p, what + " null"), reference_) << what << " null address";
                }
            }
        }
    }

private:
    velk_pack fresh() const {
        velk_pack p;
        velk_pack_build(&p, hrow_, base_.len, base_.in, base_.nin);
        return p;
    }

    Bits call(velk_pack &p, const std::string &what) {
        const auto before = inputs_image(p);
        double out[VELK_MAXOUT];
        char msg[256];
        const int n = velk_pack_call(&p, row_.address, -1, out, VELK_MAXOUT, msg, sizeof msg);
        EXPECT_GE(n, 0) << what << ": " << msg;
        ++calls;
        EXPECT_TRUE(inputs_image(p) == before) << what << ": an input was written";
        Bits bits;
        for (int j = 0; j < n; ++j) bits.push_back(std::bit_cast<std::uint64_t>(out[j]));
        last_.assign(out, out + std::max(n, 0));
        // Every out argument written.
        const std::uint64_t unwritten = std::bit_cast<std::uint64_t>(velk_unwritten());
        for (double x : last_)
            EXPECT_NE(std::bit_cast<std::uint64_t>(x), unwritten) << what << ": output not written";
        return bits;
    }

    void reals(int k, int e, double v, bool ignored, const std::string &what) {
        velk_pack p = fresh();
        velk_pack_set(&p, k, e, v);
        const std::string label = what + "[" + std::to_string(e) + "] = " + velk::test::describe(v);
        const Bits got = call(p, label);
        if (ignored) {
            EXPECT_EQ(got, reference_) << label << ": an argument without influence changed the result";
        } else if (std::isnan(v)) {
            bool nan = false;
            for (double x : last_) nan = nan || std::isnan(x);
            EXPECT_TRUE(nan) << label << ": a NaN argument gave no NaN output";
        }
    }

    // Mode numbers (the table sizes, inert and count arguments come from the
    // export table).
    void integers(int k, const std::string &what, const velk::dispatch::Param &param) {
        const int table = param.table;
        std::vector<std::int32_t> values;
        if (param.count) {
            // Only up to the arrays' length: a longer count is the caller's fault.
            values = {kMin, -1, 0, 1, static_cast<std::int32_t>(base_.len)};
        } else {
            values = {kMin, -1, 0, 1, 2, 17, kMax};
            if (table) values.insert(values.end(), {table, table + 1});
        }
        for (std::int32_t v : values) {
            velk_pack p = fresh();
            velk_pack_set(&p, k, 0, v);
            const std::string label = what + " = " + std::to_string(v);
            const Bits got = call(p, label);
            if (param.inert) {
                EXPECT_EQ(got, reference_) << label << ": an argument without influence changed the result";
            }
            if (table && (v < 1 || v > table)) {
                for (double x : last_)
                    EXPECT_TRUE(velk::test::is_quiet_nan(x))
                        << label << ": mode outside the table, output " << velk::test::describe(x);
            }
        }
    }

    void strides(int k, const std::string &what) {
        for (int stride : {0, -1, 1, 2}) {
            velk_pack p = fresh();
            const int base = 3;
            velk_pack_set(&p, k, 0, stride);
            velk_pack_set(&p, k, 1, base);
            const std::string label = what + " stride " + std::to_string(stride);
            call(p, label);
            const int step = stride == 0 ? 1 : stride;
            std::set<int> described = {base, base + step, base + 2 * step};
            for (int j = 0; j < VELK_SORTBUF; ++j) {
                if (!described.count(j)) {
                    EXPECT_BITEQ(p.buf[j], VELK_FILL) << label << ": element " << j << " written";
                }
            }
        }
    }

    const velk::dispatch::Export &row_;
    const velk_case &base_;
    const velk_row *hrow_ = nullptr;
    int nparam_ = 0;
    int types_[VELK_MAXP] = {};
    Bits reference_;
    std::vector<double> last_;

public:
    int calls = 0;
};

// Work storage asked for by a hostile size (a start index of 2^31 - 1 wants
// 32 GiB) must fail the same way on every machine: the address space of this
// test is capped at 8 GiB.  AddressSanitizer reserves far more address space
// for itself; its runs cap single allocations (max_allocation_size_mb).
#if defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define VELK_SANITIZED 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define VELK_SANITIZED 1
#endif

void cap_address_space() {
#if !defined(VELK_SANITIZED)
    if constexpr (sizeof(void *) == 8) {
        rlimit lim{};
        const rlim_t cap = static_cast<rlim_t>(8) << 30;
        if (getrlimit(RLIMIT_AS, &lim) == 0 && lim.rlim_cur > cap) {
            lim.rlim_cur = cap;
            setrlimit(RLIMIT_AS, &lim);
        }
    }
#endif
}

TEST(HostileInputs, EveryRoutine) {
    cap_address_space();
    int total = 0, routines = 0;
    for (const auto &row : velk::dispatch::table()) {
        if (row.kind != velk::dispatch::Kind::routine) continue;
        const velk_case *base = nominal(row.name);
        ASSERT_NE(base, nullptr) << row.name;
        SCOPED_TRACE(std::string(row.name));
        Sweep sweep(row, *base);
        sweep.run();
        total += sweep.calls;
        ++routines;
    }
    EXPECT_GT(total, 0);
    std::printf("%d hostile calls of %d routines\n", total, routines);
}

}  // namespace
