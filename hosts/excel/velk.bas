Attribute VB_Name = "velk"
' Generated from src/frame/export_table.inc by scripts/exportgen.py; do not edit.
'
' velk for Excel: the Declare statements of every routine of the library, and
' worksheet functions for the common ones (see hosts/excel/README.md).
' 64-bit Office calls velk_64bit.dll; 32-bit Office calls velk_32bit_stdcall.dll,
' whose entries use the stdcall convention that Declare requires.  Put the DLL
' next to the workbook or on the PATH.
Option Explicit

Public Type VelkComplex
    re As Double
    im As Double
End Type

Public Type VelkConstants
    rgas As Double
End Type

' The rank-1 array descriptor of velk_sortfreq; addr is the address of the
' first element (VarPtr), the other fields as the header describes them.
Public Type VelkDescriptor
#If VBA7 Then
    addr As LongPtr
#Else
    addr As Long
#End If
    offset As Long
    elemLen As Long
    version As Long
    rank As Byte
    elemType As Byte
    attr As Integer
    span As Long
    stride As Long
    lower As Long
    upper As Long
End Type

#If VBA7 And Win64 Then
    ' Ell_Req(a1, a2, a3)
    Public Declare PtrSafe Function Ell_Req Lib "velk_64bit.dll" (ByRef a1 As Double, ByRef a2 As Double, ByRef a3 As Double) As Double
    ' Eps_TE1n(fa [Hz], fb [Hz], fc [Hz], n, eps1 [1] (out), eps2 [1] (out))
    Public Declare PtrSafe Sub Eps_TE1n Lib "velk_64bit.dll" (ByRef fa As Double, ByRef fb As Double, ByRef fc As Double, ByRef n As Long, ByRef eps1 As Double, ByRef eps2 As Double)
    ' Eps_TM1n(fa [Hz], fb [Hz], fc [Hz], n, eps1 [1] (out), eps2 [1] (out))
    Public Declare PtrSafe Sub Eps_TM1n Lib "velk_64bit.dll" (ByRef fa As Double, ByRef fb As Double, ByRef fc As Double, ByRef n As Long, ByRef eps1 As Double, ByRef eps2 As Double)
    ' I_t(t [K], p [kPa], cv [J/(kg.K)], kappa [W/(m.K)], mw [kg/mol], h [1])
    Public Declare PtrSafe Function I_t Lib "velk_64bit.dll" (ByRef t As Double, ByRef p As Double, ByRef cv As Double, ByRef kappa As Double, ByRef mw As Double, ByRef h As Double) As Double
    ' O2dZ2AC(eps [1] (two elements: pass the first), n)
    Public Declare PtrSafe Function O2dZ2AC Lib "velk_64bit.dll" (ByRef eps As Double, ByRef n As Long) As Single
    ' __velk_MOD___copy_velk_Constants(src, dst (out))
    Public Declare PtrSafe Sub velk_copy_velk_Constants Lib "velk_64bit.dll" Alias "__velk_MOD___copy_velk_Constants" (ByRef src As VelkConstants, ByRef dst As VelkConstants)
    ' __velk_MOD_besselj(result (out), n, z)
    Public Declare PtrSafe Function velk_besselj Lib "velk_64bit.dll" Alias "__velk_MOD_besselj" (ByRef result As VelkComplex, ByRef n As Long, ByRef z As VelkComplex) As LongPtr
    ' __velk_MOD_hte(z [1])
    Public Declare PtrSafe Function velk_hte Lib "velk_64bit.dll" Alias "__velk_MOD_hte" (ByRef z As Double) As Double
    ' __velk_MOD_htm(z [1])
    Public Declare PtrSafe Function velk_htm Lib "velk_64bit.dll" Alias "__velk_MOD_htm" (ByRef z As Double) As Double
    ' __velk_MOD_normbesselj(result (out), n, z, nstart, count, seed)
    Public Declare PtrSafe Function velk_normbesselj Lib "velk_64bit.dll" Alias "__velk_MOD_normbesselj" (ByRef result As VelkComplex, ByRef n As Long, ByRef z As VelkComplex, ByRef nstart As Long, ByRef count As Long, ByRef seed As VelkComplex) As LongPtr
    ' __velk_MOD_sortfreq(fsort, fa, fb, fc)
    Public Declare PtrSafe Sub velk_sortfreq Lib "velk_64bit.dll" Alias "__velk_MOD_sortfreq" (ByRef fsort As VelkDescriptor, ByRef fa As Double, ByRef fb As Double, ByRef fc As Double)
    ' _velk_cpowi(re, im, n)
    Public Declare PtrSafe Function velk_cpowi Lib "velk_64bit.dll" Alias "_velk_cpowi" (ByVal re As Single, ByVal im As Single, ByVal n As Long) As LongLong
    ' cp_cu(t [K])
    Public Declare PtrSafe Function cp_cu Lib "velk_64bit.dll" (ByRef t As Double) As Double
    ' d_sk(x1, x2, x3)
    Public Declare PtrSafe Function d_sk Lib "velk_64bit.dll" (ByRef x1 As Double, ByRef x2 As Double, ByRef x3 As Double) As Double
    ' d_t(kappa [W/(m.K)], rho [kg/m3], cp [J/(kg.K)], f [Hz])
    Public Declare PtrSafe Function d_t Lib "velk_64bit.dll" (ByRef kappa As Double, ByRef rho As Double, ByRef cp As Double, ByRef f As Double) As Double
    ' d_v(eta [Pa.s], rho [kg/m3], f [Hz])
    Public Declare PtrSafe Function d_v Lib "velk_64bit.dll" (ByRef eta As Double, ByRef rho As Double, ByRef f As Double) As Double
    ' df_CuTh(gamma [1], a [mm], dcu [m], kappa [W/(m.K)], kcu [W/(m.K)])
    Public Declare PtrSafe Function df_CuTh Lib "velk_64bit.dll" (ByRef gamma As Double, ByRef a As Double, ByRef dcu As Double, ByRef kappa As Double, ByRef kcu As Double) As Single
    ' df_Ith(gamma [1], a [mm], lt [m])
    Public Declare PtrSafe Function df_Ith Lib "velk_64bit.dll" (ByRef gamma As Double, ByRef a As Double, ByRef lt As Double) As Single
    ' df_dcTE(r [mm], a [mm])
    Public Declare PtrSafe Function df_dcTE Lib "velk_64bit.dll" (ByRef r As Double, ByRef a As Double) As Double
    ' df_dcTM1n(r [mm], a [mm], n)
    Public Declare PtrSafe Function df_dcTM1n Lib "velk_64bit.dll" (ByRef r As Double, ByRef a As Double, ByRef n As Long) As Double
    ' df_dth(gamma [1], a [mm], dt [m])
    Public Declare PtrSafe Function df_dth Lib "velk_64bit.dll" (ByRef gamma As Double, ByRef a As Double, ByRef dt As Double) As Double
    ' df_ducts(rduct [mm] (array: pass its first element), lduct [mm] (array: pass its first element), nduct, rho [kg/m3], cp [J/(kg.K)], c [m/s], gamma [1], kappa [W/(m.K)], eta [Pa.s], a [mm], f [Hz], n, df [1] (out), g [1] (out))
    Public Declare PtrSafe Sub df_ducts Lib "velk_64bit.dll" (ByRef rduct As Double, ByRef lduct As Double, ByRef nduct As Long, ByRef rho As Double, ByRef cp As Double, ByRef c As Double, ByRef gamma As Double, ByRef kappa As Double, ByRef eta As Double, ByRef a As Double, ByRef f As Double, ByRef n As Long, ByRef df As Double, ByRef g As Double)
    ' df_mic(rmic [mm], a [mm], rho [kg/m3], c [m/s])
    Public Declare PtrSafe Function df_mic Lib "velk_64bit.dll" (ByRef rmic As Double, ByRef a As Double, ByRef rho As Double, ByRef c As Double) As Double
    ' df_skTE(dsk [m], a [mm], df [1] (out), g [1] (out))
    Public Declare PtrSafe Sub df_skTE Lib "velk_64bit.dll" (ByRef dsk As Double, ByRef a As Double, ByRef df As Double, ByRef g As Double)
    ' df_skTM1n(dsk [m], a [mm], n, df [1] (out), g [1] (out))
    Public Declare PtrSafe Sub df_skTM1n Lib "velk_64bit.dll" (ByRef dsk As Double, ByRef a As Double, ByRef n As Long, ByRef df As Double, ByRef g As Double)
    ' df_th(gamma [1], dt [m], dcu [m], lt [m], kappa [W/(m.K)], kcu [W/(m.K)], a [mm], f [Hz])
    Public Declare PtrSafe Function df_th Lib "velk_64bit.dll" (ByRef gamma As Double, ByRef dt As Double, ByRef dcu As Double, ByRef lt As Double, ByRef kappa As Double, ByRef kcu As Double, ByRef a As Double, ByRef f As Double) As Double
    ' dzm2_zTE1n(eps1 [1], eps2 [1], n)
    Public Declare PtrSafe Function dzm2_zTE1n Lib "velk_64bit.dll" (ByRef eps1 As Double, ByRef eps2 As Double, ByRef n As Long) As Single
    ' dzm2_zTM1n(eps1 [1], eps2 [1], n)
    Public Declare PtrSafe Function dzm2_zTM1n Lib "velk_64bit.dll" (ByRef eps1 As Double, ByRef eps2 As Double, ByRef n As Long) As Single
    ' f_id(n, c [m/s], a [mm])
    Public Declare PtrSafe Function f_id Lib "velk_64bit.dll" (ByRef n As Long, ByRef c As Double, ByRef a As Double) As Double
    ' g_Cu(gamma [1], a [mm], dcu [m], kappa [W/(m.K)], kcu [W/(m.K)])
    Public Declare PtrSafe Function g_Cu Lib "velk_64bit.dll" (ByRef gamma As Double, ByRef a As Double, ByRef dcu As Double, ByRef kappa As Double, ByRef kcu As Double) As Double
    ' g_b(t [K] (never read), p [kPa], c [m/s], gamma [1], dv [m], dt [m], f [Hz])
    Public Declare PtrSafe Function g_b Lib "velk_64bit.dll" (ByRef t As Double, ByRef p As Double, ByRef c As Double, ByRef gamma As Double, ByRef dv As Double, ByRef dt As Double, ByRef f As Double) As Double
    ' g_t(t [K] (never read), p [kPa], gamma [1], dt [m], dcu [m], kappa [W/(m.K)], kcu [W/(m.K)], a [mm], f [Hz])
    Public Declare PtrSafe Function g_t Lib "velk_64bit.dll" (ByRef t As Double, ByRef p As Double, ByRef gamma As Double, ByRef dt As Double, ByRef dcu As Double, ByRef kappa As Double, ByRef kcu As Double, ByRef a As Double, ByRef f As Double) As Double
    ' g_th(gamma [1], a [mm], dt [m])
    Public Declare PtrSafe Function g_th Lib "velk_64bit.dll" (ByRef gamma As Double, ByRef a As Double, ByRef dt As Double) As Double
    ' g_thO2(gamma [1], a [mm], dt [m])
    Public Declare PtrSafe Function g_thO2 Lib "velk_64bit.dll" (ByRef gamma As Double, ByRef a As Double, ByRef dt As Double) As Double
    ' k_cu(t [K], rrr [1])
    Public Declare PtrSafe Function k_cu Lib "velk_64bit.dll" (ByRef t As Double, ByRef rrr As Double) As Double
