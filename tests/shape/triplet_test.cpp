// Microwave triplets: sortfreq through its array descriptor, the mode-family
// factors hte and htm, and the deformation parameters of Eps_TE1n and Eps_TM1n.
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <vector>

#include "shape/shape.hpp"
#include "support/bits.hpp"
#include "velk/velk.h"

namespace {

using velk::test::is_quiet_nan;

constexpr double nan = std::numeric_limits<double>::quiet_NaN();
constexpr double inf = std::numeric_limits<double>::infinity();
constexpr double marker = -777.0;  // storage that must stay as it was

// Nine doubles of storage, all holding the marker, and a descriptor filled as
// Eps_TE1n fills its own, with element 1 at storage[first] and the stride given.
struct Output {
    std::array<double, 9> storage;
    velk_descriptor desc;

    explicit Output(std::size_t first = 0, int32_t stride = 1) {
        storage.fill(marker);
        desc = velk::shape::triplet_descriptor(&storage[first]);
        desc.stride = stride;
    }
    void sort(double fa, double fb, double fc) { __velk_MOD_sortfreq(&desc, &fa, &fb, &fc); }
};

// The storage expected when `values` are written at storage indices `at`.
std::array<double, 9> written(const std::vector<std::size_t> &at,
                              const std::vector<double> &values) {
    std::array<double, 9> s;
    s.fill(marker);
    for (std::size_t k = 0; k < at.size(); ++k) s[at[k]] = values[k];
    return s;
}

void expect_storage(const std::array<double, 9> &got, const std::array<double, 9> &want) {
    for (std::size_t k = 0; k < got.size(); ++k)
        EXPECT_BITEQ(got[k], want[k]) << "storage[" << k << "]";
}

TEST(Descriptor, LayoutAndTheFieldsEpsFillsIn) {
    const std::size_t p = sizeof(double *);
    EXPECT_EQ(offsetof(velk_descriptor, base), 0u);
    EXPECT_EQ(offsetof(velk_descriptor, offset), p);
    EXPECT_EQ(offsetof(velk_descriptor, elem_len), p + 4);
    EXPECT_EQ(offsetof(velk_descriptor, version), p + 8);
    EXPECT_EQ(offsetof(velk_descriptor, rank), p + 12);
    EXPECT_EQ(offsetof(velk_descriptor, type), p + 13);
    EXPECT_EQ(offsetof(velk_descriptor, attribute), p + 14);
    EXPECT_EQ(offsetof(velk_descriptor, span), p + 16);
    EXPECT_EQ(offsetof(velk_descriptor, stride), p + 20);
    EXPECT_EQ(offsetof(velk_descriptor, lbound), p + 24);
    EXPECT_EQ(offsetof(velk_descriptor, ubound), p + 28);
    EXPECT_EQ(sizeof(velk_descriptor), p + 32);

    double f[3];
    const velk_descriptor d = velk::shape::triplet_descriptor(f);
    EXPECT_EQ(d.base, f);
    EXPECT_EQ(d.offset, -1);
    EXPECT_EQ(d.elem_len, 8u);
    EXPECT_EQ(d.version, 0);
    EXPECT_EQ(d.rank, 1);
    EXPECT_EQ(d.type, 3);
    EXPECT_EQ(d.attribute, 0);
    EXPECT_EQ(d.span, 8);
    EXPECT_EQ(d.stride, 1);
    EXPECT_EQ(d.lbound, 1);
    EXPECT_EQ(d.ubound, 3);
}

TEST(SortFreq, EveryOrderOfThreeValues) {
    const std::array<std::array<double, 3>, 6> orders = {
        {{3, 1, 2}, {1, 3, 2}, {1, 2, 3}, {2, 1, 3}, {2, 3, 1}, {3, 2, 1}}};
    for (const auto &o : orders) {
        Output out;
        out.sort(o[0], o[1], o[2]);
        SCOPED_TRACE(testing::Message() << o[0] << ", " << o[1] << ", " << o[2]);
        expect_storage(out.storage, written({0, 1, 2}, {1, 2, 3}));
    }
}

TEST(SortFreq, SlotRulesForNaNsSignedZerosAndValuesBelowMinusOne) {
    struct Case {
        double fa, fb, fc;
        std::vector<double> want;
    };
    const Case cases[] = {
        // A NaN is never greater: it stays in the slot its rule gives it.
        {nan, 1, 2, {nan, 1, 2}},
        {nan, 2, 1, {nan, 1, 2}},
        {1, nan, 2, {1, nan, 2}},
        {3, 1, nan, {1, 3, nan}},
        {nan, nan, nan, {nan, nan, nan}},
        // A value equal to fc already placed stays in front of it.
        {0.0, 5, -0.0, {0.0, -0.0, 5}},
        {-0.0, 0.0, 0.0, {-0.0, 0.0, 0.0}},
        // Values below -1: fa and fb anywhere, and (mended) fc too, which
        // would otherwise go in front of the first work slot and be lost.
        {-5, -3, 0.5, {-5, -3, 0.5}},
        {3, 1, -2, {-2, 1, 3}},
        {-5, -3, -2, {-5, -3, -2}},
        {-3, -5, -4, {-5, -4, -3}},
        {-3, -5, -9, {-9, -5, -3}},
        {1, 2, -inf, {-inf, 1, 2}},
        {inf, -inf, -1.5, {-inf, -1.5, inf}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.fa << ", " << c.fb << ", " << c.fc);
        Output out;
        out.sort(c.fa, c.fb, c.fc);
        expect_storage(out.storage, written({0, 1, 2}, c.want));
    }
}

TEST(SortFreq, MinusOneIsDroppedAndOnlyTheRestIsWritten) {
    struct Case {
        double fa, fb, fc;
        std::vector<double> want;
    };
    const Case cases[] = {
        {-1, 5, 2, {2, 5}},    {5, -1, 2, {2, 5}},   {5, 2, -1, {2, 5}},
        {-1, -1, 7, {7}},      {-1, -1, -1, {}},     {-1, 4, -2, {-2, 4}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.fa << ", " << c.fb << ", " << c.fc);
        Output out;
        out.sort(c.fa, c.fb, c.fc);
        std::vector<std::size_t> at;
        for (std::size_t k = 0; k < c.want.size(); ++k) at.push_back(k);
        expect_storage(out.storage, written(at, c.want));
        EXPECT_EQ(velk::shape::sort_frequencies(out.desc, c.fa, c.fb, c.fc),
                  static_cast<int>(c.want.size()));
    }
}

TEST(SortFreq, StrideOfTheDescriptor) {
    struct Case {
        std::size_t first;
        int32_t stride;
        std::vector<std::size_t> at;
    };
    const Case cases[] = {
        {0, 1, {0, 1, 2}},
        {0, 0, {0, 1, 2}},   // 0 counts as 1
        {0, 2, {0, 2, 4}},   // elements 1, 3 and 5 of the storage
        {1, 3, {1, 4, 7}},
        {8, -1, {8, 7, 6}},  // a reversed section: downwards from its element 1
        {6, -3, {6, 3, 0}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << "first " << c.first << ", stride " << c.stride);
        Output out(c.first, c.stride);
        out.sort(3, 1, 2);
        expect_storage(out.storage, written(c.at, {1, 2, 3}));
    }
}

TEST(SortFreq, ReadsOnlyTheBaseAndTheStride) {
    Output out(0, 2);
    out.desc.offset = 12345;
    out.desc.elem_len = 4;
    out.desc.version = -3;
    out.desc.rank = 7;
    out.desc.type = 1;
    out.desc.attribute = -1;
    out.desc.span = 0;
    out.desc.lbound = 5;
    out.desc.ubound = 0;
    out.sort(2, 3, 1);
    expect_storage(out.storage, written({0, 2, 4}, {1, 2, 3}));
}

TEST(SortFreq, InputsMayLieInTheOutputArray) {
    Output out;
    out.storage[0] = 3;
    out.storage[1] = 1;
    out.storage[2] = 2;
    __velk_MOD_sortfreq(&out.desc, &out.storage[0], &out.storage[1], &out.storage[2]);
    expect_storage(out.storage, written({0, 1, 2}, {1, 2, 3}));
}

TEST(SortFreq, DescriptorRunningPastTheAddressSpaceGetsNothingWritten) {
    // Each of these would write to an address that wrapped around; writing
    // anything at all through them would fault.
    const std::uintptr_t top = std::numeric_limits<std::uintptr_t>::max();
    struct Case {
        std::uintptr_t base;
        int32_t stride;
    };
    const Case cases[] = {
        {8, -1},
        {64, std::numeric_limits<int32_t>::min()},
        {top - 15, 1},
        {top - 7 - 8 * 1000, 1000},
        {top - 6, -1},
    };
    for (const Case &c : cases) {
        velk_descriptor d = velk::shape::triplet_descriptor(reinterpret_cast<double *>(c.base));
        d.stride = c.stride;
        EXPECT_EQ(velk::shape::sort_frequencies(d, 3, 1, 2), 0) << std::hex << c.base;
    }
}

TEST(FamilyFactors, WorkedValues) {
    const double zte1 = __velk_MOD_zte[0], ztm1 = __velk_MOD_ztm[0];
    EXPECT_BITEQ(zte1, 4.4934096336364746);
    EXPECT_BITEQ(ztm1, 2.7437071800231934);
    // worked example
    EXPECT_BITEQ(__velk_MOD_hte(&zte1), 1.3298383272829126);
    EXPECT_BITEQ(__velk_MOD_htm(&ztm1), 0.17179986400191308);
}

using EpsRoutine = void (*)(const double *, const double *, const double *, const int32_t *,
                            double *, double *);

struct Family {
    const char *name;
    EpsRoutine eps;
    int32_t last_mode;
};
const Family families[] = {{"Eps_TE1n", Eps_TE1n, 12}, {"Eps_TM1n", Eps_TM1n, 13}};

struct Pair {
    double eps1 = marker, eps2 = marker;
};

Pair call(const Family &f, double fa, double fb, double fc, int32_t n) {
    Pair p;
    f.eps(&fa, &fb, &fc, &n, &p.eps1, &p.eps2);
    return p;
}

TEST(Eps, TheTripletInAnyOrder) {
    // worked example, mode n = 1
    const double want[2][2] = {{5.012388846996361e-05, -5.012890060826227e-05},
                               {0.0003879902256445874, -0.00038802902272775107}};
    const std::array<std::array<double, 3>, 6> orders = {
        {{10, 10.001, 10.002}, {10, 10.002, 10.001}, {10.001, 10, 10.002},
         {10.001, 10.002, 10}, {10.002, 10, 10.001}, {10.002, 10.001, 10}}};
    for (int k = 0; k < 2; ++k)
        for (const auto &o : orders) {
            SCOPED_TRACE(testing::Message() << families[k].name << " " << o[0] << ", " << o[1]
                                            << ", " << o[2]);
            const Pair p = call(families[k], o[0], o[1], o[2], 1);
            EXPECT_BITEQ(p.eps1, want[k][0]);
            EXPECT_BITEQ(p.eps2, want[k][1]);
        }
}

TEST(Eps, EqualFrequenciesGivePositiveZero) {
    for (const Family &f : families) {
        SCOPED_TRACE(f.name);
        const Pair all = call(f, 10, 10, 10, 1);
        EXPECT_BITEQ(all.eps1, 0.0);
        EXPECT_BITEQ(all.eps2, 0.0);
        const Pair low = call(f, 10.002, 10, 10, 1);
        EXPECT_BITEQ(low.eps1, 0.0);
        EXPECT_LT(low.eps2, 0.0);
        const Pair high = call(f, 10.002, 10, 10.002, 1);
        EXPECT_GT(high.eps1, 0.0);
        EXPECT_BITEQ(high.eps2, 0.0);
        // Except at zero frequency: 0/0.
        const Pair zero = call(f, 0, 0, 0, 1);
        EXPECT_TRUE(std::isnan(zero.eps1));
        EXPECT_TRUE(std::isnan(zero.eps2));
    }
}

TEST(Eps, QuietNaNWhenTheSortLeavesAnElementUnwritten) {
    // -1 is the empty mark of sortfreq: only two elements come back.
    const std::array<std::array<double, 3>, 4> triplets = {
        {{-1, 10, 10.001}, {10, -1, 10.001}, {10, 10.001, -1}, {-1, -1, -1}}};
    for (const Family &f : families)
        for (const auto &t : triplets) {
            SCOPED_TRACE(testing::Message()
                         << f.name << " " << t[0] << ", " << t[1] << ", " << t[2]);
            const Pair p = call(f, t[0], t[1], t[2], 1);
            EXPECT_TRUE(is_quiet_nan(p.eps1)) << p.eps1;
            EXPECT_TRUE(is_quiet_nan(p.eps2)) << p.eps2;
        }
}

TEST(Eps, ModeNumbersOutsideTheTableGiveQuietNaN) {
    for (const Family &f : families) {
        SCOPED_TRACE(f.name);
        for (int32_t n : {0, -1, f.last_mode + 1, std::numeric_limits<int32_t>::min(),
                          std::numeric_limits<int32_t>::max()}) {
            const Pair p = call(f, 10, 10.001, 10.002, n);
            EXPECT_TRUE(is_quiet_nan(p.eps1)) << "n = " << n;
            EXPECT_TRUE(is_quiet_nan(p.eps2)) << "n = " << n;
        }
        const Pair last = call(f, 10, 10.001, 10.002, f.last_mode);
        EXPECT_GT(last.eps1, 0.0);
        EXPECT_LT(last.eps2, 0.0);
    }
}

}  // namespace
