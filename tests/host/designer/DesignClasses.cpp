#include "tests/host/designer/DesignClasses.h"

#include "host/core/ClassRegistry.h"
#include "host/core/Publisher.h"
#include "host/ui/PropertyTypes.h"

namespace designtest {

using namespace host;

HOST_IMPLEMENT_COMPONENT(TGadget, TComponent)
HOST_IMPLEMENT_COMPONENT(TBigGadget, TGadget)
HOST_IMPLEMENT_COMPONENT(THugeGadget, TBigGadget)
HOST_IMPLEMENT_COMPONENT(TBenchForm, TForm)

std::vector<std::string> EditorLog;

namespace {

const TEnumInfo& ModeInfo() {
    static const TEnumInfo info{"TGadgetMode", {"gmOff", "gmSlow", "gmFast"}};
    return info;
}

const TSetInfo& ModesInfo() {
    static const TSetInfo info{"TGadgetModes", &ModeInfo()};
    return info;
}

} // namespace

void TGadget::DeclarePublished(TPublisher& publisher) {
    auto p = publisher.Of<TGadget>();
    p.String("Caption", &TGadget::Caption, &TGadget::SetCaption);
    p.String("Note", &TGadget::Note, &TGadget::SetNote);
    p.Integer("Count", &TGadget::Count, &TGadget::SetCount);
    p.Boolean("Enabled", &TGadget::Enabled, &TGadget::SetEnabled);
    p.Enumeration("Mode", &TGadget::Mode, &TGadget::SetMode, ModeInfo());
    p.Set("Modes", &TGadget::Modes, &TGadget::SetModes, ModesInfo());
    p.Component("Partner", &TGadget::Partner, &TGadget::SetPartner);
    p.Strings("Lines", &TGadget::Lines);
    p.Integer("Key", &TGadget::Key, &TGadget::SetKey, ShortCutTypeInfo());
    p.Event("OnPing", &TGadget::OnPing);
}

void TGadget::SetPartner(TGadget* value) {
    if (FPartner) FPartner->RemoveFreeNotification(this);
    FPartner = value;
    if (value) value->FreeNotification(this);
}

void TGadget::Notification(TComponent* component, TOperation operation) {
    inherited::Notification(component, operation);
    if (operation == opRemove && component == FPartner) FPartner = nullptr;
}

void TBenchForm::DeclarePublished(TPublisher& publisher) {
    auto p = publisher.Of<TBenchForm>();
    p.Method("GadgetPing", &TBenchForm::GadgetPing);
    p.Method("OtherPing", &TBenchForm::OtherPing);
}

std::string TGadgetEditor::GetVerb(int index) {
    switch (index) {
    case 0: return "&First";
    case 1: return "&Second";
    default: return "";
    }
}

void TGadgetEditor::ExecuteVerb(int index) {
    EditorLog.push_back("verb " + std::to_string(index) + " of " + Component()->Name());
    if (GetDesigner()) GetDesigner()->Modified();
}

void TGadgetEditor::PrepareItem(int index, TMenuItemInfo& item) { item.Enabled = index == 0; }

void TBigGadgetEditor::ExecuteVerb(int index) {
    EditorLog.push_back(ClassType().ClassName() + " verb " + std::to_string(index));
}

void RegisterTestClasses() {
    RegisterClasses({&TBenchForm::ClassInfo(), &TGadget::ClassInfo(), &TBigGadget::ClassInfo(),
                     &THugeGadget::ClassInfo()});
}

} // namespace designtest
