#pragma once
// Published properties, fields and methods: what a form file stores of an
// object, and how the reader and the writer reach it without knowing its
// class.
//
// A class publishes through a static DeclarePublished(TPublisher&) (see
// Publisher.h). Its table is built on first use: the parent's table first,
// then the class's own declarations, so inherited properties come first, in
// declaration order. Nothing runs at start-up.

#include "host/core/Export.h"
#include "host/core/Class.h"
#include "host/core/Exception.h"
#include "host/core/FormTree.h"

#include <any>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <typeindex>
#include <utility>
#include <vector>

VESKAR_PUBLIC_BEGIN

namespace host {

class TObject;
class TComponent;

enum TPropKind {
    pkInteger,      // integer types: Integer, TShortCut, TCursor, TColor...
    pkEnumeration,  // named ordinal values (alClient)
    pkBoolean,
    pkSet,          // a set of enumeration values ([dgTitles, dgTabs])
    pkFloat,
    pkString,
    pkComponent,    // a reference to a component owned elsewhere
    pkMethod,       // an event, bound to a published method of the root
    pkStrings,      // an owned TStrings, stored as Name.Strings = ( ... )
    pkCollection,   // an owned TCollection, stored as Name = < item ... end >
    pkBinary,       // bytes, stored as Name = { hex }
    pkClass,        // an owned sub-object whose properties are stored dotted
};

// The name of a kind, as messages and property editors show it.
const char* PropKindName(TPropKind kind);

// A property value that does not fit the property (an unknown enumeration
// name, a number out of range, a component of the wrong class).
class EPropertyError : public Exception { using Exception::Exception; };

// An enumeration type: its values' names, by ordinal.
struct TEnumInfo {
    std::string Name;
    std::vector<std::string> Values;
    // The ordinal of a name, letter case ignored; -1 when unknown.
    int IndexOf(std::string_view name) const;
};

// A set type over an enumeration.
struct TSetInfo {
    std::string Name;
    const TEnumInfo* Element;
};

// An integer type with names for some of its values (crDefault, clBtnFace).
struct TIntegerInfo {
    struct TIdent {
        std::string Name;
        std::int64_t Value;
    };
    std::string Name;
    std::vector<TIdent> Idents;
    const TIdent* FindName(std::string_view name) const;
    const TIdent* FindValue(std::int64_t value) const;
};

// The stock type descriptors.
const TIntegerInfo& IntegerTypeInfo();   // "Integer"
const TEnumInfo& BooleanTypeInfo();      // "Boolean": False, True

// What a method reference property holds: the object whose method is bound
// and the method's published name (empty for an unnamed handler).
struct TMethodRef {
    bool Assigned = false;
    TObject* Data = nullptr;
    std::string Name;
};

// A published method of a root class, bindable to events of its signature.
struct TMethodInfo {
    std::string Name;
    std::type_index EventType = typeid(void);
    // An event (the TEvent for the method's signature) bound to Root's method.
    std::function<std::any(TObject* root)> Bind;
};

// A published field: a pointer member of the root that the reader (through
// the component's naming) points at the component of the same name.
struct TFieldInfo {
    std::string Name;
    const TClass* FieldClass = nullptr;
    std::function<TComponent*(const TObject* root)> Get;
    std::function<void(TObject* root, TComponent* value)> Set;
};

class TPropInfo {
public:
    std::string Name;
    TPropKind Kind = pkInteger;
    // The property's type by name, as property editors are matched.
    std::string TypeName;
    // Component references, sub-objects, string lists, collections.
    const TClass* PropClass = nullptr;
    const TEnumInfo* EnumType = nullptr;        // enumerations
    const TSetInfo* SetType = nullptr;          // sets
    const TIntegerInfo* IntegerType = nullptr;  // integers
    std::type_index EventType = typeid(void);   // methods

    // A declared default: the value that is not written.
    bool HasDefault = false;
    std::int64_t DefaultOrd = 0;
    double DefaultFloat = 0;
    std::string DefaultString;
    // False: never written (Name, which the object line carries).
    bool Stored = true;
    std::function<bool(const TObject*)> StoredWhen;

    // Access, by kind. Ordinals travel as int64 (a set as its bit mask).
    std::function<std::int64_t(const TObject*)> GetOrd;
    std::function<void(TObject*, std::int64_t)> SetOrd;
    std::function<double(const TObject*)> GetFloat;
    std::function<void(TObject*, double)> SetFloat;
    std::function<std::string(const TObject*)> GetString;
    std::function<void(TObject*, const std::string&)> SetString;
    // The referenced component or the owned object.
    std::function<TObject*(const TObject*)> GetObject;
    // Component references only; raises EPropertyError for a component of
    // the wrong class.
    std::function<void(TObject*, TComponent*)> SetComponent;
    std::function<TMethodRef(const TObject*)> GetMethod;
    // An empty value clears the event; raises EPropertyError for an event
    // of another signature.
    std::function<void(TObject*, const std::any&)> SetMethod;
    std::function<std::vector<unsigned char>(const TObject*)> GetBytes;
    std::function<void(TObject*, const std::vector<unsigned char>&)> SetBytes;

