#include "host/data/PgValues.h"

#include "host/core/CivilDate.h"
#include "host/core/Exception.h"
#include "host/data/PgClient.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace host::pg {

namespace {

constexpr int64_t kMsPerDay = 86'400'000;
constexpr int64_t kDaysTo1970 = 25569;  // 1899-12-30 to 1970-01-01

// Reads an unsigned decimal of 1..maxDigits digits at Pos.
bool ReadNumber(std::string_view text, size_t& pos, int maxDigits, int64_t& value) {
    size_t start = pos;
    value = 0;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9' && static_cast<int>(pos - start) < maxDigits)
        value = value * 10 + (text[pos++] - '0');
    return pos > start;
}

bool Expect(std::string_view text, size_t& pos, char c) {
    if (pos >= text.size() || text[pos] != c) return false;
    ++pos;
    return true;
}

// "HH:MM:SS[.fraction]" as milliseconds of the day.
bool ReadTime(std::string_view text, size_t& pos, int64_t& ms) {
    int64_t h, mi, s;
    if (!ReadNumber(text, pos, 2, h) || !Expect(text, pos, ':') || !ReadNumber(text, pos, 2, mi) ||
        !Expect(text, pos, ':') || !ReadNumber(text, pos, 2, s))
        return false;
    if (h > 24 || mi > 59 || s > 60) return false;
    double fraction = 0;
    if (pos < text.size() && text[pos] == '.') {
        ++pos;
        double scale = 0.1;
        size_t start = pos;
        while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
            fraction += (text[pos++] - '0') * scale;
            scale /= 10;
        }
        if (pos == start) return false;
    }
    ms = ((h * 60 + mi) * 60 + s) * 1000 + std::llround(fraction * 1000);
    return true;
}

// A zone offset "+HH[:MM[:SS]]" the session already applied; skipped.
bool SkipZone(std::string_view text, size_t& pos) {
    if (pos >= text.size() || (text[pos] != '+' && text[pos] != '-')) return true;
    ++pos;
    int64_t part;
    if (!ReadNumber(text, pos, 2, part)) return false;
    while (pos < text.size() && text[pos] == ':')
        if (!ReadNumber(text, ++pos, 2, part)) return false;
    return true;
}

TDateTime FromDayAndMs(int64_t day, int64_t ms) {
    if (ms >= kMsPerDay) {
        day += ms / kMsPerDay;
        ms %= kMsPerDay;
    }
    const double fraction = static_cast<double>(ms) / kMsPerDay;
    return day >= 0 ? static_cast<double>(day) + fraction : static_cast<double>(day) - fraction;
}

template <typename T>
bool ParseNumber(std::string_view text, T& value) {
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

std::string FloatText(double value) {
    if (std::isnan(value)) return "NaN";
    if (std::isinf(value)) return value > 0 ? "Infinity" : "-Infinity";
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.17g", value);
    return buffer;
}

[[noreturn]] void BadValue(std::string_view text, const char* type) {
    throw EDatabaseError("'" + std::string(text) + "' is not a valid " + type + " value");
}

} // namespace

TSQLColumnType FieldTypeOf(Oid type, int modifier) {
    switch (type) {
    case kBoolOid: return {ftBoolean, 0};
    case kInt2Oid:
    case kInt4Oid: return {ftInteger, 0};
    // An oid is unsigned 32 bits: beyond a 32-bit integer field too.
    case kInt8Oid:
    case kOidOid: return {ftLargeint, 0};
    case kFloat4Oid:
    case kFloat8Oid:
    case kNumericOid: return {ftFloat, 0};
    case kDateOid:
    case kTimeOid:
    case kTimestampOid:
    case kTimestampTzOid: return {ftDateTime, 0};
    case kVarCharOid:
    case kBpCharOid: return {ftString, modifier > 4 ? modifier - 4 : DefaultStringSize};
    default: return {ftString, DefaultStringSize};
    }
}

