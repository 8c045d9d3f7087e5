#include "host/stream/Reader.h"

#include "host/core/ClassRegistry.h"
#include "host/core/Collection.h"
#include "host/core/Component.h"
#include "host/core/Guards.h"
#include "host/core/Strings.h"
#include "host/core/TextUtils.h"
#include "host/core/TypInfo.h"
#include "host/stream/ComponentTracker.h"
#include "host/stream/FormBinary.h"
#include "host/stream/References.h"

#include <algorithm>
#include <exception>
#include <limits>
#include <new>
#include <vector>

namespace host {

namespace {

// A class the text names but nobody registered; the message says which
// calls register classes, since that is nearly always what is missing.
EClassNotFound ClassNotFound(const std::string& name, TTextPos pos) {
    return EClassNotFound("Class " + name + " not found " + PositionText(pos) +
                          " (register it with host::RegisterClasses; host::RegisterStandardClasses and "
                          "host::RegisterSQLClasses register the host's own)");
}

// Runs a step whose errors belong to a place in the text: a host error that
// carries no place of its own gets this one.
template <class F>
auto At(TTextPos pos, F&& step) {
    try {
        return step();
    } catch (const EReadError&) {
        throw;
    } catch (const Exception& e) {
        throw EParserError(e.Message(), pos);
    } catch (const std::bad_alloc&) {
        throw;
    } catch (const std::exception& e) {
        throw EParserError(e.what(), pos);
    }
}

[[noreturn]] void InvalidValue(TTextPos pos) { throw EParserError("Invalid property value", pos); }

bool IsOrdinalKind(TPropKind kind) {
    return kind == pkInteger || kind == pkEnumeration || kind == pkBoolean || kind == pkSet;
}

struct TFixup {
    TComponent* Holder;
    TObject* Instance;
    const TPropInfo* Prop;
    std::string Name;
    TTextPos Pos;
};

} // namespace

class TReader::TImpl {
public:
    TComponent* FRoot = nullptr;
    TLoadingSession FSession;
    TComponentTracker FHolders;   // every component whose properties were read
    TComponentTracker FCreated;   // the components this read made
    std::vector<TFixup> FReferences;
    std::vector<TFixup> FEvents;
    bool FFinished = false;

    void Start(TComponent* root) {
        if (FFinished) throw EInvalidOperation("The reader has finished");
        if (FRoot && FRoot != root) throw EInvalidOperation("A reader reads one root");
        if (!root) throw EInvalidOperation("No root to read into");
        if (!FRoot) {
            FRoot = root;
            Join(root);
        }
    }

    // FHolders holds what the session holds, minus what has ended.
    void Join(TComponent* component) {
        if (FHolders.Contains(component)) return;
        FSession.Add(component);
        FHolders.Add(component);
    }

    void Object(const TFormObject& node, TComponent* parent, TComponent* owner) {
        TComponent* component = parent ? Child(node, owner) : FRoot;
        if (!parent && !node.Name.empty() && node.Name != FRoot->Name())
            At(node.Pos, [&] { FRoot->SetName(node.Name); });
        if (parent) At(node.Pos, [&] { component->SetParentComponent(parent); });
        for (const TFormProperty& property : node.Properties) Property(component, component, property);
        // An inline object (a frame) owns what is nested in it.
        TComponent* nestedOwner = node.Kind == foInline && parent ? component : owner;
        for (const TFormObject& child : node.Children) {
            if (!FHolders.Contains(component)) throw EParserError("Component freed while it was read", child.Pos);
            Object(child, component, nestedOwner);
        }
        if (FHolders.Contains(component)) At(node.Pos, [&] { component->ChildrenRead(); });
    }

    TComponent* Child(const TFormObject& node, TComponent* owner) {
        if (node.Kind == foInherited) {
            TComponent* existing = owner->FindComponent(node.Name);
            if (!existing) throw EParserError("Ancestor for '" + node.Name + "' not found", node.Pos);
            Join(existing);
            return existing;
        }
        const TClass* cls = At(node.ClassPos, [&] { return ComponentClass(node.ClassName); });
        if (!cls) throw ClassNotFound(node.ClassName, node.ClassPos);
        const auto* componentClass = dynamic_cast<const TComponentClass*>(cls);
        if (!componentClass) throw EParserError(node.ClassName + " is not a component class", node.ClassPos);
        TComponent* component = At(node.Pos, [&] { return componentClass->Create(owner); });
        FCreated.Add(component);
        Join(component);
        if (!node.Name.empty()) At(node.Pos, [&] { component->SetName(node.Name); });
        return component;
    }

