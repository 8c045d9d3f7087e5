#include "lookup/Ldlkpdlg.h"

#include "lookup/Activation.h"
#include "lookup/Lddlg.h"

#include "host/core/ComponentRef.h"
#include "host/core/ComponentRegistration.h"
#include "host/core/Exception.h"
#include "host/core/Guards.h"
#include "host/core/Publisher.h"
#include "host/core/TextUtils.h"
#include "host/core/Variant.h"
#include "host/data/DataSet.h"
#include "host/ui/DBCtrls.h"
#include "host/ui/Dialogs.h"
#include "host/ui/Forms.h"
#include "host/ui/Grids.h"
#include "host/ui/PropertyTypes.h"
#include "host/ui/StdCtrls.h"

#include <utility>
#include <vector>

namespace veskar {

using namespace host;

// --- collecting controls ------------------------------------------------------

namespace {

// Walks Control and its windowed descendants depth first, adding those
// Condition accepts. A template, so that the dialog's own capture calls its
// test directly rather than through an event.
template <class Condition>
void VisitControl(TWinControl* control, TList* list, const Condition& condition) {
    if (!control) return;
    // Counted before the test: a child the test adds is not visited.
    const int childCount = control->ControlCount();
    if (condition(control)) list->Add(control);
    constexpr int kAhead = 4;  // controls lie scattered in memory: ask for the next ones early
    for (int i = 0; i < childCount; ++i) {
        // Against the list as it is now: a test may have taken children away.
        if (i + kAhead < control->ControlCount()) __builtin_prefetch(control->Controls(i + kAhead));
        // A child that fails (gone meanwhile, a raising condition) is
        // skipped; its siblings are still visited.
        try {
            if (auto* child = KindOf<TWinControl>(control->Controls(i))) VisitControl(child, list, condition);
        } catch (...) {
        }
    }
}

template <class Condition>
void CollectControls(TWinControl* Control, TList* List, const Condition& condition) {
    List->Clear();
    try {
        VisitControl(Control, List, condition);
    } catch (...) {
        // An error on the starting control ends the walk; what was collected
        // stays.
    }
}

} // namespace

void GetAllControlsInAList(TWinControl* Control, TList* List, const TConditionMethod& Condition) {
    if (!List || !Condition) return;
    CollectControls(Control, List, Condition);
}

// --- TLookupFieldConnection ---------------------------------------------------

HOST_IMPLEMENT_COLLECTION_ITEM(TLookupFieldConnection, TCollectionItem)

TLookupFieldConnection::TLookupFieldConnection(TCollection* Collection)
    : TCollectionItem(Collection), FKeyLink(TFieldDataLink::Create()), FLookupLink(TFieldDataLink::Create()) {}

// --- TLookupContainer, TLookupDialogControlsList --------------------------------

HOST_IMPLEMENT_COMPONENT(TLookupContainer, TComponent)

HOST_IMPLEMENT_CLASS(TLookupDialogControlsList, TLookupControlsList)

bool TLookupDialogControlsList::CheckControlLookup(TWinControl* Control, TField* Field) {
    return FOwnerDialog && FOwnerDialog->CheckControlLookup(Control, Field);
}

void TLookupDialogControlsList::LookupButtonClicked(TWinControl* Control, TField* Field) {
    if (FOwnerDialog) FOwnerDialog->LookupButtonClicked(Control, Field);
}

// --- TLookupDialog: life --------------------------------------------------------

HOST_IMPLEMENT_COMPONENT(TLookupDialog, TComponent)

TLookupDialog::TLookupDialog(TComponent* AOwner)
    : TComponent(AOwner),
      FKeyFields(TStringList::Create()),
      FLookupKeyFields(TStringList::Create()),
      FControlsList(TLookupDialogControlsList::Create(this)),
      FConnections(TCollection::Create(TLookupFieldConnection::ClassInfo())) {}

void TLookupDialog::Destroy() {
    // The captured controls' links call back into the dialog: they go while
    // it is whole.
    FControlsList.reset();
    inherited::Destroy();
}

void TLookupDialog::Detach() {
    SetActive(false);
    // Inactive now, so dropping the sources rebuilds nothing.
    SetDataSource(nullptr);
    SetLookupDataSource(nullptr);
}

void TLookupDialog::ValidateContainer(TComponent* AComponent) {
    inherited::ValidateContainer(AComponent);
    if (!Is<TLookupContainer>(AComponent) && !Is<TCustomForm>(AComponent))
        throw Exception("TLookupDialog: Container must be TCustomForm or TLookupContainer.");
}

// --- TLookupDialog: properties --------------------------------------------------

void TLookupDialog::DeclarePublished(TPublisher& publisher) {
    auto p = publisher.Of<TLookupDialog>();
    p.Component("DataSource", &TLookupDialog::DataSource, &TLookupDialog::SetDataSource);
    p.Component("LookupDataSource", &TLookupDialog::LookupDataSource, &TLookupDialog::SetLookupDataSource);
    p.Strings("KeyFields", &TLookupDialog::KeyFields);
    p.Strings("LookupKeyFields", &TLookupDialog::LookupKeyFields);
    // No defaults: Active and the shortcut are written whatever their values.
    p.Boolean("Active", &TLookupDialog::Active, &TLookupDialog::SetActive);
    p.Integer("LookupShortCut", &TLookupDialog::GetShortCut, &TLookupDialog::SetShortCut, ShortCutTypeInfo());
    p.Event("GetLookupFormClass", &TLookupDialog::GetLookupFormClass, "TGetLookupFormClassEvent");
    p.Event("OnSyncLookupDataSource", &TLookupDialog::OnSyncLookupDataSource);
}

TShortCut TLookupDialog::GetShortCut() const { return FControlsList ? FControlsList->LookupShortCut() : 0; }

void TLookupDialog::SetShortCut(TShortCut Value) {
    if (FControlsList) FControlsList->SetLookupShortCut(Value);
}

TLookupFieldConnection* TLookupDialog::Connection(int Index) const {
    return static_cast<TLookupFieldConnection*>(FConnections->Items(Index));
}

void TLookupDialog::SetActive(bool Value) {
    SetActiveState(*this, FActive, Value, [this](bool on) {
        if (on) {
            CreateFieldLinks();
            CaptureControls();
        } else {
            UnCaptureControls();
            DestroyFieldLinks();
        }
    });
}

void TLookupDialog::Loaded() {
    inherited::Loaded();
    ApplyActiveAfterLoading(*this);
}

void TLookupDialog::SetDataSource(TDataSource* Value) {
    ReplaceDataSource(*this, FDataSource, Value, FLookupDataSource);
}

void TLookupDialog::SetLookupDataSource(TDataSource* Value) {
    ReplaceDataSource(*this, FLookupDataSource, Value, FDataSource);
}

void TLookupDialog::Notification(TComponent* AComponent, TOperation Operation) {
    inherited::Notification(AComponent, Operation);
    DropRemovedDataSource(*this, AComponent, Operation, FDataSource, &TLookupDialog::SetDataSource);
    DropRemovedDataSource(*this, AComponent, Operation, FLookupDataSource, &TLookupDialog::SetLookupDataSource);
}

// --- TLookupDialog: links -------------------------------------------------------

void TLookupDialog::CreateFieldLinks() {
    DestroyFieldLinks();
    if (!FDataSource || !FLookupDataSource) return;
    if (FKeyFields->Count() != FLookupKeyFields->Count()) throw Exception("TLookupDialog: Fields doesn't match.");
    for (int n = 0; n < FKeyFields->Count(); ++n) {
        auto* connection = static_cast<TLookupFieldConnection*>(FConnections->Add());
        connection->KeyLink()->SetDataSource(FDataSource);
        connection->KeyLink()->SetFieldName(FKeyFields->Strings(n));
        connection->LookupLink()->SetDataSource(FLookupDataSource);
        connection->LookupLink()->SetFieldName(FLookupKeyFields->Strings(n));
        if (n == 0) {
            const auto handler = TNotifyEvent::Method(this, &TLookupDialog::ActiveChanged, "ActiveChanged");
            connection->KeyLink()->OnActiveChange = handler;
            connection->LookupLink()->OnActiveChange = handler;
        }
    }
}

void TLookupDialog::DestroyFieldLinks() { FConnections->Clear(); }

void TLookupDialog::ActiveChanged(TObject* Sender) {
    if (!FActive || ComponentState().Contains(csDesigning)) return;
    auto* link = As<TFieldDataLink>(Sender);
    if (link && link->DataSource() == FDataSource && link->Active()) CaptureControls();
}

int TLookupDialog::FindKeyField(const TField* Field) const {
    if (!Field) return -1;
    for (int i = 0; i < FConnections->Count(); ++i)
        if (Connection(i)->KeyLink()->Field() == Field) return i;
    return -1;
}

// --- TLookupDialog: capture -----------------------------------------------------

bool TLookupDialog::IsControlLookupable(TWinControl* Control) {
    if (auto* edit = KindOf<TDBEdit>(Control); edit && edit->DataSource() == FDataSource) {
        const std::string& field = edit->DataField();
        for (int i = 0; i < FKeyFields->Count(); ++i)
            if (SameText(field, FKeyFields->StringRef(i))) return true;
        return false;
    }
    if (auto* grid = KindOf<TCustomDBGrid>(Control); grid && grid->DataSource() == FDataSource) return true;
    return false;
}

TWinControl* TLookupDialog::FindForm() const {
    for (TComponent* owner = Owner(); owner; owner = owner->Owner())
        if (auto* control = As<TWinControl>(owner)) return control;
    return nullptr;
}

void TLookupDialog::CaptureControls() {
    TWinControl* form = FindForm();
    if (!form) {
        UnCaptureControls();
        return;
    }
    Owned<TList> found(TList::Create());
    CollectControls(form, found.get(), [this](TWinControl* control) { return IsControlLookupable(control); });
    // Controls captured before keep their links: capturing again after a
    // reopen costs no new component per control.
    FControlsList->RecaptureControls(*found);
}

void TLookupDialog::UnCaptureControls() { FControlsList->Clear(); }

bool TLookupDialog::CheckControlLookup(TWinControl* Control, TField* Field) {
    if (!Field) return false;
    if (auto* edit = As<TDBEdit>(Control)) {
        const TDataSource* source = edit->DataSource();
        if (source && source->DataSet() && source->DataSet()->Active()) return true;
    }
    if (Is<TCustomDBGrid>(Control)) return FindKeyField(Field) >= 0;
    return false;
}

void TLookupDialog::LookupButtonClicked(TWinControl* Control, TField* Field) { GoLookupDialog(Control, Field, nullptr); }

// --- TLookupDialog: the lookup run ----------------------------------------------

TBaseLookupForm* TLookupDialog::CreateLookupForm(TBaseLookupFormClass FormClass) {
    if (!FormClass->InheritsFrom(TBaseLookupForm::ClassInfo()))
        throw EInvalidCast("TLookupDialog: " + FormClass->ClassName() + " is not a lookup form");
    return static_cast<TBaseLookupForm*>(FormClass->Create(Owner()));
}

void TLookupDialog::GoLookupDialog(TWinControl* Control, TField* Field, TBaseLookupFormClass FormClass) {
    if (!FLookupDataSource || !FLookupDataSource->DataSet()) return;
    TBaseLookupFormClass formClass = FormClass;
    if (GetLookupFormClass) formClass = GetLookupFormClass(this);
    if (!formClass) formClass = &ClassOf<TDefaultLookupForm>();

    TKeepAlive running(this);
    // The form may be freed during its modal run; the reference hears of it.
    TComponentRef<TBaseLookupForm> lookupForm(CreateLookupForm(formClass));
    std::optional<std::string> errorMessage;
    {
        // The form goes at the end of this block, however it ends.
        const TFinally freeForm([&] { lookupForm.FreeTarget(); });
        auto form = [&] { return lookupForm.Get(); };

        TDataSet* lookupSet = FLookupDataSource->DataSet();
        if (!lookupSet->Active())
            lookupSet->Open();
        else
            lookupSet->Refresh();
        PositionLookupDataSet(Control, Field);
        if (form() && FLookupDataSource) form()->SetDataSource(FLookupDataSource);
        if (form()) PlaceForm(form(), Control);
        if (form() && form()->ShowModal() == mrOk) {
            try {
                CopyLookupData();
            } catch (const Exception& e) {
                errorMessage = e.Message();
            }
        }
    }
    if (errorMessage) throw Exception(*errorMessage);
}

void TLookupDialog::PositionLookupDataSet(TWinControl* Control, TField* Field) {
    if (OnSyncLookupDataSource) {
        OnSyncLookupDataSource(this);
        return;
    }
    const int count = FConnections->Count();
    if (count == 0 || !FLookupDataSource || !FLookupDataSource->DataSet()) return;
    std::string names;
    Variant values = VarArrayCreate(0, count - 1, varVariant);
    for (int n = 0; n < count; ++n) {
        const TLookupFieldConnection* connection = Connection(n);
        if (!names.empty()) names += ";";
        names += connection->LookupLink()->FieldName();
        const TField* keyField = connection->KeyLink()->Field();
        // A key without its field (the destination is closed) gives nothing
        // to search for: the lookup dataset stays where it is.
        if (!keyField) return;
        Variant value = keyField->Value();
        if (keyField == Field) {
            // What the user typed but has not posted yet is what is searched.
            if (auto* edit = As<TCustomMaskEdit>(Control))
                value = edit->Text();
            else if (auto* grid = As<TCustomGrid>(Control); grid && grid->InplaceEditor())
                value = grid->InplaceEditor()->Text();
        }
        VarArrayPut(values, value, n);
    }
    try {
        FLookupDataSource->DataSet()->Locate(names, count == 1 ? VarArrayGet(values, 0) : values,
                                             TLocateOptions{loCaseInsensitive, loPartialKey});
    } catch (...) {
        // Not found or not searchable: the form opens on the current record.
    }
}

void TLookupDialog::PlaceForm(TBaseLookupForm* Form, TWinControl* Control) const {
    if (!Form || !Control) return;
    TWinControl* anchor = Control;
    if (auto* grid = As<TCustomGrid>(Control); grid && grid->InplaceEditor()) anchor = grid->InplaceEditor();
    const TPoint origin = anchor->ClientOrigin();
    int x = origin.X + anchor->Width();
    int y = origin.Y;
    if (Screen()->Height() < y + Form->Height()) y = Screen()->Height() - Form->Height();
    if (y < 1) y = 5;
    if (Screen()->Width() < x + Form->Width()) x = Screen()->Width() - Form->Width();
    if (x < 1) x = 5;
    Form->SetPosition(poDesigned);
    Form->SetLeft(x);
    Form->SetTop(y);
}

void TLookupDialog::CopyLookupData() {
    if (!FLookupDataSource || !FLookupDataSource->DataSet() || !FLookupDataSource->DataSet()->Active()) return;
    if (!FDataSource || !FDataSource->DataSet()) return;
    TDataSet* destination = FDataSource->DataSet();
    // The chosen record is read whole before anything is written: storage
    // that fails to give a value leaves the destination, and the text the
    // user typed into its controls, as they were.
    std::vector<std::pair<TLookupFieldConnection*, Variant>> chosen;
    try {
        for (int n = 0; n < FConnections->Count(); ++n) {
            TLookupFieldConnection* connection = Connection(n);
            TField* lookupField = connection->LookupLink()->Field();
            if (connection->KeyLink()->Field() && lookupField) chosen.emplace_back(connection, lookupField->Value());
        }
    } catch (...) {
        ShowCurrentException();
        return;
    }
    TField* lastCopied = nullptr;
    {
        const TControlsDisabled quiet(*destination);
        try {
            for (auto& [connection, value] : chosen) {
                TField* keyField = connection->KeyLink()->Field();
                if (!keyField) continue;
                if (!connection->KeyLink()->Editing()) connection->KeyLink()->Edit();
                keyField->SetValue(value);
                lastCopied = keyField;
            }
        } catch (...) {
            // Shown once; what was copied stays copied.
            ShowCurrentException();
        }
    }
    // One change notice, now that the controls hear again, for the last key
    // copied: a fill on the same keys runs from it.
    if (lastCopied) lastCopied->SetValue(lastCopied->Value());
}

namespace Ldlkpdlg {

void Register() { RegisterComponents("Dravik", {&ClassOf<TLookupDialog>()}); }

void Initialization() {}
void Finalization() {}

} // namespace Ldlkpdlg

} // namespace veskar