#Else
    ' Ell_Req(a1, a2, a3)
    Public Declare Function Ell_Req Lib "velk_32bit_stdcall.dll" (ByRef a1 As Double, ByRef a2 As Double, ByRef a3 As Double) As Double
    ' Eps_TE1n(fa [Hz], fb [Hz], fc [Hz], n, eps1 [1] (out), eps2 [1] (out))
    Public Declare Sub Eps_TE1n Lib "velk_32bit_stdcall.dll" (ByRef fa As Double, ByRef fb As Double, ByRef fc As Double, ByRef n As Long, ByRef eps1 As Double, ByRef eps2 As Double)
    ' Eps_TM1n(fa [Hz], fb [Hz], fc [Hz], n, eps1 [1] (out), eps2 [1] (out))
    Public Declare Sub Eps_TM1n Lib "velk_32bit_stdcall.dll" (ByRef fa As Double, ByRef fb As Double, ByRef fc As Double, ByRef n As Long, ByRef eps1 As Double, ByRef eps2 As Double)
    ' I_t(t [K], p [kPa], cv [J/(kg.K)], kappa [W/(m.K)], mw [kg/mol], h [1])
    Public Declare Function I_t Lib "velk_32bit_stdcall.dll" (ByRef t As Double, ByRef p As Double, ByRef cv As Double, ByRef kappa As Double, ByRef mw As Double, ByRef h As Double) As Double
    ' O2dZ2AC(eps [1] (two elements: pass the first), n)
    Public Declare Function O2dZ2AC Lib "velk_32bit_stdcall.dll" (ByRef eps As Double, ByRef n As Long) As Single
    ' __velk_MOD___copy_velk_Constants(src, dst (out))
    Public Declare Sub velk_copy_velk_Constants Lib "velk_32bit_stdcall.dll" Alias "__velk_MOD___copy_velk_Constants" (ByRef src As VelkConstants, ByRef dst As VelkConstants)
    ' __velk_MOD_besselj(result (out), n, z)
    Public Declare Function velk_besselj Lib "velk_32bit_stdcall.dll" Alias "__velk_MOD_besselj" (ByRef result As VelkComplex, ByRef n As Long, ByRef z As VelkComplex) As Long
    ' __velk_MOD_hte(z [1])
    Public Declare Function velk_hte Lib "velk_32bit_stdcall.dll" Alias "__velk_MOD_hte" (ByRef z As Double) As Double
    ' __velk_MOD_htm(z [1])
    Public Declare Function velk_htm Lib "velk_32bit_stdcall.dll" Alias "__velk_MOD_htm" (ByRef z As Double) As Double
    ' __velk_MOD_normbesselj(result (out), n, z, nstart, count, seed)
    Public Declare Function velk_normbesselj Lib "velk_32bit_stdcall.dll" Alias "__velk_MOD_normbesselj" (ByRef result As VelkComplex, ByRef n As Long, ByRef z As VelkComplex, ByRef nstart As Long, ByRef count As Long, ByRef seed As VelkComplex) As Long
    ' __velk_MOD_sortfreq(fsort, fa, fb, fc)
    Public Declare Sub velk_sortfreq Lib "velk_32bit_stdcall.dll" Alias "__velk_MOD_sortfreq" (ByRef fsort As VelkDescriptor, ByRef fa As Double, ByRef fb As Double, ByRef fc As Double)
    ' _velk_cpowi(re, im, n)
    Public Declare Function velk_cpowi Lib "velk_32bit_stdcall.dll" Alias "_velk_cpowi" (ByVal re As Single, ByVal im As Single, ByVal n As Long) As Currency
    ' cp_cu(t [K])
    Public Declare Function cp_cu Lib "velk_32bit_stdcall.dll" (ByRef t As Double) As Double
    ' d_sk(x1, x2, x3)
    Public Declare Function d_sk Lib "velk_32bit_stdcall.dll" (ByRef x1 As Double, ByRef x2 As Double, ByRef x3 As Double) As Double
    ' d_t(kappa [W/(m.K)], rho [kg/m3], cp [J/(kg.K)], f [Hz])
    Public Declare Function d_t Lib "velk_32bit_stdcall.dll" (ByRef kappa As Double, ByRef rho As Double, ByRef cp As Double, ByRef f As Double) As Double
    ' d_v(eta [Pa.s], rho [kg/m3], f [Hz])
    Public Declare Function d_v Lib "velk_32bit_stdcall.dll" (ByRef eta As Double, ByRef rho As Double, ByRef f As Double) As Double
    ' df_CuTh(gamma [1], a [mm], dcu [m], kappa [W/(m.K)], kcu [W/(m.K)])
    Public Declare Function df_CuTh Lib "velk_32bit_stdcall.dll" (ByRef gamma As Double, ByRef a As Double, ByRef dcu As Double, ByRef kappa As Double, ByRef kcu As Double) As Single
    ' df_Ith(gamma [1], a [mm], lt [m])
    Public Declare Function df_Ith Lib "velk_32bit_stdcall.dll" (ByRef gamma As Double, ByRef a As Double, ByRef lt As Double) As Single
    ' df_dcTE(r [mm], a [mm])
    Public Declare Function df_dcTE Lib "velk_32bit_stdcall.dll" (ByRef r As Double, ByRef a As Double) As Double
    ' df_dcTM1n(r [mm], a [mm], n)
    Public Declare Function df_dcTM1n Lib "velk_32bit_stdcall.dll" (ByRef r As Double, ByRef a As Double, ByRef n As Long) As Double
    ' df_dth(gamma [1], a [mm], dt [m])
    Public Declare Function df_dth Lib "velk_32bit_stdcall.dll" (ByRef gamma As Double, ByRef a As Double, ByRef dt As Double) As Double
    ' df_ducts(rduct [mm] (array: pass its first element), lduct [mm] (array: pass its first element), nduct, rho [kg/m3], cp [J/(kg.K)], c [m/s], gamma [1], kappa [W/(m.K)], eta [Pa.s], a [mm], f [Hz], n, df [1] (out), g [1] (out))
    Public Declare Sub df_ducts Lib "velk_32bit_stdcall.dll" (ByRef rduct As Double, ByRef lduct As Double, ByRef nduct As Long, ByRef rho As Double, ByRef cp As Double, ByRef c As Double, ByRef gamma As Double, ByRef kappa As Double, ByRef eta As Double, ByRef a As Double, ByRef f As Double, ByRef n As Long, ByRef df As Double, ByRef g As Double)
    ' df_mic(rmic [mm], a [mm], rho [kg/m3], c [m/s])
    Public Declare Function df_mic Lib "velk_32bit_stdcall.dll" (ByRef rmic As Double, ByRef a As Double, ByRef rho As Double, ByRef c As Double) As Double
    ' df_skTE(dsk [m], a [mm], df [1] (out), g [1] (out))
    Public Declare Sub df_skTE Lib "velk_32bit_stdcall.dll" (ByRef dsk As Double, ByRef a As Double, ByRef df As Double, ByRef g As Double)
    ' df_skTM1n(dsk [m], a [mm], n, df [1] (out), g [1] (out))
    Public Declare Sub df_skTM1n Lib "velk_32bit_stdcall.dll" (ByRef dsk As Double, ByRef a As Double, ByRef n As Long, ByRef df As Double, ByRef g As Double)
    ' df_th(gamma [1], dt [m], dcu [m], lt [m], kappa [W/(m.K)], kcu [W/(m.K)], a [mm], f [Hz])
    Public Declare Function df_th Lib "velk_32bit_stdcall.dll" (ByRef gamma As Double, ByRef dt As Double, ByRef dcu As Double, ByRef lt As Double, ByRef kappa As Double, ByRef kcu As Double, ByRef a As Double, ByRef f As Double) As Double
    ' dzm2_zTE1n(eps1 [1], eps2 [1], n)
    Public Declare Function dzm2_zTE1n Lib "velk_32bit_stdcall.dll" (ByRef eps1 As Double, ByRef eps2 As Double, ByRef n As Long) As Single
    ' dzm2_zTM1n(eps1 [1], eps2 [1], n)
    Public Declare Function dzm2_zTM1n Lib "velk_32bit_stdcall.dll" (ByRef eps1 As Double, ByRef eps2 As Double, ByRef n As Long) As Single
    ' f_id(n, c [m/s], a [mm])
    Public Declare Function f_id Lib "velk_32bit_stdcall.dll" (ByRef n As Long, ByRef c As Double, ByRef a As Double) As Double
    ' g_Cu(gamma [1], a [mm], dcu [m], kappa [W/(m.K)], kcu [W/(m.K)])
    Public Declare Function g_Cu Lib "velk_32bit_stdcall.dll" (ByRef gamma As Double, ByRef a As Double, ByRef dcu As Double, ByRef kappa As Double, ByRef kcu As Double) As Double
    ' g_b(t [K] (never read), p [kPa], c [m/s], gamma [1], dv [m], dt [m], f [Hz])
    Public Declare Function g_b Lib "velk_32bit_stdcall.dll" (ByRef t As Double, ByRef p As Double, ByRef c As Double, ByRef gamma As Double, ByRef dv As Double, ByRef dt As Double, ByRef f As Double) As Double
    ' g_t(t [K] (never read), p [kPa], gamma [1], dt [m], dcu [m], kappa [W/(m.K)], kcu [W/(m.K)], a [mm], f [Hz])
    Public Declare Function g_t Lib "velk_32bit_stdcall.dll" (ByRef t As Double, ByRef p As Double, ByRef gamma As Double, ByRef dt As Double, ByRef dcu As Double, ByRef kappa As Double, ByRef kcu As Double, ByRef a As Double, ByRef f As Double) As Double
    ' g_th(gamma [1], a [mm], dt [m])
    Public Declare Function g_th Lib "velk_32bit_stdcall.dll" (ByRef gamma As Double, ByRef a As Double, ByRef dt As Double) As Double
    ' g_thO2(gamma [1], a [mm], dt [m])
    Public Declare Function g_thO2 Lib "velk_32bit_stdcall.dll" (ByRef gamma As Double, ByRef a As Double, ByRef dt As Double) As Double
    ' k_cu(t [K], rrr [1])
    Public Declare Function k_cu Lib "velk_32bit_stdcall.dll" (ByRef t As Double, ByRef rrr As Double) As Double
