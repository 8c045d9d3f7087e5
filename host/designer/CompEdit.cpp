#include "host/designer/CompEdit.h"

namespace host {

std::unique_ptr<TComponentEditor> TComponentEditorClass::Create(TComponent* component, TDesigner* designer) const {
    auto editor = FFactory();
    editor->Initialize(component, designer);
    return editor;
}

void TComponentEditor::Initialize(TComponent* component, TDesigner* designer) {
    FComponent = component;
    FDesigner = designer;
}

void TComponentEditor::Edit() {
    if (GetVerbCount() > 0) ExecuteVerb(0);
}

void TComponentEditor::ExecuteVerb(int) {}

std::string TComponentEditor::GetVerb(int) { return ""; }

int TComponentEditor::GetVerbCount() { return 0; }

void TComponentEditor::PrepareItem(int, TMenuItemInfo&) {}

void TComponentEditor::Copy() {}

const TComponentEditorClass& GetComponentEditorClass(const TClass& componentClass) {
    if (const TComponentEditorClass* registered = FindComponentEditorClass(componentClass)) return *registered;
    return TDefaultEditor::ClassInfo();
}

} // namespace host
