#include "host/designer/PropEdit.h"

#include "host/core/Component.h"
#include "host/core/Exception.h"
#include "host/core/GlobalRoots.h"
#include "host/core/Strings.h"
#include "host/core/TextUtils.h"
#include "host/core/TypInfo.h"
#include "host/ui/ShortCuts.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace host {

namespace {

[[noreturn]] void InvalidValue() { throw EPropertyError("Invalid property value"); }

std::int64_t ParseInteger(const std::string& text) {
    const std::string t = Trim(text);
    std::int64_t value = 0;
    const char* first = t.data();
    const char* last = t.data() + t.size();
    int base = 10;
    bool negative = false;
    if (first != last && *first == '-') {
        negative = true;
        ++first;
    }
    if (first != last && *first == '$') {
        base = 16;
        ++first;
    }
    const auto [end, error] = std::from_chars(first, last, value, base);
    if (first == last || error != std::errc() || end != last)
        throw EConvertError("'" + text + "' is not a valid integer value");
    return negative ? -value : value;
}

// The name a component goes by in the inspector seen from Root: its own
// name on Root, Other.Name on another global root.
std::string ReferenceName(const TComponent* component, const TComponent* root) {
    if (!component) return "";
    if (component == root || component->Owner() == root || !component->Owner()) return component->Name();
    return component->Owner()->Name() + "." + component->Name();
}

void AddCandidates(std::vector<std::string>& values, const TComponent* owner, const TComponent* root,
                   const TClass& cls) {
    for (int i = 0; i < owner->ComponentCount(); ++i) {
        const TComponent* c = owner->Components(i);
        if (c->InheritsFrom(cls) && !c->Name().empty()) values.push_back(ReferenceName(c, root));
    }
}

} // namespace

std::unique_ptr<TPropertyEditor> TPropertyEditorClass::Create(TDesigner* designer,
                                                              std::vector<TPropEditTarget> targets) const {
    if (targets.empty()) throw EInvalidOperation("A property editor needs a property to edit");
    auto editor = FFactory();
    editor->Initialize(designer, std::move(targets));
    return editor;
}

// --- TPropertyEditor ------------------------------------------------------------

void TPropertyEditor::Initialize(TDesigner* designer, std::vector<TPropEditTarget> targets) {
    FDesigner = designer;
    FTargets = std::move(targets);
}

TPersistent* TPropertyEditor::GetComponent(int index) const {
    if (index < 0 || index >= PropCount())
        throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    return FTargets[static_cast<size_t>(index)].Instance;
}

TObject* TPropertyEditor::Instance(int index) const { return GetComponent(index); }

const TPropInfo& TPropertyEditor::PropInfo(int index) const {
    GetComponent(index);  // checks the index
    return *FTargets[static_cast<size_t>(index)].Prop;
}

std::string TPropertyEditor::GetName() const { return GetPropInfo().Name; }

TPropertyAttributes TPropertyEditor::GetAttributes() const { return {paMultiSelect, paRevertable}; }

std::string TPropertyEditor::GetValue() const { return "(unknown)"; }

void TPropertyEditor::SetValue(const std::string&) {}

void TPropertyEditor::GetValues(std::vector<std::string>&) const {}

void TPropertyEditor::Edit() {}

bool TPropertyEditor::AllEqual() const { return PropCount() == 1; }

void TPropertyEditor::Modified() {
    if (FDesigner) FDesigner->Modified();
}

// --- ordinals ---------------------------------------------------------------------

bool TOrdinalProperty::AllEqual() const {
    const std::int64_t first = GetOrdProp(Instance(0), GetPropInfo());
    for (int i = 1; i < PropCount(); ++i)
        if (GetOrdProp(Instance(i), PropInfo(i)) != first) return false;
    return true;
}

std::string TIntegerProperty::GetValue() const {
    const TPropInfo& prop = GetPropInfo();
    const std::int64_t value = GetOrdProp(Instance(0), prop);
    if (prop.IntegerType)
        if (const auto* ident = prop.IntegerType->FindValue(value)) return ident->Name;
    return std::to_string(value);
}

void TIntegerProperty::SetValue(const std::string& value) {
    const TPropInfo& prop = GetPropInfo();
    const TIntegerInfo::TIdent* ident = prop.IntegerType ? prop.IntegerType->FindName(Trim(value)) : nullptr;
    const std::int64_t number = ident ? ident->Value : ParseInteger(value);
    for (int i = 0; i < PropCount(); ++i) SetOrdProp(Instance(i), PropInfo(i), number);
}

TPropertyAttributes TEnumProperty::GetAttributes() const {
    return TOrdinalProperty::GetAttributes() + TPropertyAttributes{paValueList, paSortList};
}

