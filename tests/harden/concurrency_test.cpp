// Every routine from eight threads at once, each thread with its
// own arguments in its own storage; every result must have the same bits as
// the same call made on one thread beforehand.
#include <atomic>
#include <bit>
#include <cmath>
#include <complex>
#include <cstdint>
#include <latch>
#include <string>
#include <thread>
#include <vector>

#include "frame/dispatch.hpp"
#include "host/callpack.h"
#include "support/bits.hpp"
#include "velk/velk.hpp"

namespace {

constexpr int kThreads = 8;
constexpr int kRounds = 100;

struct Call {
    const velk_case *base;
    void *fn;
    std::vector<double> in;  // this thread's inputs
    std::vector<std::uint64_t> expected;
};

// Inputs of thread t: the routine's reference calls in turn, the real inputs
// scaled by 1 + t/64 once every reference call has been used.
std::vector<double> inputs_for(const velk_case &c, int t, int pass) {
    std::vector<double> in(c.in, c.in + c.nin);
    if (pass == 0) return in;
    const velk_row *row = velk_find_row(c.routine);
    const int np = row->nparam;
    const int *types = row->type;
    const double scale = 1.0 + t / 64.0;
    size_t at = 0;
    for (int k = 0; k < np; ++k) {
        int n = 1;
        bool real = true;
        switch (types[k]) {
            case VELK_T_Z: case VELK_T_D2: n = 2; break;
            case VELK_T_DN: n = c.len; break;
            case VELK_T_DESC: n = 2; real = false; break;
            case VELK_T_OD: case VELK_T_OZ: case VELK_T_OC: n = 0; break;
            case VELK_T_I: case VELK_T_VI: real = false; break;
            default: break;
        }
        for (int e = 0; e < n; ++e, ++at)
            if (real) in[at] *= scale;
    }
    return in;
}

std::vector<std::uint64_t> run(const velk_case &c, void *fn, const std::vector<double> &in,
                               std::string *err) {
    velk_pack p;
    std::vector<std::uint64_t> bits;
    if (velk_pack_build(&p, velk_find_row(c.routine), c.len, in.data(),
                        static_cast<int>(in.size())) != 0) {
        *err = "inputs do not fit";
        return bits;
    }
    double out[VELK_MAXOUT];
    char msg[256];
    const int n = velk_pack_call(&p, fn, -1, out, VELK_MAXOUT, msg, sizeof msg);
    if (n < 0) *err = msg;
    for (int k = 0; k < n; ++k) bits.push_back(std::bit_cast<std::uint64_t>(out[k]));
    return bits;
}

TEST(Concurrency, EveryRoutineFromEightThreads) {
    // The calls of each thread, with their single-threaded results.
    std::vector<std::vector<Call>> plan(kThreads);
    int routines = 0;
    for (const auto &row : velk::dispatch::table()) {
        if (row.kind != velk::dispatch::Kind::routine) continue;
        std::vector<const velk_case *> mine;
        for (int k = 0; k < velk_ncases; ++k)
            if (velk_cases[k].routine == row.name) mine.push_back(&velk_cases[k]);
        ASSERT_FALSE(mine.empty()) << row.name;
        ++routines;
        for (int t = 0; t < kThreads; ++t) {
            const velk_case &c = *mine[t % mine.size()];
            Call call{&c, row.address, inputs_for(c, t, t / static_cast<int>(mine.size())), {}};
            std::string err;
            call.expected = run(c, row.address, call.in, &err);
            ASSERT_TRUE(err.empty()) << row.name << ": " << err;
            plan[t].push_back(std::move(call));
        }
    }
    ASSERT_GT(routines, 0);

    std::latch start(kThreads);
    std::atomic<int> mismatches{0};
    std::vector<std::string> first(kThreads);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            start.arrive_and_wait();
            for (int r = 0; r < kRounds; ++r) {
                for (const Call &call : plan[t]) {
                    std::string err;
                    const auto got = run(*call.base, call.fn, call.in, &err);
                    if (got != call.expected || !err.empty()) {
                        if (mismatches.fetch_add(1) == 0 || first[t].empty())
                            first[t] = std::string(call.base->routine) + " " + err;
                    }
                }
            }
        });
    }
    for (auto &th : threads) th.join();
    EXPECT_EQ(mismatches.load(), 0);
    for (int t = 0; t < kThreads; ++t)
        EXPECT_TRUE(first[t].empty()) << "thread " << t << ": " << first[t];
}

// The routines over arrays keep no state: eight threads evaluating their own
// arrays at once get the values of one thread alone.
TEST(Concurrency, ArraysFromEightThreads) {
    std::vector<std::vector<velk::complex>> z(kThreads), want(kThreads);
    for (int t = 0; t < kThreads; ++t) {
        for (int k = 0; k < 300; ++k) {
            const double r = 1.0 + (t * 300 + k) * 0.3;
            z[t].push_back({r / std::sqrt(2.0), -r / std::sqrt(2.0)});
        }
        want[t].resize(z[t].size());
        velk::besselj(0, z[t], want[t]);
    }
    std::latch start(kThreads);
    std::atomic<int> mismatches{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            start.arrive_and_wait();
            std::vector<velk::complex> got(z[t].size());
            for (int r = 0; r < 5; ++r) {
                velk::besselj(0, z[t], got);
                for (std::size_t k = 0; k < got.size(); ++k)
                    if (std::bit_cast<std::uint64_t>(got[k].real()) !=
                            std::bit_cast<std::uint64_t>(want[t][k].real()) ||
                        std::bit_cast<std::uint64_t>(got[k].imag()) !=
                            std::bit_cast<std::uint64_t>(want[t][k].imag()))
                        mismatches.fetch_add(1);
            }
        });
    }
    for (auto &th : threads) th.join();
    EXPECT_EQ(mismatches.load(), 0);
}

}  // namespace
