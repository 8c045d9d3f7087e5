#include "host/core/Variant.h"

#include "host/core/CivilDate.h"
#include "host/core/Exception.h"
#include "host/core/TextUtils.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <ostream>
#include <string_view>
#include <utility>
#include <vector>

namespace host {

struct Variant::ArrayData {
    int Low = 0;
    std::vector<Variant> Items;
};

Variant::ArrayBox::ArrayBox(std::unique_ptr<ArrayData> data) noexcept : FData(std::move(data)) {}
Variant::ArrayBox::ArrayBox(const ArrayBox& other) : FData(std::make_unique<ArrayData>(*other.FData)) {}
Variant::ArrayBox::ArrayBox(ArrayBox&& other) noexcept = default;
Variant::ArrayBox& Variant::ArrayBox::operator=(const ArrayBox& other) {
    // Copy before letting go: OTHER may be one of our own elements.
    ArrayBox copy(other);
    FData.swap(copy.FData);
    return *this;
}
Variant::ArrayBox& Variant::ArrayBox::operator=(ArrayBox&& other) noexcept = default;
Variant::ArrayBox::~ArrayBox() = default;

namespace {

constexpr int64_t kUnixEpochSerial = 25569; // 1970-01-01 as a TDateTime
constexpr double kFirstDay = -693593;       // 0001-01-01
constexpr double kPastLastDay = 2958466;    // the day after 9999-12-31
constexpr double kTwoTo63 = 9223372036854775808.0;

std::string_view TrimSpaces(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

// Strips one leading '+', which the character converters refuse; a second
// sign after it is left in place so the conversion fails.
std::string_view StripPlus(std::string_view s) {
    if (s.size() > 1 && s[0] == '+' && s[1] != '-' && s[1] != '+') s.remove_prefix(1);
    return s;
}

// The length of a hexadecimal prefix ("$", "0x" or "0X") at the start of S.
size_t HexPrefix(std::string_view s) {
    if (s.starts_with('$')) return 1;
    return s.size() > 1 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X') ? 2 : 0;
}

// Hexadecimal digits fill all 64 bits, so $FFFFFFFFFFFFFFFF is -1 as the
// host's integer reading has it; a 17th significant digit does not fit.
bool TryParseHexDigits(std::string_view digits, uint64_t& bits) {
    bits = 0;
    for (const char c : digits) {
        if (!std::isxdigit(static_cast<unsigned char>(c)) || (bits >> 60) != 0) return false;
        const int digit = std::isdigit(static_cast<unsigned char>(c)) ? c - '0' : (c | 0x20) - 'a' + 10;
        bits = bits << 4 | static_cast<uint64_t>(digit);
    }
    return !digits.empty();
}

// Decimal, or hexadecimal after a prefix, a sign before either.
bool TryParseInteger(std::string_view text, int64_t& value) {
    const std::string_view s = StripPlus(TrimSpaces(text));
    const bool negative = s.starts_with('-');
    const std::string_view unsignedPart = s.substr(negative ? 1 : 0);
    if (const size_t prefix = HexPrefix(unsignedPart)) {
        uint64_t bits = 0;
        if (!TryParseHexDigits(unsignedPart.substr(prefix), bits)) return false;
        value = static_cast<int64_t>(negative ? 0 - bits : bits);
        return true;
    }
    const auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), value);
    return !s.empty() && error == std::errc() && end == s.data() + s.size();
}

bool TryParseFloat(std::string_view text, double& value) {
    const std::string_view s = StripPlus(TrimSpaces(text));
    // Plain decimal notation only: no "inf" or "nan" spelled out.
    const size_t lead = !s.empty() && s[0] == '-' ? 1 : 0;
    if (s.size() <= lead || !(std::isdigit(static_cast<unsigned char>(s[lead])) || s[lead] == '.')) return false;
    const auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), value, std::chars_format::general);
    return error == std::errc() && end == s.data() + s.size();
}

bool TryParseBoolean(std::string_view text, bool& value) {
    const std::string_view s = TrimSpaces(text);
    double number = 0;
    if (SameText(s, "True")) {
        value = true;
    } else if (SameText(s, "False")) {
        value = false;
    } else if (TryParseFloat(s, number)) {
        value = number != 0;
    } else {
        return false;
    }
    return true;
}