std::string TEnumProperty::GetValue() const { return GetEnumProp(Instance(0), GetPropInfo()); }

void TEnumProperty::SetValue(const std::string& value) {
    const TPropInfo& prop = GetPropInfo();
    const int ordinal = prop.EnumType ? prop.EnumType->IndexOf(Trim(value)) : -1;
    if (ordinal < 0) InvalidValue();
    for (int i = 0; i < PropCount(); ++i) SetOrdProp(Instance(i), PropInfo(i), ordinal);
}

void TEnumProperty::GetValues(std::vector<std::string>& values) const {
    if (const TEnumInfo* type = GetPropInfo().EnumType)
        values.insert(values.end(), type->Values.begin(), type->Values.end());
}

std::string TSetProperty::GetValue() const { return GetEnumProp(Instance(0), GetPropInfo()); }

void TSetProperty::SetValue(const std::string& value) {
    const TPropInfo& prop = GetPropInfo();
    const std::string text = Trim(value);
    if (text.size() < 2 || text.front() != '[' || text.back() != ']' || !prop.EnumType) InvalidValue();
    std::uint64_t bits = 0;
    const std::string inner = Trim(std::string_view(text).substr(1, text.size() - 2));
    size_t start = 0;
    while (!inner.empty() && start <= inner.size()) {
        const size_t comma = std::min(inner.find(',', start), inner.size());
        const int index = prop.EnumType->IndexOf(Trim(std::string_view(inner).substr(start, comma - start)));
        if (index < 0 || index >= 64) InvalidValue();
        bits |= std::uint64_t{1} << index;
        start = comma + 1;
    }
    for (int i = 0; i < PropCount(); ++i) SetOrdProp(Instance(i), PropInfo(i), static_cast<std::int64_t>(bits));
}

// --- floats, strings ---------------------------------------------------------------

bool TFloatProperty::AllEqual() const {
    for (int i = 1; i < PropCount(); ++i)
        if (GetFloatProp(Instance(i), PropInfo(i)) != GetFloatProp(Instance(0), GetPropInfo())) return false;
    return true;
}

bool TStringProperty::AllEqual() const {
    for (int i = 1; i < PropCount(); ++i)
        if (GetStrProp(Instance(i), PropInfo(i)) != GetStrProp(Instance(0), GetPropInfo())) return false;
    return true;
}

bool TComponentProperty::AllEqual() const {
    for (int i = 1; i < PropCount(); ++i)
        if (GetObjectProp(Instance(i), PropInfo(i)) != GetObjectProp(Instance(0), GetPropInfo())) return false;
    return true;
}

std::string TFloatProperty::GetValue() const {
    char text[32];
    std::snprintf(text, sizeof text, "%.15g", GetFloatProp(Instance(0), GetPropInfo()));
    return text;
}

void TFloatProperty::SetValue(const std::string& value) {
    const std::string t = Trim(value);
    char* end = nullptr;
    const double number = std::strtod(t.c_str(), &end);
    if (t.empty() || end != t.c_str() + t.size())
        throw EConvertError("'" + value + "' is not a valid floating point value");
    for (int i = 0; i < PropCount(); ++i) SetFloatProp(Instance(i), PropInfo(i), number);
}

std::string TStringProperty::GetValue() const { return GetStrProp(Instance(0), GetPropInfo()); }

void TStringProperty::SetValue(const std::string& value) {
    for (int i = 0; i < PropCount(); ++i) SetStrProp(Instance(i), PropInfo(i), value);
}

// --- references and events -----------------------------------------------------------

TPropertyAttributes TComponentProperty::GetAttributes() const {
    return TPropertyEditor::GetAttributes() + TPropertyAttributes{paValueList, paSortList};
}

std::string TComponentProperty::GetValue() const {
    const auto* component = dynamic_cast<const TComponent*>(GetObjectProp(Instance(0), GetPropInfo()));
    return ReferenceName(component, Designer() ? Designer()->Root() : nullptr);
}

void TComponentProperty::SetValue(const std::string& value) {
    const std::string name = Trim(value);
    TComponent* target = nullptr;
    if (!name.empty()) {
        TComponent* root = Designer() ? Designer()->Root() : nullptr;
        const size_t dot = name.find('.');
        if (dot == std::string::npos) {
            target = root ? (SameText(root->Name(), name) ? root : root->FindComponent(name)) : nullptr;
        } else if (TComponent* other = FindGlobalRoot(name.substr(0, dot))) {
            target = other->FindComponent(name.substr(dot + 1));
        }
        if (!target) InvalidValue();
    }
    for (int i = 0; i < PropCount(); ++i) SetComponentProp(Instance(i), PropInfo(i), target);
}