    // The root's field classes first, then the registered classes.
    const TClass* ComponentClass(const std::string& name) const {
        for (const auto& field : GetTypeData(FRoot->ClassType()).Fields())
            if (SameText(field->FieldClass->ClassName(), name)) return field->FieldClass;
        return GetClass(name);
    }

    void Property(TComponent* holder, TObject* instance, const TFormProperty& property) {
        std::string_view path = property.Name;
        for (;;) {
            const size_t dot = path.find('.');
            const TPropInfo* prop = At(property.Pos, [&] { return GetPropInfo(instance, path.substr(0, dot)); });
            if (!prop && dot == std::string_view::npos) {
                const TDefinedProp* defined = GetTypeData(instance->ClassType()).FindDefined(path);
                if (!defined) break;
                At(property.Value.Pos, [&] { defined->Read(instance, property.Value); });
                return;
            }
            if (!prop) break;
            if (dot == std::string_view::npos) {
                Value(holder, instance, *prop, property.Value);
                return;
            }
            const std::string_view rest = path.substr(dot + 1);
            if (prop->Kind == pkStrings && SameText(rest, "Strings")) {
                StringList(instance, *prop, property.Value);
                return;
            }
            if (prop->Kind != pkClass) break;
            instance = prop->GetObject(instance);
            if (!instance) break;
            path = rest;
        }
        throw EParserError("Property " + property.Name + " does not exist", property.Pos);
    }

    void Value(TComponent* holder, TObject* instance, const TPropInfo& prop, const TFormValue& value) {
        const TTextPos pos = value.Pos;
        if (IsOrdinalKind(prop.Kind)) {
            const std::int64_t ord = Ordinal(prop, value);
            At(pos, [&] { prop.SetOrd(instance, ord); });
            return;
        }
        switch (prop.Kind) {
        case pkFloat: {
            const double number = FloatValue(value);
            At(pos, [&] { prop.SetFloat(instance, number); });
            return;
        }
        case pkString:
            if (value.Kind != fvString) InvalidValue(pos);
            At(pos, [&] { prop.SetString(instance, value.Text); });
            return;
        case pkComponent:
        case pkMethod: Reference(holder, instance, prop, value); return;
        case pkCollection: CollectionItems(holder, instance, prop, value); return;
        case pkBinary:
            if (value.Kind != fvBinary) InvalidValue(pos);
            At(pos, [&] { prop.SetBytes(instance, value.Bytes); });
            return;
        default: InvalidValue(pos);
        }
    }

    // Integers are floats too; NAN and INF are how the writer keeps what is
    // not a number.
    static double FloatValue(const TFormValue& value) {
        if (value.Kind == fvFloat) return value.Float;
        if (value.Kind == fvInteger) return static_cast<double>(value.Integer);
        if (value.Kind == fvIdent && SameText(value.Text, "NAN")) return std::numeric_limits<double>::quiet_NaN();
        if (value.Kind == fvIdent && SameText(value.Text, "INF")) return std::numeric_limits<double>::infinity();
        InvalidValue(value.Pos);
    }

    std::int64_t Ordinal(const TPropInfo& prop, const TFormValue& value) const {
        const TTextPos pos = value.Pos;
        switch (prop.Kind) {
        case pkInteger:
            if (value.Kind == fvInteger) return value.Integer;
            if (value.Kind == fvIdent && prop.IntegerType)
                if (const auto* ident = prop.IntegerType->FindName(value.Text)) return ident->Value;
            InvalidValue(pos);
        case pkEnumeration:
        case pkBoolean: {
            const int index = value.Kind == fvIdent ? prop.EnumType->IndexOf(value.Text) : -1;
            if (index < 0) InvalidValue(pos);
            return index;
        }
        case pkSet: {
            if (value.Kind != fvSet) InvalidValue(pos);
            std::uint64_t bits = 0;
            for (size_t i = 0; i < value.Names.size(); ++i) {
                const int index = prop.EnumType->IndexOf(value.Names[i]);
                // The error points at the element refused, where the tree knows it.
                if (index < 0 || index >= 64) InvalidValue(i < value.NamePos.size() ? value.NamePos[i] : pos);
                bits |= std::uint64_t{1} << index;
            }
            return static_cast<std::int64_t>(bits);
        }
        default: InvalidValue(pos);
        }
    }

    void Reference(TComponent* holder, TObject* instance, const TPropInfo& prop, const TFormValue& value) {
        if (value.Kind != fvIdent) InvalidValue(value.Pos);
        if (SameText(value.Text, "nil")) {
            At(value.Pos, [&] {
                if (prop.Kind == pkComponent)
                    prop.SetComponent(instance, nullptr);
                else
                    prop.SetMethod(instance, std::any());
            });
            return;
        }
        auto& list = prop.Kind == pkComponent ? FReferences : FEvents;
        list.push_back({holder, instance, &prop, value.Text, value.Pos});
    }