#End If

' ---- Worksheet functions ------------------------------------------------------
' For use in cells, e.g. =VELK_IDEAL_FREQUENCY(2, 307.85, 50).  Units as in the
' Declare comments above: radii and duct dimensions in mm, penetration,
' accommodation and skin-depth lengths in m, pressure in kPa, otherwise SI.
' Functions with two results return a two-element array (enter them over two
' cells); VELK_DUCT_PERTURBATION takes the duct radii and lengths as two ranges of equal
' size.  A bad argument gives #VALUE!; the routines return NaN (#NUM!) where
' the model has no value, e.g. a mode number outside its table.

Private Function VelkCell(ByVal x As Double) As Variant
    ' Excel cannot hold NaN or an infinity: #NUM! instead.
    If x <> x Or Abs(x) > 1.79769313486231E+308 Then
        VelkCell = CVErr(2036)
    Else
        VelkCell = x
    End If
End Function

Private Function VelkPair(ByVal x As Double, ByVal y As Double) As Variant
    VelkPair = Array(VelkCell(x), VelkCell(y))
End Function

' The numbers of a range, an array or a single value, in order.
Private Function VelkDoubles(ByVal v As Variant, ByRef out() As Double) As Long
    Dim x As Variant, k As Long
    If TypeName(v) = "Range" Then v = v.Value
    If Not IsArray(v) Then v = Array(v)
    k = 0
    For Each x In v
        ReDim Preserve out(0 To k)
        out(k) = CDbl(x)
        k = k + 1
    Next x
    VelkDoubles = k
