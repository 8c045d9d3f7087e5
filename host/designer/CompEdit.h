#pragma once
// Component editors: the entries (verbs) a component adds to its context
// menu in the designer, and what a double click on it does.
//
// The designer makes an editor for the component when it needs one, through
// the class reference registered for the component's class (TDefaultEditor
// when none is), and drops it afterwards.

#include "host/core/Export.h"
#include "host/designer/DesignIntf.h"

#include <memory>
#include <string>

VESKAR_PUBLIC_BEGIN

namespace host {

class TComponentEditor;

// A menu entry being shown, for an editor that wants to change it.
struct TMenuItemInfo {
    std::string Caption;
    bool Enabled = true;
    bool Checked = false;
};

class TComponentEditorClass {
public:
    using Factory = std::unique_ptr<TComponentEditor> (*)();
    TComponentEditorClass(const char* name, Factory factory) : FName(name), FFactory(factory) {}
    TComponentEditorClass(const TComponentEditorClass&) = delete;
    TComponentEditorClass& operator=(const TComponentEditorClass&) = delete;
    const std::string& ClassName() const { return FName; }
    std::unique_ptr<TComponentEditor> Create(TComponent* component, TDesigner* designer) const;

private:
    std::string FName;
    Factory FFactory;
};

#define HOST_COMPONENT_EDITOR(Self)                                                      \
public:                                                                                  \
    static const ::host::TComponentEditorClass& ClassInfo() {                            \
        static const ::host::TComponentEditorClass info(                                 \
            #Self, []() -> std::unique_ptr<::host::TComponentEditor> { return std::make_unique<Self>(); }); \
        return info;                                                                     \
    }                                                                                    \
    const ::host::TComponentEditorClass& ClassType() const override { return Self::ClassInfo(); } \
                                                                                         \
private:

class TComponentEditor {
public:
    TComponentEditor() = default;
    TComponentEditor(const TComponentEditor&) = delete;
    TComponentEditor& operator=(const TComponentEditor&) = delete;
    virtual ~TComponentEditor() = default;

    virtual const TComponentEditorClass& ClassType() const = 0;

    TComponent* Component() const { return FComponent; }
    TDesigner* Designer() const { return FDesigner; }
    TDesigner* GetDesigner() const { return FDesigner; }

    // Runs verb 0 when there is one (a double click on the component).
    virtual void Edit();
    virtual void ExecuteVerb(int index);
    // An empty caption by default.
    virtual std::string GetVerb(int index);
    virtual int GetVerbCount();
    // Called for each verb's menu entry before the menu shows.
    virtual void PrepareItem(int index, TMenuItemInfo& item);
    // Called after the designer copied the component to the clipboard, for
    // an editor that adds formats of its own; nothing by default.
    virtual void Copy();

    // Used by TComponentEditorClass::Create.
    void Initialize(TComponent* component, TDesigner* designer);

private:
    TComponent* FComponent = nullptr;
    TDesigner* FDesigner = nullptr;
};

// The editor for components without one of their own: no verbs.
class TDefaultEditor : public TComponentEditor {
    HOST_COMPONENT_EDITOR(TDefaultEditor)
};

// The editor class for a component: the registered one, else TDefaultEditor.
const TComponentEditorClass& GetComponentEditorClass(const TClass& componentClass);

} // namespace host

VESKAR_PUBLIC_END
