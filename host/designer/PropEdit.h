#pragma once
// Property editors: how the object inspector shows, takes and edits one
// published property of the selected components.
//
// The designer makes an editor for each property it shows, through the
// editor's class reference, with the property of every selected component
// (all of the same name and kind), and drops it afterwards; an editor keeps
// no state of its own. The default editors for each kind of property follow
// the base class; TShortCutProperty is offered for registration.

#include "host/core/Export.h"
#include "host/core/Set.h"
#include "host/designer/DesignIntf.h"

#include <memory>
#include <string>
#include <vector>

VESKAR_PUBLIC_BEGIN

namespace host {

class TObject;
class TPersistent;
class TPropInfo;
class TPropertyEditor;

enum TPropertyAttribute {
    paValueList,      // GetValues lists the values the property takes
    paSubProperties,  // an object whose own properties are shown below it
    paDialog,         // Edit opens a dialog
    paMultiSelect,    // offered while several components are selected
    paAutoUpdate,
    paSortList,
    paReadOnly,       // the text cannot be typed
    paRevertable,
};
using TPropertyAttributes = TSet<TPropertyAttribute>;

// One edited property: the object and its published property.
struct TPropEditTarget {
    TPersistent* Instance;
    const TPropInfo* Prop;
};

// A class reference to a property editor class.
class TPropertyEditorClass {
public:
    using Factory = std::unique_ptr<TPropertyEditor> (*)();
    TPropertyEditorClass(const char* name, Factory factory) : FName(name), FFactory(factory) {}
    TPropertyEditorClass(const TPropertyEditorClass&) = delete;
    TPropertyEditorClass& operator=(const TPropertyEditorClass&) = delete;
    const std::string& ClassName() const { return FName; }
    // An editor of this class for the targets (at least one, all of one
    // property).
    std::unique_ptr<TPropertyEditor> Create(TDesigner* designer, std::vector<TPropEditTarget> targets) const;

private:
    std::string FName;
    Factory FFactory;
};

// Declares an editor class's class reference; put it first in the body.
#define HOST_PROPERTY_EDITOR(Self)                                                       \
public:                                                                                  \
    static const ::host::TPropertyEditorClass& ClassInfo() {                             \
        static const ::host::TPropertyEditorClass info(                                  \
            #Self, []() -> std::unique_ptr<::host::TPropertyEditor> { return std::make_unique<Self>(); }); \
        return info;                                                                     \
    }                                                                                    \
    const ::host::TPropertyEditorClass& ClassType() const override { return Self::ClassInfo(); } \
                                                                                         \
private:

class TPropertyEditor {
public:
    TPropertyEditor() = default;
    TPropertyEditor(const TPropertyEditor&) = delete;
    TPropertyEditor& operator=(const TPropertyEditor&) = delete;
    virtual ~TPropertyEditor() = default;

    virtual const TPropertyEditorClass& ClassType() const = 0;

    TDesigner* Designer() const { return FDesigner; }
    // The object whose property is edited; Index below PropCount.
    TPersistent* GetComponent(int index) const;
    int PropCount() const { return static_cast<int>(FTargets.size()); }
    // The first object's property; PropInfo(Index) each object's own (two
    // classes may publish properties of one name and type separately).
    const TPropInfo& GetPropInfo() const { return *FTargets.front().Prop; }
    const TPropInfo& PropInfo(int index) const;
    // The property's name.
    virtual std::string GetName() const;

    // paRevertable and paMultiSelect by default.
    virtual TPropertyAttributes GetAttributes() const;
    // The text the inspector shows for the first object's property.
    virtual std::string GetValue() const;
    // Stores typed text in every edited object's property. Raises when the
    // text does not convert; nothing is stored then.
    virtual void SetValue(const std::string& value);
    // The values of a value list (paValueList), in order.
    virtual void GetValues(std::vector<std::string>& values) const;
    // Runs the property's dialog; nothing by default.
    virtual void Edit();
    // True when every edited object holds the same value as the first.
    virtual bool AllEqual() const;

    // Tells the designer that the form changed.
    void Modified();

    // Used by TPropertyEditorClass::Create.
    void Initialize(TDesigner* designer, std::vector<TPropEditTarget> targets);

protected:
    TObject* Instance(int index) const;

private:
    TDesigner* FDesigner = nullptr;
    std::vector<TPropEditTarget> FTargets;
};

// --- the default editors, by kind of property ------------------------------------

class TOrdinalProperty : public TPropertyEditor {
public:
    bool AllEqual() const override;
};

// Integers in decimal; an integer type's named values (clBtnFace) by name.
class TIntegerProperty : public TOrdinalProperty {
    HOST_PROPERTY_EDITOR(TIntegerProperty)
public:
    std::string GetValue() const override;
    void SetValue(const std::string& value) override;
};

// An enumeration's value names, as a value list.
class TEnumProperty : public TOrdinalProperty {
    HOST_PROPERTY_EDITOR(TEnumProperty)
public:
    TPropertyAttributes GetAttributes() const override;
    std::string GetValue() const override;
    void SetValue(const std::string& value) override;
    void GetValues(std::vector<std::string>& values) const override;
};

// False and True.
class TBoolProperty : public TEnumProperty {
    HOST_PROPERTY_EDITOR(TBoolProperty)
};

// A set as [a,b], typed as a whole.
class TSetProperty : public TOrdinalProperty {
    HOST_PROPERTY_EDITOR(TSetProperty)
public:
    std::string GetValue() const override;
    void SetValue(const std::string& value) override;
};

class TFloatProperty : public TPropertyEditor {
    HOST_PROPERTY_EDITOR(TFloatProperty)
public:
    bool AllEqual() const override;
    std::string GetValue() const override;
    void SetValue(const std::string& value) override;
};

class TStringProperty : public TPropertyEditor {
    HOST_PROPERTY_EDITOR(TStringProperty)
public:
    bool AllEqual() const override;
    std::string GetValue() const override;
    void SetValue(const std::string& value) override;
};

// A component reference: the referenced component's name, chosen from the
// components of the designed form that fit the property's class.
class TComponentProperty : public TPropertyEditor {
    HOST_PROPERTY_EDITOR(TComponentProperty)
public:
    bool AllEqual() const override;
    TPropertyAttributes GetAttributes() const override;
    std::string GetValue() const override;
    // An empty text clears the reference; an unknown name raises
    // EPropertyError "Invalid property value".
    void SetValue(const std::string& value) override;
    void GetValues(std::vector<std::string>& values) const override;
};

// An event: the name of the form's method bound to it, chosen from the
// form's published methods of the event's signature. Not offered for
// several components.
class TMethodProperty : public TPropertyEditor {
    HOST_PROPERTY_EDITOR(TMethodProperty)
public:
    TPropertyAttributes GetAttributes() const override;
    std::string GetValue() const override;
    void SetValue(const std::string& value) override;
    void GetValues(std::vector<std::string>& values) const override;
};

// An owned object: "(TFont)", its properties shown below it.
class TClassProperty : public TPropertyEditor {
    HOST_PROPERTY_EDITOR(TClassProperty)
public:
    TPropertyAttributes GetAttributes() const override;
    std::string GetValue() const override;
};

// A string list: "(TStrings)"; its lines are replaced as a whole.
class TStringListProperty : public TClassProperty {
    HOST_PROPERTY_EDITOR(TStringListProperty)
public:
    std::string GetValue() const override;
    // Replaces the lines of every edited list and reports the change.
    void SetLines(const std::vector<std::string>& lines);
};

// A keyboard shortcut as text ("Ctrl+F1"), with the common shortcuts as a
// value list. Text that names no shortcut raises EPropertyError.
class TShortCutProperty : public TOrdinalProperty {
    HOST_PROPERTY_EDITOR(TShortCutProperty)
public:
    TPropertyAttributes GetAttributes() const override;
    std::string GetValue() const override;
    void SetValue(const std::string& value) override;
    void GetValues(std::vector<std::string>& values) const override;
};

// The editor class for a property of ComponentClass: the registered one
// (host/designer/DesignIntf.h), else the default for its kind.
const TPropertyEditorClass& GetPropertyEditorClass(const TClass& componentClass, const TPropInfo& prop);

} // namespace host

VESKAR_PUBLIC_END
