#pragma once
// TField: one column of a dataset's current record, read and written as a
// variant through the dataset that owns it.

#include "host/core/Export.h"
#include "host/core/Component.h"
#include "host/core/Set.h"
#include "host/core/Variant.h"

#include <string>

VESKAR_PUBLIC_BEGIN

namespace host {

class TDataSet;

// ftInteger holds 32 bits, ftLargeint 64 (ids and counters that outgrow 32).
// ftUnknown is a column of no declared type, holding any value.
enum TFieldType { ftUnknown, ftString, ftInteger, ftFloat, ftBoolean, ftDateTime, ftLargeint };

// The framework's name of a field type ("String", "Integer", ...).
const char* FieldTypeName(TFieldType type);

// How a field takes part in the writes of an SQL dataset: pfInUpdate, an
// edit of it is written; pfInWhere, the WHERE of upWhereAll and
// upWhereChanged compares it; pfInKey, every WHERE compares it, as the key
// is. Fields are made anew at each opening, with pfInUpdate and pfInWhere.
enum TProviderFlag { pfInUpdate, pfInWhere, pfInKey };
using TProviderFlags = TSet<TProviderFlag>;

// A field is made as the class of its type (TStringField, TIntegerField...);
// each class reads and writes the types it can hold and refuses the others
// with EDatabaseError "Cannot access field 'X' as type Y".
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

    // The typed readers; a Null value reads as 0, false or the empty text
    // where the type has no other answer.
    std::string AsString() const { return GetAsString(); }
    int64_t AsInteger() const { return GetAsInteger(); }
    double AsFloat() const { return GetAsFloat(); }
    bool AsBoolean() const { return GetAsBoolean(); }
    TDateTime AsDateTime() const { return GetAsDateTime(); }
    // Empty text clears a field of any type but string; a Boolean field
    // takes any beginning of "True" or "False", letter case ignored.
    virtual void SetAsString(const std::string& text);
    virtual void SetAsInteger(int64_t value);
    virtual void SetAsFloat(double value);
    virtual void SetAsBoolean(bool value);
    virtual void SetAsDateTime(TDateTime value);
    // Text shown in and typed into controls: AsString, with "" for Null.
    std::string Text() const { return AsString(); }
    void SetText(const std::string& text) { SetAsString(text); }
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
    TProviderFlags ProviderFlags() const { return FProviderFlags; }
    void SetProviderFlags(TProviderFlags value) { FProviderFlags = value; }
    // The field may be written: not read-only and its dataset may be modified.
    bool CanModify() const;

    // Converts a value to this field's type, as a write would: an integer
    // field rounds a floating value half to even. Raises EConvertError, and
    // EDatabaseError naming the field and its range for a number the field
    // cannot hold (an integer field holds 32 bits, a large integer field 64).
    Variant Convert(const Variant& value) const;

protected:
    TField(TDataSet* dataSet, std::string fieldName, TFieldType type, int size, int index);

    // Every field shows its value as text; the other readers refuse here.
    virtual std::string GetAsString() const;
    virtual int64_t GetAsInteger() const;
    virtual double GetAsFloat() const;
    virtual bool GetAsBoolean() const;
    virtual TDateTime GetAsDateTime() const;
    [[noreturn]] void AccessError(const char* typeName) const;

private:
    VESKAR_LOCAL Variant ToInteger(const Variant& value) const;
    [[noreturn]] VESKAR_LOCAL void RangeError(const Variant& value, int64_t low, int64_t high) const;

    TDataSet* FDataSet;
    std::string FFieldName;
    TFieldType FDataType;
    int FSize;
    int FIndex;
    std::string FDisplayLabel;
    bool FReadOnly = false;
    bool FRequired = false;
    bool FVisible = true;
    TProviderFlags FProviderFlags{pfInUpdate, pfInWhere};
};

