#include "host/data/Field.h"

#include "host/core/Exception.h"
#include "host/core/TextUtils.h"
#include "host/core/Utf8.h"
#include "host/data/DataSet.h"

#include <cmath>
#include <cstring>
#include <limits>

namespace host {

HOST_IMPLEMENT_CLASS(TField, TComponent)

const char* FieldTypeName(TFieldType type) {
    switch (type) {
    case ftString: return "String";
    case ftInteger: return "Integer";
    case ftFloat: return "Float";
    case ftBoolean: return "Boolean";
    case ftDateTime: return "DateTime";
    case ftLargeint: return "Largeint";
    case ftUnknown: break;
    }
    return "Unknown";
}

TField::TField(TDataSet* dataSet, std::string fieldName, TFieldType type, int size, int index)
    : TComponent(dataSet), FDataSet(dataSet), FFieldName(std::move(fieldName)), FDataType(type),
      FSize(type == ftString ? size : 0), FIndex(index) {}

int TField::DataSize() const {
    switch (FDataType) {
    case ftString: return FSize + 1;
    case ftInteger: return 4;
    case ftFloat: return 8;
    case ftBoolean: return 2;
    case ftDateTime: return 8;
    case ftLargeint: return 8;
    case ftUnknown: break;
    }
    return 0;
}

int TField::DisplayWidth() const {
    switch (FDataType) {
    case ftString: return FSize > 0 ? FSize : 20;
    case ftInteger: return 10;
    case ftFloat: return 10;
    case ftBoolean: return 5;
    case ftDateTime: return 18;
    // Every 64-bit value whole, sign included: a number cut short would
    // read as another.
    case ftLargeint: return 20;
    case ftUnknown: break;
    }
    return 10;
}

Variant TField::Value() const { return FDataSet->GetFieldValue(*this); }

bool TField::IsNull() const {
    const Variant v = Value();
    return v.IsNull() || v.IsEmpty();
}

Variant TField::Convert(const Variant& value) const {
    if (value.IsNull() || value.IsEmpty()) return Variant::Null();
    if (value.IsArray()) throw EConvertError("Invalid variant type conversion");
    try {
        switch (FDataType) {
        case ftString: {
            // Text short enough is kept as it is, without a second copy.
            if (value.VarType() == varString && (FSize <= 0 || static_cast<int>(value.StringRef().size()) <= FSize))
                return value;
            std::string s = value.AsString();
            // A string field of size N holds N characters, each whole.
            if (FSize > 0 && static_cast<int>(s.size()) > FSize) s = Utf8Truncate(s, FSize);
            return Variant(std::move(s));
        }
        case ftInteger:
        case ftLargeint: return ToInteger(value);
        case ftFloat: return Variant(value.AsFloat());
        case ftBoolean: return Variant(value.AsBoolean());
        case ftDateTime: return Variant::FromDateTime(value.AsDateTime());
        case ftUnknown: break;
        }
    } catch (const EVariantError& e) {
        throw EConvertError(e.Message());
    }
    return value;
}

namespace {
constexpr int64_t kIntegerLow = std::numeric_limits<int32_t>::min();
constexpr int64_t kIntegerHigh = std::numeric_limits<int32_t>::max();
constexpr int64_t kLargeLow = std::numeric_limits<int64_t>::min();
constexpr int64_t kLargeHigh = std::numeric_limits<int64_t>::max();
constexpr double kTwoTo63 = 9223372036854775808.0;

// Whether a number rounds into [Low, High]; other values are left to the
// conversion.
bool Fits(const Variant& value, int64_t low, int64_t high) {
    switch (value.VarType()) {
    case varInteger: {
        const int64_t i = value.AsInteger();
        return i >= low && i <= high;
    }
    case varDouble:
    case varDate: {
        const double d = value.AsFloat();
        if (std::isnan(d)) return true;
        // 64 bits: every double below 2^63 rounds into range, 2^63 does not
        // (and -2^63 is exact).
        if (low == kLargeLow) return d >= -kTwoTo63 && d < kTwoTo63;
        // Halves go to the even neighbour: -2^31 - 0.5 still fits, 2^31 - 0.5 does not.
        return d >= static_cast<double>(low) - 0.5 && d < static_cast<double>(high) + 0.5;
    }
    default: return true;
    }
}
} // namespace

Variant TField::ToInteger(const Variant& value) const {
    const bool large = FDataType == ftLargeint;
    const int64_t low = large ? kLargeLow : kIntegerLow;
    const int64_t high = large ? kLargeHigh : kIntegerHigh;
    // The usual case, an integer in range, is already what the field holds.
    if (value.VarType() == varInteger) {
        const int64_t i = value.AsInteger();
        if (i < low || i > high) RangeError(value, low, high);
        return value;
    }
    if (!Fits(value, low, high)) RangeError(value, low, high);
    Variant converted(value.AsInteger());
    if (!Fits(converted, low, high)) RangeError(converted, low, high);
    return converted;
}

void TField::RangeError(const Variant& value, int64_t low, int64_t high) const {
    throw EDatabaseError(value.AsString() + " is not a valid value for field '" + DisplayLabel() +
                         "'. The allowed range is " + std::to_string(low) + " to " + std::to_string(high));
}

bool TField::CanModify() const { return !FReadOnly && FDataSet->CanModify(); }

void TField::SetValue(const Variant& value) { FDataSet->SetFieldValue(*this, value); }

void TField::AccessError(const char* typeName) const {
    throw EDatabaseError("Cannot access field '" + DisplayLabel() + "' as type " + typeName);
}

std::string TField::GetAsString() const { return VarToStr(Value()); }
int64_t TField::GetAsInteger() const { AccessError("Integer"); }
double TField::GetAsFloat() const { AccessError("Float"); }
bool TField::GetAsBoolean() const { AccessError("Boolean"); }
TDateTime TField::GetAsDateTime() const { AccessError("DateTime"); }

void TField::SetAsString(const std::string& text) {
    // Empty text is no value, except for a string field.
    if (text.empty())
        Clear();
    else
        SetValue(Variant(text));
}

void TField::SetAsInteger(int64_t) { AccessError("Integer"); }
void TField::SetAsFloat(double) { AccessError("Float"); }
void TField::SetAsBoolean(bool) { AccessError("Boolean"); }
void TField::SetAsDateTime(TDateTime) { AccessError("DateTime"); }

// ---- the field classes ---------------------------------------------------

HOST_IMPLEMENT_CLASS(TStringField, TField)
HOST_IMPLEMENT_CLASS(TIntegerField, TField)
HOST_IMPLEMENT_CLASS(TLargeintField, TIntegerField)
HOST_IMPLEMENT_CLASS(TFloatField, TField)
HOST_IMPLEMENT_CLASS(TBooleanField, TField)
HOST_IMPLEMENT_CLASS(TDateTimeField, TField)
HOST_IMPLEMENT_CLASS(TVariantField, TField)

namespace {
// A Null value reads as zero or false where the type has no other answer.
int64_t IntegerOrZero(const Variant& v) { return v.IsNull() ? 0 : v.AsInteger(); }
double FloatOrZero(const Variant& v) { return v.IsNull() ? 0.0 : v.AsFloat(); }
bool BooleanOrFalse(const Variant& v) { return v.IsNull() ? false : v.AsBoolean(); }
TDateTime DateTimeOrZero(const Variant& v) { return v.IsNull() ? 0.0 : v.AsDateTime(); }
} // namespace

// A Null string field reads as the empty text, which is no number or date.
int64_t TStringField::GetAsInteger() const { return Variant(AsString()).AsInteger(); }
double TStringField::GetAsFloat() const { return Variant(AsString()).AsFloat(); }
TDateTime TStringField::GetAsDateTime() const { return Variant(AsString()).AsDateTime(); }
bool TStringField::GetAsBoolean() const {
    const std::string text = AsString();
    return !text.empty() && std::strchr("TtYy", text[0]) != nullptr;
}

void TStringField::SetAsString(const std::string& text) { SetValue(Variant(text)); }
void TStringField::SetAsInteger(int64_t value) { SetValue(Variant(value)); }
void TStringField::SetAsFloat(double value) { SetValue(Variant(value)); }
void TStringField::SetAsBoolean(bool value) { SetValue(Variant(value)); }
void TStringField::SetAsDateTime(TDateTime value) { SetValue(Variant::FromDateTime(value)); }

int64_t TIntegerField::GetAsInteger() const { return IntegerOrZero(Value()); }
double TIntegerField::GetAsFloat() const { return FloatOrZero(Value()); }

void TIntegerField::SetAsInteger(int64_t value) { SetValue(Variant(value)); }
void TIntegerField::SetAsFloat(double value) { SetValue(Variant(value)); }

int64_t TFloatField::GetAsInteger() const { return IntegerOrZero(Value()); }
double TFloatField::GetAsFloat() const { return FloatOrZero(Value()); }

void TFloatField::SetAsInteger(int64_t value) { SetValue(Variant(value)); }
void TFloatField::SetAsFloat(double value) { SetValue(Variant(value)); }

bool TBooleanField::GetAsBoolean() const { return BooleanOrFalse(Value()); }

void TBooleanField::SetAsString(const std::string& text) {
    if (text.empty())
        Clear();
    else
        SetValue(Variant(TextToBoolean(text)));
}

void TBooleanField::SetAsBoolean(bool value) { SetValue(Variant(value)); }

bool TBooleanField::TextToBoolean(const std::string& text) const {
    // Any beginning of a word stands for it, letter case ignored; "False"
    // is tried first.
    auto abbreviates = [&](const char* word) {
        return !text.empty() && text.size() <= std::strlen(word) && StartsText(text, word);
    };
    if (abbreviates("False")) return false;
    if (abbreviates("True")) return true;
    throw EConvertError("'" + text + "' is not a valid boolean value for field '" + DisplayLabel() + "'");
}

double TDateTimeField::GetAsFloat() const { return AsDateTime(); }
TDateTime TDateTimeField::GetAsDateTime() const { return DateTimeOrZero(Value()); }

void TDateTimeField::SetAsFloat(double value) { SetValue(Variant::FromDateTime(value)); }
void TDateTimeField::SetAsDateTime(TDateTime value) { SetValue(Variant::FromDateTime(value)); }

int64_t TVariantField::GetAsInteger() const { return IntegerOrZero(Value()); }
double TVariantField::GetAsFloat() const { return FloatOrZero(Value()); }
bool TVariantField::GetAsBoolean() const { return BooleanOrFalse(Value()); }
TDateTime TVariantField::GetAsDateTime() const { return DateTimeOrZero(Value()); }

void TVariantField::SetAsInteger(int64_t value) { SetValue(Variant(value)); }
void TVariantField::SetAsFloat(double value) { SetValue(Variant(value)); }
void TVariantField::SetAsBoolean(bool value) { SetValue(Variant(value)); }
void TVariantField::SetAsDateTime(TDateTime value) { SetValue(Variant::FromDateTime(value)); }

TField* CreateField(TDataSet* dataSet, const std::string& fieldName, TFieldType type, int size, int index) {
    switch (type) {
    case ftString: return TStringField::Create(dataSet, fieldName, size, index);
    case ftInteger: return TIntegerField::Create(dataSet, fieldName, index);
    case ftLargeint: return TLargeintField::Create(dataSet, fieldName, index);
    case ftFloat: return TFloatField::Create(dataSet, fieldName, index);
    case ftBoolean: return TBooleanField::Create(dataSet, fieldName, index);
    case ftDateTime: return TDateTimeField::Create(dataSet, fieldName, index);
    case ftUnknown: break;
    }
    return TVariantField::Create(dataSet, fieldName, index);
}

} // namespace host