Variant ValueFromText(Oid type, std::string_view text) {
    switch (type) {
    case kBoolOid: return Variant(text == "t");
    case kInt2Oid:
    case kInt4Oid:
    case kInt8Oid:
    case kOidOid: {
        int64_t value;
        if (!ParseNumber(text, value)) BadValue(text, "integer");
        return Variant(value);
    }
    case kFloat4Oid:
    case kFloat8Oid:
    case kNumericOid: {
        double value;
        if (!ParseNumber(text, value)) BadValue(text, "floating point");
        return Variant(value);
    }
    case kDateOid:
    case kTimeOid:
    case kTimestampOid:
    case kTimestampTzOid: {
        TDateTime value;
        if (!IsoToDateTime(text, value)) BadValue(text, "date and time");
        return Variant::FromDateTime(value);
    }
    default: return Variant(std::string(text));
    }
}

std::optional<std::string> ParamText(const Variant& value) {
    switch (value.VarType()) {
    case varEmpty:
    case varNull: return std::nullopt;
    case varBoolean: return std::string(value.AsBoolean() ? "true" : "false");
    case varInteger: return std::to_string(value.AsInteger());
    case varDouble: return FloatText(value.AsFloat());
    case varDate: return DateTimeToIso(value.AsDateTime());
    case varString: {
        const std::string& text = value.StringRef();
        if (text.find('\0') != std::string::npos) throw EDatabaseError("A text value cannot contain a zero byte");
        return text;
    }
    default: throw EDatabaseError("An array cannot be a parameter value");
    }
}

std::string DateTimeToIso(TDateTime value) {
    if (!std::isfinite(value) || std::fabs(value) > 1e9) throw EDatabaseError("Invalid date and time value");
    int64_t day = static_cast<int64_t>(std::trunc(value));
    int64_t ms = std::llround(std::fabs(value - static_cast<double>(day)) * kMsPerDay);
    if (ms >= kMsPerDay) {
        ms -= kMsPerDay;
        ++day;
    }
    int64_t y;
    unsigned m, d;
    CivilFromDays(day - kDaysTo1970, y, m, d);
    const bool bc = y <= 0;
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%04lld-%02u-%02u %02lld:%02lld:%02lld.%03lld%s",
                  static_cast<long long>(bc ? 1 - y : y), m, d, static_cast<long long>(ms / 3'600'000),
                  static_cast<long long>(ms / 60'000 % 60), static_cast<long long>(ms / 1000 % 60),
                  static_cast<long long>(ms % 1000), bc ? " BC" : "");
    return buffer;
}

bool IsoToDateTime(std::string_view text, TDateTime& value) {
    size_t pos = 0;
    int64_t ms = 0;
    // A time of day alone: "12:30:00".
    if (text.size() >= 3 && text[2] == ':') {
        if (!ReadTime(text, pos, ms) || !SkipZone(text, pos) || pos != text.size()) return false;
        value = FromDayAndMs(0, ms);
        return true;
    }
    int64_t y, m, d;
    if (!ReadNumber(text, pos, 9, y) || !Expect(text, pos, '-') || !ReadNumber(text, pos, 2, m) ||
        !Expect(text, pos, '-') || !ReadNumber(text, pos, 2, d))
        return false;
    if (m < 1 || m > 12 || d < 1 || d > 31) return false;
    if (pos < text.size() && (text[pos] == ' ' || text[pos] == 'T') && pos + 1 < text.size() && text[pos + 1] != 'B') {
        ++pos;
        if (!ReadTime(text, pos, ms) || !SkipZone(text, pos)) return false;
    }
    if (text.substr(pos) == " BC") {
        y = 1 - y;
        pos = text.size();
    }
    if (pos != text.size()) return false;
    const int64_t day = DaysFromCivil(y, static_cast<unsigned>(m), static_cast<unsigned>(d)) + kDaysTo1970;
    value = FromDayAndMs(day, ms);
    return true;
}

} // namespace host::pg
