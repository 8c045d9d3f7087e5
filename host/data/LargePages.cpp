#include "host/data/LargePages.h"

#include <cstdlib>
#include <string_view>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace host {

namespace {
constexpr std::size_t kHugePage = std::size_t{2} << 20;

bool IsLarge(std::size_t bytes) { return bytes >= kHugePage; }
std::size_t RoundedUp(std::size_t bytes) { return (bytes + kHugePage - 1) & ~(kHugePage - 1); }

// VESKAR_LARGE_PAGES=0 keeps to ordinary pages, to measure what huge pages
// bring; read once, at the first large block.
bool HugePagesWanted() {
    static const bool wanted = [] {
        const char* setting = std::getenv("VESKAR_LARGE_PAGES");
        return !(setting && std::string_view(setting) == "0");
    }();
    return wanted;
}
} // namespace

void* AllocateLarge(std::size_t bytes) {
    if (!IsLarge(bytes)) return ::operator new(bytes);
    const std::size_t rounded = RoundedUp(bytes);
    void* block = std::aligned_alloc(kHugePage, rounded);
    if (!block) throw std::bad_alloc();
#if defined(MADV_HUGEPAGE)
    // Only advice: a kernel without huge pages leaves the block as it is.
    if (HugePagesWanted()) madvise(block, rounded, MADV_HUGEPAGE);
#endif
    return block;
}

void FreeLarge(void* block, std::size_t bytes) noexcept {
    if (IsLarge(bytes))
        std::free(block);
    else
        ::operator delete(block);
}

} // namespace host
