#include "host/core/Variant.h"

#include "host/core/Exception.h"
#include "host/core/TextUtils.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <ostream>

namespace host {

namespace {

const char* TypeName(TVarType type) {
    switch (type) {
    case varEmpty: return "Empty";
    case varNull: return "Null";
    case varInteger: return "Integer";
    case varDouble: return "Double";
    case varDate: return "Date";
    case varString: return "String";
    case varBoolean: return "Boolean";
    default: return "Array";
    }
}

[[noreturn]] void CannotConvert(TVarType from, TVarType to) {
    throw EVariantError(std::string("Could not convert variant of type (") + TypeName(from) + ") into type (" +
                        TypeName(to) + ")");
}

std::string Trimmed(const std::string& s) { return Trim(s); }

int64_t ParseInteger(const std::string& text) {
    const std::string s = Trimmed(text);
    int64_t value = 0;
    const char* first = s.data();
    const char* last = s.data() + s.size();
    if (first != last && *first == '+') ++first;
    auto [end, error] = std::from_chars(first, last, value);
    if (s.empty() || error != std::errc() || end != last)
        throw EConvertError("'" + text + "' is not a valid integer value");
    return value;
}

double ParseFloat(const std::string& text) {
    const std::string s = Trimmed(text);
    double value = 0;
    const char* first = s.data();
    const char* last = s.data() + s.size();
    if (first != last && *first == '+') ++first;
    auto [end, error] = std::from_chars(first, last, value, std::chars_format::general);
    if (s.empty() || error != std::errc() || end != last || !std::isfinite(value))
        throw EConvertError("'" + text + "' is not a valid floating point value");
    return value;
}

std::string FormatFloat(double value) {
    char buffer[64];
    auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
    if (error != std::errc()) return "0";
    return std::string(buffer, end);
}

// Civil dates from day numbers, counted from 1970-01-01 (proleptic Gregorian).
void CivilFromDays(int64_t z, int& y, int& m, int& d) {
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(yoe + era * 400 + (m <= 2 ? 1 : 0));
}

int64_t DaysFromCivil(int y, int m, int d) {
    y -= m <= 2 ? 1 : 0;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

constexpr int64_t kUnixEpochDay = 25569;  // 1970-01-01 counted from 1899-12-30

std::string FormatDateTime(TDateTime value) {
    int64_t days = static_cast<int64_t>(std::floor(value));
    int64_t seconds = std::llround((value - static_cast<double>(days)) * 86400.0);
    if (seconds >= 86400) {
        ++days;
        seconds -= 86400;
    }
    int y, m, d;
    CivilFromDays(days - kUnixEpochDay, y, m, d);
    char buffer[40];
    if (seconds == 0)
        std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", y, m, d);
    else
        std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d:%02d", y, m, d, static_cast<int>(seconds / 3600),
                      static_cast<int>(seconds / 60 % 60), static_cast<int>(seconds % 60));
    return buffer;
}

TDateTime ParseDateTime(const std::string& text) {
    const std::string s = Trimmed(text);
    int y = 0, m = 0, d = 0, hh = 0, nn = 0, ss = 0;
    char tail = 0;
    const int date = std::sscanf(s.c_str(), "%4d-%2d-%2d%c", &y, &m, &d, &tail);
    bool ok = (date == 3 && s.size() == 10);
    if (!ok && s.size() == 19) ok = std::sscanf(s.c_str(), "%4d-%2d-%2d %2d:%2d:%2d", &y, &m, &d, &hh, &nn, &ss) == 6;
    if (!ok || m < 1 || m > 12 || d < 1 || d > 31 || hh > 23 || nn > 59 || ss > 59)
        throw EConvertError("'" + text + "' is not a valid date and time");
    int cy, cm, cd;
    const int64_t days = DaysFromCivil(y, m, d);
    CivilFromDays(days, cy, cm, cd);
    if (cd != d) throw EConvertError("'" + text + "' is not a valid date and time");
    return static_cast<double>(days + kUnixEpochDay) + (hh * 3600 + nn * 60 + ss) / 86400.0;
}

bool ParseBoolean(const std::string& text) {
    if (SameText(Trimmed(text), "True")) return true;
    if (SameText(Trimmed(text), "False")) return false;
    return ParseFloat(text) != 0.0;
}

int Sign(double d) { return d < 0 ? -1 : (d > 0 ? 1 : 0); }

} // namespace

// ---- construction ----------------------------------------------------

Variant Variant::Null() {
    Variant v;
    v.FValue = NullValue{};
    return v;
}

Variant Variant::FromDateTime(TDateTime value) {
    Variant v;
    v.FValue = Date{value};
    return v;
}

Variant::Variant(const Variant& other) { *this = other; }

Variant& Variant::operator=(const Variant& other) {
    if (this == &other) return *this;
    if (other.IsArray())
        FValue = std::make_unique<Array>(other.ArrayRef());
    else
        std::visit(
            [this](const auto& value) {
                using T = std::decay_t<decltype(value)>;
                if constexpr (!std::is_same_v<T, std::unique_ptr<Array>>) FValue = value;
            },
            other.FValue);
    return *this;
}

TVarType Variant::VarType() const {
    switch (FValue.index()) {
    case kEmpty: return varEmpty;
    case kNull: return varNull;
    case kBoolean: return varBoolean;
    case kInteger: return varInteger;
    case kDouble: return varDouble;
    case kString: return varString;
    case kDate: return varDate;
    default: return static_cast<TVarType>(varArray | varVariant);
    }
}

bool Variant::IsNumeric() const {
    const size_t i = FValue.index();
    return i == kInteger || i == kDouble || i == kBoolean || i == kDate;
}

// ---- conversions -----------------------------------------------------

int64_t Variant::AsInteger() const {
    switch (FValue.index()) {
    case kEmpty: return 0;
    case kBoolean: return std::get<bool>(FValue) ? 1 : 0;
    case kInteger: return std::get<int64_t>(FValue);
    // Halves go to the even neighbour, as the host's rounding does.
    case kDouble: return static_cast<int64_t>(std::nearbyint(std::get<double>(FValue)));
    case kDate: return static_cast<int64_t>(std::nearbyint(std::get<Date>(FValue).Value));
    case kString: return ParseInteger(std::get<std::string>(FValue));
    default: CannotConvert(VarType(), varInteger);
    }
}

double Variant::AsFloat() const {
    switch (FValue.index()) {
    case kEmpty: return 0.0;
    case kBoolean: return std::get<bool>(FValue) ? 1.0 : 0.0;
    case kInteger: return static_cast<double>(std::get<int64_t>(FValue));
    case kDouble: return std::get<double>(FValue);
    case kDate: return std::get<Date>(FValue).Value;
    case kString: return ParseFloat(std::get<std::string>(FValue));
    default: CannotConvert(VarType(), varDouble);
    }
}

bool Variant::AsBoolean() const {
    switch (FValue.index()) {
    case kEmpty: return false;
    case kBoolean: return std::get<bool>(FValue);
    case kString: return ParseBoolean(std::get<std::string>(FValue));
    case kInteger:
    case kDouble:
    case kDate: return AsFloat() != 0.0;
    default: CannotConvert(VarType(), varBoolean);
    }
}

std::string Variant::AsString() const {
    switch (FValue.index()) {
    case kEmpty: return std::string();
    case kBoolean: return std::get<bool>(FValue) ? "True" : "False";
    case kInteger: return std::to_string(std::get<int64_t>(FValue));
    case kDouble: return FormatFloat(std::get<double>(FValue));
    case kDate: return FormatDateTime(std::get<Date>(FValue).Value);
    case kString: return std::get<std::string>(FValue);
    default: CannotConvert(VarType(), varString);
    }
}

TDateTime Variant::AsDateTime() const {
    switch (FValue.index()) {
    case kString: return ParseDateTime(std::get<std::string>(FValue));
    case kNull:
    case kArray: CannotConvert(VarType(), varDate);
    default: return AsFloat();
    }
}

const std::string& Variant::StringRef() const {
    if (!IsString()) CannotConvert(VarType(), varString);
    return std::get<std::string>(FValue);
}

// ---- arrays ----------------------------------------------------------

const Variant::Array& Variant::ArrayRef() const {
    if (!IsArray()) throw EVariantError("Variant is not an array");
    return *std::get<std::unique_ptr<Array>>(FValue);
}

Variant::Array& Variant::ArrayRef() {
    if (!IsArray()) throw EVariantError("Variant is not an array");
    return *std::get<std::unique_ptr<Array>>(FValue);
}

int Variant::LowBound() const { return ArrayRef().Low; }

int Variant::HighBound() const {
    const Array& a = ArrayRef();
    return a.Low + static_cast<int>(a.Items.size()) - 1;
}

const Variant& Variant::operator[](int index) const {
    const Array& a = ArrayRef();
    if (index < a.Low || index > HighBound()) throw EVariantError("Variant array index out of bounds");
    return a.Items[static_cast<size_t>(index - a.Low)];
}

Variant& Variant::operator[](int index) {
    Array& a = ArrayRef();
    if (index < a.Low || index > HighBound()) throw EVariantError("Variant array index out of bounds");
    return a.Items[static_cast<size_t>(index - a.Low)];
}

bool VarIsNull(const Variant& v) { return v.IsNull(); }
bool VarIsEmpty(const Variant& v) { return v.IsEmpty(); }
bool VarIsArray(const Variant& v) { return v.IsArray(); }

Variant VarArrayCreate(int low, int high, TVarType elementType) {
    if (elementType != varVariant) throw EVariantError("Only arrays of variants are supported");
    if (high < low - 1) throw EVariantError("Variant array bounds are invalid");
    Variant v;
    auto array = std::make_unique<Variant::Array>();
    array->Low = low;
    array->Items.resize(static_cast<size_t>(high - low + 1));
    v.FValue = std::move(array);
    return v;
}

Variant VarArrayOf(std::initializer_list<Variant> values) {
    Variant v = VarArrayCreate(0, static_cast<int>(values.size()) - 1);
    int i = 0;
    for (const Variant& value : values) v[i++] = value;
    return v;
}

int VarArrayDimCount(const Variant& v) { return v.IsArray() ? 1 : 0; }

int VarArrayLowBound(const Variant& v, int dim) {
    if (dim != 1) throw EVariantError("Variant array dimension out of range");
    return v.LowBound();
}

int VarArrayHighBound(const Variant& v, int dim) {
    if (dim != 1) throw EVariantError("Variant array dimension out of range");
    return v.HighBound();
}

Variant VarArrayGet(const Variant& v, int index) { return v[index]; }

void VarArrayPut(Variant& v, const Variant& value, int index) { v[index] = value; }

// ---- comparison ------------------------------------------------------

int VarCompare(const Variant& a, const Variant& b) {
    auto rank = [](const Variant& v) { return v.IsEmpty() ? 0 : (v.IsNull() ? 1 : 2); };
    if (rank(a) != 2 || rank(b) != 2) return rank(a) - rank(b) < 0 ? -1 : (rank(a) == rank(b) ? 0 : 1);
    if (a.IsArray() || b.IsArray()) {
        if (!a.IsArray() || !b.IsArray()) throw EVariantError("Invalid variant operation");
        const int n = std::min(a.HighBound() - a.LowBound(), b.HighBound() - b.LowBound()) + 1;
        for (int i = 0; i < n; ++i)
            if (int c = VarCompare(a[a.LowBound() + i], b[b.LowBound() + i])) return c;
        const int la = a.HighBound() - a.LowBound(), lb = b.HighBound() - b.LowBound();
        return la < lb ? -1 : (la > lb ? 1 : 0);
    }
    if (a.IsString() && b.IsString()) return CompareStr(a.StringRef(), b.StringRef());
    if (a.VarType() == varInteger && b.VarType() == varInteger) {
        const int64_t x = a.AsInteger(), y = b.AsInteger();
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    if (a.VarType() == varBoolean && b.IsString()) return Sign(a.AsFloat() - Variant(b.AsBoolean()).AsFloat());
    if (b.VarType() == varBoolean && a.IsString()) return Sign(Variant(a.AsBoolean()).AsFloat() - b.AsFloat());
    // Numbers by value; a string against a number is read as a number.
    return Sign(a.AsFloat() - b.AsFloat());
}

bool Variant::operator==(const Variant& other) const {
    if (IsEmpty() || other.IsEmpty()) return IsEmpty() && other.IsEmpty();
    if (IsNull() || other.IsNull()) return IsNull() && other.IsNull();
    if (IsArray() || other.IsArray()) {
        if (!IsArray() || !other.IsArray() || LowBound() != other.LowBound() || HighBound() != other.HighBound())
            return false;
        for (int i = LowBound(); i <= HighBound(); ++i)
            if ((*this)[i] != other[i]) return false;
        return true;
    }
    if (IsString() && other.IsString()) return StringRef() == other.StringRef();
    if (FValue.index() == kInteger && other.FValue.index() == kInteger)
        return std::get<int64_t>(FValue) == std::get<int64_t>(other.FValue);
    return VarCompare(*this, other) == 0;
}

bool VarSameText(const Variant& a, const Variant& b) {
    if (a.IsString() && b.IsString()) return SameText(a.StringRef(), b.StringRef());
    return a == b;
}

std::string VarToStr(const Variant& v) { return v.IsNull() ? std::string() : v.AsString(); }

std::ostream& operator<<(std::ostream& out, const Variant& v) {
    if (v.IsEmpty()) return out << "Unassigned";
    if (v.IsNull()) return out << "Null";
    if (v.IsArray()) {
        out << "[";
        for (int i = v.LowBound(); i <= v.HighBound(); ++i) out << (i > v.LowBound() ? ", " : "") << v[i];
        return out << "]";
    }
    if (v.IsString()) return out << '"' << v.StringRef() << '"';
    return out << v.AsString();
}

} // namespace host
