// Ideal-resonator routines.
//
// f_id:    f = c zac(n) / (2 pi a), a in metres, with the model's pi (results
//          lie a relative 2.78e-8 below those with the exact pi).
// Ell_Req: radius of the sphere with the volume of an ellipsoid,
//          (a1 a2 a3)^(1/3) by the general power function, not a cube root.
#include "ideal.hpp"

#include <cmath>

#include "tables.hpp"

namespace velk::frame {

double ideal_frequency(std::int32_t n, double c, double a, const Model &model) {
    const double am = 0.001 * a;
    const double d = (model.pi + model.pi) * am;
    const double q = zac_at(model, n) / d;
    return c * q;
}

double equal_volume_radius(double a1, double a2, double a3) {
    const double v = a3 * (a1 * a2);
    return crt_pow(v, 0.3333333333333333);
}

}  // namespace velk::frame
