#include "design/Lddsgn.h"

#include "host/brindle/Uabt.h"
#include "host/core/TextUtils.h"
#include "host/designer/DesignIntf.h"
#include "host/ui/PropertyTypes.h"
#include "lookup/Ldlkpdlg.h"
#include "lookup/LkFill.h"
#include "lookup/Lsdblkp.h"

namespace veskar {

using namespace host;

namespace {

const char* const KeyCaption = "Lookup Key Connection";
const char* const ResultCaption = "Lookup Result Connection";

// The dialog for one edit: given the component's data sources (which reads
// their fields), freed on every way out.
Owned<TKeyLinkDlg> MakeDialog(TDataSource* DataSource, TDataSource* LookupDataSource) {
    Owned<TKeyLinkDlg> dialog(TKeyLinkDlg::Create(nullptr));
    dialog->SetDataSource(DataSource);
    dialog->SetLookupDataSource(LookupDataSource);
    return dialog;
}

} // namespace

// --- the edit routines ---------------------------------------------------------

bool EditLookupDialogConnections(TLookupDialog* LookupDialog) {
    if (!LookupDialog) return false;
    auto dialog = MakeDialog(LookupDialog->DataSource(), LookupDialog->LookupDataSource());
    dialog->SetKeyFields(LookupDialog->KeyFields());
    dialog->SetLookupFields(LookupDialog->LookupKeyFields());
    if (dialog->ShowModal() != mrOk) return false;
    LookupDialog->SetKeyFields(dialog->KeyFields());
    LookupDialog->SetLookupKeyFields(dialog->LookupFields());
    return true;
}

bool EditLookupFillConnections(TLookupFill* LookupFill, bool KeyConnection) {
    if (!LookupFill) return false;
    auto dialog = MakeDialog(LookupFill->DataSource(), LookupFill->LookupDataSource());
    dialog->SetCaption(KeyConnection ? KeyCaption : ResultCaption);
    dialog->SetKeyFields(KeyConnection ? LookupFill->KeyFields() : LookupFill->ResultFields());
    dialog->SetLookupFields(KeyConnection ? LookupFill->LookupKeyFields() : LookupFill->LookupResultFields());
    if (dialog->ShowModal() != mrOk) return false;
    if (KeyConnection) {
        LookupFill->SetKeyFields(dialog->KeyFields());
        LookupFill->SetLookupKeyFields(dialog->LookupFields());
    } else {
        LookupFill->SetResultFields(dialog->KeyFields());
        LookupFill->SetLookupResultFields(dialog->LookupFields());
    }
    return true;
}

bool EditSmartDBLookupConnections(TSmartDBLookup* SmartDBLookup, bool KeyConnection) {
    if (!SmartDBLookup) return false;
    auto dialog = MakeDialog(SmartDBLookup->DataSource(), SmartDBLookup->LookupDataSource());
    dialog->SetCaption(KeyConnection ? KeyCaption : ResultCaption);
    String2Lists(KeyConnection ? SmartDBLookup->ConnectionKey() : SmartDBLookup->ConnectionResult(),
                 *dialog->KeyFields(), *dialog->LookupFields());
    if (dialog->ShowModal() != mrOk) return false;
    std::string text;
    Lists2String(*dialog->KeyFields(), *dialog->LookupFields(), text);
    if (KeyConnection)
        SmartDBLookup->SetKeyConnection(text);
    else
        SmartDBLookup->SetResultConnection(text);
    return true;
}

// --- the property editor -----------------------------------------------------------

bool TConnPropEditor::IsProperty(const char* Name) const { return CompareText(GetName(), Name) == 0; }

TPropertyAttributes TConnPropEditor::GetAttributes() const {
    TPropertyAttributes attributes = TPropertyEditor::GetAttributes();
    attributes.Include(paDialog);
    attributes.Exclude(paMultiSelect);
    return attributes;
}

void TConnPropEditor::Edit() {
    TPropertyEditor::Edit();
    TPersistent* component = GetComponent(0);
    if (auto* dialog = dynamic_cast<TLookupDialog*>(component)) {
        if (EditLookupDialogConnections(dialog)) Modified();
    }
    if (auto* fill = dynamic_cast<TLookupFill*>(component)) {
        if (IsProperty("KeyFields") || IsProperty("LookupKeyFields")) {
            if (EditLookupFillConnections(fill, true)) Modified();
        } else if (IsProperty("ResultFields") || IsProperty("LookupResultFields")) {
            if (EditLookupFillConnections(fill, false)) Modified();
        }
    }
    if (auto* smart = dynamic_cast<TSmartDBLookup*>(component)) {
        if (IsProperty("ConnectionKey") && EditSmartDBLookupConnections(smart, true)) Modified();
        if (IsProperty("ConnectionResult") && EditSmartDBLookupConnections(smart, false)) Modified();
    }
}

std::string TConnPropEditor::GetValue() const {
    std::string result = "(N/A)";
    TPersistent* component = GetComponent(0);
    if (auto* dialog = dynamic_cast<TLookupDialog*>(component)) {
        if (IsProperty("KeyFields")) result = dialog->KeyFields()->CommaText();
        if (IsProperty("LookupKeyFields")) result = dialog->LookupKeyFields()->CommaText();
    }
    if (auto* fill = dynamic_cast<TLookupFill*>(component)) {
        if (IsProperty("KeyFields")) result = fill->KeyFields()->CommaText();
        if (IsProperty("ResultFields")) result = fill->ResultFields()->CommaText();
        if (IsProperty("LookupKeyFields")) result = fill->LookupKeyFields()->CommaText();
        if (IsProperty("LookupResultFields")) result = fill->LookupResultFields()->CommaText();
    }
    if (auto* smart = dynamic_cast<TSmartDBLookup*>(component)) {
        if (IsProperty("ConnectionKey")) result = smart->ConnectionKey();
        if (IsProperty("ConnectionResult")) result = smart->ConnectionResult();
    }
    return result;
}

void TConnPropEditor::SetValue(const std::string& Value) {
    TPersistent* component = GetComponent(0);
    if (auto* dialog = dynamic_cast<TLookupDialog*>(component)) {
        if (IsProperty("KeyFields"))
            dialog->KeyFields()->SetCommaText(Value);
        else if (IsProperty("LookupKeyFields"))
            dialog->LookupKeyFields()->SetCommaText(Value);
    }
    if (auto* fill = dynamic_cast<TLookupFill*>(component)) {
        if (IsProperty("KeyFields"))
            fill->KeyFields()->SetCommaText(Value);
        else if (IsProperty("ResultFields"))
            fill->ResultFields()->SetCommaText(Value);
        else if (IsProperty("LookupKeyFields"))
            fill->LookupKeyFields()->SetCommaText(Value);
        else if (IsProperty("LookupResultFields"))
            fill->LookupResultFields()->SetCommaText(Value);
    }
    if (auto* smart = dynamic_cast<TSmartDBLookup*>(component)) {
        if (IsProperty("ConnectionKey"))
            smart->SetKeyConnection(Value);
        else if (IsProperty("ConnectionResult"))
            smart->SetResultConnection(Value);
    }
}

// --- the component editors -----------------------------------------------------------

namespace {

void ModifiedOn(TComponentEditor& editor, bool changed) {
    if (changed && editor.GetDesigner()) editor.GetDesigner()->Modified();
}

std::string VerbOf(int Index, std::initializer_list<const char*> verbs) {
    if (Index < 0 || Index >= static_cast<int>(verbs.size())) return "";
    return *(verbs.begin() + Index);
}

} // namespace

void TLDialogEditor::ExecuteVerb(int Index) {
    switch (Index) {
    case 0:
        if (auto* dialog = dynamic_cast<TLookupDialog*>(Component()))
            ModifiedOn(*this, EditLookupDialogConnections(dialog));
        break;
    case 1: ShowAboutBoxE("TLookupDialog", "Version 1.1"); break;
    default: break;
    }
}

std::string TLDialogEditor::GetVerb(int Index) { return VerbOf(Index, {"&Key Connections", "A&bout"}); }

int TLDialogEditor::GetVerbCount() { return 2; }

void TLFillEditor::ExecuteVerb(int Index) {
    auto* fill = dynamic_cast<TLookupFill*>(Component());
    switch (Index) {
    case 0:
        if (fill) ModifiedOn(*this, EditLookupFillConnections(fill, true));
        break;
    case 1:
        if (fill) ModifiedOn(*this, EditLookupFillConnections(fill, false));
        break;
    case 2: ShowAboutBoxE("TLookupFill", "Version 1.1"); break;
    default: break;
    }
}

std::string TLFillEditor::GetVerb(int Index) {
    return VerbOf(Index, {"&Key Connections", "&Result Connections", "A&bout"});
}

int TLFillEditor::GetVerbCount() { return 3; }

void TSDBLEditor::ExecuteVerb(int Index) {
    auto* smart = dynamic_cast<TSmartDBLookup*>(Component());
    switch (Index) {
    case 0:
        if (smart) ModifiedOn(*this, EditSmartDBLookupConnections(smart, true));
        break;
    case 1:
        if (smart) ModifiedOn(*this, EditSmartDBLookupConnections(smart, false));
        break;
    case 2: ShowAboutBoxE("TSmartDBLookup", "Version 1.0"); break;
    default: break;
    }
}

std::string TSDBLEditor::GetVerb(int Index) {
    return VerbOf(Index, {"&Key Connections", "&Result Connections", "A&bout"});
}

int TSDBLEditor::GetVerbCount() { return 3; }

// --- registration ---------------------------------------------------------------------

namespace Lddsgn {

void Register() {
    const TPropertyType strings = PropertyTypeOf(TStrings::ClassInfo());
    const TPropertyType shortCut = PropertyTypeNamed(ShortCutTypeInfo().Name);
    const TPropertyType string = PropertyTypeNamed("string");
    const TClass& dialog = TLookupDialog::ClassInfo();
    const TClass& fill = TLookupFill::ClassInfo();
    const TClass& smart = TSmartDBLookup::ClassInfo();
    RegisterComponentEditor(dialog, TLDialogEditor::ClassInfo());
    RegisterPropertyEditor(strings, &dialog, "KeyFields", TConnPropEditor::ClassInfo());
    RegisterPropertyEditor(strings, &dialog, "LookupKeyFields", TConnPropEditor::ClassInfo());
    RegisterPropertyEditor(shortCut, &dialog, "LookupShortCut", TShortCutProperty::ClassInfo());
    RegisterComponentEditor(fill, TLFillEditor::ClassInfo());
    RegisterPropertyEditor(strings, &fill, "KeyFields", TConnPropEditor::ClassInfo());
    RegisterPropertyEditor(strings, &fill, "ResultFields", TConnPropEditor::ClassInfo());
    RegisterPropertyEditor(strings, &fill, "LookupKeyFields", TConnPropEditor::ClassInfo());
    RegisterPropertyEditor(strings, &fill, "LookupResultFields", TConnPropEditor::ClassInfo());
    RegisterComponentEditor(smart, TSDBLEditor::ClassInfo());
    RegisterPropertyEditor(string, &smart, "ConnectionKey", TConnPropEditor::ClassInfo());
    RegisterPropertyEditor(string, &smart, "ConnectionResult", TConnPropEditor::ClassInfo());
    RegisterPropertyEditor(shortCut, &smart, "LookupShortCut", TShortCutProperty::ClassInfo());
}

void Initialization() {}
void Finalization() {}

} // namespace Lddsgn

} // namespace veskar
