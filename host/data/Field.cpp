#include "host/data/Field.h"

#include "host/core/Exception.h"
#include "host/data/DataSet.h"

#include <cmath>

namespace host {

HOST_IMPLEMENT_CLASS(TField, TComponent)

const char* FieldTypeName(TFieldType type) {
    switch (type) {
    case ftString: return "String";
    case ftInteger: return "Integer";
    case ftFloat: return "Float";
    case ftBoolean: return "Boolean";
    case ftDateTime: return "DateTime";
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
        case ftInteger: {
            // An integer field takes whole numbers only, as typed text or as values.
            if (value.VarType() == varDouble || value.VarType() == varDate) {
                const double d = value.AsFloat();
                if (d != std::floor(d)) throw EConvertError("'" + value.AsString() + "' is not a valid integer value");
            }
            return Variant(value.AsInteger());
        }
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

bool TField::CanModify() const { return !FReadOnly && FDataSet->CanModify(); }

void TField::SetValue(const Variant& value) { FDataSet->SetFieldValue(*this, value); }

std::string TField::AsString() const { return VarToStr(Value()); }

void TField::SetAsString(const std::string& text) { SetValue(Variant(text)); }

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

void TField::SetText(const std::string& text) {
    // Empty text in a control means "no value", except for a string field.
    if (text.empty() && FDataType != ftString)
        Clear();
    else
        SetAsString(text);
}

} // namespace host
