// Module data, the Constants companions, f_id and Ell_Req.
#include <cmath>
#include <cstring>
#include <limits>

#include "support/bits.hpp"
#include "velk/velk.h"

namespace {

// Stored eigenvalues: single-precision roots widened to double (table of the
// model, 17 significant digits).
constexpr double kZte[12] = {4.4934096336364746, 7.7252516746520996, 10.904121398925781,
                             14.066193580627441, 17.220754623413086, 20.371303558349609,
                             23.519453048706055, 26.666053771972656, 29.811599731445312,
                             32.956390380859375, 36.100624084472656, 39.244430541992188};
constexpr double kZtm[13] = {2.7437071800231934, 6.1167640686035156, 9.3166160583496094,
                             12.485937118530273, 15.643866539001465, 18.796253204345703,
                             21.945518493652344, 25.09284782409668,  28.2388916015625,
                             31.384040832519531, 34.528541564941406, 37.672554016113281,
                             40.816196441650391};

TEST(ModuleData, TablesHoldTheStoredEigenvalues) {
    for (int i = 0; i < 12; ++i) EXPECT_BITEQ(__velk_MOD_zte[i], kZte[i]) << "zte(" << i + 1 << ")";
    for (int i = 0; i < 13; ++i) EXPECT_BITEQ(__velk_MOD_ztm[i], kZtm[i]) << "ztm(" << i + 1 << ")";
    EXPECT_BITEQ(__velk_MOD_zac[0], 0.0);
    for (int i = 1; i < 13; ++i) EXPECT_BITEQ(__velk_MOD_zac[i], kZte[i - 1]) << "zac(" << i + 1 << ")";
    for (int i = 13; i < 16; ++i) EXPECT_BITEQ(__velk_MOD_zac[i], 0.0) << "zac(" << i + 1 << ")";
    // Each value is exactly a single-precision number.
    for (double z : kZte) EXPECT_EQ(static_cast<double>(static_cast<float>(z)), z);
    for (double z : kZtm) EXPECT_EQ(static_cast<double>(static_cast<float>(z)), z);
}

TEST(ModuleData, StoredPiAndGasConstant) {
    EXPECT_BITEQ(__velk_MOD_pi, 3.1415927410125732);
    EXPECT_NE(__velk_MOD_pi, 3.141592653589793);
    EXPECT_BITEQ(__velk_MOD_cnst.rgas, 8.3144598);
    EXPECT_BITEQ(__velk_MOD___def_init_velk_Constants.rgas, 8.3144598);
}

TEST(ModuleData, TypeDescriptorFields) {
    const velk_vtab &v = __velk_MOD___vtab_velk_Constants;
    EXPECT_EQ(v.size, 8u);
    EXPECT_EQ(v.parent, nullptr);
    EXPECT_EQ(v.def_init, &__velk_MOD___def_init_velk_Constants);
    EXPECT_EQ(v.copy, &__velk_MOD___copy_velk_Constants);
    EXPECT_EQ(v.final, nullptr);
    EXPECT_EQ(v.deallocate, nullptr);
    // Seven fields of address width or 32 bits, no padding.
    EXPECT_EQ(sizeof(velk_vtab), 8 + 5 * sizeof(void *));
}

TEST(ModuleData, CopyRoutineRestoresTheDefault) {
    const Constants saved = __velk_MOD_cnst;
    __velk_MOD_cnst.rgas = 1.0;
    __velk_MOD___copy_velk_Constants(&__velk_MOD___def_init_velk_Constants, &__velk_MOD_cnst);
    EXPECT_BITEQ(__velk_MOD_cnst.rgas, 8.3144598);
    // Through the descriptor's copy routine too.
    Constants dst{0.0};
    __velk_MOD___vtab_velk_Constants.copy(&saved, &dst);
    EXPECT_BITEQ(dst.rgas, saved.rgas);
    __velk_MOD_cnst = saved;
}

TEST(IdealFrequency, WorkedValue) {
    // 343 * (4.4934096336364746 / (6.2831854820251465 * (0.001 * 50))) (worked example)
    const int32_t n = 2;
    const double c = 343, a = 50;
    EXPECT_BITEQ(f_id(&n, &c, &a), 4905.91757555612);
    EXPECT_BITEQ(f_id(&n, &c, &a), 343 * (4.4934096336364746 / (6.2831854820251465 * (0.001 * 50))));
}

TEST(IdealFrequency, ZeroEigenvaluesAndZeroRadius) {
    const double c = 307.8, a = 50, zero = 0;
    for (int32_t n : {1, 14, 15, 16}) {
        EXPECT_BITEQ(f_id(&n, &c, &a), 0.0) << "n = " << n;
        EXPECT_TRUE(std::isnan(f_id(&n, &c, &zero))) << "n = " << n;  // 0/0
    }
    for (int32_t n = 2; n <= 13; ++n) EXPECT_EQ(f_id(&n, &c, &zero), INFINITY) << "n = " << n;
}

TEST(IdealFrequency, ModeOutsideTheTableIsQuietNaN) {
    const double c = 307.8, a = 50;
    for (int32_t n : {0, -1, 17, std::numeric_limits<int32_t>::min(),
                      std::numeric_limits<int32_t>::max()})
        EXPECT_TRUE(velk::test::is_quiet_nan(f_id(&n, &c, &a))) << "n = " << n;
}

TEST(IdealFrequency, ReadsTheTableAfresh) {
    const int32_t n = 2;
    const double c = 343, a = 50;
    const double saved = __velk_MOD_zac[1];
    __velk_MOD_zac[1] = 2 * saved;
    EXPECT_BITEQ(f_id(&n, &c, &a), 343 * (2 * saved / (6.2831854820251465 * (0.001 * 50))));
    __velk_MOD_zac[1] = saved;
}

TEST(EqualVolumeRadius, Values) {
    const double one = 1, two = 2, neg = -2, zero = 0;
    EXPECT_BITEQ(Ell_Req(&one, &one, &one), 1.0);
    EXPECT_BITEQ(Ell_Req(&two, &two, &two), std::pow(8.0, 0.3333333333333333));
    EXPECT_NEAR(Ell_Req(&two, &two, &two), 2.0, 4e-16);
    EXPECT_TRUE(std::isnan(Ell_Req(&neg, &two, &two)));
    EXPECT_BITEQ(Ell_Req(&zero, &two, &two), 0.0);
}

}  // namespace