End Function

' Ideal frequency of the radial mode (0,n) in Hz: f_id.
Public Function VELK_IDEAL_FREQUENCY(ByVal n As Long, ByVal c As Double, ByVal a As Double) As Variant
    VELK_IDEAL_FREQUENCY = VelkCell(f_id(n, c, a))
End Function

' Viscous penetration length in m: d_v.
Public Function VELK_VISCOUS_PENETRATION(ByVal eta As Double, ByVal rho As Double, ByVal f As Double) As Variant
    VELK_VISCOUS_PENETRATION = VelkCell(d_v(eta, rho, f))
End Function

' Thermal penetration length in m: d_t.
Public Function VELK_THERMAL_PENETRATION(ByVal kappa As Double, ByVal rho As Double, ByVal cp As Double, ByVal f As Double) As Variant
    VELK_THERMAL_PENETRATION = VelkCell(d_t(kappa, rho, cp, f))
End Function

' Thermal accommodation length in m: I_t.
Public Function VELK_ACCOMMODATION_LENGTH(ByVal t As Double, ByVal p As Double, ByVal cv As Double, ByVal kappa As Double, ByVal mw As Double, ByVal h As Double) As Variant
    VELK_ACCOMMODATION_LENGTH = VelkCell(I_t(t, p, cv, kappa, mw, h))
