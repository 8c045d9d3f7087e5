#include "lookup/LkFill.h"

#include "lookup/Activation.h"

#include "host/core/Publisher.h"

#include "host/core/ComponentRegistration.h"
#include "host/core/Exception.h"
#include "host/core/Guards.h"

namespace veskar {

using namespace host;

HOST_IMPLEMENT_CLASS(TKeyFieldDataLink, TFieldDataLink)
HOST_IMPLEMENT_COLLECTION_ITEM(TKeyLinkItem, TCollectionItem)
HOST_IMPLEMENT_COMPONENT(TLookupFill, TComponent)

std::string JoinFieldNames(const TStrings& Names) {
    std::string joined;
    for (int i = 0; i < Names.Count(); ++i) {
        if (!joined.empty()) joined += ';';
        joined += Names.Get(i);
    }
    return joined;
}

// ---- TKeyFieldDataLink ---------------------------------------------------

TKeyFieldDataLink::TKeyFieldDataLink() {
    OnFieldChange = nullptr;
    SetVisualControl(false);
    NotifyEnabled = true;
}

void TKeyFieldDataLink::RecordChanged(TField* Field) {
    inherited::RecordChanged(Field);
    // Names, not field objects, decide, and letter case counts; a link
    // without a handler (a result link) compares nothing.
    if (NotifyEnabled && OnFieldChange && Field && Field->FieldName() == FieldName()) OnFieldChange(this);
}

// ---- TKeyLinkItem --------------------------------------------------------

TKeyLinkItem::TKeyLinkItem(TCollection* Collection)
    : TCollectionItem(Collection), FDataLink(TKeyFieldDataLink::Create()) {}

// ---- TLookupFill: life ---------------------------------------------------

TLookupFill::TLookupFill(TComponent* AOwner)
    : TComponent(AOwner),
      FKeyFields(TStringList::Create()),
      FLookupKeyFields(TStringList::Create()),
      FResultFields(TStringList::Create()),
      FLookupResultFields(TStringList::Create()),
      FKeyLinks(TCollection::Create(TKeyLinkItem::ClassInfo())),
      FResultLinks(TCollection::Create(TKeyLinkItem::ClassInfo())) {
    for (TStringList* list : {FKeyFields.get(), FLookupKeyFields.get(), FResultFields.get(), FLookupResultFields.get()}) {
        list->OnChanging = TNotifyEvent::Method(this, &TLookupFill::ListsChanging, "ListsChanging");
        list->OnChange = TNotifyEvent::Method(this, &TLookupFill::ListsChanging, "ListsChanging");
    }
}

void TLookupFill::ListsChanging(TObject* /*Sender*/) { FNamesJoined = false; }

void TLookupFill::JoinNames() {
    if (FNamesJoined) return;
    FLookupKeyNames = JoinFieldNames(*FLookupKeyFields);
    FLookupResultNames = JoinFieldNames(*FLookupResultFields);
    // A list in the middle of an update reports its changes only at the
    // end: until then the names are joined on every use.
    FNamesJoined = FLookupKeyFields->UpdateCount() == 0 && FLookupResultFields->UpdateCount() == 0;
}

const std::string& TLookupFill::LookupKeyNames() {
    JoinNames();
    return FLookupKeyNames;
}

const std::string& TLookupFill::LookupResultNames() {
    JoinNames();
    return FLookupResultNames;
}

void TLookupFill::Destroy() {
    DestroyFieldLinks();
    inherited::Destroy();
}

void TLookupFill::Loaded() {
    inherited::Loaded();
    ApplyActiveAfterLoading(*this);
}

void TLookupFill::Notification(TComponent* AComponent, TOperation Operation) {
    inherited::Notification(AComponent, Operation);
    DropRemovedDataSource(*this, AComponent, Operation, FDataSource, &TLookupFill::SetDataSource);
    DropRemovedDataSource(*this, AComponent, Operation, FLookupDataSource, &TLookupFill::SetLookupDataSource);
}

// ---- published -------------------------------------------------------

void TLookupFill::DeclarePublished(TPublisher& publisher) {
    auto p = publisher.Of<TLookupFill>();
    // No defaults: the Booleans are written whatever their values.
    p.Boolean("Active", &TLookupFill::Active, &TLookupFill::SetActive);
    p.Component("DataSource", &TLookupFill::DataSource, &TLookupFill::SetDataSource);
    p.Component("LookupDataSource", &TLookupFill::LookupDataSource, &TLookupFill::SetLookupDataSource);
    p.Strings("KeyFields", &TLookupFill::KeyFields);
    p.Strings("LookupKeyFields", &TLookupFill::LookupKeyFields);
    p.Strings("ResultFields", &TLookupFill::ResultFields);
    p.Strings("LookupResultFields", &TLookupFill::LookupResultFields);
    p.Boolean("NullOnKeyNotFound", &TLookupFill::NullOnKeyNotFound, &TLookupFill::SetNullOnKeyNotFound);
    p.Boolean("ErrorOnKeyNotFound", &TLookupFill::ErrorOnKeyNotFound, &TLookupFill::SetErrorOnKeyNotFound);
    p.Event("BeforeLookup", &TLookupFill::BeforeLookup, "TLookupNotifyEvent");
    p.Event("AfterLookup", &TLookupFill::AfterLookup, "TLookupNotifyEvent");
    p.Event("OnLookupError", &TLookupFill::OnLookupError, "TLookupErrorEvent");
}

// ---- activation ----------------------------------------------------------

void TLookupFill::SetActive(bool Value) {
    SetActiveState(*this, FActive, Value, [this](bool on) {
        if (on)
            CreateFieldLinks();
        else
            DestroyFieldLinks();
    });
}

void TLookupFill::SetDataSource(TDataSource* Value) {
    ReplaceDataSource(*this, FDataSource, Value, FLookupDataSource);
}

void TLookupFill::SetLookupDataSource(TDataSource* Value) {
    ReplaceDataSource(*this, FLookupDataSource, Value, FDataSource);
}

// ---- links ---------------------------------------------------------------

TKeyFieldDataLink* TLookupFill::KeyLink(int N) const {
    return static_cast<TKeyLinkItem*>(FKeyLinks->Items(N))->DataLink();
}

TKeyFieldDataLink* TLookupFill::ResultLink(int N) const {
    return static_cast<TKeyLinkItem*>(FResultLinks->Items(N))->DataLink();
}

void TLookupFill::CreateFieldLinks() {
    DestroyFieldLinks();
    if (!FDataSource || !FLookupDataSource) return;
    if (FKeyFields->Count() != FLookupKeyFields->Count()) throw Exception("TLookupFill: Key fields doesn't match.");
    if (FResultFields->Count() != FLookupResultFields->Count())
        throw Exception("TLookupFill: Result fields doesn't match.");
    for (int n = 0; n < FKeyFields->Count(); ++n) {
        auto* link = static_cast<TKeyLinkItem*>(FKeyLinks->Add())->DataLink();
        link->SetDataSource(FDataSource);
        link->SetFieldName(FKeyFields->Get(n));
        link->OnFieldChange = TFieldChangeEvent::Method(this, &TLookupFill::KeyFieldChange, "KeyFieldChange");
        if (n == 0) link->OnActiveChange = TNotifyEvent::Method(this, &TLookupFill::ActiveChanged, "ActiveChanged");
    }
    for (int n = 0; n < FResultFields->Count(); ++n) {
        auto* link = static_cast<TKeyLinkItem*>(FResultLinks->Add())->DataLink();
        link->SetDataSource(FDataSource);
        link->SetFieldName(FResultFields->Get(n));
    }
}

void TLookupFill::DestroyFieldLinks() {
    // A link freed here while it is delivering the notice that led here is
    // only detached; the host frees it when its notice returns.
    FKeyLinks->Clear();
    FResultLinks->Clear();
}

void TLookupFill::KeyFieldChange(TFieldDataLink* /*Sender*/) {
    bool allKeysSet = FKeyLinks->Count() > 0;
    for (int n = 0; n < FKeyLinks->Count() && allKeysSet; ++n) {
        const TField* field = KeyLink(n)->Field();
        if (!field) {
            allKeysSet = false;
            break;
        }
        const Variant value = field->Value();
        if (value.IsEmpty() || value.IsNull()) allKeysSet = false;
    }
    if (allKeysSet && !FInLookup) DoLookup();
}

void TLookupFill::ActiveChanged(TObject* Sender) {
    if (!Sender || Sender != FDataSource || !FDataSource->DataSet()) return;
    if (FDataSource->DataSet()->Active())
        CreateFieldLinks();
    else
        DestroyFieldLinks();
}

// ---- lookup and copy -----------------------------------------------------

void TLookupFill::DoLookup() {
    const TScopedFlag inLookup(FInLookup);
    bool DOLOOKUP = true;
    if (BeforeLookup) BeforeLookup(this, DOLOOKUP);
    if (DOLOOKUP) LookupAndCopy();
    if (AfterLookup) AfterLookup(this, DOLOOKUP);
}

Variant TLookupFill::GatherKeyValues() const {
    if (FKeyFields->Count() < 2) {
        const TField* field = KeyLink(0)->Field();
        return field ? field->Value() : Variant();
    }
    Variant values = VarArrayCreate(0, FKeyFields->Count() - 1, varVariant);
    for (int n = 0; n < FKeyLinks->Count(); ++n)
        if (const TField* field = KeyLink(n)->Field()) VarArrayPut(values, field->Value(), n);
    return values;
}

void TLookupFill::LookupAndCopy() {
    if (FKeyFields->Count() != FKeyLinks->Count()) throw Exception("Key field number mismatch.");
    if (FLookupResultFields->Count() != FResultLinks->Count()) throw Exception("Rsult field number mismatch.");
    // Called by hand on a fill that is not linked, there is nothing to look up with.
    if (FKeyLinks->Count() == 0) throw Exception("TLookupFill: No key fields linked.");
    TDataSet* lookupDataSet = FLookupDataSource ? FLookupDataSource->DataSet() : nullptr;
    if (!lookupDataSet) throw Exception("TLookupFill: No lookup dataset.");

    const Variant keyValues = GatherKeyValues();
    if (!lookupDataSet->Active()) lookupDataSet->SetActive(true);
    TScratch scratch = std::move(FScratch);
    const TFinally giveBack([&] { FScratch = std::move(scratch); });
    // Copies: a handler reached from the lookup may change the lists.
    scratch.ResultNames = LookupResultNames();
    scratch.KeyNames = LookupKeyNames();
    if (lookupDataSet->LookupValues(scratch.KeyNames, keyValues, scratch.ResultNames, scratch.Values))
        CopyResult(scratch.Values);
    else
        ApplyNotFound();
}

void TLookupFill::ApplyNotFound() {
    if (FNullOnKeyNotFound)
        for (int n = 0; n < FResultLinks->Count(); ++n)
            if (TField* field = ResultLink(n)->Field()) field->Clear();
    if (OnLookupError)
        OnLookupError(this, 1);
    else if (FErrorOnKeyNotFound)
        throw Exception("TLookupFill: Key not found");
}

void TLookupFill::CopyResult(const std::vector<Variant>& Values) {
    // Value N goes to result field N; a plain value (one result name) to
    // the first.
    // The count is asked each time: a notice of a write may drop the links.
    for (int n = 0; n < FResultLinks->Count() && n < static_cast<int>(Values.size()); ++n)
        if (TField* field = ResultLink(n)->Field()) field->SetValue(Values[static_cast<size_t>(n)]);
}

} // namespace veskar

// The unit's start-up and shut-down, run by the package's Initialize and
// Finalize; they do nothing of their own. Register puts the fill on the
// designer's palette page "Dravik"; only the designer calls it.
namespace veskar::LkFill {

void Register() { host::RegisterComponents("Dravik", {&host::ClassOf<TLookupFill>()}); }

void Initialization() {}
void Finalization() {}

} // namespace veskar::LkFill
