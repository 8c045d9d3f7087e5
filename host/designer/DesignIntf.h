#pragma once
// The form designer's registration interface: the component palette, and
// which property and component editors serve which classes.
//
// A package's Register procedures make registrations after the designer
// loads the package, and the designer forgets them before the package goes
// (see host/designer/Designer.h); each remembers the module that made it.
// The code is in host/designer/Registration.cpp.

#include "host/core/Export.h"
#include "host/core/Class.h"
#include "host/core/ComponentRegistration.h"
#include "host/package/Module.h"

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

VESKAR_PUBLIC_BEGIN

namespace host {

class TComponent;
class TPropInfo;
class TPropertyEditorClass;   // host/designer/PropEdit.h
class TComponentEditorClass;  // host/designer/CompEdit.h

// The designer a property or component editor reports to.
class TDesigner {
public:
    virtual ~TDesigner() = default;
    // The form (or data module) being designed.
    virtual TComponent* Root() const = 0;
    // Something of the designed form changed: the form needs saving.
    virtual void Modified() = 0;
};

// --- the palette ----------------------------------------------------------------

struct TPaletteItem {
    const TComponentClass* Class;
    // The module that registered the class: its palette image is that
    // module's bitmap resource named after the upper-cased class name.
    HINSTANCE Module;
};

struct TPalettePage {
    std::string Name;
    std::vector<TPaletteItem> Items;
};

// RegisterComponents (host/core/ComponentRegistration.h) adds the classes to
// the page, made when first named (pages keep the order of their first
// use); a class already on the page stays where it is. The classes are
// registered with the form-file class registry too, so the designer can
// read what it saves.
const std::vector<TPalettePage>& PalettePages();
// The page of that name, letter case ignored; nil when none.
const TPalettePage* FindPalettePage(std::string_view name);
// The registered palette class of that name, letter case ignored; nil when
// none.
const TPaletteItem* FindPaletteItem(std::string_view className);

// The module whose Register procedure is running: registrations made now
// belong to it. The designer sets it around each call; the main program's
// module otherwise.
HINSTANCE RegisteringModule();
void SetRegisteringModule(HINSTANCE module);

// --- editors ----------------------------------------------------------------------

// A property type as editors are registered for it: a name ("string",
// "TShortCut", "TStrings") and, for class types, the class, whose
// descendants it covers.
struct TPropertyType {
    std::string Name;
    const TClass* Class = nullptr;
};
TPropertyType PropertyTypeNamed(std::string name);
TPropertyType PropertyTypeOf(const TClass& cls);

// Uses Editor for properties of PropertyType named PropertyName (empty: any
// name) of ComponentClass and its descendants (nil: any class).
void RegisterPropertyEditor(const TPropertyType& propertyType, const TClass* componentClass,
                            const std::string& propertyName, const TPropertyEditorClass& editor);
// Uses Editor for ComponentClass and its descendants.
void RegisterComponentEditor(const TClass& componentClass, const TComponentEditorClass& editor);

// The registered editor for a property of ComponentClass, chosen as the
// framework does: the registration for the closest class of the component
// wins (an unrestricted one comes last); then one that names the property
// beats one that does not; then the closest property type; then the later
// registration. Nil when no registration matches.
const TPropertyEditorClass* FindPropertyEditorClass(const TClass& componentClass, const TPropInfo& prop);
// The registered component editor for the closest class; of two for the
// same class the later one. Nil when none.
const TComponentEditorClass* FindComponentEditorClass(const TClass& componentClass);

// Counts of what was registered, for the designer and its tests.
int RegisteredPropertyEditorCount();
int RegisteredComponentEditorCount();
// Forgets what Module registered: its palette classes (also in the form-file
// class registry), its editors, and pages left empty. The designer calls it
// before a package's library goes.
void UnRegisterModule(HINSTANCE module);
// Forgets every palette page and editor (a designer that closes).
void ClearRegistrations();

} // namespace host

VESKAR_PUBLIC_END
