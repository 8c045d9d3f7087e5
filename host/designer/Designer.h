#pragma once
// The form designer: a model of the designer window that a program or a test
// drives as a developer would. It holds one designed form (its components in
// csDesigning), places components from the palette, keeps a selection,
// shows the object inspector's rows for it, runs property and component
// editors, counts the changes and saves the form as form text.
//
// Packages come in through LoadDesignPackage, which loads the package and
// then calls the Register procedure of each of its units.

#include "host/core/Export.h"
#include "host/core/Component.h"
#include "host/core/ComponentRef.h"
#include "host/designer/CompEdit.h"
#include "host/designer/DesignIntf.h"
#include "host/designer/PropEdit.h"
#include "host/package/Module.h"

#include <memory>
#include <string>
#include <vector>

VESKAR_PUBLIC_BEGIN

namespace host {

class TBitmap;
class TCustomForm;

// One row of the object inspector.
struct TInspectorRow {
    std::string Name;
    std::string Value;
    std::string EditorClass;
    TPropertyAttributes Attributes;
};

class TFormDesigner : public TDesigner {
public:
    // Designs Root (a form or a data module that the caller owns): Root and
    // its components enter csDesigning until the designer closes.
    explicit TFormDesigner(TComponent* root);
    // Takes Root and its components out of the designer again; a root the
    // designer read itself (ReadFormText) is freed.
    ~TFormDesigner() override;
    TFormDesigner(const TFormDesigner&) = delete;
    TFormDesigner& operator=(const TFormDesigner&) = delete;

    // Nil once the designed form was freed.
    TComponent* Root() const override { return FRoot.Get(); }
    // Counts the change and marks the form as changed.
    void Modified() override;
    int ModifiedCount() const { return FModifiedCount; }
    bool IsModified() const { return FModifiedCount > FSavedAt; }

    // Places a new component of the palette class ClassName on the form,
    // named after the class without its leading T and the first free number
    // (LookupDialog1, LookupDialog2...), a control on the form itself.
    // Selects it and counts a change. Raises EInvalidOperation for a class
    // that is not on the palette.
    TComponent* AddComponent(const std::string& className);
    // The first free name for a new component of that class.
    std::string UniqueName(const std::string& className) const;

    // --- selection -----------------------------------------------------------
    void Select(TComponent* component);
    void SelectAll(const std::vector<TComponent*>& components);
    // The selected components that still exist; the root when none is
    // selected.
    std::vector<TComponent*> Selection() const;

    // Moves a component on the form: a control to its new left and top, a
    // non-visual component's icon (its design position, saved with the form
    // as Left and Top). Counts a change.
    void MoveComponent(TComponent* component, int left, int top);

    // --- object inspector ------------------------------------------------------
    // The published properties common to the selection (same name and kind
    // on every selected component), in the first one's declaration order,
    // each with the text its editor shows. With several components selected
    // a property whose editor lacks paMultiSelect is left out; Name is never
    // shown for several.
    std::vector<TInspectorRow> Inspector() const;
    // The editor of the selection's property Name; nil when the inspector
    // does not show it.
    std::unique_ptr<TPropertyEditor> PropertyEditor(const std::string& name) const;
    // Types Text into the property's row: the editor stores it and the
    // designer counts a change. Raises when the property is not shown, is
    // read-only or refuses the text; nothing is stored then.
    void SetPropertyText(const std::string& name, const std::string& text);
    // The row's value list.
    std::vector<std::string> PropertyValues(const std::string& name) const;
    // Presses the row's "..." button: runs the editor's Edit. Raises
    // EInvalidOperation when the editor has no dialog.
    void EditProperty(const std::string& name);

    // --- context menu -----------------------------------------------------------
    // The component editor's verbs, as its menu shows them.
    std::vector<TMenuItemInfo> ContextMenu(TComponent* component) const;
    // Runs the verb with that caption (as GetVerb gives it); raises
    // EInvalidOperation when the menu has none.
    void ExecuteVerb(TComponent* component, const std::string& caption);
    void ExecuteVerb(TComponent* component, int index);
    // A double click on the component: the editor's Edit.
    void EditComponent(TComponent* component);

    // --- saving ------------------------------------------------------------------
    // The form as form text; a save clears IsModified.
    std::string SaveFormText();
    // The form as form text, leaving IsModified alone: a program that
    // writes it to a file marks it saved once the file is written.
    std::string FormText() const;
    void MarkSaved() { FSavedAt = FModifiedCount; }
    // Reads form text back as a designed form: an instance of the text's
    // root class (which must be registered), built from this text as its
    // stored definition while in the designer. The returned designer owns it.
    static std::unique_ptr<TFormDesigner> ReadFormText(const std::string& text);

private:
    TFormDesigner(TComponent* root, bool ownsRoot);
    VESKAR_LOCAL TComponent* CheckedRoot() const;
    VESKAR_LOCAL std::unique_ptr<TPropertyEditor> EditorFor(const std::vector<TComponent*>& selection, const TPropInfo& prop) const;
    VESKAR_LOCAL std::unique_ptr<TPropertyEditor> CheckedEditor(const std::string& name) const;
    VESKAR_LOCAL std::unique_ptr<TComponentEditor> ComponentEditor(TComponent* component) const;

    TComponentRef<TComponent> FRoot;
    bool FOwnsRoot;
    std::vector<std::unique_ptr<TComponentRef<TComponent>>> FSelection;
    int FModifiedCount = 0;
    int FSavedAt = 0;
};

// Loads a palette class's image: the bitmap resource named after the
// upper-cased class name in the module that registered the class. Raises
// EResNotFound when that module carries none.
void LoadPaletteBitmap(const TPaletteItem& item, TBitmap* bitmap);

// A non-visual component's place on the designed form (its DesignInfo).
int DesignLeft(const TComponent* component);
int DesignTop(const TComponent* component);

// Loads a package into the designer: LoadPackage (a file or a package's
// name), then each unit's Register procedure, found by the unit's name in
// the package's registration table, in unit order, with the package as the
// registering module; the packages it requires register first, each once.
// Answers the package's module. A package without a registration table
// registers nothing.
HMODULE LoadDesignPackage(const std::string& nameOrPath);
// Forgets what the package registered, then undoes its LoadPackage; the
// last unload of a package (or of the last package that requires it)
// forgets it, an earlier one leaves it registered.
void UnloadDesignPackage(HMODULE module);

} // namespace host

VESKAR_PUBLIC_END
