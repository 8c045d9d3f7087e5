#pragma once
// The host's variant: one value of a few scalar types, Null, unassigned, or a
// one-dimensional array of variants, with the conversions and comparisons the
// data-aware components rely on.

#include "host/core/Export.h"

#include <cstdint>
#include <initializer_list>
#include <iosfwd>
#include <memory>
#include <string>
#include <variant>

VESKAR_PUBLIC_BEGIN

namespace host {

// Days since 1899-12-30; the fraction is the time of day. Before that day the
// fraction still counts forward from midnight: -1.25 is 1899-12-29 06:00.
using TDateTime = double;

enum TVarType {
    varEmpty = 0,
    varNull = 1,
    varInteger = 3,
    varDouble = 5,
    varDate = 7,
    varOleStr = 8,  // wide strings: no variant here holds one
    varBoolean = 11,
    varVariant = 12,
    varString = 0x0100,
    varArray = 0x2000
};

class Variant;
Variant VarArrayCreate(int low, int high, TVarType elementType = varVariant);

class Variant {
public:
    Variant() = default; // unassigned
    Variant(bool value) : FValue(std::in_place_type<bool>, value) {}
    Variant(int value) : FValue(std::in_place_type<int64_t>, value) {}
    Variant(int64_t value) : FValue(std::in_place_type<int64_t>, value) {}
    Variant(double value) : FValue(std::in_place_type<double>, value) {}
    Variant(const char* value) : FValue(std::in_place_type<std::string>, value ? value : "") {}
    Variant(std::string value) : FValue(std::in_place_type<std::string>, std::move(value)) {}

    static Variant Null() { return Variant(NullValue{}); }
    static Variant FromDateTime(TDateTime value) { return Variant(DateValue{value}); }

    // Copies are deep: an array's elements are copied with it. A variant that
    // was moved from is unassigned.
    Variant(const Variant&) = default;
    Variant(Variant&& other) noexcept : FValue(std::move(other.FValue)) { other.FValue.emplace<std::monostate>(); }
    Variant& operator=(const Variant& other);
    Variant& operator=(Variant&& other) noexcept;
    ~Variant() = default;

    TVarType VarType() const; // varArray | varVariant for arrays
    bool IsEmpty() const { return GetKind() == kEmpty; }
    bool IsNull() const { return GetKind() == kNull; }
    bool IsArray() const { return GetKind() == kArray; }

    // Conversions raise EConvertError for text that does not read as the
    // type asked for, and EVariantError for Null and arrays. Text reads as an
    // integer in decimal or, after "$", "0x" or "0X", in hexadecimal.
    int64_t AsInteger() const;
    double AsFloat() const;
    bool AsBoolean() const;
    std::string AsString() const;
    TDateTime AsDateTime() const;
    // The text of a string variant without a copy; EVariantError otherwise.
    const std::string& StringRef() const;

    // Arrays; EVariantError for a non-array or an index out of bounds.
    int LowBound() const;
    int HighBound() const;
    const Variant& operator[](int index) const;
    Variant& operator[](int index);

    // Raises EConvertError when a string meets a number it does not read as.
    bool operator==(const Variant& other) const { return Equal(*this, other, false); }
    bool operator!=(const Variant& other) const { return !Equal(*this, other, false); }

private:
    struct NullValue {};
    struct DateValue {
        TDateTime Value;
    };
    struct ArrayData;
    // Owns an array and copies it deeply.
    class ArrayBox {
    public:
        explicit ArrayBox(std::unique_ptr<ArrayData> data) noexcept;
        ArrayBox(const ArrayBox& other);
        ArrayBox(ArrayBox&& other) noexcept;
        ArrayBox& operator=(const ArrayBox& other);
        ArrayBox& operator=(ArrayBox&& other) noexcept;
        ~ArrayBox();
        ArrayData& operator*() const { return *FData; }

    private:
        std::unique_ptr<ArrayData> FData;
    };
    // In the order of the alternatives of Storage.
    enum Kind { kEmpty, kNull, kInteger, kDouble, kDate, kString, kBoolean, kArray };
    using Storage = std::variant<std::monostate, NullValue, int64_t, double, DateValue, std::string, bool, ArrayBox>;

    explicit Variant(NullValue value) : FValue(value) {}
    explicit Variant(DateValue value) : FValue(value) {}
    explicit Variant(ArrayBox array) : FValue(std::in_place_type<ArrayBox>, std::move(array)) {}

    Kind GetKind() const { return static_cast<Kind>(FValue.index()); }
    VESKAR_LOCAL ArrayData& Array() const;
    static bool Equal(const Variant& a, const Variant& b, bool ignoreCase);
    VESKAR_LOCAL static int CompareScalars(const Variant& a, const Variant& b, bool ignoreCase);

    friend Variant VarArrayCreate(int low, int high, TVarType elementType);
    friend Variant VarArrayOf(std::initializer_list<Variant> values);
    friend int VarCompare(const Variant& a, const Variant& b);
    friend bool VarSameText(const Variant& a, const Variant& b);
    friend std::ostream& operator<<(std::ostream& os, const Variant& v);

    Storage FValue;
};

bool VarIsNull(const Variant& v);
bool VarIsEmpty(const Variant& v);
bool VarIsArray(const Variant& v);

// Elements start unassigned; high = low - 1 makes an empty array. Only
// varVariant elements are supported.
Variant VarArrayCreate(int low, int high, TVarType elementType);
Variant VarArrayOf(std::initializer_list<Variant> values); // bounds 0..n-1
int VarArrayDimCount(const Variant& v);                    // 1 for an array, else 0
int VarArrayLowBound(const Variant& v, int dim);           // dim must be 1
int VarArrayHighBound(const Variant& v, int dim);
Variant VarArrayGet(const Variant& v, int index);
void VarArrayPut(Variant& v, const Variant& value, int index);

// -1, 0 or 1. Unassigned sorts first, then Null, then every value; numbers by
// value (a Boolean as -1 or 0), strings byte by byte, a string against a
// number as a number. Arrays have no order (EVariantError).
int VarCompare(const Variant& a, const Variant& b);
// Equality with strings compared ignoring the case of ASCII letters.
bool VarSameText(const Variant& a, const Variant& b);
// AsString, except that Null gives "".
std::string VarToStr(const Variant& v);
// Unassigned, Null, "text", other values as AsString, arrays as [a, b].
std::ostream& operator<<(std::ostream& os, const Variant& v);

} // namespace host

VESKAR_PUBLIC_END
