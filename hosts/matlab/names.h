/*
 * Readable names of the exports for the MATLAB/Octave gateway (velk_mex.c):
 * one row per export, in the order of src/frame/export_table.inc.
 *
 *   VELK_NAME_ROUTINE(readable, export, result, arity)
 *   VELK_NAME_DATA(readable, export, count)
 *
 * result and arity repeat the export table's result kind and number of
 * parameters (BYVAL: the by-value float, float, int32 of the complex power).
 * A wrong arity does not compile (each row becomes a call of the routine as
 * velk.h declares it); the gateway compares the rows, names and result kinds
 * with the export table on its first call and stops with velk:internal if
 * they disagree, so that this file cannot drift from the table unnoticed.  count is the number of doubles a datum holds (0: not
 * numbers).  A readable name is the quantity the routine gives, in snake
 * case; the export name works everywhere the readable one does.
 */
VELK_NAME_ROUTINE(equivalent_radius, Ell_Req, double, 3)
VELK_NAME_ROUTINE(te_deformation, Eps_TE1n, none, 6)
VELK_NAME_ROUTINE(tm_deformation, Eps_TM1n, none, 6)
VELK_NAME_ROUTINE(accommodation_length, I_t, double, 6)
VELK_NAME_ROUTINE(acoustic_second_order, O2dZ2AC, single, 2)
VELK_NAME_ROUTINE(copy_constants, __velk_MOD___copy_velk_Constants, none, 2)
VELK_NAME_DATA(default_constants, __velk_MOD___def_init_velk_Constants, 1)
VELK_NAME_DATA(constants_type, __velk_MOD___vtab_velk_Constants, 0)
VELK_NAME_ROUTINE(besselj, __velk_MOD_besselj, complex, 3)
VELK_NAME_DATA(gas_constant, __velk_MOD_cnst, 1)
VELK_NAME_ROUTINE(te_factor, __velk_MOD_hte, double, 1)
VELK_NAME_ROUTINE(tm_factor, __velk_MOD_htm, double, 1)
VELK_NAME_ROUTINE(normbesselj, __velk_MOD_normbesselj, complex, 6)
VELK_NAME_DATA(pi_single, __velk_MOD_pi, 1)
VELK_NAME_ROUTINE(sortfreq, __velk_MOD_sortfreq, none, 4)
VELK_NAME_DATA(acoustic_eigenvalues, __velk_MOD_zac, 16)
VELK_NAME_DATA(te_eigenvalues, __velk_MOD_zte, 12)
VELK_NAME_DATA(tm_eigenvalues, __velk_MOD_ztm, 13)
VELK_NAME_ROUTINE(cpowi, _velk_cpowi, csingle, BYVAL)
VELK_NAME_ROUTINE(copper_heat_capacity, cp_cu, double, 1)
VELK_NAME_ROUTINE(skin_depth, d_sk, double, 3)
VELK_NAME_ROUTINE(thermal_penetration, d_t, double, 4)
VELK_NAME_ROUTINE(viscous_penetration, d_v, double, 3)
VELK_NAME_ROUTINE(copper_shift, df_CuTh, single, 5)
VELK_NAME_ROUTINE(accommodation_shift, df_Ith, single, 3)
VELK_NAME_ROUTINE(te_cube_shift, df_dcTE, double, 2)
VELK_NAME_ROUTINE(tm_cube_shift, df_dcTM1n, double, 3)
VELK_NAME_ROUTINE(thermal_layer_shift, df_dth, double, 3)
VELK_NAME_ROUTINE(duct_perturbation, df_ducts, none, 14)
VELK_NAME_ROUTINE(microphone_shift, df_mic, double, 4)
VELK_NAME_ROUTINE(te_skin_perturbation, df_skTE, none, 4)
VELK_NAME_ROUTINE(tm_skin_perturbation, df_skTM1n, none, 5)
VELK_NAME_ROUTINE(thermal_shift, df_th, double, 8)
VELK_NAME_ROUTINE(te_second_order, dzm2_zTE1n, single, 3)
VELK_NAME_ROUTINE(tm_second_order, dzm2_zTM1n, single, 3)
VELK_NAME_ROUTINE(ideal_frequency, f_id, double, 3)
VELK_NAME_ROUTINE(copper_halfwidth, g_Cu, double, 5)
VELK_NAME_ROUTINE(bulk_halfwidth, g_b, double, 7)
VELK_NAME_ROUTINE(thermal_halfwidth, g_t, double, 9)
VELK_NAME_ROUTINE(thermal_layer_halfwidth, g_th, double, 3)
VELK_NAME_ROUTINE(thermal_layer_second_order, g_thO2, double, 3)
VELK_NAME_ROUTINE(copper_conductivity, k_cu, double, 2)
