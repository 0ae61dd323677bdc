/* Generated from src/frame/export_table.inc by scripts/exportgen.py; do not edit.
 *
 * The readable names of the exports for the MATLAB/Octave gateway
 * (velk_mex.c): one row per export, in the order of the export table.
 *
 *   VELK_NAME_ROUTINE(readable, export, result, arity)
 *   VELK_NAME_DATA(readable, export, count)
 *
 * arity is the number of parameters (BYVAL: the by-value float, float, int32
 * of the complex power); each row becomes a call of the routine as velk.h
 * declares it, so a wrong arity does not compile.  count is the number of
 * doubles a datum holds (0: not numbers).  The export name works everywhere
 * the readable one does. */
VELK_NAME_ROUTINE(equal_volume_radius, Ell_Req, double, 3)
VELK_NAME_ROUTINE(deformation_te1n, Eps_TE1n, none, 6)
VELK_NAME_ROUTINE(deformation_tm1n, Eps_TM1n, none, 6)
VELK_NAME_ROUTINE(accommodation_length, I_t, double, 6)
VELK_NAME_ROUTINE(second_order_ac, O2dZ2AC, single, 2)
VELK_NAME_ROUTINE(copy_constants, __velk_MOD___copy_velk_Constants, none, 2)
VELK_NAME_DATA(default_constants, __velk_MOD___def_init_velk_Constants, 1)
VELK_NAME_DATA(constants_type, __velk_MOD___vtab_velk_Constants, 0)
VELK_NAME_ROUTINE(besselj, __velk_MOD_besselj, complex, 3)
VELK_NAME_DATA(gas_constant, __velk_MOD_cnst, 1)
VELK_NAME_ROUTINE(te_family_factor, __velk_MOD_hte, double, 1)
VELK_NAME_ROUTINE(tm_family_factor, __velk_MOD_htm, double, 1)
VELK_NAME_ROUTINE(normbesselj, __velk_MOD_normbesselj, complex, 6)
VELK_NAME_DATA(pi_single, __velk_MOD_pi, 1)
VELK_NAME_ROUTINE(sort_frequencies, __velk_MOD_sortfreq, none, 4)
VELK_NAME_DATA(acoustic_eigenvalues, __velk_MOD_zac, 16)
VELK_NAME_DATA(te_eigenvalues, __velk_MOD_zte, 12)
VELK_NAME_DATA(tm_eigenvalues, __velk_MOD_ztm, 13)
VELK_NAME_ROUTINE(cpowi, _velk_cpowi, csingle, BYVAL)
VELK_NAME_ROUTINE(copper_heat_capacity, cp_cu, double, 1)
VELK_NAME_ROUTINE(skin_depth, d_sk, double, 3)
VELK_NAME_ROUTINE(thermal_penetration, d_t, double, 4)
VELK_NAME_ROUTINE(viscous_penetration, d_v, double, 3)
VELK_NAME_ROUTINE(shell_shift, df_CuTh, single, 5)
VELK_NAME_ROUTINE(accommodation_shift, df_Ith, single, 3)
VELK_NAME_ROUTINE(cube_shift_te, df_dcTE, double, 2)
VELK_NAME_ROUTINE(cube_shift_tm1n, df_dcTM1n, double, 3)
VELK_NAME_ROUTINE(thermal_shift, df_dth, double, 3)
VELK_NAME_ROUTINE(duct_perturbation, df_ducts, none, 14)
VELK_NAME_ROUTINE(mic_shift, df_mic, double, 4)
VELK_NAME_ROUTINE(skin_perturbation_te, df_skTE, none, 4)
VELK_NAME_ROUTINE(skin_perturbation_tm1n, df_skTM1n, none, 5)
VELK_NAME_ROUTINE(thermal_shift_hz, df_th, double, 8)
VELK_NAME_ROUTINE(second_order_te1n, dzm2_zTE1n, single, 3)
VELK_NAME_ROUTINE(second_order_tm1n, dzm2_zTM1n, single, 3)
VELK_NAME_ROUTINE(ideal_frequency, f_id, double, 3)
VELK_NAME_ROUTINE(shell_halfwidth, g_Cu, double, 5)
VELK_NAME_ROUTINE(bulk_halfwidth, g_b, double, 7)
VELK_NAME_ROUTINE(thermal_halfwidth_hz, g_t, double, 9)
VELK_NAME_ROUTINE(thermal_halfwidth, g_th, double, 3)
VELK_NAME_ROUTINE(thermal_second_order, g_thO2, double, 3)
VELK_NAME_ROUTINE(copper_conductivity, k_cu, double, 2)
