#pragma once
// TLookupFill: fills a destination record's result fields from the matching
// record of a lookup dataset whenever one of its key fields changes.

#include "host/core/Export.h"
#include "host/core/Collection.h"
#include "host/core/Component.h"
#include "host/core/Event.h"
#include "host/core/Strings.h"
#include "host/data/DataLink.h"
#include "host/data/DataSource.h"

#include <string>
#include <vector>

VESKAR_PUBLIC_BEGIN

namespace veskar {

class TLookupFill;

using TFieldChangeEvent = host::TEvent<void(host::TFieldDataLink* AFieldLink)>;
using TLookupNotifyEvent = host::TEvent<void(TLookupFill* Sender, bool& DOLOOKUP)>;
using TLookupErrorEvent = host::TEvent<void(TLookupFill* Sender, int ErrCode)>;

// A field link that reports changes of its own field, by name.
class TKeyFieldDataLink : public host::TFieldDataLink {
    HOST_CLASS(TKeyFieldDataLink, host::TFieldDataLink)
public:
    TFieldChangeEvent OnFieldChange;
    bool NotifyEnabled = true;

protected:
    TKeyFieldDataLink();
    void RecordChanged(host::TField* Field) override;
};

// A collection item that owns one key field link.
class TKeyLinkItem : public host::TCollectionItem {
    HOST_CLASS(TKeyLinkItem, host::TCollectionItem)
public:
    TKeyFieldDataLink* DataLink() const { return FDataLink.get(); }

protected:
    explicit TKeyLinkItem(host::TCollection* Collection);

private:
    host::Owned<TKeyFieldDataLink> FDataLink;
};

class TLookupFill : public host::TComponent {
    HOST_CLASS(TLookupFill, host::TComponent)
    static void DeclarePublished(::host::TPublisher& publisher);
public:
    bool Active() const { return FActive; }
    void SetActive(bool Value);
    host::TDataSource* DataSource() const { return FDataSource; }
    void SetDataSource(host::TDataSource* Value);
    host::TDataSource* LookupDataSource() const { return FLookupDataSource; }
    void SetLookupDataSource(host::TDataSource* Value);

    host::TStrings* KeyFields() const { return FKeyFields.get(); }
    void SetKeyFields(const host::TStrings* Value) { FKeyFields->Assign(Value); }
    host::TStrings* LookupKeyFields() const { return FLookupKeyFields.get(); }
    void SetLookupKeyFields(const host::TStrings* Value) { FLookupKeyFields->Assign(Value); }
    host::TStrings* ResultFields() const { return FResultFields.get(); }
    void SetResultFields(const host::TStrings* Value) { FResultFields->Assign(Value); }
    host::TStrings* LookupResultFields() const { return FLookupResultFields.get(); }
    void SetLookupResultFields(const host::TStrings* Value) { FLookupResultFields->Assign(Value); }

    host::TCollection* KeyLinks() const { return FKeyLinks.get(); }
    host::TCollection* ResultLinks() const { return FResultLinks.get(); }

    bool NullOnKeyNotFound() const { return FNullOnKeyNotFound; }
    void SetNullOnKeyNotFound(bool Value) { FNullOnKeyNotFound = Value; }
    bool ErrorOnKeyNotFound() const { return FErrorOnKeyNotFound; }
    void SetErrorOnKeyNotFound(bool Value) { FErrorOnKeyNotFound = Value; }
    bool InLookup() const { return FInLookup; }

    TLookupNotifyEvent BeforeLookup;
    TLookupNotifyEvent AfterLookup;
    TLookupErrorEvent OnLookupError;

    virtual void CreateFieldLinks();
    virtual void DestroyFieldLinks();
    virtual void DoLookup();

    // Handlers the links are wired to.
    void KeyFieldChange(host::TFieldDataLink* Sender);
    void ActiveChanged(host::TObject* Sender);

    // The link of key link item N, result link item N.
    TKeyFieldDataLink* KeyLink(int N) const;
    TKeyFieldDataLink* ResultLink(int N) const;

protected:
    explicit TLookupFill(host::TComponent* AOwner);
    void Destroy() override;
    void Loaded() override;
    void Notification(host::TComponent* AComponent, host::TOperation Operation) override;

private:
    VESKAR_LOCAL void LookupAndCopy();
    VESKAR_LOCAL host::Variant GatherKeyValues() const;
    VESKAR_LOCAL void ApplyNotFound();
    VESKAR_LOCAL void CopyResult(const std::vector<host::Variant>& Values);
    // The lookup's ";"-joined name lists, joined again only after one of
    // the four lists changed.
    VESKAR_LOCAL void ListsChanging(host::TObject* Sender);
    VESKAR_LOCAL const std::string& LookupKeyNames();
    VESKAR_LOCAL const std::string& LookupResultNames();
    VESKAR_LOCAL void JoinNames();

    bool FActive = true;
    host::TDataSource* FDataSource = nullptr;
    host::TDataSource* FLookupDataSource = nullptr;
    host::Owned<host::TStringList> FKeyFields;
    host::Owned<host::TStringList> FLookupKeyFields;
    host::Owned<host::TStringList> FResultFields;
    host::Owned<host::TStringList> FLookupResultFields;
    host::Owned<host::TCollection> FKeyLinks;
    host::Owned<host::TCollection> FResultLinks;
    bool FInLookup = false;
    bool FErrorOnKeyNotFound = true;
    bool FNullOnKeyNotFound = true;
    std::string FLookupKeyNames;
    std::string FLookupResultNames;
    bool FNamesJoined = false;
    // What a lookup works in, kept for its room: a fill takes it and gives
    // it back, one nested in it (from a handler) makes its own.
    struct TScratch {
        std::string KeyNames;
        std::string ResultNames;
        std::vector<host::Variant> Values;
    };
    TScratch FScratch;
};

// Joins field names with ";" as the dataset's Lookup expects them.
std::string JoinFieldNames(const host::TStrings& Names);

} // namespace veskar

VESKAR_PUBLIC_END
