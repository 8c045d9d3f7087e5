#pragma once
// Lsdblkp: connection strings and the smart lookup.
//
// A connection string is two paired field lists as one line of text: each
// pair is a destination field name and a lookup field name joined by ",",
// the pairs joined by ";" ("CustNo,CustNo;ShipTo,Company").
//
// TSmartDBLookup owns one TLookupDialog and one TLookupFill and drives both
// from one set of properties: both get the same key pairs, so a record
// picked in the dialog (which copies its keys into the destination) is
// followed by the fill's lookup, which copies its result fields too.

#include "host/core/Export.h"
#include "host/core/Component.h"
#include "host/core/Event.h"
#include "host/core/Strings.h"
#include "host/data/DataSource.h"
#include "host/ui/ShortCuts.h"
#include "lookup/Ldlkpdlg.h"
#include "lookup/LkFill.h"

#include <string>

VESKAR_PUBLIC_BEGIN

namespace veskar {

// Fills First with the first name of each pair of Text and Second with the
// second, in text order; both lists are emptied first. Spaces are dropped
// wherever they stand; a ";" after the last pair is allowed; a "," after a
// pair ends the parse and the rest is ignored. A malformed text never
// raises: its message ("FieldPairParser: ...") is shown once through
// ShowException and both lists are left empty.
void String2Lists(const std::string& Text, host::TStrings& First, host::TStrings& Second);

// Sets Text to the pairs of First and Second in list order; the empty text
// when the lists differ in count (or are empty).
void Lists2String(const host::TStrings& First, const host::TStrings& Second, std::string& Text);

// Every published property is kept here and forwarded to the inner
// component that uses it. While a form is read, data sources and
// connections are only kept; activation pushes them into the inner
// components, then activates the dialog before the fill. Event handlers
// are copied into the inner components, which call them with themselves as
// sender. The owner must be a form (or none).
class TSmartDBLookup : public TLookupContainer {
    HOST_CLASS(TSmartDBLookup, TLookupContainer)
    static void DeclarePublished(::host::TPublisher& publisher);
public:
    bool Active() const { return FActive; }
    void SetActive(bool Value);
    host::TDataSource* DataSource() const { return FDataSource; }
    void SetDataSource(host::TDataSource* Value);
    host::TDataSource* LookupDataSource() const { return FLookupDataSource; }
    void SetLookupDataSource(host::TDataSource* Value);
    // Read back exactly as last assigned, whether or not it parsed.
    const std::string& ConnectionKey() const { return FConnectionKey; }
    void SetKeyConnection(const std::string& Value);
    const std::string& ConnectionResult() const { return FConnectionResult; }
    void SetResultConnection(const std::string& Value);
    host::TShortCut LookupShortCut() const { return FLookupShortCut; }
    void SetLookupShortCut(host::TShortCut Value);

    const TGetLookupFormClassEvent& GetLookupFormClass() const { return FGetLookupFormClass; }
    void SetGetLookupFormClass(const TGetLookupFormClassEvent& Value);
    const host::TNotifyEvent& OnSyncLookupDataSource() const { return FOnSyncLookupDataSource; }
    void SetOnSyncLookupDataSource(const host::TNotifyEvent& Value);

    bool NullOnKeyNotFound() const { return FNullOnKeyNotFound; }
    void SetNullOnKeyNotFound(bool Value);
    bool ErrorOnKeyNotFound() const { return FErrorOnKeyNotFound; }
    void SetErrorOnKeyNotFound(bool Value);
    const TLookupNotifyEvent& BeforeLookup() const { return FBeforeLookup; }
    void SetBeforeLookup(const TLookupNotifyEvent& Value);
    const TLookupNotifyEvent& AfterLookup() const { return FAfterLookup; }
    void SetAfterLookup(const TLookupNotifyEvent& Value);
    const TLookupErrorEvent& OnLookupError() const { return FOnLookupError; }
    void SetOnLookupError(const TLookupErrorEvent& Value);

    // The inner components; nil only after a failed construction.
    TLookupDialog* Dialog() const { return FDialog; }
    TLookupFill* Fill() const { return FFill; }

    // Accepts only a form as owner.
    void ValidateContainer(host::TComponent* AComponent) override;
    void Notification(host::TComponent* AComponent, host::TOperation Operation) override;

protected:
    explicit TSmartDBLookup(host::TComponent* AOwner) : TLookupContainer(AOwner) {}
    // The inner components are made once the owner has accepted this one,
    // so a refused owner leaves nothing of them to free.
    void Constructed() override;
    void Destroy() override;
    void Loaded() override;

private:
    bool FActive = true;
    TLookupFill* FFill = nullptr;
    TLookupDialog* FDialog = nullptr;
    host::TDataSource* FDataSource = nullptr;
    host::TDataSource* FLookupDataSource = nullptr;
    std::string FConnectionKey;
    std::string FConnectionResult;
    host::TShortCut FLookupShortCut = 0;
    TGetLookupFormClassEvent FGetLookupFormClass;
    host::TNotifyEvent FOnSyncLookupDataSource;
    bool FErrorOnKeyNotFound = true;
    bool FNullOnKeyNotFound = true;
    TLookupNotifyEvent FBeforeLookup;
    TLookupNotifyEvent FAfterLookup;
    TLookupErrorEvent FOnLookupError;
};

namespace Lsdblkp {

// Puts the unit's component on the designer's palette page "Dravik";
// called by the designer after it loads the package, never at run time.
void Register();

// The unit's start-up and shut-down, run by the package's Initialize and
// Finalize; they do nothing of their own.
void Initialization();
void Finalization();

} // namespace Lsdblkp

} // namespace veskar

VESKAR_PUBLIC_END