End Function

' Skin depth of the wall: d_sk (in m for a frequency in Hz and a conductivity in S/m).
Public Function VELK_SKIN_DEPTH(ByVal x1 As Double, ByVal x2 As Double, ByVal x3 As Double) As Variant
    VELK_SKIN_DEPTH = VelkCell(d_sk(x1, x2, x3))
End Function

' Relative shift and half-width of a TE mode from the skin depth: df_skTE.
Public Function VELK_SKIN_PERTURBATION_TE(ByVal dsk As Double, ByVal a As Double) As Variant
    Dim df As Double, g As Double
    df_skTE dsk, a, df, g
    VELK_SKIN_PERTURBATION_TE = VelkPair(df, g)
End Function

' Relative shift and half-width of the TM1n mode from the skin depth: df_skTM1n.
Public Function VELK_SKIN_PERTURBATION_TM1N(ByVal dsk As Double, ByVal a As Double, ByVal n As Long) As Variant
    Dim df As Double, g As Double
    df_skTM1n dsk, a, n, df, g
    VELK_SKIN_PERTURBATION_TM1N = VelkPair(df, g)
End Function

' Deformation parameters eps1, eps2 from a TE1n or TM1n triplet (Hz): Eps_TE1n, Eps_TM1n.
Public Function VELK_DEFORMATION_TE1N(ByVal fa As Double, ByVal fb As Double, ByVal fc As Double, ByVal n As Long) As Variant
    Dim e1 As Double, e2 As Double
    Eps_TE1n fa, fb, fc, n, e1, e2
    VELK_DEFORMATION_TE1N = VelkPair(e1, e2)
