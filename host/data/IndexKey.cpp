#include "host/data/IndexKey.h"

#include <bit>
#include <cmath>
#include <functional>
#include <string_view>

namespace host {

namespace {
constexpr uint64_t kNullHash = 0x6e756c6c6e756c6cULL;
constexpr uint64_t kNaNHash = 0x4e614e4e614e4e61ULL;
constexpr double kTwoTo63 = 9223372036854775808.0;

uint64_t Mix(uint64_t x) {
    x ^= x >> 30;
    x *= 0xbf58476d1ce4e5b9ULL;
    x ^= x >> 27;
    x *= 0x94d049bb133111ebULL;
    return x ^ (x >> 31);
}

// A whole number hashes as the integer it equals, so that 5 and 5.0 (and
// -0.0 and 0) meet; NaN equals NaN.
uint64_t HashFloat(double d) {
    if (std::isnan(d)) return kNaNHash;
    if (d >= -kTwoTo63 && d < kTwoTo63 && std::trunc(d) == d) return Mix(static_cast<uint64_t>(static_cast<int64_t>(d)));
    return Mix(std::bit_cast<uint64_t>(d));
}
} // namespace

TValueFamily FamilyOf(const Variant& value) {
    switch (value.VarType()) {
    case varEmpty:
    case varNull: return TValueFamily::Null;
    case varString: return TValueFamily::Text;
    default: return TValueFamily::Number;
    }
}

uint64_t HashValue(const Variant& value) {
    switch (value.VarType()) {
    case varEmpty:
    case varNull: return kNullHash;
    case varString: return Mix(std::hash<std::string_view>{}(value.StringRef()));
    case varInteger: return Mix(static_cast<uint64_t>(value.AsInteger()));
    // True compares as -1 with numbers.
    case varBoolean: return Mix(static_cast<uint64_t>(value.AsInteger()));
    default: return HashFloat(value.AsFloat());
    }
}

uint64_t CombineHash(uint64_t seed, uint64_t value) { return Mix(seed * 0x9e3779b97f4a7c15ULL + value); }

bool SameValue(const Variant& a, const Variant& b) {
    const TValueFamily fa = FamilyOf(a);
    if (fa != FamilyOf(b)) return false;
    switch (fa) {
    case TValueFamily::Null: return true;
    case TValueFamily::Text: return a.StringRef() == b.StringRef();
    case TValueFamily::Number: return a == b;
    }
    return false;
}

} // namespace host
