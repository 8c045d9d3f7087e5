#pragma once
// Counts the bytes this program holds on the heap, through its own global
// operator new and delete, so a test can tell how much reading an input
// took at its peak, and how many blocks a piece of work asked for.

#include <cstddef>

namespace limits {

class TAllocationMeter {
public:
    // Starts measuring from what is held now.
    TAllocationMeter();
    // The most held at once since the start, above what was held then.
    std::size_t Peak() const;
    // Blocks asked for since the start.
    std::size_t Allocations() const;

private:
    std::size_t FStart;
    std::size_t FStartCount;
};

} // namespace limits