bool ReadDigits(std::string_view s, size_t at, size_t count, unsigned& value) {
    value = 0;
    for (size_t i = at; i < at + count; ++i) {
        if (s[i] < '0' || s[i] > '9') return false;
        value = value * 10 + static_cast<unsigned>(s[i] - '0');
    }
    return true;
}

// Reads "yyyy-mm-dd" or "yyyy-mm-dd hh:nn:ss", the forms AsString writes.
bool TryParseDateTime(std::string_view text, double& value) {
    const std::string_view s = TrimSpaces(text);
    if (s.size() != 10 && s.size() != 19) return false;
    unsigned y = 0, m = 0, d = 0, h = 0, n = 0, sec = 0;
    if (!ReadDigits(s, 0, 4, y) || s[4] != '-' || !ReadDigits(s, 5, 2, m) || s[7] != '-' || !ReadDigits(s, 8, 2, d))
        return false;
    if (s.size() == 19 &&
        (s[10] != ' ' || !ReadDigits(s, 11, 2, h) || s[13] != ':' || !ReadDigits(s, 14, 2, n) || s[16] != ':' ||
         !ReadDigits(s, 17, 2, sec)))
        return false;
    static constexpr unsigned kMonthDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    if (y < 1 || m < 1 || m > 12 || d < 1 || d > kMonthDays[m - 1] || (m == 2 && d == 29 && !leap)) return false;
    if (h > 23 || n > 59 || sec > 59) return false;
    const auto day = static_cast<double>(DaysFromCivil(y, m, d) + kUnixEpochSerial);
    const double time = (h * 3600.0 + n * 60.0 + sec) / 86400.0;
    value = day >= 0 ? day + time : day - time;
    return true;
}

bool InCalendar(double value) { return std::trunc(value) >= kFirstDay && value < kPastLastDay; }

void AppendPadded(std::string& out, int64_t value, int width) {
    char digits[24];
    const char* end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    out.append(static_cast<size_t>(std::max<std::ptrdiff_t>(0, width - (end - digits))), '0');
    out.append(digits, static_cast<size_t>(end - digits));
}

std::string FormatDateTime(double value) {
    if (!InCalendar(value)) throw EConvertError("Invalid date value");
    const double whole = std::trunc(value);
    auto day = static_cast<int64_t>(whole);
    auto seconds = static_cast<int64_t>(std::llround(std::fabs(value - whole) * 86400.0));
    if (seconds >= 86400) { // 23:59:59.6 is the next midnight
        ++day;
        seconds = 0;
    }
    int64_t y = 0;
    unsigned m = 0, d = 0;
    CivilFromDays(day - kUnixEpochSerial, y, m, d);
    std::string out;
    out.reserve(19);
    AppendPadded(out, y, 4);
    out += '-';
    AppendPadded(out, m, 2);
    out += '-';
    AppendPadded(out, d, 2);
    if (seconds != 0) {
        out += ' ';
        AppendPadded(out, seconds / 3600, 2);
        out += ':';
        AppendPadded(out, seconds / 60 % 60, 2);
        out += ':';
        AppendPadded(out, seconds % 60, 2);
    }
    return out;
}

// Halves go to the even neighbour, as the host's number formatting does.
int64_t RoundToInteger(double value) {
    double r = std::round(value);
    if (std::fabs(value - std::trunc(value)) == 0.5) r = 2.0 * std::round(value / 2.0);
    if (!(r >= -kTwoTo63 && r < kTwoTo63)) throw EConvertError("'" + FloatToStr(value) + "' is not a valid integer value");
    return static_cast<int64_t>(r);
}

// A value on the number line: integers stay exact beyond 2^53.
struct Number {
    bool IsInt;
    int64_t I;
    double D;
    static Number Int(int64_t i) { return {true, i, 0}; }
    static Number Float(double d) { return {false, 0, d}; }
};

int Sign(int c) { return c < 0 ? -1 : (c > 0 ? 1 : 0); }

// True is stored with every bit set, so as a number it is -1.
int64_t BooleanNumber(bool value) { return value ? -1 : 0; }

// NaN equals NaN and sorts after every other number, so that datasets get
// a consistent order.
int CompareFloats(double a, double b) {
    if (std::isnan(a) || std::isnan(b)) return std::isnan(a) - std::isnan(b);
    return a < b ? -1 : (a > b ? 1 : 0);
}

