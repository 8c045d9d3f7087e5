#include "lookup/Lsdblkp.h"

#include "lookup/Activation.h"

#include "host/core/ComponentRegistration.h"
#include "host/core/Exception.h"
#include "host/core/Publisher.h"
#include "host/ui/Dialogs.h"
#include "host/ui/Forms.h"
#include "host/ui/PropertyTypes.h"

#include <any>
#include <cstddef>
#include <typeinfo>

namespace veskar {

using namespace host;

// --- connection strings -------------------------------------------------------

namespace {

// A name runs up to the next "," or ";" or the end; spaces in it are
// dropped, every other character is kept.
std::string ReadName(const std::string& text, std::size_t& pos) {
    std::string name;
    for (; pos < text.size() && text[pos] != ',' && text[pos] != ';'; ++pos)
        if (text[pos] != ' ') name += text[pos];
    return name;
}

[[noreturn]] void ParseError(const char* what) { throw Exception(std::string("FieldPairParser: ") + what); }

void ParsePairs(const std::string& text, TStrings& first, TStrings& second) {
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::string firstName = ReadName(text, pos);
        // The comma comes first: a pair that starts with ";" lacks its comma.
        if (pos >= text.size() || text[pos] != ',') ParseError("Comma expected!");
        if (firstName.empty()) ParseError("Field missing!");
        ++pos;
        const std::string secondName = ReadName(text, pos);
        if (secondName.empty()) ParseError("PairParser: KeyField missing!");
        first.Add(firstName);
        second.Add(secondName);
        // A stray "," after a pair ends the text quietly.
        if (pos >= text.size() || text[pos] != ';') return;
        ++pos;
    }
}

} // namespace

void String2Lists(const std::string& Text, TStrings& First, TStrings& Second) {
    First.Clear();
    Second.Clear();
    try {
        ParsePairs(Text, First, Second);
    } catch (...) {
        // The caller learns of a bad text only from the empty lists; the
        // user sees why.
        First.Clear();
        Second.Clear();
        ShowCurrentException();
    }
}

void Lists2String(const TStrings& First, const TStrings& Second, std::string& Text) {
    Text.clear();
    if (First.Count() != Second.Count()) return;
    for (int i = 0; i < First.Count(); ++i) {
        if (!Text.empty()) Text += ';';
        Text += First.Get(i);
        Text += ',';
        Text += Second.Get(i);
    }
}

// --- TSmartDBLookup: life -------------------------------------------------------

HOST_IMPLEMENT_COMPONENT(TSmartDBLookup, TLookupContainer)

void TSmartDBLookup::Constructed() {
    // Insertion into the owner, and with it ValidateContainer, comes first.
    inherited::Constructed();
    FDialog = TLookupDialog::Create(this);
    FDialog->SetSubComponent(true);
    FDialog->SetActive(false);
    FLookupShortCut = FDialog->LookupShortCut();
    FFill = TLookupFill::Create(this);
    FFill->SetSubComponent(true);
    FFill->SetActive(false);
    FActive = true;
    FDataSource = nullptr;
    FLookupDataSource = nullptr;
    FConnectionKey.clear();
    FConnectionResult.clear();
    FGetLookupFormClass.Clear();
    FErrorOnKeyNotFound = true;
    FNullOnKeyNotFound = true;
    FBeforeLookup.Clear();
    FAfterLookup.Clear();
    FOnLookupError.Clear();
}

void TSmartDBLookup::Destroy() {
    FreeAndNil(FDialog);
    FreeAndNil(FFill);
    inherited::Destroy();
}

void TSmartDBLookup::ValidateContainer(TComponent* AComponent) {
    inherited::ValidateContainer(AComponent);
    if (!Is<TCustomForm>(AComponent)) throw Exception("TSmartDBLookup: Container must be TCustomForm.");
}

