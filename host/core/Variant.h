#pragma once
// Variants: one value type for whatever a field or a key may hold, with the
// host's rules for comparing and converting. Unassigned and Null are
// distinct; arrays have one dimension with bounds and value semantics.

#include <cstdint>
#include <initializer_list>
#include <iosfwd>
#include <memory>
#include <string>
#include <variant>
#include <vector>

namespace host {

// Days since 1899-12-30; the fraction is the time of day.
using TDateTime = double;

enum TVarType {
    varEmpty = 0,
    varNull = 1,
    varInteger = 3,
    varDouble = 5,
    varDate = 7,
    varString = 8,
    varBoolean = 11,
    varVariant = 12,
    varArray = 0x2000,
};

class Variant {
public:
    Variant() = default;
    Variant(bool value) : FValue(value) {}
    Variant(int value) : FValue(static_cast<int64_t>(value)) {}
    Variant(long value) : FValue(static_cast<int64_t>(value)) {}
    Variant(long long value) : FValue(static_cast<int64_t>(value)) {}
    Variant(double value) : FValue(value) {}
    Variant(const char* value) : FValue(std::string(value ? value : "")) {}
    Variant(std::string value) : FValue(std::move(value)) {}
    static Variant Null();
    static Variant FromDateTime(TDateTime value);

    // Copies are deep: an array's elements are copied with it.
    Variant(const Variant& other);
    Variant(Variant&&) noexcept = default;
    Variant& operator=(const Variant& other);
    Variant& operator=(Variant&&) noexcept = default;
    ~Variant() = default;

    // varArray | varVariant for arrays.
    TVarType VarType() const;
    bool IsEmpty() const { return FValue.index() == kEmpty; }
    bool IsNull() const { return FValue.index() == kNull; }
    bool IsArray() const { return FValue.index() == kArray; }
    bool IsString() const { return FValue.index() == kString; }
    bool IsNumeric() const;

    // Conversions raise EConvertError for text that is not a number or date,
    // EVariantError for Null and arrays. Unassigned gives 0, false and "".
    int64_t AsInteger() const;
    double AsFloat() const;
    bool AsBoolean() const;
    std::string AsString() const;
    TDateTime AsDateTime() const;
    // The string held, without a copy; EVariantError for other types.
    const std::string& StringRef() const;

    // Arrays: EVariantError for a non-array or an index out of bounds.
    int LowBound() const;
    int HighBound() const;
    const Variant& operator[](int index) const;
    Variant& operator[](int index);

    // Raises EConvertError when a string must be compared with a number and
    // does not convert.
    bool operator==(const Variant& other) const;
    bool operator!=(const Variant& other) const { return !(*this == other); }

private:
    friend Variant VarArrayCreate(int low, int high, TVarType elementType);
    friend int VarCompare(const Variant& a, const Variant& b);

    struct Empty {};
    struct NullValue {};
    struct Date {
        TDateTime Value;
    };
    struct Array {
        int Low = 0;
        std::vector<Variant> Items;
    };
    enum : size_t { kEmpty, kNull, kBoolean, kInteger, kDouble, kString, kDate, kArray };
    using Storage = std::variant<Empty, NullValue, bool, int64_t, double, std::string, Date, std::unique_ptr<Array>>;

    const Array& ArrayRef() const;
    Array& ArrayRef();
    Storage FValue;
};

bool VarIsNull(const Variant& v);
bool VarIsEmpty(const Variant& v);
bool VarIsArray(const Variant& v);
// An array with bounds Low..High whose elements are unassigned; only
// varVariant elements are supported.
Variant VarArrayCreate(int low, int high, TVarType elementType = varVariant);
// An array of the given values, bounds 0..n-1.
Variant VarArrayOf(std::initializer_list<Variant> values);
int VarArrayDimCount(const Variant& v);
// Dim is 1; EVariantError for a non-array or another dimension.
int VarArrayLowBound(const Variant& v, int dim);
int VarArrayHighBound(const Variant& v, int dim);
Variant VarArrayGet(const Variant& v, int index);
void VarArrayPut(Variant& v, const Variant& value, int index);
// Ordering: unassigned and Null first, numbers by value, strings byte-wise.
int VarCompare(const Variant& a, const Variant& b);
// Equality with strings compared ignoring letter case.
bool VarSameText(const Variant& a, const Variant& b);
// AsString, but Null gives "".
std::string VarToStr(const Variant& v);
std::ostream& operator<<(std::ostream& out, const Variant& v);

} // namespace host
