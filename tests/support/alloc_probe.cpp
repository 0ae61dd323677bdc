// Replacement of the global operator new and delete (see alloc_probe.hpp).
#include "alloc_probe.hpp"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<long> g_live{0};
std::atomic<long> g_requests{0};
std::atomic<long> g_refuse{0};

void *obtain(std::size_t size) noexcept {
    const long k = ++g_requests;
    if (k == g_refuse.load()) return nullptr;
    void *p = std::malloc(size != 0 ? size : 1);
    if (p != nullptr) ++g_live;
    return p;
}

void release(void *p) noexcept {
    if (p == nullptr) return;
    --g_live;
    std::free(p);
}

}  // namespace

namespace velk::test {
long live_blocks() { return g_live.load(); }
long requests() { return g_requests.load(); }
void arm(long k) {
    g_requests = 0;
    g_refuse = k;
}
}  // namespace velk::test

void *operator new(std::size_t size) {
    if (void *p = obtain(size)) return p;
    throw std::bad_alloc();
}
void *operator new[](std::size_t size) {
    if (void *p = obtain(size)) return p;
    throw std::bad_alloc();
}
void *operator new(std::size_t size, const std::nothrow_t &) noexcept { return obtain(size); }
void *operator new[](std::size_t size, const std::nothrow_t &) noexcept { return obtain(size); }
void operator delete(void *p) noexcept { release(p); }
void operator delete[](void *p) noexcept { release(p); }
void operator delete(void *p, std::size_t) noexcept { release(p); }
void operator delete[](void *p, std::size_t) noexcept { release(p); }
void operator delete(void *p, const std::nothrow_t &) noexcept { release(p); }
void operator delete[](void *p, const std::nothrow_t &) noexcept { release(p); }
