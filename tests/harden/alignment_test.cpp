// 32-bit x86: every routine entered with the stack pointer at
// each residue mod 16 (a host may guarantee no more than 4 bytes), through
// the stack trampoline, gives the same bits as an ordinary call and leaves the
// stack pointer where the call put it (the caller removes the arguments).
#include <bit>
#include <cstdint>
#include <string>
#include <vector>

#include "frame/dispatch.hpp"
#include "host/callpack.h"
#include "host/stackcall.h"
#include "support/bits.hpp"

namespace {

std::vector<std::uint64_t> outputs(const velk_case &c, void *fn, int residue, std::string *err) {
    velk_pack p;
    std::vector<std::uint64_t> bits;
    if (velk_pack_build(&p, velk_find_row(c.routine), c.len, c.in, c.nin) != 0) {
        *err = "inputs do not fit";
        return bits;
    }
    double out[VELK_MAXOUT];
    char msg[256];
    const int n = velk_pack_call(&p, fn, residue, out, VELK_MAXOUT, msg, sizeof msg);
    if (n < 0) *err = msg;
    for (int k = 0; k < n; ++k) bits.push_back(std::bit_cast<std::uint64_t>(out[k]));
    return bits;
}

TEST(StackAlignment, TrampolineEntersAtTheResidue) {
    const std::uint32_t words[3] = {1, 2, 3};
    for (int n = 0; n <= 3; ++n) {
        for (int residue = 0; residue < 16; residue += 4) {
            velk_raw raw{};
            EXPECT_EQ(velk_stack_call(reinterpret_cast<void *>(&velk_entry_esp), words, n, residue,
                                      VELK_FP_NONE, 0, &raw),
                      0);
            EXPECT_EQ(raw.eax % 16, static_cast<std::uint32_t>(residue)) << n << " words";
            // The probe leaves its arguments, as cdecl does: taken for a stdcall
            // routine, it fails the check as soon as it has arguments.
            EXPECT_EQ(velk_stack_call(reinterpret_cast<void *>(&velk_entry_esp), words, n, residue,
                                      VELK_FP_NONE, 4 * n, &raw),
                      n == 0 ? 0 : 1)
                << n << " words";
        }
    }
}

TEST(StackAlignment, EveryRoutineAtEveryResidue) {
    int calls = 0;
    for (int k = 0; k < velk_ncases; ++k) {
        const velk_case &c = velk_cases[k];
        const auto *row = velk::dispatch::find(c.routine);
        if (!row) continue;
        std::string err;
        const auto aligned = outputs(c, row->address, -1, &err);
        ASSERT_TRUE(err.empty()) << err;
        for (int residue : {4, 0, 8, 12}) {
            const auto got = outputs(c, row->address, residue, &err);
            EXPECT_TRUE(err.empty()) << c.routine << " (line " << c.line << "), esp = " << residue
                                     << " mod 16: " << err;
            EXPECT_EQ(got, aligned) << c.routine << " (line " << c.line << "), esp = " << residue
                                    << " mod 16";
            ++calls;
        }
    }
    EXPECT_GT(calls, 0);
}

}  // namespace
