// The host's view: the shared object loaded with dlopen, every
// export resolved by name, data read and every routine called; results must
// be the same bits as those of the library linked into this test.
#include <dlfcn.h>

#include <cstring>

#include "frame/dispatch.hpp"
#include "host/callpack.h"
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
        }
    }
    EXPECT_EQ(seen, 42);  // every export of the table

    // Every reference call, through the loaded and through the linked
    // library: the same bits.
    for (int k = 0; k < velk_ncases; ++k) {
        const velk_case &c = velk_cases[k];
        const velk_row *row = velk_find_row(c.routine);
        ASSERT_NE(row, nullptr) << c.routine;
        velk_pack loaded, linked;
        ASSERT_EQ(velk_pack_build(&loaded, row, c.len, c.in, c.nin), 0) << c.routine;
        velk_pack_build(&linked, row, c.len, c.in, c.nin);
        double a[VELK_MAXOUT], b[VELK_MAXOUT];
        char msg[256];
        const int n = velk_pack_call(&loaded, dlsym(handle, c.routine), -1, a, VELK_MAXOUT, msg,
                                     sizeof msg);
        ASSERT_GE(n, 0) << msg;
        const int m = velk_pack_call(&linked, velk::dispatch::find(c.routine)->address, -1, b,
                                     VELK_MAXOUT, msg, sizeof msg);
        ASSERT_EQ(m, n) << msg;
        EXPECT_EQ(std::memcmp(a, b, sizeof(double) * static_cast<size_t>(n)), 0)
            << c.routine << " (line " << c.line << ")";
    }
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