    void StringList(TObject* instance, const TPropInfo& prop, const TFormValue& value) {
        auto* strings = dynamic_cast<TStrings*>(prop.GetObject(instance));
        if (!strings || value.Kind != fvList) InvalidValue(value.Pos);
        for (const TFormValue& item : value.List)
            if (item.Kind != fvString) InvalidValue(item.Pos);
        At(value.Pos, [&] {
            const TUpdateGuard update(*strings);
            strings->Clear();
            for (const TFormValue& item : value.List) strings->Add(item.Text);
        });
    }

    void CollectionItems(TComponent* holder, TObject* instance, const TPropInfo& prop, const TFormValue& value) {
        auto* collection = dynamic_cast<TCollection*>(prop.GetObject(instance));
        if (!collection || value.Kind != fvCollection) InvalidValue(value.Pos);
        // References read into the items that are about to go go with them.
        auto ofCollection = [collection](const TFixup& f) {
            auto* item = dynamic_cast<TCollectionItem*>(f.Instance);
            return item && item->Collection() == collection;
        };
        std::erase_if(FReferences, ofCollection);
        std::erase_if(FEvents, ofCollection);
        At(value.Pos, [&] { collection->BeginUpdate(); });
        const TFinally endUpdate([&] { At(value.Pos, [&] { collection->EndUpdate(); }); });
        At(value.Pos, [&] { collection->Clear(); });
        for (const TFormItem& node : value.Items) {
            TCollectionItem* item = At(node.Pos, [&] { return collection->Add(); });
            for (const TFormProperty& property : node.Properties) Property(holder, item, property);
        }
    }

    void Finish() {
        if (FFinished) throw EInvalidOperation("The reader has finished");
        for (const TFixup& f : FReferences) {
            if (!FHolders.Contains(f.Holder) || !At(f.Pos, [&] { return ReachesPublished(f.Holder, f.Instance); }))
                continue;
            if (TComponent* target = FindReferencedComponent(FRoot, f.Name))
                At(f.Pos, [&] { f.Prop->SetComponent(f.Instance, target); });
            else
                AddPendingReference({FRoot, f.Holder, f.Instance, f.Prop, f.Name});
        }
        for (const TFixup& f : FEvents) {
            if (!FHolders.Contains(f.Holder) || !At(f.Pos, [&] { return ReachesPublished(f.Holder, f.Instance); }))
                continue;
            At(f.Pos, [&] { SetMethodProp(f.Instance, *f.Prop, FRoot, f.Name); });
        }
        FFinished = true;
        FSession.Finish();
        ResolvePendingReferences();
    }

    // A read that failed: what it made goes again, last made first; the
    // rest leaves the loading state.
    void Abandon() {
        std::vector<TComponent*> created = FCreated.Items();
        for (auto it = created.rbegin(); it != created.rend(); ++it)
            if (FCreated.Contains(*it)) (*it)->Free();
        FSession.Abandon();
    }
};

TReader::TReader() : FImpl(std::make_unique<TImpl>()) {}

TReader::~TReader() {
    if (!FImpl->FFinished) FImpl->Abandon();
}

void TReader::ReadRoot(TComponent* root, std::string_view text) { ReadRoot(root, ParseFormData(text)); }

void TReader::ReadRoot(TComponent* root, const TFormObject& tree) {
    FImpl->Start(root);
    FImpl->Object(tree, nullptr, root);
}

void TReader::Finish() { FImpl->Finish(); }

TComponent* TReader::Root() const { return FImpl->FRoot; }

void ReadComponentText(TComponent* root, std::string_view text) {
    const TFormObject tree = ParseFormData(text);
    TReader reader;
    reader.ReadRoot(root, tree);
    reader.Finish();
}

TComponent* CreateComponentFromText(std::string_view text, TComponent* owner) {
    const TFormObject tree = ParseFormData(text);
    const TClass* cls = GetClass(tree.ClassName);
    if (!cls) throw ClassNotFound(tree.ClassName, tree.ClassPos);
    const auto* componentClass = dynamic_cast<const TComponentClass*>(cls);
    if (!componentClass) throw EParserError(tree.ClassName + " is not a component class", tree.ClassPos);
    TComponent* root = At(tree.Pos, [&] { return componentClass->Create(owner); });
    TComponentTracker guard;
    guard.Add(root);
    try {
        TReader reader;
        reader.ReadRoot(root, tree);
        reader.Finish();
    } catch (...) {
        if (guard.Contains(root)) root->Free();
        throw;
    }
    return root;
}

} // namespace host
