// The caller's floating-point environment, as the library's routines meet it.
//
// Hosts may run with the invalid, divide-by-zero and overflow exceptions
// unmasked (a trap instead of an infinity or a NaN) and, on 32-bit x86, with
// the x87 precision control at 24, 53 or 64 bits.  The library's own
// arithmetic is SSE2 double and never depends on the x87 control word; two
// helpers cover the rest:
//
//   FpHold     for a stretch of code that may overflow on its way to a
//              result it then checks (the wide duct sections): saves the
//              control and status registers, masks every exception, and on
//              destruction restores both, so that the caller sees neither a
//              trap nor a flag from the stretch.  Costs two environment
//              saves and loads; used only off the ordinary paths.
//   X87Guard   around a call of a C-runtime function that 32-bit runtimes
//              compute on the x87 unit (glibc's i686 libm and msvcrt do:
//              hypot, exp, log, pow, the complex functions).  Loads the
//              fixed control word 0x037F (64-bit precision, round to
//              nearest, every exception masked) if the caller's differs, so
//              the function gives the same bits whatever the host set, and
//              restores the caller's word afterwards.  An invalid,
//              divide-by-zero or overflow flag that the function raised and
//              the caller's word unmasks is cleared first, so that it cannot
//              trap later in the host.  When the caller's word is already
//              0x037F the guard is one store of the control word and a
//              comparison.  Active on 32-bit x86 and on 64-bit Windows (the
//              mingw-w64 runtime computes pow, exp and log on the x87 unit
//              there too); a no-op on 64-bit Linux, whose runtime computes in
//              SSE2.
#pragma once

#include <cstdint>
#include <cstring>

#if !defined(__i386__) && !defined(__x86_64__)
#include <cfenv>
#endif

namespace velk {

// Ties a value to memory at this point: the compiler must have it computed
// before and may not compute it ahead of the last environment change.  Used
// around the code an FpHold covers, whose arithmetic the compiler could
// otherwise move across the hold's boundaries.
template <class T>
inline void fp_barrier(T &v) {
    __asm__ __volatile__("" : "+m"(v) : : "memory");
}

#if defined(__i386__) || defined(__x86_64__)

// x87 environment as fnstenv stores it in 32-bit protected mode.
struct X87Env {
    std::uint16_t cw, pad0, sw, pad1, tw, pad2;
    std::uint32_t rest[4];
};

inline std::uint32_t read_mxcsr() {
    std::uint32_t m;
    __asm__ __volatile__("stmxcsr %0" : "=m"(m) : : "memory");
    return m;
}
inline void write_mxcsr(std::uint32_t m) { __asm__ __volatile__("ldmxcsr %0" : : "m"(m) : "memory"); }
inline std::uint16_t read_x87_cw() {
    std::uint16_t cw;
    __asm__ __volatile__("fnstcw %0" : "=m"(cw) : : "memory");
    return cw;
}
inline void write_x87_cw(std::uint16_t cw) { __asm__ __volatile__("fldcw %0" : : "m"(cw) : "memory"); }
inline std::uint16_t read_x87_sw() {
    std::uint16_t sw;
    __asm__ __volatile__("fnstsw %0" : "=m"(sw) : : "memory");
    return sw;
}
// Clears the given x87 exception flags, keeping the others.
inline void clear_x87_flags(std::uint16_t flags) {
    X87Env env;
    __asm__ __volatile__("fnstenv %0" : "=m"(env) : : "memory");
    env.sw = static_cast<std::uint16_t>(env.sw & ~flags & ~0x8080u);  // and ES, B if none left
    if (env.sw & 0x3fu & ~env.cw) env.sw = static_cast<std::uint16_t>(env.sw | 0x8080u);
    __asm__ __volatile__("fldenv %0" : : "m"(env) : "memory");
}

class FpHold {
public:
    FpHold() : mxcsr_(read_mxcsr()) {
        // Every exception masked, the flags cleared; rounding, FTZ and DAZ kept.
        write_mxcsr((mxcsr_ | 0x1f80u) & ~0x3fu);
        // fnstenv masks every x87 exception after storing the environment.
        __asm__ __volatile__("fnstenv %0\n\tfnclex" : "=m"(x87_) : : "memory");
    }
    ~FpHold() {
        __asm__ __volatile__("fldenv %0" : : "m"(x87_) : "memory");
        write_mxcsr(mxcsr_);
    }
    FpHold(const FpHold &) = delete;
    FpHold &operator=(const FpHold &) = delete;

private:
    std::uint32_t mxcsr_;
    X87Env x87_;
};

#else

class FpHold {
public:
    FpHold() { std::feholdexcept(&env_); }
    ~FpHold() { std::fesetenv(&env_); }
    FpHold(const FpHold &) = delete;
    FpHold &operator=(const FpHold &) = delete;

private:
    std::fenv_t env_;
};

#endif

#if defined(__i386__) || (defined(__x86_64__) && defined(_WIN64))

inline constexpr std::uint16_t kX87Fixed = 0x037F;

class X87Guard {
public:
    X87Guard() : cw_(read_x87_cw()) {
        if (cw_ != kX87Fixed) {
            sw_ = read_x87_sw();
            write_x87_cw(kX87Fixed);
        }
    }
    ~X87Guard() {
        if (cw_ == kX87Fixed) return;
        // Invalid (1), divide-by-zero (4), overflow (8) raised here and unmasked by the caller.
        const std::uint16_t fresh = static_cast<std::uint16_t>(read_x87_sw() & ~sw_ & 0x0du & ~cw_);
        if (fresh) clear_x87_flags(fresh);
        write_x87_cw(cw_);
    }
    X87Guard(const X87Guard &) = delete;
    X87Guard &operator=(const X87Guard &) = delete;

private:
    std::uint16_t cw_;
    std::uint16_t sw_ = 0;
};

#else

struct X87Guard {
    X87Guard() {}
    X87Guard(const X87Guard &) = delete;
    X87Guard &operator=(const X87Guard &) = delete;
};

#endif

}  // namespace velk