End Function

Public Function VELK_DEFORMATION_TM1N(ByVal fa As Double, ByVal fb As Double, ByVal fc As Double, ByVal n As Long) As Variant
    Dim e1 As Double, e2 As Double
    Eps_TM1n fa, fb, fc, n, e1, e2
    VELK_DEFORMATION_TM1N = VelkPair(e1, e2)
End Function

' Thermal boundary layer, relative to the mode frequency: half-width g_th,
' shift df_dth, second-order term g_thO2, accommodation shift df_Ith.
Public Function VELK_THERMAL_HALFWIDTH(ByVal gamma As Double, ByVal a As Double, ByVal dt As Double) As Variant
    VELK_THERMAL_HALFWIDTH = VelkCell(g_th(gamma, a, dt))
End Function

Public Function VELK_THERMAL_SHIFT(ByVal gamma As Double, ByVal a As Double, ByVal dt As Double) As Variant
    VELK_THERMAL_SHIFT = VelkCell(df_dth(gamma, a, dt))
End Function

Public Function VELK_THERMAL_SECOND_ORDER(ByVal gamma As Double, ByVal a As Double, ByVal dt As Double) As Variant
    VELK_THERMAL_SECOND_ORDER = VelkCell(g_thO2(gamma, a, dt))
End Function

