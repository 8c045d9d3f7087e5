// Number and date conversions of variants and fields: a text either converts
// or raises the conversion error; a value printed and read back prints the
// same text again; a field given its own text keeps it.

#include "host/core/Exception.h"
#include "host/core/Variant.h"
#include "host/data/Field.h"
#include "host/data/MemoryDataSet.h"
#include "tests/fuzz/FuzzSupport.h"

#include <cmath>
#include <cstring>

using namespace host;

namespace {

template <class F>
bool Converts(F&& convert) {
    try {
        convert();
        return true;
    } catch (const EConvertError&) {
        return false;
    }
}

void CheckVariantText(const std::string& text) {
    const Variant v(text);
    int64_t i = 0;
    if (Converts([&] { i = v.AsInteger(); }))
        fuzz::Check(Variant(Variant(i).AsString()).AsInteger() == i, "integer does not read back: " + text);
    double f = 0;
    if (Converts([&] { f = v.AsFloat(); }) && std::isfinite(f)) {
        const std::string printed = Variant(f).AsString();
        double back = 0;
        fuzz::Check(Converts([&] { back = Variant(printed).AsFloat(); }), "printed number does not read: " + printed);
        fuzz::Check(Variant(back).AsString() == printed, "printed number reads as another: " + printed);
    }
    TDateTime d = 0;
    if (Converts([&] { d = v.AsDateTime(); }) && std::isfinite(d)) {
        const std::string printed = Variant::FromDateTime(d).AsString();
        TDateTime back = 0;
        fuzz::Check(Converts([&] { back = Variant(printed).AsDateTime(); }), "printed date does not read: " + printed);
        fuzz::Check(Variant::FromDateTime(back).AsString() == printed, "printed date reads as another: " + printed);
    }
    Converts([&] { v.AsBoolean(); });
}

void CheckFloatBits(const std::string& bytes) {
    if (bytes.size() < sizeof(double)) return;
    double f;
    std::memcpy(&f, bytes.data(), sizeof f);
    if (!std::isfinite(f)) return;
    const std::string printed = Variant(f).AsString();
    double back = 0;
    fuzz::Check(Converts([&] { back = Variant(printed).AsFloat(); }), "printed number does not read: " + printed);
    fuzz::Check(std::fabs(back - f) <= std::fabs(f) * 1e-14, "printed number is another: " + printed);
}

// A field takes the text or raises a conversion or range error; the text
// it then shows, given back to it, is kept.
void CheckField(TField* field, const std::string& text) {
    try {
        field->SetAsString(text);
    } catch (const EConvertError&) {
        return;
    } catch (const EDatabaseError&) {
        return;
    }
    const std::string shown = field->AsString();
    field->SetAsString(shown);
    fuzz::Check(field->AsString() == shown, "field " + field->FieldName() + " changes its own text: " + shown);
}

TMemoryDataSet* Table() {
    static TMemoryDataSet* table = [] {
        TMemoryDataSet* t = TMemoryDataSet::Create(nullptr);
        t->FieldDefs().Add("S", ftString, 8);
        t->FieldDefs().Add("I", ftInteger);
        t->FieldDefs().Add("F", ftFloat);
        t->FieldDefs().Add("B", ftBoolean);
        t->FieldDefs().Add("D", ftDateTime);
        t->Open();
        t->Append();
        return t;
    }();
    return table;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    CheckVariantText(text);
    CheckFloatBits(text);
    for (const char* name : {"S", "I", "F", "B", "D"}) CheckField(Table()->FieldByName(name), text);
    return 0;
}