    bool IsStored(const TObject* instance) const { return Stored && (!StoredWhen || StoredWhen(instance)); }
    // True when the instance holds the declared default (false without one).
    bool IsDefault(const TObject* instance) const;
};

// Data a class keeps in form files beside its published properties (where
// the designer shows a component, the size it was designed at). It is read
// and written as a whole value, after the published properties and only
// where no published property has the same name.
struct TDefinedProp {
    std::string Name;
    // Written only when this answers true.
    std::function<bool(const TObject*)> Stored;
    // Raises EPropertyError for a value that does not fit.
    std::function<void(TObject*, const TFormValue&)> Read;
    std::function<TFormValue(const TObject*)> Write;
};

class TTypeData;
const TTypeData& GetTypeData(const TClass& cls);

// A class's published table: its properties (inherited first), fields and
// methods.
class TTypeData {
public:
    explicit TTypeData(const TClass& cls) : FClass(&cls) {}
    const TClass& ClassType() const { return *FClass; }
    int PropCount() const { return static_cast<int>(FProps.size()); }
    const TPropInfo& Props(int index) const { return *FProps.at(static_cast<size_t>(index)); }
    // Letter case ignored; nil when absent.
    const TPropInfo* FindProp(std::string_view name) const;
    const std::vector<std::shared_ptr<const TFieldInfo>>& Fields() const { return FFields; }
    const TFieldInfo* FindField(std::string_view name) const;
    const std::vector<std::shared_ptr<const TMethodInfo>>& Methods() const { return FMethods; }
    const TMethodInfo* FindMethod(std::string_view name) const;
    const std::vector<std::shared_ptr<const TDefinedProp>>& Defined() const { return FDefined; }
    const TDefinedProp* FindDefined(std::string_view name) const;

private:
    friend class TPublisher;
    friend const TTypeData& GetTypeData(const TClass& cls);
    const TClass* FClass;
    std::vector<std::shared_ptr<const TPropInfo>> FProps;
    std::vector<std::shared_ptr<const TFieldInfo>> FFields;
    std::vector<std::shared_ptr<const TMethodInfo>> FMethods;
    std::vector<std::shared_ptr<const TDefinedProp>> FDefined;
};

// The class's table, built on first use. Raises EInvalidOperation when a
// declaration is wrong (a name declared twice, a redeclared property that
// does not exist).
const TTypeData& GetTypeData(const TClass& cls);

// Property lookup by name, letter case ignored; nil when absent.
const TPropInfo* GetPropInfo(const TClass& cls, std::string_view name);
const TPropInfo* GetPropInfo(const TObject* instance, std::string_view name);

// A property reached through a dotted path (Font.Name, Constraints.MaxHeight):
// the object that holds the last property, and that property. Both nil when
// a step is missing or not a sub-object.
struct TPropTarget {
    TObject* Instance = nullptr;
    const TPropInfo* Prop = nullptr;
};
TPropTarget ResolvePropPath(TObject* instance, std::string_view path);

// True when Instance is Holder itself or an object Holder reaches through
// its published sub-objects and collection items (a reference read into an
// item is only set while the item is still there).
bool ReachesPublished(const TObject* holder, const TObject* instance);

// Typed access by property; each raises EPropertyError when the property is
// of another kind.
std::int64_t GetOrdProp(const TObject* instance, const TPropInfo& prop);
void SetOrdProp(TObject* instance, const TPropInfo& prop, std::int64_t value);
std::string GetStrProp(const TObject* instance, const TPropInfo& prop);
void SetStrProp(TObject* instance, const TPropInfo& prop, const std::string& value);
double GetFloatProp(const TObject* instance, const TPropInfo& prop);
void SetFloatProp(TObject* instance, const TPropInfo& prop, double value);
TObject* GetObjectProp(const TObject* instance, const TPropInfo& prop);
void SetComponentProp(TObject* instance, const TPropInfo& prop, TComponent* value);
TMethodRef GetMethodProp(const TObject* instance, const TPropInfo& prop);
// Binds the event to Root's published method Name; an empty name clears it.
// Raises EPropertyError when Root has no such method or its signature differs.
void SetMethodProp(TObject* instance, const TPropInfo& prop, TObject* root, std::string_view name);
// An enumeration's value by name, a set as "[a,b]", as the designer shows them.
std::string GetEnumProp(const TObject* instance, const TPropInfo& prop);
void SetEnumProp(TObject* instance, const TPropInfo& prop, std::string_view name);

} // namespace host

VESKAR_PUBLIC_END
