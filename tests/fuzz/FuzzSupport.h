#pragma once
// What every fuzz target shares: a failed property ends the run with a
// message (libFuzzer keeps the input), and small readers of the input bytes.

#include <cstddef>
#include <cstdint>
#include <string>

namespace fuzz {

// Prints What and aborts when Condition does not hold.
void Check(bool condition, const std::string& what);

// Takes the next byte of the input (0 once it is used up).
class TBytes {
public:
    TBytes(const std::uint8_t* data, std::size_t size) : FData(data), FSize(size) {}
    std::uint8_t Next() { return FPos < FSize ? FData[FPos++] : 0; }
    std::string Rest() const {
        return std::string(reinterpret_cast<const char*>(FData) + FPos, FSize - FPos);
    }

private:
    const std::uint8_t* FData;
    std::size_t FSize;
    std::size_t FPos = 0;
};

// Forgets what the headless back end recorded so a long run does not grow it.
void ForgetShown();

} // namespace fuzz
