#pragma once
// Declaring a class's published properties, fields and methods.
//
// A class that publishes gives itself a static member
//
//     static void DeclarePublished(host::TPublisher& publisher);
//
// (the class-reference macros find it; it may be private) and defines it in
// its own unit, declaring only what the class itself adds:
//
//     void TMyFill::DeclarePublished(host::TPublisher& publisher) {
//         auto p = publisher.Of<TMyFill>();
//         p.Component("DataSource", &TMyFill::DataSource, &TMyFill::SetDataSource);
//         p.Strings("KeyFields", &TMyFill::KeyFields);
//         p.Boolean("Active", &TMyFill::Active, &TMyFill::SetActive);  // no default: always written
//         p.Integer("ShortCut", &TMyFill::GetShortCut, &TMyFill::SetShortCut, ShortCutTypeInfo());
//         p.Event("OnChange", &TMyFill::OnChange);
//     }
//
// Getters and setters are anything std::invoke can call with the object
// (member functions, lambdas taking T&). A form class declares its fields
// (p.Field("lGrid", &TMyForm::lGrid)) and its event handlers
// (p.Method("lGridDblClick", &TMyForm::lGridDblClick)).

#include "host/core/Export.h"
#include "host/core/Component.h"
#include "host/core/Event.h"
#include "host/core/Set.h"
#include "host/core/TypInfo.h"

#include <climits>
#include <cstdint>
#include <functional>
#include <string>
#include <type_traits>
#include <utility>

VESKAR_PUBLIC_BEGIN

namespace host {

class TStrings;
class TCollection;

// Adjusts the property just declared (or redeclared).
class TPropBuilder {
public:
    explicit TPropBuilder(TPropInfo& prop) : FProp(&prop) {}

    // The value that is not written. Without one the property is always
    // written.
    template <class V>
    TPropBuilder& Default(V value) {
        if constexpr (std::is_same_v<std::decay_t<V>, bool>) {
            SetOrdDefault(value ? 1 : 0);
        } else if constexpr (std::is_integral_v<V> || std::is_enum_v<V>) {
            if (FProp->Kind == pkFloat)
                SetFloatDefault(static_cast<double>(value));
            else
                SetOrdDefault(static_cast<std::int64_t>(value));
        } else if constexpr (std::is_floating_point_v<V>) {
            SetFloatDefault(static_cast<double>(value));
        } else if constexpr (requires { value.Bits(); }) {
            SetOrdDefault(static_cast<std::int64_t>(value.Bits()));
        } else {
            SetStringDefault(std::string(value));
        }
        return *this;
    }
    TPropBuilder& NoDefault();
    // Stored(false): never written.
    TPropBuilder& Stored(bool value);
    TPropBuilder& StoredWhen(std::function<bool(const TObject*)> predicate);
    TPropInfo& Info() const { return *FProp; }

private:
    void SetOrdDefault(std::int64_t value);
    void SetFloatDefault(double value);
    void SetStringDefault(std::string value);
    TPropInfo* FProp;
};

template <class T>
class VESKAR_LOCAL TClassPublisher;

class TPublisher {
public:
    explicit TPublisher(TTypeData& data) : FData(data) {}
    const TClass& ClassType() const { return FData.ClassType(); }

    // The typed declarer for the class being declared; raises
    // EInvalidOperation when T is not that class.
    template <class T>
    TClassPublisher<T> Of() {
        CheckClass(T::ClassInfo());
        return TClassPublisher<T>(*this);
    }

