// The host's view: the shared object loaded with dlopen, every
// export resolved by name, data read and every routine called; results must
// be the same bits as those of the library linked into this test.
#include <dlfcn.h>

#include <cstring>

#include "frame/dispatch.hpp"
#include "support/argpack.hpp"
#include "support/bits.hpp"

namespace {

class HostView : public ::testing::Test {
protected:
    static void SetUpTestSuite() { handle = dlopen(VELK_SO_PATH, RTLD_NOW | RTLD_LOCAL); }
    static void TearDownTestSuite() {
        if (handle) dlclose(handle);
    }
    static void *handle;
};
void *HostView::handle = nullptr;

size_t data_size(std::string_view shape) {
    if (shape == "double") return 8;
    if (shape == "Constants") return sizeof(Constants);
    if (shape == "velk_vtab") return 8;  // hash and size; the rest are addresses
    if (shape.starts_with("double[")) return 8 * std::stoul(std::string(shape.substr(7)));
    return 0;
}

TEST_F(HostView, EveryExportResolvesAndAgrees) {
    ASSERT_NE(handle, nullptr) << dlerror();
    int seen = 0;
    for (const auto &row : velk::dispatch::table()) {
        ++seen;
        void *sym = dlsym(handle, std::string(row.name).c_str());
        ASSERT_NE(sym, nullptr) << row.name;
        if (row.kind != velk::dispatch::Kind::routine) {
            const size_t n = data_size(row.spec);
            ASSERT_GT(n, 0u) << row.name;
            EXPECT_EQ(std::memcmp(sym, row.address, n), 0) << row.name;
            continue;
        }
        if (row.result == velk::dispatch::Result::csingle) {
            EXPECT_EQ(velk::dispatch::call_cpowi(sym, 0.5f, -2.0f, 5),
                      velk::dispatch::call_cpowi(row.address, 0.5f, -2.0f, 5));
            continue;
        }
        velk::test::ArgPack loaded, linked;
        loaded.build(row);
        linked.build(row);
        const auto vl = velk::dispatch::call(row, sym, loaded.addresses);
        const auto vs = velk::dispatch::call(row, row.address, linked.addresses);
        EXPECT_EQ(loaded.outputs(row, vl), linked.outputs(row, vs)) << row.name;
        if (row.result == velk::dispatch::Result::complex) {
            EXPECT_EQ(vl.pointer, loaded.addresses[0]);
        }
    }
    EXPECT_EQ(seen, 42);  // every export of the table
}

TEST_F(HostView, DataIsSharedWithTheHost) {
    ASSERT_NE(handle, nullptr) << dlerror();
    auto *pi = static_cast<double *>(dlsym(handle, "__velk_MOD_pi"));
    ASSERT_NE(pi, nullptr);
    EXPECT_BITEQ(*pi, 3.1415927410125732);
    // Internal symbols stay hidden.
    EXPECT_EQ(dlsym(handle, "_ZN4velk5frame15ideal_frequencyEidd"), nullptr);
}

}  // namespace