void TSmartDBLookup::Notification(TComponent* AComponent, TOperation Operation) {
    inherited::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    // The inner components drop their own references through their own
    // notices; these are the smart lookup's, which it pushes on activation.
    if (AComponent == FDataSource) FDataSource = nullptr;
    if (AComponent == FLookupDataSource) FLookupDataSource = nullptr;
    if (AComponent == FDialog) FDialog = nullptr;
    if (AComponent == FFill) FFill = nullptr;
}

// --- TSmartDBLookup: published ----------------------------------------------------

namespace {

// An event property whose writer forwards: read through Get, written
// through Set, bound by name from form files like any event.
template <class E, class G, class S>
void EventProperty(TPublisher& publisher, const char* name, const char* typeName, G get, S set) {
    TPropInfo p;
    p.Name = name;
    p.Kind = pkMethod;
    p.TypeName = typeName;
    p.EventType = typeid(E);
    p.GetMethod = [get](const TObject* o) {
        const E& e = (publishing::Self<TSmartDBLookup>(o).*get)();
        return TMethodRef{e.Assigned(), e.Data(), e.MethodName()};
    };
    p.SetMethod = [set](TObject* o, const std::any& value) {
        TSmartDBLookup& self = publishing::Self<TSmartDBLookup>(o);
        if (!value.has_value()) {
            (self.*set)(E());
            return;
        }
        const E* bound = std::any_cast<E>(&value);
        if (!bound) publishing::InvalidValue();
        (self.*set)(*bound);
    };
    publisher.AddProp(std::move(p));
}

} // namespace

void TSmartDBLookup::DeclarePublished(TPublisher& publisher) {
    using T = TSmartDBLookup;
    auto p = publisher.Of<T>();
    // No defaults: Active, the shortcut and the policies are written
    // whatever their values.
    p.Boolean("Active", &T::Active, &T::SetActive);
    p.Component("DataSource", &T::DataSource, &T::SetDataSource);
    p.Component("LookupDataSource", &T::LookupDataSource, &T::SetLookupDataSource);
    p.String("ConnectionKey", &T::ConnectionKey, &T::SetKeyConnection);
    p.String("ConnectionResult", &T::ConnectionResult, &T::SetResultConnection);
    p.Integer("LookupShortCut", &T::LookupShortCut, &T::SetLookupShortCut, ShortCutTypeInfo());
    EventProperty<TGetLookupFormClassEvent>(publisher, "GetLookupFormClass", "TGetLookupFormClassEvent",
                                            &T::GetLookupFormClass, &T::SetGetLookupFormClass);
    EventProperty<TNotifyEvent>(publisher, "OnSyncLookupDataSource", "TNotifyEvent", &T::OnSyncLookupDataSource,
                                &T::SetOnSyncLookupDataSource);
    p.Boolean("NullOnKeyNotFound", &T::NullOnKeyNotFound, &T::SetNullOnKeyNotFound);
    p.Boolean("ErrorOnKeyNotFound", &T::ErrorOnKeyNotFound, &T::SetErrorOnKeyNotFound);
    EventProperty<TLookupNotifyEvent>(publisher, "BeforeLookup", "TLookupNotifyEvent", &T::BeforeLookup,
                                      &T::SetBeforeLookup);
    EventProperty<TLookupNotifyEvent>(publisher, "AfterLookup", "TLookupNotifyEvent", &T::AfterLookup,
                                      &T::SetAfterLookup);
    EventProperty<TLookupErrorEvent>(publisher, "OnLookupError", "TLookupErrorEvent", &T::OnLookupError,
                                     &T::SetOnLookupError);
}

// --- TSmartDBLookup: activation -----------------------------------------------------

void TSmartDBLookup::Loaded() {
    inherited::Loaded();
    ApplyActiveAfterLoading(*this);
}

