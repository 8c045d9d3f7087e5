#include "host/designer/Designer.h"

#include "host/core/ClassRegistry.h"
#include "host/core/Exception.h"
#include "host/core/FormTree.h"
#include "host/core/Guards.h"
#include "host/core/TextUtils.h"
#include "host/core/TypInfo.h"
#include "host/package/Package.h"
#include "host/package/PackageInfo.h"
#include "host/package/Resource.h"
#include "host/stream/Reader.h"
#include "host/stream/Writer.h"
#include "host/ui/Controls.h"
#include "host/ui/Forms.h"
#include "host/ui/Graphics.h"

#include <algorithm>
#include <map>

namespace host {

namespace {

std::int32_t PackDesignInfo(int left, int top) {
    return static_cast<std::int32_t>((static_cast<std::uint32_t>(top & 0xFFFF) << 16) |
                                     static_cast<std::uint32_t>(left & 0xFFFF));
}

bool SameKind(const TPropInfo& a, const TPropInfo& b) { return a.Kind == b.Kind && a.TypeName == b.TypeName; }

} // namespace

TFormDesigner::TFormDesigner(TComponent* root) : TFormDesigner(root, false) {}

TFormDesigner::TFormDesigner(TComponent* root, bool ownsRoot) : FOwnsRoot(ownsRoot) {
    if (!root) throw EInvalidOperation("The designer needs a form to design");
    FRoot.Set(root);
    root->SetDesigning(true);
}

TFormDesigner::~TFormDesigner() {
    if (TComponent* root = FRoot.Get()) {
        if (FOwnsRoot)
            FRoot.FreeTarget();
        else
            root->SetDesigning(false);
    }
}

TComponent* TFormDesigner::CheckedRoot() const {
    TComponent* root = FRoot.Get();
    if (!root) throw EInvalidOperation("The designed form no longer exists");
    return root;
}

void TFormDesigner::Modified() { ++FModifiedCount; }

// --- placing ------------------------------------------------------------------------

std::string TFormDesigner::UniqueName(const std::string& className) const {
    std::string base = className;
    if (base.size() > 1 && (base[0] == 'T' || base[0] == 't')) base.erase(0, 1);
    const TComponent* root = CheckedRoot();
    for (int n = 1;; ++n) {
        const std::string name = base + std::to_string(n);
        if (!root->FindComponent(name) && !SameText(root->Name(), name)) return name;
    }
}

TComponent* TFormDesigner::AddComponent(const std::string& className) {
    const TPaletteItem* item = FindPaletteItem(className);
    if (!item) throw EInvalidOperation("Class " + className + " is not on the component palette");
    TComponent* root = CheckedRoot();
    // Held until it is named and placed: a failure takes it off the form.
    Owned<TComponent> made(item->Class->Create(root));
    made->SetName(UniqueName(item->Class->ClassName()));
    if (auto* control = dynamic_cast<TControl*>(made.get()))
        if (auto* parent = dynamic_cast<TWinControl*>(root)) control->SetParent(parent);
    TComponent* component = made.release();  // the form owns it
    Select(component);
    Modified();
    return component;
}

void TFormDesigner::MoveComponent(TComponent* component, int left, int top) {
    if (!component) return;
    if (auto* control = dynamic_cast<TControl*>(component))
        control->SetBounds(left, top, control->Width(), control->Height());
    else
        component->SetDesignInfo(PackDesignInfo(left, top));
    Modified();
}

int DesignLeft(const TComponent* component) {
    return static_cast<std::int16_t>(static_cast<std::uint32_t>(component->DesignInfo()) & 0xFFFF);
}

int DesignTop(const TComponent* component) {
    return static_cast<std::int16_t>(static_cast<std::uint32_t>(component->DesignInfo()) >> 16);
}

// --- selection ---------------------------------------------------------------------------

void TFormDesigner::Select(TComponent* component) { SelectAll(component ? std::vector{component} : std::vector<TComponent*>{}); }

void TFormDesigner::SelectAll(const std::vector<TComponent*>& components) {
    FSelection.clear();
    for (TComponent* c : components) {
        if (!c) continue;
        auto ref = std::make_unique<TComponentRef<TComponent>>(c);
        FSelection.push_back(std::move(ref));
    }
}

std::vector<TComponent*> TFormDesigner::Selection() const {
    std::vector<TComponent*> result;
    for (const auto& ref : FSelection)
        if (TComponent* c = ref->Get()) result.push_back(c);
    if (result.empty())
        if (TComponent* root = FRoot.Get()) result.push_back(root);
    return result;
}

// --- object inspector --------------------------------------------------------------------

std::unique_ptr<TPropertyEditor> TFormDesigner::EditorFor(const std::vector<TComponent*>& selection,
                                                          const TPropInfo& prop) const {
    std::vector<TPropEditTarget> targets;
    const TPropertyEditorClass* editorClass = nullptr;
    for (TComponent* c : selection) {
        const TPropInfo* own = GetPropInfo(c, prop.Name);
        if (!own || !SameKind(*own, prop)) return nullptr;
        const TPropertyEditorClass& cls = GetPropertyEditorClass(c->ClassType(), *own);
        if (editorClass && editorClass != &cls) return nullptr;
        editorClass = &cls;
        targets.push_back({c, own});
    }
    if (!editorClass) return nullptr;
    auto editor = editorClass->Create(const_cast<TFormDesigner*>(this), std::move(targets));
    if (selection.size() > 1 && !editor->GetAttributes().Contains(paMultiSelect)) return nullptr;
    return editor;
}

std::vector<TInspectorRow> TFormDesigner::Inspector() const {
    std::vector<TInspectorRow> rows;
    const std::vector<TComponent*> selection = Selection();
    if (selection.empty()) return rows;
    const TTypeData& data = GetTypeData(selection.front()->ClassType());
    for (int i = 0; i < data.PropCount(); ++i) {
        const TPropInfo& prop = data.Props(i);
        if (selection.size() > 1 && SameText(prop.Name, "Name")) continue;
        auto editor = EditorFor(selection, prop);
        if (!editor) continue;
        rows.push_back({prop.Name, editor->AllEqual() ? editor->GetValue() : std::string(),
                        editor->ClassType().ClassName(), editor->GetAttributes()});
    }
    return rows;
}

std::unique_ptr<TPropertyEditor> TFormDesigner::PropertyEditor(const std::string& name) const {
    const std::vector<TComponent*> selection = Selection();
    if (selection.empty()) return nullptr;
    const TPropInfo* prop = GetPropInfo(selection.front(), name);
    if (!prop || (selection.size() > 1 && SameText(prop->Name, "Name"))) return nullptr;
    return EditorFor(selection, *prop);
}

std::unique_ptr<TPropertyEditor> TFormDesigner::CheckedEditor(const std::string& name) const {
    auto editor = PropertyEditor(name);
    if (!editor) throw EInvalidOperation("The object inspector shows no property " + name);
    return editor;
}

void TFormDesigner::SetPropertyText(const std::string& name, const std::string& text) {
    auto editor = CheckedEditor(name);
    if (editor->GetAttributes().Contains(paReadOnly))
        throw EInvalidOperation("Property " + editor->GetName() + " cannot be typed");
    editor->SetValue(text);
    Modified();
}

std::vector<std::string> TFormDesigner::PropertyValues(const std::string& name) const {
    std::vector<std::string> values;
    auto editor = CheckedEditor(name);
    if (editor->GetAttributes().Contains(paValueList)) editor->GetValues(values);
    return values;
}

void TFormDesigner::EditProperty(const std::string& name) {
    auto editor = CheckedEditor(name);
    if (!editor->GetAttributes().Contains(paDialog))
        throw EInvalidOperation("Property " + editor->GetName() + " has no dialog");
    editor->Edit();
}

// --- context menu --------------------------------------------------------------------------

std::unique_ptr<TComponentEditor> TFormDesigner::ComponentEditor(TComponent* component) const {
    if (!component) throw EInvalidOperation("No component to edit");
    return GetComponentEditorClass(component->ClassType()).Create(component, const_cast<TFormDesigner*>(this));
}

std::vector<TMenuItemInfo> TFormDesigner::ContextMenu(TComponent* component) const {
    auto editor = ComponentEditor(component);
    std::vector<TMenuItemInfo> items;
    const int count = editor->GetVerbCount();
    for (int i = 0; i < count; ++i) {
        TMenuItemInfo item{editor->GetVerb(i)};
        editor->PrepareItem(i, item);
        items.push_back(item);
    }
    return items;
}

void TFormDesigner::ExecuteVerb(TComponent* component, const std::string& caption) {
    auto editor = ComponentEditor(component);
    const int count = editor->GetVerbCount();
    for (int i = 0; i < count; ++i) {
        if (editor->GetVerb(i) == caption) {
            editor->ExecuteVerb(i);
            return;
        }
    }
    throw EInvalidOperation("The context menu of " + component->Name() + " has no entry " + caption);
}

void TFormDesigner::ExecuteVerb(TComponent* component, int index) { ComponentEditor(component)->ExecuteVerb(index); }

void TFormDesigner::EditComponent(TComponent* component) { ComponentEditor(component)->Edit(); }

// --- saving --------------------------------------------------------------------------------

std::string TFormDesigner::SaveFormText() {
    std::string text = FormText();
    MarkSaved();
    return text;
}

std::string TFormDesigner::FormText() const { return WriteComponentText(CheckedRoot()); }

std::unique_ptr<TFormDesigner> TFormDesigner::ReadFormText(const std::string& text) {
    const TFormObject tree = ParseFormText(text);
    const auto* cls = dynamic_cast<const TComponentClass*>(&FindClass(tree.ClassName));
    if (!cls) throw EInvalidOperation(tree.ClassName + " is not a component class");
    // The new root is made inside a designing owner, so that it and all it
    // reads are in the designer from the start and nothing activates; the
    // text stands in for the class's stored definition while it is made.
    Owned<TComponent> holder(TComponent::Create(nullptr));
    holder->SetDesigning(true);
    const std::string resName = UpperCase(cls->ClassName());
    TComponent* root = nullptr;
    {
        TResourceRegistration definition("", resName.c_str(), rtRCData,
                                         reinterpret_cast<const unsigned char*>(text.data()), text.size());
        // Until it is taken out, the holder owns the root and frees it if
        // the read fails.
        root = cls->Create(holder.get());
        // A class that read no stored definition while it was made (a plain
        // form, a form built in code, a data module) is still unnamed: the
        // text is read into it now.
        if (root->Name().empty()) ReadComponentText(root, text);
    }
    holder->RemoveComponent(root);
    return std::unique_ptr<TFormDesigner>(new TFormDesigner(root, true));
}

void LoadPaletteBitmap(const TPaletteItem& item, TBitmap* bitmap) {
    if (!item.Class || !bitmap) throw EInvalidOperation("No palette image to load");
    bitmap->LoadFromResourceName(item.Module, UpperCase(item.Class->ClassName()));
}

// --- packages ------------------------------------------------------------------------------

namespace {

// How many design loads each package has, its own and through the packages
// that require it: its Register procedures run at the first, what they
// registered goes at the last.
std::map<HMODULE, int>& DesignLoads() {
    static std::map<HMODULE, int> loads;
    return loads;
}

void RunRegisterProcs(HMODULE module) {
    const auto registerTable = reinterpret_cast<TGetPackageRegisterTableProc>(
        GetPackageProcAddress(module, GetPackageRegisterTableEntryName));
    const auto infoTable = reinterpret_cast<TGetPackageInfoTableProc>(
        GetPackageProcAddress(module, GetPackageInfoTableEntryName));
    if (!registerTable || !infoTable) return;
    const TPackageRegisterTable* procs = registerTable();
    const TPackageInfoTable* units = infoTable();
    const HINSTANCE previous = RegisteringModule() == MainInstance() ? nullptr : RegisteringModule();
    SetRegisteringModule(module);
    TFinally restore([previous] { SetRegisteringModule(previous); });
    for (int u = 0; u < units->UnitCount; ++u)
        for (int r = 0; procs && r < procs->Count; ++r)
            if (SameText(procs->Entries[r].UnitName, units->Units[u].Name) && procs->Entries[r].Register)
                procs->Entries[r].Register();
}

void DesignWith(HMODULE module) {
    for (const std::string& name : PackageRequires(module)) DesignWith(FindModule(name));
    if (DesignLoads()[module]++ == 0) RunRegisterProcs(module);
}

void StopDesigningWith(HMODULE module) {
    auto it = DesignLoads().find(module);
    if (it != DesignLoads().end() && --it->second == 0) {
        DesignLoads().erase(it);
        UnRegisterModule(module);
    }
    for (const std::string& name : PackageRequires(module)) StopDesigningWith(FindModule(name));
}

} // namespace

HMODULE LoadDesignPackage(const std::string& nameOrPath) {
    const HMODULE module = LoadPackage(nameOrPath);
    DesignWith(module);
    return module;
}

void UnloadDesignPackage(HMODULE module) {
    StopDesigningWith(module);
    UnloadPackage(module);
}

} // namespace host
