#include "tests/limits/AllocationMeter.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

// Each block carries its size in front, kept to the strictest alignment a
// plain new must give.
constexpr std::size_t Prefix = alignof(std::max_align_t);

std::atomic<std::size_t> Held{0};
std::atomic<std::size_t> Highest{0};
std::atomic<std::size_t> Taken{0};

void* Take(std::size_t size) {
    auto* block = static_cast<unsigned char*>(std::malloc(size + Prefix));
    if (!block) return nullptr;
    *reinterpret_cast<std::size_t*>(block) = size;
    ++Taken;
    const std::size_t now = Held += size;
    std::size_t high = Highest.load();
    while (now > high && !Highest.compare_exchange_weak(high, now)) {}
    return block + Prefix;
}

void Give(void* p) {
    if (!p) return;
    unsigned char* block = static_cast<unsigned char*>(p) - Prefix;
    Held -= *reinterpret_cast<std::size_t*>(block);
    std::free(block);
}

void* TakeOrThrow(std::size_t size) {
    if (void* p = Take(size)) return p;
    throw std::bad_alloc();
}

} // namespace

void* operator new(std::size_t size) { return TakeOrThrow(size); }
void* operator new[](std::size_t size) { return TakeOrThrow(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return Take(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return Take(size); }
void operator delete(void* p) noexcept { Give(p); }
void operator delete[](void* p) noexcept { Give(p); }
void operator delete(void* p, std::size_t) noexcept { Give(p); }
void operator delete[](void* p, std::size_t) noexcept { Give(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { Give(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { Give(p); }

namespace limits {

TAllocationMeter::TAllocationMeter() : FStart(Held.load()), FStartCount(Taken.load()) { Highest = FStart; }

std::size_t TAllocationMeter::Peak() const {
    const std::size_t high = Highest.load();
    return high > FStart ? high - FStart : 0;
}

std::size_t TAllocationMeter::Allocations() const { return Taken.load() - FStartCount; }

} // namespace limits
