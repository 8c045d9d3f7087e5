#include "host/core/TypInfo.h"

#include "host/core/Collection.h"
#include "host/core/Component.h"
#include "host/core/Object.h"
#include "host/core/Publisher.h"
#include "host/core/TextUtils.h"

namespace host {

namespace {

template <class List>
auto FindNamed(const List& list, std::string_view name) -> decltype(list.front().get()) {
    for (const auto& item : list)
        if (SameText(item->Name, name)) return item.get();
    return nullptr;
}

[[noreturn]] void WrongKind(const TPropInfo& prop) {
    throw EPropertyError("Property " + prop.Name + " is not of that kind");
}

bool IsOrdinal(TPropKind kind) {
    return kind == pkInteger || kind == pkEnumeration || kind == pkBoolean || kind == pkSet;
}

} // namespace

const char* PropKindName(TPropKind kind) {
    switch (kind) {
    case pkInteger: return "Integer";
    case pkEnumeration: return "Enumeration";
    case pkBoolean: return "Boolean";
    case pkSet: return "Set";
    case pkFloat: return "Float";
    case pkString: return "String";
    case pkComponent: return "Component";
    case pkMethod: return "Method";
    case pkStrings: return "Strings";
    case pkCollection: return "Collection";
    case pkBinary: return "Binary";
    case pkClass: return "Class";
    }
    return "Unknown";
}

int TEnumInfo::IndexOf(std::string_view name) const {
    for (size_t i = 0; i < Values.size(); ++i)
        if (SameText(Values[i], name)) return static_cast<int>(i);
    return -1;
}

const TIntegerInfo::TIdent* TIntegerInfo::FindName(std::string_view name) const {
    for (const TIdent& ident : Idents)
        if (SameText(ident.Name, name)) return &ident;
    return nullptr;
}

const TIntegerInfo::TIdent* TIntegerInfo::FindValue(std::int64_t value) const {
    for (const TIdent& ident : Idents)
        if (ident.Value == value) return &ident;
    return nullptr;
}

const TIntegerInfo& IntegerTypeInfo() {
    static const TIntegerInfo info{"Integer", {}};
    return info;
}

const TEnumInfo& BooleanTypeInfo() {
    static const TEnumInfo info{"Boolean", {"False", "True"}};
    return info;
}

bool TPropInfo::IsDefault(const TObject* instance) const {
    if (!HasDefault) return false;
    if (IsOrdinal(Kind)) return GetOrd(instance) == DefaultOrd;
    if (Kind == pkFloat) return GetFloat(instance) == DefaultFloat;
    if (Kind == pkString) return GetString(instance) == DefaultString;
    return false;
}

const TPropInfo* TTypeData::FindProp(std::string_view name) const { return FindNamed(FProps, name); }
const TFieldInfo* TTypeData::FindField(std::string_view name) const { return FindNamed(FFields, name); }
const TMethodInfo* TTypeData::FindMethod(std::string_view name) const { return FindNamed(FMethods, name); }
const TDefinedProp* TTypeData::FindDefined(std::string_view name) const { return FindNamed(FDefined, name); }

const TTypeData& GetTypeData(const TClass& cls) {
    if (const auto& cached = cls.TypeDataCache()) return *cached;
    auto data = std::make_shared<TTypeData>(cls);
    if (const TClass* parent = cls.ClassParent()) {
        // Inherited entries are shared; Redeclare replaces its slot by a copy.
        const TTypeData& inherited = GetTypeData(*parent);
        data->FProps = inherited.FProps;
        data->FFields = inherited.FFields;
        data->FMethods = inherited.FMethods;
        data->FDefined = inherited.FDefined;
    }
    if (TDeclarePublished declare = cls.DeclarePublished()) {
        TPublisher publisher(*data);
        declare(publisher);
    }
    cls.SetTypeDataCache(data);
    return *data;
}

const TPropInfo* GetPropInfo(const TClass& cls, std::string_view name) { return GetTypeData(cls).FindProp(name); }

const TPropInfo* GetPropInfo(const TObject* instance, std::string_view name) {
    return instance ? GetPropInfo(instance->ClassType(), name) : nullptr;
}

TPropTarget ResolvePropPath(TObject* instance, std::string_view path) {
    while (instance) {
        const size_t dot = path.find('.');
        const TPropInfo* prop = GetPropInfo(instance, path.substr(0, dot));
        if (!prop) return {};
        if (dot == std::string_view::npos) return {instance, prop};
        if (prop->Kind != pkClass) return {};
        instance = prop->GetObject(instance);
        path.remove_prefix(dot + 1);
    }
    return {};
}

namespace {

// Sub-objects nest only as deep as classes declare them; the bound keeps a
// class that publishes itself as its own sub-object from looping.
bool Reaches(const TObject* from, const TObject* instance, int depth) {
    if (from == instance) return true;
    if (!from || depth > 16) return false;
    const TTypeData& data = GetTypeData(from->ClassType());
    for (int i = 0; i < data.PropCount(); ++i) {
        const TPropInfo& prop = data.Props(i);
        if (prop.Kind == pkClass) {
            if (Reaches(prop.GetObject(from), instance, depth + 1)) return true;
        } else if (prop.Kind == pkCollection) {
            const auto* collection = dynamic_cast<const TCollection*>(prop.GetObject(from));
            for (int j = 0; collection && j < collection->Count(); ++j)
                if (Reaches(collection->Items(j), instance, depth + 1)) return true;
        }
    }
    return false;
}

} // namespace

bool ReachesPublished(const TObject* holder, const TObject* instance) { return Reaches(holder, instance, 0); }

std::int64_t GetOrdProp(const TObject* instance, const TPropInfo& prop) {
    if (!IsOrdinal(prop.Kind)) WrongKind(prop);
    return prop.GetOrd(instance);
}

void SetOrdProp(TObject* instance, const TPropInfo& prop, std::int64_t value) {
    if (!IsOrdinal(prop.Kind)) WrongKind(prop);
    prop.SetOrd(instance, value);
}

std::string GetStrProp(const TObject* instance, const TPropInfo& prop) {
    if (prop.Kind != pkString) WrongKind(prop);
    return prop.GetString(instance);
}

void SetStrProp(TObject* instance, const TPropInfo& prop, const std::string& value) {
    if (prop.Kind != pkString) WrongKind(prop);
    prop.SetString(instance, value);
}

double GetFloatProp(const TObject* instance, const TPropInfo& prop) {
    if (prop.Kind != pkFloat) WrongKind(prop);
    return prop.GetFloat(instance);
}

void SetFloatProp(TObject* instance, const TPropInfo& prop, double value) {
    if (prop.Kind != pkFloat) WrongKind(prop);
    prop.SetFloat(instance, value);
}

TObject* GetObjectProp(const TObject* instance, const TPropInfo& prop) {
    if (!prop.GetObject) WrongKind(prop);
    return prop.GetObject(instance);
}

void SetComponentProp(TObject* instance, const TPropInfo& prop, TComponent* value) {
    if (prop.Kind != pkComponent) WrongKind(prop);
    prop.SetComponent(instance, value);
}

TMethodRef GetMethodProp(const TObject* instance, const TPropInfo& prop) {
    if (prop.Kind != pkMethod) WrongKind(prop);
    return prop.GetMethod(instance);
}

void SetMethodProp(TObject* instance, const TPropInfo& prop, TObject* root, std::string_view name) {
    if (prop.Kind != pkMethod) WrongKind(prop);
    if (name.empty()) {
        prop.SetMethod(instance, std::any());
        return;
    }
    const TMethodInfo* method = root ? GetTypeData(root->ClassType()).FindMethod(name) : nullptr;
    if (!method) throw EPropertyError("Method " + std::string(name) + " not found");
    if (method->EventType != prop.EventType)
        throw EPropertyError("Method " + method->Name + " does not fit " + prop.Name + " (" + prop.TypeName + ")");
    prop.SetMethod(instance, method->Bind(root));
}

std::string GetEnumProp(const TObject* instance, const TPropInfo& prop) {
    if (!prop.EnumType || !IsOrdinal(prop.Kind)) WrongKind(prop);
    const auto& names = prop.EnumType->Values;
    const std::int64_t value = prop.GetOrd(instance);
    if (prop.Kind != pkSet)
        return value >= 0 && value < static_cast<std::int64_t>(names.size()) ? names[static_cast<size_t>(value)]
                                                                             : std::to_string(value);
    std::string text = "[";
    for (size_t i = 0; i < names.size() && i < 64; ++i)
        if ((static_cast<std::uint64_t>(value) >> i) & 1u) text += (text.size() > 1 ? "," : "") + names[i];
    return text + "]";
}

void SetEnumProp(TObject* instance, const TPropInfo& prop, std::string_view name) {
    if (!prop.EnumType || prop.Kind == pkSet || !IsOrdinal(prop.Kind)) WrongKind(prop);
    const int index = prop.EnumType->IndexOf(name);
    if (index < 0) throw EPropertyError("Invalid property value");
    prop.SetOrd(instance, index);
}

// --- declaring -------------------------------------------------------------

void TPropBuilder::SetOrdDefault(std::int64_t value) {
    FProp->HasDefault = true;
    FProp->DefaultOrd = value;
}

void TPropBuilder::SetFloatDefault(double value) {
    FProp->HasDefault = true;
    FProp->DefaultFloat = value;
}

void TPropBuilder::SetStringDefault(std::string value) {
    FProp->HasDefault = true;
    FProp->DefaultString = std::move(value);
}

TPropBuilder& TPropBuilder::NoDefault() {
    FProp->HasDefault = false;
    return *this;
}

TPropBuilder& TPropBuilder::Stored(bool value) {
    FProp->Stored = value;
    return *this;
}

TPropBuilder& TPropBuilder::StoredWhen(std::function<bool(const TObject*)> predicate) {
    FProp->StoredWhen = std::move(predicate);
    return *this;
}

void TPublisher::CheckClass(const TClass& cls) const {
    if (&cls != &ClassType())
        throw EInvalidOperation("Published declarations of " + ClassType().ClassName() + " made for " + cls.ClassName());
}

TPropBuilder TPublisher::AddProp(TPropInfo prop) {
    if (FData.FindProp(prop.Name))
        throw EInvalidOperation("Property " + prop.Name + " of " + ClassType().ClassName() + " declared twice");
    auto stored = std::make_shared<TPropInfo>(std::move(prop));
    FData.FProps.push_back(stored);
    return TPropBuilder(*stored);
}

void TPublisher::AddField(TFieldInfo field) {
    if (FData.FindField(field.Name))
        throw EInvalidOperation("Field " + field.Name + " of " + ClassType().ClassName() + " declared twice");
    FData.FFields.push_back(std::make_shared<const TFieldInfo>(std::move(field)));
}

void TPublisher::AddMethod(TMethodInfo method) {
    if (FData.FindMethod(method.Name))
        throw EInvalidOperation("Method " + method.Name + " of " + ClassType().ClassName() + " declared twice");
    FData.FMethods.push_back(std::make_shared<const TMethodInfo>(std::move(method)));
}

void TPublisher::Define(TDefinedProp prop) {
    if (FData.FindDefined(prop.Name))
        throw EInvalidOperation("Defined property " + prop.Name + " of " + ClassType().ClassName() + " declared twice");
    FData.FDefined.push_back(std::make_shared<const TDefinedProp>(std::move(prop)));
}

TPropBuilder TPublisher::Redeclare(std::string_view name) {
    for (auto& slot : FData.FProps) {
        if (!SameText(slot->Name, name)) continue;
        // The parent's entry is shared with its table: change a copy.
        auto own = std::make_shared<TPropInfo>(*slot);
        slot = own;
        return TPropBuilder(*own);
    }
    throw EInvalidOperation("Property " + std::string(name) + " to redeclare not found in " + ClassType().ClassName());
}

TPropBuilder TPublisher::Replace(TPropInfo prop) {
    for (auto& slot : FData.FProps) {
        if (!SameText(slot->Name, prop.Name)) continue;
        auto own = std::make_shared<TPropInfo>(std::move(prop));
        slot = own;
        return TPropBuilder(*own);
    }
    throw EInvalidOperation("Property " + prop.Name + " to replace not found in " + ClassType().ClassName());
}

namespace publishing {

void InvalidValue() { throw EPropertyError("Invalid property value"); }

TFormValue IntegerValue(std::int64_t value) {
    TFormValue made;
    made.Kind = fvInteger;
    made.Integer = value;
    return made;
}

std::int64_t IntegerOf(const TFormValue& value, std::int64_t least, std::int64_t most) {
    if (value.Kind != fvInteger || value.Integer < least || value.Integer > most) InvalidValue();
    return value.Integer;
}

} // namespace publishing

// --- published fields follow their components ------------------------------

void UpdatePublishedReference(TComponent* owner, const std::string& name, TComponent* component, bool assign) {
    if (!owner || !component || name.empty()) return;
    const TFieldInfo* field = GetTypeData(owner->ClassType()).FindField(name);
    if (!field || !component->InheritsFrom(*field->FieldClass)) return;
    if (assign)
        field->Set(owner, component);
    else if (field->Get(owner) == component)
        field->Set(owner, nullptr);
}

} // namespace host