void TSmartDBLookup::SetActive(bool Value) {
    SetActiveState(*this, FActive, Value, [this](bool on) {
        if (on) {
            // The only moment data sources and connections surely reach the
            // inner components: a form read only kept them.
            SetDataSource(FDataSource);
            SetLookupDataSource(FLookupDataSource);
            SetKeyConnection(FConnectionKey);
            SetResultConnection(FConnectionResult);
        }
        // Dialog first, fill second, both ways.
        if (FDialog) FDialog->SetActive(on);
        if (FFill) FFill->SetActive(on);
    });
}

// --- TSmartDBLookup: forwarding writers -------------------------------------------

void TSmartDBLookup::SetDataSource(TDataSource* Value) {
    if (!ComponentState().Contains(csLoading)) {
        if (FDialog) FDialog->SetDataSource(Value);
        if (FFill) FFill->SetDataSource(Value);
    }
    WatchDataSource(*this, FDataSource, Value, FLookupDataSource);
}

void TSmartDBLookup::SetLookupDataSource(TDataSource* Value) {
    if (!ComponentState().Contains(csLoading)) {
        if (FDialog) FDialog->SetLookupDataSource(Value);
        if (FFill) FFill->SetLookupDataSource(Value);
    }
    WatchDataSource(*this, FLookupDataSource, Value, FDataSource);
}

void TSmartDBLookup::SetKeyConnection(const std::string& Value) {
    if (!ComponentState().Contains(csLoading) && FDialog && FFill) {
        // Into the fill's own lists, not through its writers; the dialog
        // gets copies of the same pairs.
        String2Lists(Value, *FFill->KeyFields(), *FFill->LookupKeyFields());
        FDialog->SetKeyFields(FFill->KeyFields());
        FDialog->SetLookupKeyFields(FFill->LookupKeyFields());
    }
    FConnectionKey = Value;
}

void TSmartDBLookup::SetResultConnection(const std::string& Value) {
    if (!ComponentState().Contains(csLoading) && FFill)
        String2Lists(Value, *FFill->ResultFields(), *FFill->LookupResultFields());
    FConnectionResult = Value;
}

// Events, policies and the shortcut reach the inner components also while
// a form is read: they need nothing that is read later.

void TSmartDBLookup::SetLookupShortCut(TShortCut Value) {
    if (FDialog) FDialog->SetLookupShortCut(Value);
    FLookupShortCut = Value;
}

void TSmartDBLookup::SetGetLookupFormClass(const TGetLookupFormClassEvent& Value) {
    if (FDialog) FDialog->GetLookupFormClass = Value;
    FGetLookupFormClass = Value;
}

void TSmartDBLookup::SetOnSyncLookupDataSource(const TNotifyEvent& Value) {
    if (FDialog) FDialog->OnSyncLookupDataSource = Value;
    FOnSyncLookupDataSource = Value;
}

void TSmartDBLookup::SetNullOnKeyNotFound(bool Value) {
    if (FFill) FFill->SetNullOnKeyNotFound(Value);
    FNullOnKeyNotFound = Value;
}

void TSmartDBLookup::SetErrorOnKeyNotFound(bool Value) {
    if (FFill) FFill->SetErrorOnKeyNotFound(Value);
    FErrorOnKeyNotFound = Value;
}

void TSmartDBLookup::SetBeforeLookup(const TLookupNotifyEvent& Value) {
    if (FFill) FFill->BeforeLookup = Value;
    FBeforeLookup = Value;
}

void TSmartDBLookup::SetAfterLookup(const TLookupNotifyEvent& Value) {
    if (FFill) FFill->AfterLookup = Value;
    FAfterLookup = Value;
}

void TSmartDBLookup::SetOnLookupError(const TLookupErrorEvent& Value) {
    if (FFill) FFill->OnLookupError = Value;
    FOnLookupError = Value;
}

namespace Lsdblkp {

void Register() { RegisterComponents("Dravik", {&ClassOf<TSmartDBLookup>()}); }

void Initialization() {}
void Finalization() {}

} // namespace Lsdblkp

} // namespace veskar
