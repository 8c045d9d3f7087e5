#pragma once
// Components and editors the designer tests work with.

#include "host/core/Component.h"
#include "host/core/Event.h"
#include "host/core/Strings.h"
#include "host/designer/CompEdit.h"
#include "host/designer/PropEdit.h"
#include "host/ui/Forms.h"
#include "host/ui/ShortCuts.h"

#include <string>
#include <vector>

namespace designtest {

enum TGadgetMode { gmOff, gmSlow, gmFast };
using TGadgetModes = host::TSet<TGadgetMode>;

class TGadget : public host::TComponent {
    HOST_CLASS(TGadget, host::TComponent)
    static void DeclarePublished(host::TPublisher& publisher);
public:
    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& value) { FCaption = value; }
    const std::string& Note() const { return FNote; }
    void SetNote(const std::string& value) { FNote = value; }
    int Count() const { return FCount; }
    void SetCount(int value) { FCount = value; }
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value) { FEnabled = value; }
    TGadgetMode Mode() const { return FMode; }
    void SetMode(TGadgetMode value) { FMode = value; }
    TGadgetModes Modes() const { return FModes; }
    void SetModes(TGadgetModes value) { FModes = value; }
    TGadget* Partner() const { return FPartner; }
    void SetPartner(TGadget* value);
    host::TStrings* Lines() const { return FLines.get(); }
    host::TShortCut Key() const { return FKey; }
    void SetKey(host::TShortCut value) { FKey = value; }
    host::TNotifyEvent OnPing;

    void Notification(host::TComponent* component, host::TOperation operation) override;

protected:
    explicit TGadget(host::TComponent* owner) : TComponent(owner), FLines(host::TStringList::Create()) {}

private:
    std::string FCaption;
    std::string FNote;
    int FCount = 0;
    bool FEnabled = false;
    TGadgetMode FMode = gmOff;
    TGadgetModes FModes;
    TGadget* FPartner = nullptr;
    host::Owned<host::TStringList> FLines;
    host::TShortCut FKey = 0;
};

class TBigGadget : public TGadget {
    HOST_CLASS(TBigGadget, TGadget)
protected:
    explicit TBigGadget(host::TComponent* owner) : TGadget(owner) {}
};

class THugeGadget : public TBigGadget {
    HOST_CLASS(THugeGadget, TBigGadget)
protected:
    explicit THugeGadget(host::TComponent* owner) : TBigGadget(owner) {}
};

// A form built in code, with two methods a gadget's event can be bound to.
class TBenchForm : public host::TForm {
    HOST_CLASS(TBenchForm, host::TForm)
    static void DeclarePublished(host::TPublisher& publisher);
public:
    void GadgetPing(host::TObject* sender) { (void)sender; ++Pings; }
    void OtherPing(host::TObject* sender) { (void)sender; }
    int Pings = 0;

protected:
    explicit TBenchForm(host::TComponent* owner) : TForm(owner) {}
    void LoadDefinition() override {}
};

// Property editors that differ by class only, to see which one is chosen.
class TEditorA : public host::TStringProperty {
    HOST_PROPERTY_EDITOR(TEditorA)
};
class TEditorB : public host::TStringProperty {
    HOST_PROPERTY_EDITOR(TEditorB)
};
class TEditorC : public host::TStringProperty {
    HOST_PROPERTY_EDITOR(TEditorC)
};
class TEditorD : public host::TStringProperty {
    HOST_PROPERTY_EDITOR(TEditorD)
};

// Component editors that record what they are asked to do.
extern std::vector<std::string> EditorLog;

class TGadgetEditor : public host::TComponentEditor {
    HOST_COMPONENT_EDITOR(TGadgetEditor)
public:
    int GetVerbCount() override { return 2; }
    std::string GetVerb(int index) override;
    void ExecuteVerb(int index) override;
    void PrepareItem(int index, host::TMenuItemInfo& item) override;
};

class TBigGadgetEditor : public host::TComponentEditor {
    HOST_COMPONENT_EDITOR(TBigGadgetEditor)
public:
    int GetVerbCount() override { return 1; }
    std::string GetVerb(int index) override { return index == 0 ? "Big" : ""; }
    void ExecuteVerb(int index) override;
};

class TOtherGadgetEditor : public TBigGadgetEditor {
    HOST_COMPONENT_EDITOR(TOtherGadgetEditor)
public:
    std::string GetVerb(int index) override { return index == 0 ? "Other" : ""; }
};

// Registers the test classes for form files; once per process.
void RegisterTestClasses();

} // namespace designtest
