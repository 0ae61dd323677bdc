// Storage for one call of any routine of the export table: every parameter
// gets its own slot, filled from a few settable values, and the addresses are
// handed to dispatch::call.  Outputs start as a signalling pattern so that a
// routine that does not write them is seen.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <deque>
#include <vector>

#include "frame/dispatch.hpp"
#include "shape/shape.hpp"

namespace velk::test {

struct ArgPack {
    double real = 1.25;         // every ref double
    int32_t integer = 2;        // every ref int32 (and nduct)
    velk_complex cplx{1.5, -0.5};
    std::array<double, 3> sort_out{-7.0, -7.0, -7.0};

    std::deque<double> doubles;  // stable addresses
    std::deque<int32_t> ints;
    std::deque<velk_complex> cplxs;
    std::deque<std::vector<double>> arrays;
    std::deque<Constants> records;
    std::deque<velk_descriptor> descs;
    std::vector<void *> addresses;

    static constexpr double unwritten = -123456.789;

    void build(const dispatch::Export &row) {
        addresses.clear();
        for (const dispatch::Param &p : row.params) {
            using dispatch::Arg;
            switch (p.type) {
                case Arg::d: case Arg::x: addresses.push_back(&doubles.emplace_back(real)); break;
                case Arg::i: addresses.push_back(&ints.emplace_back(integer)); break;
                case Arg::z: addresses.push_back(&cplxs.emplace_back(cplx)); break;
                case Arg::d2: addresses.push_back(arrays.emplace_back(2, real).data()); break;
                case Arg::dN:
                    addresses.push_back(
                        arrays.emplace_back(integer > 0 ? static_cast<size_t>(integer) : 1, real)
                            .data());
                    break;
                case Arg::od: addresses.push_back(&doubles.emplace_back(unwritten)); break;
                case Arg::oz:
                    addresses.push_back(&cplxs.emplace_back(velk_complex{unwritten, unwritten}));
                    break;
                case Arg::C: addresses.push_back(&records.emplace_back(Constants{real})); break;
                case Arg::oC: addresses.push_back(&records.emplace_back(Constants{unwritten})); break;
                case Arg::desc:
                    addresses.push_back(
                        &descs.emplace_back(shape::triplet_descriptor(sort_out.data())));
                    break;
                case Arg::vf: case Arg::vi: break;
            }
        }
    }

    // The values a call produced: function value and every out argument, as
    // bit patterns, for bit-for-bit comparison of two calls.
    std::vector<uint64_t> outputs(const dispatch::Export &row, const dispatch::Value &v) const {
        std::vector<uint64_t> out;
        auto put = [&](double x) {
            uint64_t b;
            std::memcpy(&b, &x, 8);
            out.push_back(b);
        };
        switch (row.result) {
            case dispatch::Result::real: put(v.real); break;
            case dispatch::Result::single: put(static_cast<double>(v.single)); break;
            case dispatch::Result::complex: put(v.cplx.re); put(v.cplx.im); break;
            default: break;
        }
        for (size_t k = 0; k < row.params.size(); ++k) {
            using dispatch::Arg;
            switch (row.params[k].type) {
                case Arg::od: put(*static_cast<double *>(addresses[k])); break;
                case Arg::oC: put(static_cast<Constants *>(addresses[k])->rgas); break;
                case Arg::desc: for (double x : sort_out) put(x); break;
                default: break;
            }
        }
        return out;
    }
};

}  // namespace velk::test