void TComponentProperty::GetValues(std::vector<std::string>& values) const {
    const TClass* cls = GetPropInfo().PropClass;
    const TComponent* root = Designer() ? Designer()->Root() : nullptr;
    if (!cls || !root) return;
    AddCandidates(values, root, root, *cls);
    for (int i = 0; i < GlobalRootCount(); ++i) {
        const TComponent* other = GlobalRoots(i);
        if (other != root) AddCandidates(values, other, root, *cls);
    }
}

TPropertyAttributes TMethodProperty::GetAttributes() const {
    return TPropertyAttributes{paValueList, paSortList, paRevertable};
}

std::string TMethodProperty::GetValue() const { return GetMethodProp(Instance(0), GetPropInfo()).Name; }

void TMethodProperty::SetValue(const std::string& value) {
    TComponent* root = Designer() ? Designer()->Root() : nullptr;
    if (!root) throw EInvalidOperation("An event is bound to a method of the designed form");
    for (int i = 0; i < PropCount(); ++i) SetMethodProp(Instance(i), PropInfo(i), root, Trim(value));
}

void TMethodProperty::GetValues(std::vector<std::string>& values) const {
    const TComponent* root = Designer() ? Designer()->Root() : nullptr;
    if (!root) return;
    for (const auto& method : GetTypeData(root->ClassType()).Methods())
        if (method->EventType == GetPropInfo().EventType) values.push_back(method->Name);
}

// --- owned objects -----------------------------------------------------------------------

TPropertyAttributes TClassProperty::GetAttributes() const { return {paMultiSelect, paSubProperties, paReadOnly}; }

std::string TClassProperty::GetValue() const { return "(" + GetPropInfo().TypeName + ")"; }

std::string TStringListProperty::GetValue() const { return "(TStrings)"; }

void TStringListProperty::SetLines(const std::vector<std::string>& lines) {
    for (int i = 0; i < PropCount(); ++i) {
        auto* list = dynamic_cast<TStrings*>(GetObjectProp(Instance(i), PropInfo(i)));
        if (!list) continue;
        list->Clear();
        for (const auto& line : lines) list->Add(line);
    }
    Modified();
}

// --- shortcuts ---------------------------------------------------------------------------

TPropertyAttributes TShortCutProperty::GetAttributes() const {
    return TPropertyAttributes{paMultiSelect, paValueList, paRevertable};
}

std::string TShortCutProperty::GetValue() const {
    const auto value = static_cast<TShortCut>(GetOrdProp(Instance(0), GetPropInfo()));
    return value == scNone ? "(None)" : ShortCutToText(value);
}

void TShortCutProperty::SetValue(const std::string& value) {
    const std::string t = Trim(value);
    TShortCut shortCut = scNone;
    if (!t.empty() && !SameText(t, "(None)")) {
        shortCut = TextToShortCut(t);
        if (shortCut == scNone) InvalidValue();
    }
    for (int i = 0; i < PropCount(); ++i) SetOrdProp(Instance(i), PropInfo(i), shortCut);
}

void TShortCutProperty::GetValues(std::vector<std::string>& values) const {
    values.push_back("(None)");
    for (char letter = 'A'; letter <= 'Z'; ++letter) values.push_back(std::string("Ctrl+") + letter);
    for (char letter = 'A'; letter <= 'Z'; ++letter) values.push_back(std::string("Ctrl+Alt+") + letter);
    for (const char* prefix : {"", "Ctrl+", "Shift+", "Shift+Ctrl+"})
        for (int key = 1; key <= 12; ++key) values.push_back(std::string(prefix) + "F" + std::to_string(key));
    for (const char* key : {"Ins", "Shift+Ins", "Ctrl+Ins", "Del", "Shift+Del", "Ctrl+Del", "Alt+BkSp",
                            "Shift+Alt+BkSp"})
        values.push_back(key);
}

// --- the choice ----------------------------------------------------------------------------

const TPropertyEditorClass& GetPropertyEditorClass(const TClass& componentClass, const TPropInfo& prop) {
    if (const TPropertyEditorClass* registered = FindPropertyEditorClass(componentClass, prop)) return *registered;
    switch (prop.Kind) {
    case pkInteger: return TIntegerProperty::ClassInfo();
    case pkEnumeration: return TEnumProperty::ClassInfo();
    case pkBoolean: return TBoolProperty::ClassInfo();
    case pkSet: return TSetProperty::ClassInfo();
    case pkFloat: return TFloatProperty::ClassInfo();
    case pkString: return TStringProperty::ClassInfo();
    case pkComponent: return TComponentProperty::ClassInfo();
    case pkMethod: return TMethodProperty::ClassInfo();
    case pkStrings: return TStringListProperty::ClassInfo();
    case pkCollection:
    case pkBinary:
    case pkClass: return TClassProperty::ClassInfo();
    }
    return TClassProperty::ClassInfo();
}

} // namespace host