int CompareIntFloat(int64_t i, double d) {
    if (std::isnan(d) || d >= kTwoTo63) return -1;
    if (d < -kTwoTo63) return 1;
    const double whole = std::trunc(d);
    const auto w = static_cast<int64_t>(whole);
    if (i != w) return i < w ? -1 : 1;
    return whole < d ? -1 : (whole > d ? 1 : 0);
}

int CompareNumbers(const Number& a, const Number& b) {
    if (a.IsInt && b.IsInt) return a.I < b.I ? -1 : (a.I > b.I ? 1 : 0);
    if (a.IsInt) return CompareIntFloat(a.I, b.D);
    if (b.IsInt) return -CompareIntFloat(b.I, a.D);
    return CompareFloats(a.D, b.D);
}

Number StringToNumber(const std::string& s) {
    int64_t i = 0;
    if (TryParseInteger(s, i)) return Number::Int(i);
    double d = 0;
    if (TryParseFloat(s, d)) return Number::Float(d);
    throw EConvertError("'" + s + "' is not a valid floating point value");
}

double StringToDateTime(const std::string& s) {
    double d = 0;
    if (!TryParseDateTime(s, d)) throw EConvertError("'" + s + "' is not a valid date and time");
    return d;
}

bool StringToBoolean(const std::string& s) {
    bool b = false;
    if (!TryParseBoolean(s, b)) throw EConvertError("'" + s + "' is not a valid boolean value");
    return b;
}

const char* const kKindNames[] = {"Empty", "Null", "Integer", "Double", "Date", "String", "Boolean", "Array"};

[[noreturn]] void CannotConvert(size_t kind, const char* to) {
    throw EVariantError(std::string("Could not convert variant of type (") + kKindNames[kind] + ") into type (" + to +
                        ")");
}

} // namespace

Variant& Variant::operator=(const Variant& other) {
    if (this == &other) return *this;
    if (IsArray() || other.IsArray()) {
        // One may hold the other: copy before the old value goes.
        Storage copy(other.FValue);
        FValue = std::move(copy);
    } else {
        FValue = other.FValue;
    }
    return *this;
}

Variant& Variant::operator=(Variant&& other) noexcept {
    if (this == &other) return *this;
    if (!IsArray() && !other.IsArray()) {
        FValue = std::move(other.FValue);
        other.FValue.emplace<std::monostate>();
        return *this;
    }
    // Take the value out first: OTHER may be an element of our own array.
    Storage taken(std::move(other.FValue));
    other.FValue.emplace<std::monostate>();
    FValue = std::move(taken);
    return *this;
}

TVarType Variant::VarType() const {
    static constexpr TVarType kTypes[] = {varEmpty,  varNull,    varInteger, varDouble,
                                          varDate,   varString,  varBoolean, static_cast<TVarType>(varArray | varVariant)};
    return kTypes[FValue.index()];
}

int64_t Variant::AsInteger() const {
    switch (GetKind()) {
    case kEmpty: return 0;
    case kInteger: return std::get<int64_t>(FValue);
    case kDouble: return RoundToInteger(std::get<double>(FValue));
    case kDate: return RoundToInteger(std::get<DateValue>(FValue).Value);
    case kBoolean: return BooleanNumber(std::get<bool>(FValue));
    case kString: {
        const std::string& s = std::get<std::string>(FValue);
        int64_t i = 0;
        if (!TryParseInteger(s, i)) throw EConvertError("'" + s + "' is not a valid integer value");
        return i;
    }
    case kNull:
    case kArray: break;
    }
    CannotConvert(FValue.index(), "Integer");
}

double Variant::AsFloat() const {
    switch (GetKind()) {
    case kEmpty: return 0.0;
    case kInteger: return static_cast<double>(std::get<int64_t>(FValue));
    case kDouble: return std::get<double>(FValue);
    case kDate: return std::get<DateValue>(FValue).Value;
    case kBoolean: return std::get<bool>(FValue) ? -1.0 : 0.0;
    case kString: {
        const std::string& s = std::get<std::string>(FValue);
        double d = 0;
        if (!TryParseFloat(s, d)) throw EConvertError("'" + s + "' is not a valid floating point value");
        return d;
    }
    case kNull:
    case kArray: break;
    }
    CannotConvert(FValue.index(), "Double");
}