// Reads its text as any type: a number as the text it holds (the empty text
// of a Null field is none), a Boolean by the first letter (T or Y).
class TStringField : public TField {
    HOST_CLASS(TStringField, TField)
public:
    void SetAsString(const std::string& text) override;
    void SetAsInteger(int64_t value) override;
    void SetAsFloat(double value) override;
    void SetAsBoolean(bool value) override;
    void SetAsDateTime(TDateTime value) override;

protected:
    TStringField(TDataSet* dataSet, std::string fieldName, int size, int index)
        : TField(dataSet, std::move(fieldName), ftString, size, index) {}
    int64_t GetAsInteger() const override;
    double GetAsFloat() const override;
    bool GetAsBoolean() const override;
    TDateTime GetAsDateTime() const override;
};

// An integer and a float; no Boolean or date.
class TIntegerField : public TField {
    HOST_CLASS(TIntegerField, TField)
public:
    void SetAsInteger(int64_t value) override;
    void SetAsFloat(double value) override;

protected:
    TIntegerField(TDataSet* dataSet, std::string fieldName, int index, TFieldType type = ftInteger)
        : TField(dataSet, std::move(fieldName), type, 0, index) {}
    int64_t GetAsInteger() const override;
    double GetAsFloat() const override;
};

// An integer field of 64 bits.
class TLargeintField : public TIntegerField {
    HOST_CLASS(TLargeintField, TIntegerField)
protected:
    TLargeintField(TDataSet* dataSet, std::string fieldName, int index)
        : TIntegerField(dataSet, std::move(fieldName), index, ftLargeint) {}
};

// A float and a rounded integer; no Boolean or date.
class TFloatField : public TField {
    HOST_CLASS(TFloatField, TField)
public:
    void SetAsInteger(int64_t value) override;
    void SetAsFloat(double value) override;

protected:
    TFloatField(TDataSet* dataSet, std::string fieldName, int index)
        : TField(dataSet, std::move(fieldName), ftFloat, 0, index) {}
    int64_t GetAsInteger() const override;
    double GetAsFloat() const override;
};

// A Boolean and its text only: True is no number.
class TBooleanField : public TField {
    HOST_CLASS(TBooleanField, TField)
public:
    void SetAsString(const std::string& text) override;
    void SetAsBoolean(bool value) override;

protected:
    TBooleanField(TDataSet* dataSet, std::string fieldName, int index)
        : TField(dataSet, std::move(fieldName), ftBoolean, 0, index) {}
    bool GetAsBoolean() const override;

private:
    // The Boolean a text abbreviates; EConvertError for any other text.
    VESKAR_LOCAL bool TextToBoolean(const std::string& text) const;
};

// A date and time, also as the float that holds it.
class TDateTimeField : public TField {
    HOST_CLASS(TDateTimeField, TField)
public:
    void SetAsFloat(double value) override;
    void SetAsDateTime(TDateTime value) override;

protected:
    TDateTimeField(TDataSet* dataSet, std::string fieldName, int index)
        : TField(dataSet, std::move(fieldName), ftDateTime, 0, index) {}
    double GetAsFloat() const override;
    TDateTime GetAsDateTime() const override;
};

// A column of no declared type: its value converts to whatever is asked.
class TVariantField : public TField {
    HOST_CLASS(TVariantField, TField)
public:
    void SetAsInteger(int64_t value) override;
    void SetAsFloat(double value) override;
    void SetAsBoolean(bool value) override;
    void SetAsDateTime(TDateTime value) override;

protected:
    TVariantField(TDataSet* dataSet, std::string fieldName, int index)
        : TField(dataSet, std::move(fieldName), ftUnknown, 0, index) {}
    int64_t GetAsInteger() const override;
    double GetAsFloat() const override;
    bool GetAsBoolean() const override;
    TDateTime GetAsDateTime() const override;
};

// The field of a column, as the class of its type.
TField* CreateField(TDataSet* dataSet, const std::string& fieldName, TFieldType type, int size, int index);

} // namespace host

VESKAR_PUBLIC_END
