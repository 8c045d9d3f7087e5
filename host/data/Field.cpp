#include "host/data/Field.h"

#include "host/core/Exception.h"
#include "host/core/TextUtils.h"
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
            std::string s = value.AsString();
            if (FSize > 0 && static_cast<int>(s.size()) > FSize) s.resize(static_cast<size_t>(FSize));
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

std::string TField::AsString() const { return VarToStr(Value()); }

void TField::SetAsString(const std::string& text) {
    // Empty text is no value, except for a string field.
    if (text.empty() && FDataType != ftString)
        Clear();
    else if (FDataType == ftBoolean)
        SetValue(Variant(TextToBoolean(text)));
    else
        SetValue(Variant(text));
}

bool TField::TextToBoolean(const std::string& text) const {
    // Any beginning of a word stands for it, letter case ignored; "False"
    // is tried first.
    auto abbreviates = [&](const char* word) {
        return !text.empty() && text.size() <= std::strlen(word) && StartsText(text, word);
    };
    if (abbreviates("False")) return false;
    if (abbreviates("True")) return true;
    throw EConvertError("'" + text + "' is not a valid boolean value for field '" + DisplayLabel() + "'");
}

int64_t TField::AsInteger() const {
    const Variant v = Value();
    return v.IsNull() ? 0 : v.AsInteger();
}

double TField::AsFloat() const {
    const Variant v = Value();
    return v.IsNull() ? 0.0 : v.AsFloat();
}

bool TField::AsBoolean() const {
    const Variant v = Value();
    return v.IsNull() ? false : v.AsBoolean();
}

TDateTime TField::AsDateTime() const {
    const Variant v = Value();
    return v.IsNull() ? 0.0 : v.AsDateTime();
}

std::string TField::Text() const { return AsString(); }

void TField::SetText(const std::string& text) { SetAsString(text); }

} // namespace host