Public Function VELK_ACCOMMODATION_SHIFT(ByVal gamma As Double, ByVal a As Double, ByVal lt As Double) As Variant
    VELK_ACCOMMODATION_SHIFT = VelkCell(df_Ith(gamma, a, lt))
End Function

' Thermal shift and half-width with the copper wall, in Hz: df_th, g_t.
Public Function VELK_THERMAL_SHIFT_HZ(ByVal gamma As Double, ByVal dt As Double, ByVal dcu As Double, ByVal lt As Double, ByVal kappa As Double, ByVal kcu As Double, ByVal a As Double, ByVal f As Double) As Variant
    VELK_THERMAL_SHIFT_HZ = VelkCell(df_th(gamma, dt, dcu, lt, kappa, kcu, a, f))
End Function

Public Function VELK_THERMAL_HALFWIDTH_HZ(ByVal t As Double, ByVal p As Double, ByVal gamma As Double, ByVal dt As Double, ByVal dcu As Double, ByVal kappa As Double, ByVal kcu As Double, ByVal a As Double, ByVal f As Double) As Variant
    VELK_THERMAL_HALFWIDTH_HZ = VelkCell(g_t(t, p, gamma, dt, dcu, kappa, kcu, a, f))
End Function

' Bulk half-width in Hz: g_b.
Public Function VELK_BULK_HALFWIDTH(ByVal t As Double, ByVal p As Double, ByVal c As Double, ByVal gamma As Double, ByVal dv As Double, ByVal dt As Double, ByVal f As Double) As Variant
    VELK_BULK_HALFWIDTH = VelkCell(g_b(t, p, c, gamma, dv, dt, f))