bool Variant::AsBoolean() const {
    switch (GetKind()) {
    case kEmpty: return false;
    case kInteger: return std::get<int64_t>(FValue) != 0;
    case kDouble: return std::get<double>(FValue) != 0;
    case kDate: return std::get<DateValue>(FValue).Value != 0;
    case kBoolean: return std::get<bool>(FValue);
    case kString: return StringToBoolean(std::get<std::string>(FValue));
    case kNull:
    case kArray: break;
    }
    CannotConvert(FValue.index(), "Boolean");
}

std::string Variant::AsString() const {
    switch (GetKind()) {
    case kEmpty: return {};
    case kInteger: {
        char buffer[24];
        return std::string(buffer, std::to_chars(buffer, buffer + sizeof buffer, std::get<int64_t>(FValue)).ptr);
    }
    case kDouble: return FloatToStr(std::get<double>(FValue));
    case kDate: return FormatDateTime(std::get<DateValue>(FValue).Value);
    case kBoolean: return std::get<bool>(FValue) ? "True" : "False";
    case kString: return std::get<std::string>(FValue);
    case kNull:
    case kArray: break;
    }
    CannotConvert(FValue.index(), "String");
}

TDateTime Variant::AsDateTime() const {
    switch (GetKind()) {
    case kString: return StringToDateTime(std::get<std::string>(FValue));
    case kNull:
    case kArray: CannotConvert(FValue.index(), "Date");
    default: return AsFloat();
    }
}

const std::string& Variant::StringRef() const {
    if (const auto* s = std::get_if<std::string>(&FValue)) return *s;
    throw EVariantError(std::string("Variant of type (") + kKindNames[FValue.index()] + ") is not a string");
}

Variant::ArrayData& Variant::Array() const {
    if (const auto* box = std::get_if<ArrayBox>(&FValue)) return **box;
    throw EVariantError("Variant is not an array");
}

int Variant::LowBound() const { return Array().Low; }

int Variant::HighBound() const {
    const ArrayData& a = Array();
    return static_cast<int>(a.Low + static_cast<int64_t>(a.Items.size()) - 1);
}

const Variant& Variant::operator[](int index) const {
    const ArrayData& a = Array();
    const int64_t at = static_cast<int64_t>(index) - a.Low;
    if (at < 0 || at >= static_cast<int64_t>(a.Items.size())) throw EVariantError("Variant array index out of bounds");
    return a.Items[static_cast<size_t>(at)];
}

Variant& Variant::operator[](int index) { return const_cast<Variant&>(std::as_const(*this)[index]); }

int Variant::CompareScalars(const Variant& a, const Variant& b, bool ignoreCase) {
    const Kind ka = a.GetKind(), kb = b.GetKind();
    if (ka == kString && kb == kString) {
        const std::string& x = std::get<std::string>(a.FValue);
        const std::string& y = std::get<std::string>(b.FValue);
        return Sign(ignoreCase ? CompareText(x, y) : x.compare(y));
    }
    if (ka == kString) return -CompareScalars(b, a, ignoreCase);
    auto number = [](const Variant& v) {
        switch (v.GetKind()) {
        case kInteger: return Number::Int(std::get<int64_t>(v.FValue));
        case kDouble: return Number::Float(std::get<double>(v.FValue));
        case kDate: return Number::Float(std::get<DateValue>(v.FValue).Value);
        default: return Number::Int(BooleanNumber(std::get<bool>(v.FValue)));
        }
    };
    if (kb != kString) return CompareNumbers(number(a), number(b));
    // The string takes the type of the value it meets.
    const std::string& s = std::get<std::string>(b.FValue);
    switch (ka) {
    case kBoolean: return CompareNumbers(number(a), Number::Int(BooleanNumber(StringToBoolean(s))));
    case kDate: return CompareNumbers(number(a), Number::Float(StringToDateTime(s)));
    default: return CompareNumbers(number(a), StringToNumber(s));
    }
}