    // Raise EInvalidOperation for a name the class already has.
    TPropBuilder AddProp(TPropInfo prop);
    void AddField(TFieldInfo field);
    void AddMethod(TMethodInfo method);
    // Data stored beside the published properties; raises EInvalidOperation
    // for a name defined twice.
    void Define(TDefinedProp prop);
    // An inherited property, to change its default or whether it is stored;
    // raises EInvalidOperation when there is none of that name.
    TPropBuilder Redeclare(std::string_view name);
    // A property that takes the place of the inherited one of its name;
    // raises EInvalidOperation when there is none.
    TPropBuilder Replace(TPropInfo prop);

private:
    void CheckClass(const TClass& cls) const;
    TTypeData& FData;
};

namespace publishing {

[[noreturn]] void InvalidValue();
TFormValue IntegerValue(std::int64_t value);
// The integer a value holds, within Least..Most; EPropertyError otherwise.
std::int64_t IntegerOf(const TFormValue& value, std::int64_t least, std::int64_t most);

template <class T>
const T& Self(const TObject* object) { return *static_cast<const T*>(object); }
template <class T>
T& Self(TObject* object) { return *static_cast<T*>(object); }

template <class T, class G>
using GetResult = std::decay_t<std::invoke_result_t<G, const T&>>;

template <class R>
R CheckedOrd(std::int64_t value) {
    if constexpr (std::is_integral_v<R> && !std::is_same_v<R, bool>) {
        if (!std::in_range<R>(value)) InvalidValue();
    }
    return static_cast<R>(value);
}

template <class E>
TSet<E> SetFromBits(std::int64_t bits) {
    TSet<E> result;
    for (unsigned i = 0; i < 64; ++i)
        if ((static_cast<std::uint64_t>(bits) >> i) & 1u) result.Include(static_cast<E>(i));
    return result;
}

template <class>
struct SetElement;
template <class E>
struct SetElement<TSet<E>> {
    using Type = E;
};

} // namespace publishing

template <class T>
class VESKAR_LOCAL TClassPublisher {
public:
    explicit TClassPublisher(TPublisher& publisher) : FPublisher(publisher) {}

    template <class G, class S>
    TPropBuilder Integer(const char* name, G get, S set, const TIntegerInfo& type = IntegerTypeInfo()) {
        using R = publishing::GetResult<T, G>;
        static_assert(std::is_integral_v<R>, "an integer property's getter answers an integer");
        TPropInfo p = Base(name, pkInteger, type.Name);
        p.IntegerType = &type;
        Ordinal<R>(p, get, set);
        return FPublisher.AddProp(std::move(p));
    }

    template <class G, class S>
    TPropBuilder Enumeration(const char* name, G get, S set, const TEnumInfo& type) {
        using R = publishing::GetResult<T, G>;
        static_assert(std::is_enum_v<R>, "an enumeration property's getter answers an enumeration");
        TPropInfo p = Base(name, pkEnumeration, type.Name);
        p.EnumType = &type;
        p.GetOrd = [get](const TObject* o) { return static_cast<std::int64_t>(std::invoke(get, publishing::Self<T>(o))); };
        p.SetOrd = [set, &type](TObject* o, std::int64_t v) {
            if (v < 0 || v >= static_cast<std::int64_t>(type.Values.size())) publishing::InvalidValue();
            std::invoke(set, publishing::Self<T>(o), static_cast<R>(v));
        };
        return FPublisher.AddProp(std::move(p));
    }

    template <class G, class S>
    TPropBuilder Boolean(const char* name, G get, S set) {
        TPropInfo p = Base(name, pkBoolean, "Boolean");
        p.EnumType = &BooleanTypeInfo();
        p.GetOrd = [get](const TObject* o) -> std::int64_t { return std::invoke(get, publishing::Self<T>(o)) ? 1 : 0; };
        p.SetOrd = [set](TObject* o, std::int64_t v) {
            if (v != 0 && v != 1) publishing::InvalidValue();
            std::invoke(set, publishing::Self<T>(o), v != 0);
        };
        return FPublisher.AddProp(std::move(p));
    }

    template <class G, class S>
    TPropBuilder Set(const char* name, G get, S set, const TSetInfo& type) {
        using R = publishing::GetResult<T, G>;
        using E = typename publishing::SetElement<R>::Type;
        TPropInfo p = Base(name, pkSet, type.Name);
        p.SetType = &type;
        p.EnumType = type.Element;
        p.GetOrd = [get](const TObject* o) {
            return static_cast<std::int64_t>(std::invoke(get, publishing::Self<T>(o)).Bits());
        };
        p.SetOrd = [set, &type](TObject* o, std::int64_t v) {
            const auto width = type.Element->Values.size();
            if (width < 64 && (static_cast<std::uint64_t>(v) >> width) != 0) publishing::InvalidValue();
            std::invoke(set, publishing::Self<T>(o), publishing::SetFromBits<E>(v));
        };
        return FPublisher.AddProp(std::move(p));
    }