End Function

' Relative shift of a wall microphone: df_mic.
Public Function VELK_MIC_SHIFT(ByVal rmic As Double, ByVal a As Double, ByVal rho As Double, ByVal c As Double) As Variant
    VELK_MIC_SHIFT = VelkCell(df_mic(rmic, a, rho, c))
End Function

' Copper: thermal conductivity in W/(m K) (k_cu) and specific heat capacity
' in J/(kg K) (cp_cu); the shell's half-width g_Cu and shift df_CuTh.
Public Function VELK_COPPER_CONDUCTIVITY(ByVal t As Double, ByVal rrr As Double) As Variant
    VELK_COPPER_CONDUCTIVITY = VelkCell(k_cu(t, rrr))
End Function

Public Function VELK_COPPER_HEAT_CAPACITY(ByVal t As Double) As Variant
    VELK_COPPER_HEAT_CAPACITY = VelkCell(cp_cu(t))
End Function

Public Function VELK_SHELL_HALFWIDTH(ByVal gamma As Double, ByVal a As Double, ByVal dcu As Double, ByVal kappa As Double, ByVal kcu As Double) As Variant
    VELK_SHELL_HALFWIDTH = VelkCell(g_Cu(gamma, a, dcu, kappa, kcu))
End Function

Public Function VELK_SHELL_SHIFT(ByVal gamma As Double, ByVal a As Double, ByVal dcu As Double, ByVal kappa As Double, ByVal kcu As Double) As Variant
    VELK_SHELL_SHIFT = VelkCell(df_CuTh(gamma, a, dcu, kappa, kcu))
End Function

' Relative shift and half-width from a chain of ducts: df_ducts.  rduct and
' lduct: the sections' radii and lengths in mm, ranges of equal size.
Public Function VELK_DUCT_PERTURBATION(ByVal rduct As Variant, ByVal lduct As Variant, ByVal rho As Double, ByVal cp As Double, ByVal c As Double, ByVal gamma As Double, ByVal kappa As Double, ByVal eta As Double, ByVal a As Double, ByVal f As Double, ByVal n As Long) As Variant
    Dim r() As Double, l() As Double, nduct As Long, df As Double, g As Double
    On Error GoTo bad
    nduct = VelkDoubles(rduct, r)
    If nduct = 0 Or VelkDoubles(lduct, l) <> nduct Then GoTo bad
    df_ducts r(0), l(0), nduct, rho, cp, c, gamma, kappa, eta, a, f, n, df, g
    VELK_DUCT_PERTURBATION = VelkPair(df, g)
    Exit Function
bad:
    VELK_DUCT_PERTURBATION = CVErr(2015)
End Function

' Bessel function of the first kind J_n(z), z = re + i im: {real part, imaginary part}.
Public Function VELK_BESSELJ(ByVal n As Long, ByVal re As Double, ByVal im As Double) As Variant
    Dim z As VelkComplex, result As VelkComplex
    z.re = re
    z.im = im
    Call velk_besselj(result, n, z)
    VELK_BESSELJ = VelkPair(result.re, result.im)
End Function
