#include "host/designer/DesignIntf.h"

#include "host/core/ClassRegistry.h"
#include "host/core/Exception.h"
#include "host/core/TextUtils.h"
#include "host/core/TypInfo.h"
#include "host/designer/CompEdit.h"
#include "host/designer/PropEdit.h"

#include <algorithm>
#include <limits>

namespace host {

namespace {

struct TPropertyEditorRegistration {
    TPropertyType Type;
    const TClass* ComponentClass;
    std::string PropertyName;
    const TPropertyEditorClass* Editor;
    HINSTANCE Module;
};

struct TComponentEditorRegistration {
    const TClass* ComponentClass;
    const TComponentEditorClass* Editor;
    HINSTANCE Module;
};

struct TRegistry {
    std::vector<TPalettePage> Pages;
    std::vector<TPropertyEditorRegistration> PropertyEditors;
    std::vector<TComponentEditorRegistration> ComponentEditors;
    HINSTANCE Registering = nullptr;
};

TRegistry& Registry() {
    static TRegistry registry;
    return registry;
}

constexpr int NoMatch = std::numeric_limits<int>::max();

// How many steps up from Cls to Ancestor; NoMatch when Cls does not inherit
// from it.
int Distance(const TClass* cls, const TClass& ancestor) {
    int steps = 0;
    for (; cls; cls = cls->ClassParent(), ++steps)
        if (cls == &ancestor) return steps;
    return NoMatch;
}

// How far the property's type is from the registered type; NoMatch when it
// is not of it. A class type covers its descendants.
int TypeDistance(const TPropertyType& type, const TPropInfo& prop) {
    if (type.Class && prop.PropClass) return Distance(prop.PropClass, *type.Class);
    return SameText(type.Name, prop.TypeName) ? 0 : NoMatch;
}

TPalettePage& PageNamed(const std::string& name) {
    auto& pages = Registry().Pages;
    for (auto& page : pages)
        if (SameText(page.Name, name)) return page;
    pages.push_back({name, {}});
    return pages.back();
}

} // namespace

namespace {

void AddToPalette(const std::string& page, const std::vector<const TComponentClass*>& classes) {
    if (page.empty()) throw EInvalidOperation("A palette page needs a name");
    for (const TComponentClass* cls : classes)
        if (!cls) throw EInvalidOperation("A palette class cannot be nil");
    TPalettePage& target = PageNamed(page);
    for (const TComponentClass* cls : classes) {
        RegisterClass(*cls);
        const bool present = std::any_of(target.Items.begin(), target.Items.end(),
                                         [cls](const TPaletteItem& item) { return item.Class == cls; });
        if (!present) target.Items.push_back({cls, RegisteringModule()});
    }
}

// Register procedures reach the palette from the moment the designer's
// library is loaded.
const bool PaletteSet = (SetRegisterComponentsProc(&AddToPalette), true);

} // namespace

const std::vector<TPalettePage>& PalettePages() { return Registry().Pages; }

const TPalettePage* FindPalettePage(std::string_view name) {
    for (const auto& page : Registry().Pages)
        if (SameText(page.Name, name)) return &page;
    return nullptr;
}

const TPaletteItem* FindPaletteItem(std::string_view className) {
    for (const auto& page : Registry().Pages)
        for (const auto& item : page.Items)
            if (SameText(item.Class->ClassName(), className)) return &item;
    return nullptr;
}

HINSTANCE RegisteringModule() { return Registry().Registering ? Registry().Registering : MainInstance(); }

void SetRegisteringModule(HINSTANCE module) { Registry().Registering = module; }

TPropertyType PropertyTypeNamed(std::string name) { return {std::move(name), nullptr}; }

TPropertyType PropertyTypeOf(const TClass& cls) { return {cls.ClassName(), &cls}; }

void RegisterPropertyEditor(const TPropertyType& propertyType, const TClass* componentClass,
                            const std::string& propertyName, const TPropertyEditorClass& editor) {
    if (propertyType.Name.empty()) throw EInvalidOperation("A property editor needs a property type");
    Registry().PropertyEditors.push_back({propertyType, componentClass, propertyName, &editor, RegisteringModule()});
}

void RegisterComponentEditor(const TClass& componentClass, const TComponentEditorClass& editor) {
    Registry().ComponentEditors.push_back({&componentClass, &editor, RegisteringModule()});
}

const TPropertyEditorClass* FindPropertyEditorClass(const TClass& componentClass, const TPropInfo& prop) {
    // Lower is better, compared in this order; the later registration wins
    // a tie, hence <=.
    struct TRank {
        int ClassDistance, Unnamed, TypeDistance;
        auto operator<=>(const TRank&) const = default;
    };
    const TPropertyEditorClass* best = nullptr;
    TRank bestRank{NoMatch, NoMatch, NoMatch};
    for (const auto& r : Registry().PropertyEditors) {
        const int typeDistance = TypeDistance(r.Type, prop);
        if (typeDistance == NoMatch) continue;
        if (!r.PropertyName.empty() && !SameText(r.PropertyName, prop.Name)) continue;
        const int classDistance =
            r.ComponentClass ? Distance(&componentClass, *r.ComponentClass) : NoMatch - 1;
        if (classDistance == NoMatch) continue;
        const TRank rank{classDistance, r.PropertyName.empty() ? 1 : 0, typeDistance};
        if (rank <= bestRank) {
            best = r.Editor;
            bestRank = rank;
        }
    }
    return best;
}

const TComponentEditorClass* FindComponentEditorClass(const TClass& componentClass) {
    const TComponentEditorClass* best = nullptr;
    int bestDistance = NoMatch;
    for (const auto& r : Registry().ComponentEditors) {
        const int distance = Distance(&componentClass, *r.ComponentClass);
        if (distance != NoMatch && distance <= bestDistance) {
            best = r.Editor;
            bestDistance = distance;
        }
    }
    return best;
}

int RegisteredPropertyEditorCount() { return static_cast<int>(Registry().PropertyEditors.size()); }
int RegisteredComponentEditorCount() { return static_cast<int>(Registry().ComponentEditors.size()); }

void UnRegisterModule(HINSTANCE module) {
    auto& r = Registry();
    for (auto& page : r.Pages) {
        for (const auto& item : page.Items)
            if (item.Module == module) UnRegisterClass(*item.Class);
        std::erase_if(page.Items, [module](const TPaletteItem& item) { return item.Module == module; });
    }
    std::erase_if(r.Pages, [](const TPalettePage& page) { return page.Items.empty(); });
    std::erase_if(r.PropertyEditors, [module](const auto& e) { return e.Module == module; });
    std::erase_if(r.ComponentEditors, [module](const auto& e) { return e.Module == module; });
}

void ClearRegistrations() {
    auto& r = Registry();
    r.Pages.clear();
    r.PropertyEditors.clear();
    r.ComponentEditors.clear();
}

} // namespace host