    template <class G, class S>
    TPropBuilder Float(const char* name, G get, S set, const char* typeName = "Double") {
        using R = publishing::GetResult<T, G>;
        TPropInfo p = Base(name, pkFloat, typeName);
        p.GetFloat = [get](const TObject* o) { return static_cast<double>(std::invoke(get, publishing::Self<T>(o))); };
        p.SetFloat = [set](TObject* o, double v) { std::invoke(set, publishing::Self<T>(o), static_cast<R>(v)); };
        return FPublisher.AddProp(std::move(p));
    }

    template <class G, class S>
    TPropBuilder String(const char* name, G get, S set, const char* typeName = "string") {
        TPropInfo p = Base(name, pkString, typeName);
        p.GetString = [get](const TObject* o) { return std::string(std::invoke(get, publishing::Self<T>(o))); };
        p.SetString = [set](TObject* o, const std::string& v) { std::invoke(set, publishing::Self<T>(o), v); };
        return FPublisher.AddProp(std::move(p));
    }

    // A reference to a component of the getter's class (or a descendant).
    template <class G, class S>
    TPropBuilder Component(const char* name, G get, S set) {
        using C = std::remove_cv_t<std::remove_pointer_t<publishing::GetResult<T, G>>>;
        TPropInfo p = Base(name, pkComponent, C::ClassInfo().ClassName());
        p.PropClass = &C::ClassInfo();
        p.GetObject = [get](const TObject* o) -> TObject* { return std::invoke(get, publishing::Self<T>(o)); };
        p.SetComponent = [set](TObject* o, TComponent* v) {
            C* typed = dynamic_cast<C*>(v);
            if (v && !typed) publishing::InvalidValue();
            std::invoke(set, publishing::Self<T>(o), typed);
        };
        return FPublisher.AddProp(std::move(p));
    }

    // An owned sub-object; its own published properties are stored dotted.
    template <class G>
    TPropBuilder Object(const char* name, G get) { return Owned(name, pkClass, get); }
    // An owned string list.
    template <class G>
    TPropBuilder Strings(const char* name, G get) { return Owned(name, pkStrings, get); }
    // An owned collection; its items' published properties are stored per item.
    template <class G>
    TPropBuilder Collection(const char* name, G get) { return Owned(name, pkCollection, get); }

    template <class G, class S>
    TPropBuilder Binary(const char* name, G get, S set, const char* typeName = "TBytes") {
        TPropInfo p = Base(name, pkBinary, typeName);
        p.GetBytes = [get](const TObject* o) {
            return std::vector<unsigned char>(std::invoke(get, publishing::Self<T>(o)));
        };
        p.SetBytes = [set](TObject* o, const std::vector<unsigned char>& v) { std::invoke(set, publishing::Self<T>(o), v); };
        return FPublisher.AddProp(std::move(p));
    }

    // An event member; TypeName names its type ("TLookupNotifyEvent").
    template <class E>
    TPropBuilder Event(const char* name, E T::*member, const char* typeName) {
        return FPublisher.AddProp(EventInfo(name, member, typeName));
    }
    // An event that takes the place of an inherited property of the same
    // name (and keeps its place in the order), with a type of its own.
    template <class E>
    TPropBuilder ReplaceEvent(const char* name, E T::*member, const char* typeName) {
        return FPublisher.Replace(EventInfo(name, member, typeName));
    }
    TPropBuilder Event(const char* name, TNotifyEvent T::*member) { return Event<TNotifyEvent>(name, member, "TNotifyEvent"); }

