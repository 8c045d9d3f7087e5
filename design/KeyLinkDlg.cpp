// The key link dialog (declared in design/Lddsgn.h).
#include "design/Lddsgn.h"

#include "host/core/Exception.h"
#include "host/core/Publisher.h"
#include "host/core/TextUtils.h"
#include "host/data/DataSet.h"
#include "host/ui/Dialogs.h"
#include "lookup/Activation.h"

#include <cstdint>

namespace veskar {

using namespace host;

HOST_IMPLEMENT_COLLECTION_ITEM(TFieldItem, TCollectionItem)

HOST_IMPLEMENT_COMPONENT(TKeyLinkDlg, TForm)

namespace {

// A row's attached object is the index of its field in the collection.
TObject* IndexObject(int index) { return reinterpret_cast<TObject*>(static_cast<std::intptr_t>(index)); }
int ObjectIndex(TObject* object) { return static_cast<int>(reinterpret_cast<std::intptr_t>(object)); }

TFieldItem* ItemAt(const TCollection* items, int index) {
    if (!items || index < 0 || index >= items->Count()) return nullptr;
    return static_cast<TFieldItem*>(items->Items(index));
}

} // namespace

void TKeyLinkDlg::DeclarePublished(TPublisher& publisher) {
    auto p = publisher.Of<TKeyLinkDlg>();
    p.Field("bAdd", &TKeyLinkDlg::bAdd);
    p.Field("bRemove", &TKeyLinkDlg::bRemove);
    p.Field("bOK", &TKeyLinkDlg::bOK);
    p.Field("bCancel", &TKeyLinkDlg::bCancel);
    p.Field("LeftLabel", &TKeyLinkDlg::LeftLabel);
    p.Field("RightLabel", &TKeyLinkDlg::RightLabel);
    p.Field("MiddleLabel", &TKeyLinkDlg::MiddleLabel);
    p.Field("LeftListBox", &TKeyLinkDlg::LeftListBox);
    p.Field("RightListBox", &TKeyLinkDlg::RightListBox);
    p.Field("MiddleListBox", &TKeyLinkDlg::MiddleListBox);
    p.Method("LeftListBoxClick", &TKeyLinkDlg::LeftListBoxClick);
    p.Method("RightListBoxClick", &TKeyLinkDlg::RightListBoxClick);
    p.Method("MiddleListBoxClick", &TKeyLinkDlg::MiddleListBoxClick);
    p.Method("MiddleListBoxExit", &TKeyLinkDlg::MiddleListBoxExit);
    p.Method("bAddClick", &TKeyLinkDlg::bAddClick);
    p.Method("bRemoveClick", &TKeyLinkDlg::bRemoveClick);
}

TKeyLinkDlg::TKeyLinkDlg(TComponent* AOwner)
    : TForm(AOwner),
      FKeyFields(TStringList::Create()),
      FLookupFields(TStringList::Create()),
      FDestinationItems(TCollection::Create(TFieldItem::ClassInfo())),
      FLookupItems(TCollection::Create(TFieldItem::ClassInfo())) {}

void TKeyLinkDlg::Destroy() {
    FDestinationItems.reset();
    FLookupItems.reset();
    FKeyFields.reset();
    FLookupFields.reset();
    inherited::Destroy();
}

void TKeyLinkDlg::Notification(TComponent* AComponent, TOperation Operation) {
    inherited::Notification(AComponent, Operation);
    // The dialog only refers to its data sources; one that goes is dropped
    // with its fields.
    DropRemovedDataSource(*this, AComponent, Operation, FDataSource, &TKeyLinkDlg::SetDataSource);
    DropRemovedDataSource(*this, AComponent, Operation, FLookupDataSource, &TKeyLinkDlg::SetLookupDataSource);
}

void TKeyLinkDlg::SetDataSource(TDataSource* Value) {
    if (Value == FDataSource) return;
    WatchDataSource(*this, FDataSource, Value, FLookupDataSource);
    GetFieldsList(Value, FDestinationItems.get());
}

void TKeyLinkDlg::SetLookupDataSource(TDataSource* Value) {
    if (Value == FLookupDataSource) return;
    WatchDataSource(*this, FLookupDataSource, Value, FDataSource);
    GetFieldsList(Value, FLookupItems.get());
}

void TKeyLinkDlg::GetFieldsList(TDataSource* DataSource, TCollection* Collection) {
    if (!Collection) return;
    Collection->Clear();
    if (!DataSource || !DataSource->DataSet()) return;
    TDataSet* dataSet = DataSource->DataSet();
    const bool wasActive = dataSet->Active();
    try {
        dataSet->SetActive(true);
        for (int i = 0; i < dataSet->FieldCount(); ++i) {
            const TField* field = dataSet->Fields(i);
            auto* item = static_cast<TFieldItem*>(Collection->Add());
            item->FieldName = field->FieldName();
            item->DataType = field->DataType();
            item->DataSize = field->DataSize();
        }
        dataSet->SetActive(wasActive);
    } catch (const std::exception& error) {
        // What was read so far stays; the edit goes on without the rest.
        ShowException(error);
    }
}

int TKeyLinkDlg::FindInCollectionList(const std::string& Name, const TCollection* Collection,
                                      bool CaseSensitive) const {
    if (!Collection) return -1;
    for (int i = 0; i < Collection->Count(); ++i) {
        const std::string& name = static_cast<const TFieldItem*>(Collection->Items(i))->FieldName;
        if ((CaseSensitive ? CompareStr(name, Name) : CompareText(name, Name)) == 0) return i;
    }
    return -1;
}

int TKeyLinkDlg::FindInStringList(const std::string& Name, const TStrings* Strings, bool CaseSensitive) const {
    if (!Strings) return -1;
    if (CaseSensitive) return Strings->IndexOf(Name);
    for (int i = 0; i < Strings->Count(); ++i)
        if (CompareText(Strings->Strings(i), Name) == 0) return i;
    return -1;
}

// --- showing ------------------------------------------------------------------

void TKeyLinkDlg::DoShow() {
    if (!FDataSource) throw Exception("DataSource missing");
    if (!FLookupDataSource) throw Exception("LookupDataSource missing");
    RepairPairs();
    PopulateLeft();
    PopulateMiddle();
    PopulateRight();
    inherited::DoShow();
}

void TKeyLinkDlg::RepairPairs() {
    if (FKeyFields->Count() != FLookupFields->Count()) {
        ShowMessage("Inconsistencies! Connections cleared.");
        FKeyFields->Clear();
        FLookupFields->Clear();
        return;
    }
    DropMissing(FKeyFields.get(), FDestinationItems.get());
    DropMissing(FLookupFields.get(), FLookupItems.get());
}

void TKeyLinkDlg::DropMissing(TStrings* Side, const TCollection* Items) {
    int n = 0;
    while (n < Side->Count()) {
        if (FindInCollectionList(Side->Strings(n), Items, false) >= 0) {
            ++n;
            continue;
        }
        ShowMessage(Side->Strings(n) + " Doesn't exist. Connection " + FKeyFields->Strings(n) + "->" +
                    FLookupFields->Strings(n) + " cleared");
        FKeyFields->Delete(n);
        FLookupFields->Delete(n);
    }
}

void TKeyLinkDlg::Populate(TListBox* ListBox, const TCollection* Items, const TStrings* Used) {
    if (!ListBox) return;
    ListBox->Clear();
    for (int i = 0; i < Items->Count(); ++i) {
        const std::string& name = static_cast<const TFieldItem*>(Items->Items(i))->FieldName;
        if (FindInStringList(name, Used, false) < 0) ListBox->Items()->AddObject(name, IndexObject(i));
    }
}

void TKeyLinkDlg::PopulateLeft() { Populate(LeftListBox, FDestinationItems.get(), FKeyFields.get()); }

void TKeyLinkDlg::PopulateRight() { Populate(RightListBox, FLookupItems.get(), FLookupFields.get()); }

void TKeyLinkDlg::PopulateMiddle() {
    if (!MiddleListBox) return;
    MiddleListBox->Clear();
    if (FKeyFields->Count() != FLookupFields->Count()) {
        ShowMessage("Connection mismatch!");
        return;
    }
    for (int n = 0; n < FKeyFields->Count(); ++n)
        MiddleListBox->Items()->Add(FKeyFields->Strings(n) + "<->" + FLookupFields->Strings(n));
}

// --- selection and the two buttons ----------------------------------------------

TFieldItem* TKeyLinkDlg::SelectedItem(const TListBox* ListBox, const TCollection* Items) const {
    if (!ListBox || ListBox->ItemIndex() < 0) return nullptr;
    return ItemAt(Items, ObjectIndex(ListBox->Items()->Objects(ListBox->ItemIndex())));
}

void TKeyLinkDlg::MatchLeftRight() {
    const TFieldItem* destination = SelectedItem(LeftListBox, FDestinationItems.get());
    const TFieldItem* lookup = SelectedItem(RightListBox, FLookupItems.get());
    const bool match = destination && lookup && lookup->DataType == destination->DataType &&
                       lookup->DataSize <= destination->DataSize;
    if (bAdd) bAdd->SetEnabled(match);
}

void TKeyLinkDlg::LeftListBoxClick(TObject*) {
    if (MiddleListBox) MiddleListBox->SetItemIndex(-1);
    MatchLeftRight();
}

void TKeyLinkDlg::RightListBoxClick(TObject*) {
    if (MiddleListBox) MiddleListBox->SetItemIndex(-1);
    MatchLeftRight();
}

void TKeyLinkDlg::MiddleListBoxClick(TObject*) {
    if (LeftListBox) LeftListBox->SetItemIndex(-1);
    if (RightListBox) RightListBox->SetItemIndex(-1);
    MatchLeftRight();
    if (bRemove && MiddleListBox) bRemove->SetEnabled(MiddleListBox->ItemIndex() >= 0);
}

void TKeyLinkDlg::MiddleListBoxExit(TObject*) {
    if (bRemove) bRemove->SetEnabled(false);
}

void TKeyLinkDlg::bAddClick(TObject*) {
    if (!LeftListBox || !RightListBox || LeftListBox->ItemIndex() < 0 || RightListBox->ItemIndex() < 0) return;
    const int left = LeftListBox->ItemIndex();
    FKeyFields->Add(LeftListBox->Items()->Strings(left));
    LeftListBox->Items()->Delete(left);
    LeftListBox->SetItemIndex(-1);
    const int right = RightListBox->ItemIndex();
    FLookupFields->Add(RightListBox->Items()->Strings(right));
    RightListBox->Items()->Delete(right);
    RightListBox->SetItemIndex(-1);
    PopulateMiddle();
    if (MiddleListBox) MiddleListBox->SetItemIndex(-1);
}

void TKeyLinkDlg::bRemoveClick(TObject*) {
    const int n = MiddleListBox ? MiddleListBox->ItemIndex() : -1;
    if (n >= 0 && n < FKeyFields->Count() && n < FLookupFields->Count()) {
        MiddleListBox->Items()->Delete(n);
        MiddleListBox->SetItemIndex(-1);
        FKeyFields->Delete(n);
        FLookupFields->Delete(n);
        PopulateLeft();
        if (LeftListBox) LeftListBox->SetItemIndex(-1);
        PopulateRight();
        if (RightListBox) RightListBox->SetItemIndex(-1);
    }
    if (bOK && bOK->CanFocus()) bOK->SetFocus();
}

} // namespace veskar