bool Variant::Equal(const Variant& a, const Variant& b, bool ignoreCase) {
    const Kind ka = a.GetKind(), kb = b.GetKind();
    if (ka == kb) {
        switch (ka) {
        case kEmpty:
        case kNull: return true;
        case kInteger: return std::get<int64_t>(a.FValue) == std::get<int64_t>(b.FValue);
        case kBoolean: return std::get<bool>(a.FValue) == std::get<bool>(b.FValue);
        case kString:
            if (!ignoreCase) return std::get<std::string>(a.FValue) == std::get<std::string>(b.FValue);
            break;
        case kArray: {
            const ArrayData& x = a.Array();
            const ArrayData& y = b.Array();
            if (x.Low != y.Low || x.Items.size() != y.Items.size()) return false;
            for (size_t i = 0; i < x.Items.size(); ++i)
                if (!Equal(x.Items[i], y.Items[i], ignoreCase)) return false;
            return true;
        }
        default: break;
        }
    } else if (ka <= kNull || kb <= kNull || ka == kArray || kb == kArray) {
        return false;
    }
    return CompareScalars(a, b, ignoreCase) == 0;
}

bool VarIsNull(const Variant& v) { return v.IsNull(); }
bool VarIsEmpty(const Variant& v) { return v.IsEmpty(); }
bool VarIsArray(const Variant& v) { return v.IsArray(); }

Variant VarArrayCreate(int low, int high, TVarType elementType) {
    if (elementType != varVariant) throw EVariantError("Only variant arrays of variants are supported");
    const int64_t count = static_cast<int64_t>(high) - low + 1;
    if (count < 0) throw EVariantError("Variant array bounds are out of order");
    auto data = std::make_unique<Variant::ArrayData>();
    data->Low = low;
    data->Items.resize(static_cast<size_t>(count));
    return Variant(Variant::ArrayBox(std::move(data)));
}

Variant VarArrayOf(std::initializer_list<Variant> values) {
    auto data = std::make_unique<Variant::ArrayData>();
    data->Items.assign(values.begin(), values.end());
    return Variant(Variant::ArrayBox(std::move(data)));
}

int VarArrayDimCount(const Variant& v) { return v.IsArray() ? 1 : 0; }

namespace {
void CheckDimension(const Variant& v, int dim) {
    if (!v.IsArray()) throw EVariantError("Variant is not an array");
    if (dim != 1) throw EVariantError("Variant array has no dimension " + std::to_string(dim));
}
} // namespace

int VarArrayLowBound(const Variant& v, int dim) {
    CheckDimension(v, dim);
    return v.LowBound();
}

int VarArrayHighBound(const Variant& v, int dim) {
    CheckDimension(v, dim);
    return v.HighBound();
}

Variant VarArrayGet(const Variant& v, int index) { return v[index]; }

void VarArrayPut(Variant& v, const Variant& value, int index) { v[index] = value; }

int VarCompare(const Variant& a, const Variant& b) {
    // Unassigned, then Null, then values.
    const int ra = a.IsEmpty() ? 0 : (a.IsNull() ? 1 : 2);
    const int rb = b.IsEmpty() ? 0 : (b.IsNull() ? 1 : 2);
    if (ra != 2 || rb != 2) return ra < rb ? -1 : (ra > rb ? 1 : 0);
    if (a.IsArray() || b.IsArray()) throw EVariantError("Variant arrays have no order");
    return Variant::CompareScalars(a, b, false);
}

bool VarSameText(const Variant& a, const Variant& b) { return Variant::Equal(a, b, true); }

std::string VarToStr(const Variant& v) { return v.IsNull() ? std::string() : v.AsString(); }

std::ostream& operator<<(std::ostream& os, const Variant& v) {
    switch (v.GetKind()) {
    case Variant::kEmpty: return os << "Unassigned";
    case Variant::kNull: return os << "Null";
    case Variant::kString: return os << '"' << std::get<std::string>(v.FValue) << '"';
    case Variant::kArray: {
        const Variant::ArrayData& a = v.Array();
        os << '[';
        for (size_t i = 0; i < a.Items.size(); ++i) os << (i ? ", " : "") << a.Items[i];
        return os << ']';
    }
    case Variant::kDate:
        // Diagnostics must not throw on a date beyond the calendar.
        if (const double d = std::get<Variant::DateValue>(v.FValue).Value; !InCalendar(d))
            return os << "Date(" << FloatToStr(d) << ')';
        return os << v.AsString();
    default: return os << v.AsString();
    }
}

} // namespace host