    // A field the reader points at the root's component of the same name.
    template <class C>
    void Field(const char* name, C* T::*member) {
        TFieldInfo f;
        f.Name = name;
        f.FieldClass = &C::ClassInfo();
        f.Get = [member](const TObject* root) -> TComponent* { return publishing::Self<T>(root).*member; };
        f.Set = [member](TObject* root, TComponent* value) {
            publishing::Self<T>(root).*member = dynamic_cast<C*>(value);
        };
        FPublisher.AddField(std::move(f));
    }

    // A method that form files bind events to by name.
    template <class R, class... A>
    void Method(const char* name, R (T::*method)(A...)) {
        using E = TEvent<R(A...)>;
        TMethodInfo m;
        m.Name = name;
        m.EventType = typeid(E);
        std::string bound = name;
        m.Bind = [method, bound](TObject* root) -> std::any {
            T* self = dynamic_cast<T*>(root);
            if (!self) return {};
            return E::Method(self, method, bound);
        };
        FPublisher.AddMethod(std::move(m));
    }

    TPropBuilder Redeclare(std::string_view name) { return FPublisher.Redeclare(name); }

    // Stored data that is no published property: an integer, written when
    // Stored says so.
    template <class G, class S, class P>
    void DefineInteger(const char* name, G get, S set, P stored, std::int64_t least = INT32_MIN,
                       std::int64_t most = INT32_MAX) {
        TDefinedProp d;
        d.Name = name;
        d.Stored = [stored](const TObject* o) { return static_cast<bool>(std::invoke(stored, publishing::Self<T>(o))); };
        d.Read = [set, least, most](TObject* o, const TFormValue& v) {
            std::invoke(set, publishing::Self<T>(o), publishing::IntegerOf(v, least, most));
        };
        d.Write = [get](const TObject* o) {
            return publishing::IntegerValue(static_cast<std::int64_t>(std::invoke(get, publishing::Self<T>(o))));
        };
        FPublisher.Define(std::move(d));
    }
    // Stored data of any shape.
    void Define(TDefinedProp prop) { FPublisher.Define(std::move(prop)); }

private:
    template <class E>
    static TPropInfo EventInfo(const char* name, E T::*member, const char* typeName) {
        TPropInfo p = Base(name, pkMethod, typeName);
        p.EventType = typeid(E);
        p.GetMethod = [member](const TObject* o) {
            const E& e = publishing::Self<T>(o).*member;
            return TMethodRef{e.Assigned(), e.Data(), e.MethodName()};
        };
        p.SetMethod = [member](TObject* o, const std::any& value) {
            E& e = publishing::Self<T>(o).*member;
            if (!value.has_value()) {
                e.Clear();
                return;
            }
            const E* bound = std::any_cast<E>(&value);
            if (!bound) publishing::InvalidValue();
            e = *bound;
        };
        return p;
    }

    static TPropInfo Base(const char* name, TPropKind kind, std::string typeName) {
        TPropInfo p;
        p.Name = name;
        p.Kind = kind;
        p.TypeName = std::move(typeName);
        return p;
    }

    template <class R, class G, class S>
    static void Ordinal(TPropInfo& p, G get, S set) {
        p.GetOrd = [get](const TObject* o) { return static_cast<std::int64_t>(std::invoke(get, publishing::Self<T>(o))); };
        p.SetOrd = [set](TObject* o, std::int64_t v) {
            std::invoke(set, publishing::Self<T>(o), publishing::CheckedOrd<R>(v));
        };
    }

    template <class G>
    TPropBuilder Owned(const char* name, TPropKind kind, G get) {
        using C = std::remove_cv_t<std::remove_pointer_t<publishing::GetResult<T, G>>>;
        TPropInfo p = Base(name, kind, C::ClassInfo().ClassName());
        p.PropClass = &C::ClassInfo();
        p.GetObject = [get](const TObject* o) -> TObject* {
            return const_cast<std::remove_cv_t<C>*>(std::invoke(get, publishing::Self<T>(o)));
        };
        return FPublisher.AddProp(std::move(p));
    }

    TPublisher& FPublisher;
};

} // namespace host

VESKAR_PUBLIC_END
