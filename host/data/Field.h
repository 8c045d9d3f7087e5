#pragma once
// TField: one column of a dataset's current record, read and written as a
// variant through the dataset that owns it.

#include "host/core/Export.h"
#include "host/core/Component.h"
#include "host/core/Variant.h"

#include <string>

VESKAR_PUBLIC_BEGIN

namespace host {

class TDataSet;

// ftInteger holds 32 bits, ftLargeint 64 (ids and counters that outgrow 32).
enum TFieldType { ftUnknown, ftString, ftInteger, ftFloat, ftBoolean, ftDateTime, ftLargeint };

// The framework's name of a field type ("String", "Integer", ...).
const char* FieldTypeName(TFieldType type);

class TField : public TComponent {
    HOST_CLASS(TField, TComponent)
public:
    TDataSet* DataSet() const { return FDataSet; }
    const std::string& FieldName() const { return FFieldName; }
    TFieldType DataType() const { return FDataType; }
    // Declared size: characters for a string field, 0 for the others.
    int Size() const { return FSize; }
    // Bytes a value takes in a record buffer (a string field's size plus its
    // terminator), as the framework reports it.
    int DataSize() const;
    // Position in the dataset's field list.
    int Index() const { return FIndex; }

    // Raising EDatabaseError outside edit and insert state, EConvertError when
    // the value does not convert (the field keeps its value). Null and
    // unassigned clear the field; a string longer than Size is cut.
    Variant Value() const;
    void SetValue(const Variant& value);
    void Clear() { SetValue(Variant::Null()); }
    bool IsNull() const;

    std::string AsString() const;
    // Empty text clears a field of any type but string; a Boolean field
    // takes any beginning of "True" or "False", letter case ignored.
    void SetAsString(const std::string& text);
    int64_t AsInteger() const;
    void SetAsInteger(int64_t value) { SetValue(Variant(value)); }
    double AsFloat() const;
    void SetAsFloat(double value) { SetValue(Variant(value)); }
    bool AsBoolean() const;
    void SetAsBoolean(bool value) { SetValue(Variant(value)); }
    TDateTime AsDateTime() const;
    void SetAsDateTime(TDateTime value) { SetValue(Variant::FromDateTime(value)); }
    // Text shown in and typed into controls: AsString, with "" for Null.
    std::string Text() const;
    void SetText(const std::string& text);
    std::string DisplayText() const { return Text(); }

    const std::string& DisplayLabel() const { return FDisplayLabel.empty() ? FFieldName : FDisplayLabel; }
    void SetDisplayLabel(const std::string& value) { FDisplayLabel = value; }
    int DisplayWidth() const;
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool value) { FReadOnly = value; }
    bool Required() const { return FRequired; }
    void SetRequired(bool value) { FRequired = value; }
    bool Visible() const { return FVisible; }
    void SetVisible(bool value) { FVisible = value; }
    // The field may be written: not read-only and its dataset may be modified.
    bool CanModify() const;

    // Converts a value to this field's type, as a write would: an integer
    // field rounds a floating value half to even. Raises EConvertError, and
    // EDatabaseError naming the field and its range for a number the field
    // cannot hold (an integer field holds 32 bits, a large integer field 64).
    Variant Convert(const Variant& value) const;

protected:
    TField(TDataSet* dataSet, std::string fieldName, TFieldType type, int size, int index);

private:
    // The Boolean a text abbreviates; EConvertError for any other text.
    bool TextToBoolean(const std::string& text) const;
    Variant ToInteger(const Variant& value) const;
    [[noreturn]] void RangeError(const Variant& value, int64_t low, int64_t high) const;

    TDataSet* FDataSet;
    std::string FFieldName;
    TFieldType FDataType;
    int FSize;
    int FIndex;
    std::string FDisplayLabel;
    bool FReadOnly = false;
    bool FRequired = false;
    bool FVisible = true;
};

} // namespace host

VESKAR_PUBLIC_END
