// Module data: the gas constant record and its type companions, the stored pi
// and the eigenvalue tables of the sphere.
//
// Every eigenvalue is the single-precision number nearest to the root, held
// as a double; the float literals below reproduce the stored values exactly.
//   zte(n): n-th positive root of j1(z) = 0 (tan z = z), TE1n modes.
//   ztm(n): n-th positive root of d/dz[z j1(z)] = 0, TM1n modes.
//   zac(n): radial acoustic mode (0,n): 0, then zte(1..12), then three zeros.
#include "velk/velk.h"

extern "C" {

Constants __velk_MOD_cnst = {8.3144598};  // CODATA 2014
const Constants __velk_MOD___def_init_velk_Constants = {8.3144598};

double __velk_MOD_pi = static_cast<double>(3.14159265358979f);

double __velk_MOD_zte[12] = {
    4.4934096f, 7.7252517f, 10.904121f, 14.066194f, 17.220755f, 20.371304f,
    23.519453f, 26.666054f, 29.8116f,   32.95639f,  36.100624f, 39.24443f,
};

double __velk_MOD_ztm[13] = {
    2.7437072f, 6.116764f, 9.316616f,  12.485937f, 15.643867f, 18.796253f, 21.945518f,
    25.092848f, 28.238892f, 31.38404f, 34.52854f,  37.672554f, 40.816196f,
};

double __velk_MOD_zac[16] = {
    0.0f,       4.4934096f, 7.7252517f, 10.904121f, 14.066194f, 17.220755f,
    20.371304f, 23.519453f, 26.666054f, 29.8116f,   32.95639f,  36.100624f,
    39.24443f,  0.0f,       0.0f,       0.0f,
};

VELK_API void VELK_CALL __velk_MOD___copy_velk_Constants(const Constants *src, Constants *dst) {
    *dst = *src;
}

// Type descriptor: a fixed type code ("velk" in ASCII), the record size and
// the default record and copy routine; no parent, finaliser or deallocator.
velk_vtab __velk_MOD___vtab_velk_Constants = {
    0x76656c6b, sizeof(Constants), nullptr, &__velk_MOD___def_init_velk_Constants,
    &__velk_MOD___copy_velk_Constants, nullptr, nullptr,
};

}  // extern "C"
