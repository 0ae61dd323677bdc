// Hosts that trap floating-point exceptions or change the x87 precision:
// over the physical arguments of every routine (tests/host/sweep.c: gases
// from 1 kPa to 20 MPa, the laboratory's radii, ducts, frequencies and
// modes), no routine raises invalid, divide-by-zero or overflow, none traps
// with those exceptions unmasked, every routine leaves the caller's control
// state (MXCSR control bits, x87 control word) as it found it, and the
// results are the same bits whatever the x87 precision control says.
#include <gtest/gtest.h>

#include <cfenv>
#include <csignal>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include <unistd.h>

#include "frame/dispatch.hpp"
#include "frame/fpenv.hpp"
#include "host/sweep.h"

namespace {

constexpr int kCallsPerRoutine = 1500;
constexpr int kTrapped = FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW;

struct Call {
    const velk_row *row;
    void *fn;
    int len;
    std::vector<double> in;
};

// The physical calls of every implemented routine.
const std::vector<Call> &physical_calls() {
    static const std::vector<Call> calls = [] {
        std::vector<Call> out;
        for (int k = 0; k < VELK_NROWS; ++k) {
            const velk_row *row = &velk_rows[k];
            const auto *d = velk::dispatch::find(row->name);
            if (row->kind != VELK_KIND_ROUTINE || !d || !d->address) continue;
            velk_rng r;
            velk_rng_seed(&r, 0x7472617000000000ull + static_cast<std::uint64_t>(row->ordinal));
            for (int c = 0; c < kCallsPerRoutine; ++c) {
                double in[VELK_MAXIN];
                int len = 0;
                const int nin = velk_sweep_inputs(row, 0, &r, in, &len);
                out.push_back({row, d->address, len, std::vector<double>(in, in + nin)});
            }
        }
        return out;
    }();
    return calls;
}

std::vector<std::uint64_t> call(const Call &c) {
    velk_pack pack;
    EXPECT_EQ(velk_pack_build(&pack, c.row, c.len, c.in.data(), static_cast<int>(c.in.size())), 0);
    double out[VELK_MAXOUT];
    char err[128];
    const int n = velk_pack_call(&pack, c.fn, -1, out, VELK_MAXOUT, err, sizeof err);
    EXPECT_GE(n, 0) << err;
    std::vector<std::uint64_t> bits(n > 0 ? n : 0);
    std::memcpy(bits.data(), out, bits.size() * 8);
    return bits;
}

std::string describe(const Call &c) {
    std::string s = c.row->name;
    s += "(";
    for (double v : c.in) s += std::to_string(v) + " ";
    return s + ")";
}

TEST(FpEnvironment, PhysicalCallsRaiseNoFlags) {
    for (const Call &c : physical_calls()) {
        std::feclearexcept(FE_ALL_EXCEPT);
        call(c);
        const int raised = std::fetestexcept(kTrapped);
        EXPECT_EQ(raised, 0) << describe(c) << " raised"
                             << ((raised & FE_INVALID) ? " invalid" : "")
                             << ((raised & FE_DIVBYZERO) ? " divide-by-zero" : "")
                             << ((raised & FE_OVERFLOW) ? " overflow" : "");
    }
}

const char *volatile g_current = nullptr;

void on_trap(int) {
    static const char msg[] = "floating-point trap in ";
    (void)!write(2, msg, sizeof msg - 1);
    if (g_current) (void)!write(2, g_current, std::strlen(g_current));
    (void)!write(2, "\n", 1);
    _exit(1);
}

TEST(FpEnvironment, NoTrapWithExceptionsUnmasked) {
    const auto previous = std::signal(SIGFPE, on_trap);
    std::feclearexcept(FE_ALL_EXCEPT);
    feenableexcept(kTrapped);
    for (const Call &c : physical_calls()) {
        g_current = c.row->name;
        call(c);
    }
    fedisableexcept(kTrapped);
    g_current = nullptr;
    std::signal(SIGFPE, previous);
}

// Control states a host may set: x87 precision 24, 53 and 64 bits, and the
// one of a Delphi program (invalid, divide-by-zero and overflow unmasked in
// the x87 control word 0x1332 and in MXCSR, 64-bit precision).
struct State {
    const char *name;
    std::uint32_t mxcsr;
    std::uint16_t cw;
};
const State kStates[] = {
    {"x87 precision 24 bits", 0x1f80, 0x007f},
    {"x87 precision 53 bits", 0x1f80, 0x027f},
    {"x87 precision 64 bits", 0x1f80, 0x037f},
    {"Delphi control words", 0x1900, 0x1332},
};

TEST(FpEnvironment, ControlStateKeptAndResultsIndependentOfIt) {
    const std::uint32_t mx0 = velk::read_mxcsr();
    const std::uint16_t cw0 = velk::read_x87_cw();
    const auto previous = std::signal(SIGFPE, on_trap);
    for (const Call &c : physical_calls()) {
        const std::vector<std::uint64_t> want = call(c);
        for (const State &s : kStates) {
            g_current = c.row->name;
            std::feclearexcept(FE_ALL_EXCEPT);
            velk::write_mxcsr(s.mxcsr);
            velk::write_x87_cw(s.cw);
            const std::vector<std::uint64_t> got = call(c);
            const std::uint32_t mx = velk::read_mxcsr();
            const std::uint16_t cw = velk::read_x87_cw();
            velk::write_x87_cw(cw0);
            velk::write_mxcsr(mx0);
            EXPECT_EQ(mx & 0xffc0u, s.mxcsr & 0xffc0u) << s.name << ": " << describe(c);
            EXPECT_EQ(cw | 0x40u, s.cw | 0x40u) << s.name << ": " << describe(c);  // bit 6 reads as 1
            EXPECT_EQ(got, want) << s.name << ": " << describe(c);
        }
    }
    g_current = nullptr;
    std::signal(SIGFPE, previous);
}

}  // namespace
