#pragma once
// Private to host/data: not installed.
// What the in-memory dataset's indexes know of a stored value: a hash that
// agrees with the dataset's equality (numbers by value across integer,
// floating, date and Boolean; text byte by byte; Null with Null), and the
// family a value belongs to. Code in IndexKey.cpp.

#include "host/core/Variant.h"
#include "host/data/LargePages.h"

#include <cstdint>
#include <vector>

namespace host {

using TColumn = std::vector<Variant, TLargePageAllocator<Variant>>;

enum class TValueFamily : uint8_t { Null, Text, Number };

TValueFamily FamilyOf(const Variant& value);
uint64_t HashValue(const Variant& value);
uint64_t CombineHash(uint64_t seed, uint64_t value);
// Equality within a family, never converting: values of different families
// are different. Agrees with HashValue.
bool SameValue(const Variant& a, const Variant& b);

} // namespace host
