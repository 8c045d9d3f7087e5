#include "host/data/DataSet.h"

#include "host/core/Exception.h"
#include "host/core/Publisher.h"
#include "host/core/TextUtils.h"
#include "host/data/DataSource.h"

#include <algorithm>

namespace host {

HOST_IMPLEMENT_ABSTRACT_COMPONENT(TDataSet, TComponent)

// ---- TFieldDefs ----------------------------------------------------------

void TFieldDefs::Add(const std::string& name, TFieldType type, int size, bool required) {
    if (IndexOf(name) >= 0) throw EDatabaseError("Duplicate field name '" + name + "'");
    FItems.push_back({name, type, size, required});
}

const TFieldDef& TFieldDefs::Items(int index) const {
    if (index < 0 || index >= Count()) throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    return FItems[static_cast<size_t>(index)];
}

int TFieldDefs::IndexOf(const std::string& name) const {
    for (int i = 0; i < Count(); ++i)
        if (SameText(FItems[static_cast<size_t>(i)].Name, name)) return i;
    return -1;
}

// ---- TKeyMatcher ---------------------------------------------------------

TKeyMatcher::TKeyMatcher(const TField& field, const Variant& value, TLocateOptions options)
    : FFieldIndex(field.Index()),
      FText(field.DataType() == ftString),
      FCaseInsensitive(options.Contains(loCaseInsensitive)),
      FPartial(options.Contains(loPartialKey)) {
    if (value.IsNull() || value.IsEmpty()) {
        FValue = Variant::Null();
    } else if (FText) {
        FValue = Variant(value.AsString());
    } else {
        // Convert once, as a write would: a value the field cannot hold raises.
        FValue = field.Convert(value);
    }
}

bool TKeyMatcher::Matches(const Variant& stored) const {
    if (FValue.IsNull()) return stored.IsNull() || stored.IsEmpty();
    if (stored.IsNull() || stored.IsEmpty()) return false;
    if (!FText) return stored == FValue;
    const std::string& key = FValue.StringRef();
    const std::string& text = stored.StringRef();
    if (FPartial) {
        if (text.size() < key.size()) return false;
        const std::string_view head(text.data(), key.size());
        return FCaseInsensitive ? CompareText(head, key) == 0 : head == key;
    }
    return FCaseInsensitive ? CompareText(text, key) == 0 : text == key;
}

// ---- TDataSet: state -----------------------------------------------------

std::string TDataSet::ErrorText(const std::string& message) const {
    return Name().empty() ? message : Name() + ": " + message;
}

void TDataSet::DatabaseError(const std::string& message) const { throw EDatabaseError(ErrorText(message)); }

void TDataSet::CheckActive() const {
    if (FState == dsInactive) DatabaseError("Cannot perform this operation on a closed dataset");
}

void TDataSet::CheckEditMode() const {
    if (FState != dsEdit && FState != dsInsert) DatabaseError("Dataset not in edit or insert mode");
}

void TDataSet::SetActive(bool value) {
    if (ComponentState().Contains(csLoading)) {
        // Opened by Loaded once every property is read.
        FStreamedActive = value;
        return;
    }
    if (value == Active()) return;
    if (value)
        OpenCursor();
    else
        CloseCursor();
}

void TDataSet::Loaded() {
    inherited::Loaded();
    if (FStreamedActive) {
        FStreamedActive = false;
        SetActive(true);
    }
}

void TDataSet::OpenCursor() {
    const TKeepAlive alive(this);
    Fire(BeforeOpen, this);
    InternalOpen();
    try {
        CreateFields();
    } catch (...) {
        InternalClose();
        throw;
    }
    const int count = InternalRecordCount();
    FCurrent = count > 0 ? 0 : -1;
    FBof = true;
    FEof = count == 0;
    FModified = false;
    SetState(dsBrowse);
    // A notice may have freed the dataset: its after-event is gone with it.
    if (!FreePending()) Fire(AfterOpen, this);
}

void TDataSet::CloseCursor() {
    const TKeepAlive alive(this);
    if (FState == dsEdit || FState == dsInsert) Cancel();
    Fire(BeforeClose, this);
    // The links let go of the fields before the fields go.
    SetState(dsInactive);
    DestroyFields();
    FBuffer.clear();
    FCurrent = -1;
    FBof = FEof = true;
    InternalClose();
    // A notice may have freed the dataset: its after-event is gone with it.
    if (!FreePending()) Fire(AfterClose, this);
}

void TDataSet::CreateFields() {
    DestroyFields();
    FSearchFields = {};
    for (int i = 0; i < FFieldDefs.Count(); ++i) {
        const TFieldDef& def = FFieldDefs.Items(i);
        TField* field = CreateField(this, def.Name, def.DataType, def.Size, i);
        field->SetRequired(def.Required);
        FFields.push_back(field);
    }
}

void TDataSet::DestroyFields() {
    FSearchFields = {};
    while (!FFields.empty()) {
        TField* field = FFields.back();
        FFields.pop_back();
        field->Free();
    }
}

void TDataSet::SetState(TDataSetState value) {
    if (FState == value) return;
    FState = value;
    FModified = false;
    DataEvent(deUpdateState, nullptr);
}

void TDataSet::RecordsRenumbered(int shift) {
    if (FCurrent >= 0) FCurrent = std::max(0, FCurrent - shift);
    FInsertAt = std::max(0, FInsertAt - shift);
}

void TDataSet::Refresh() {
    CheckActive();
    CheckBrowseMode();
    FCurrent = InternalReread(FCurrent, true);
    AfterReread();
}

void TDataSet::RefreshRecord() {
    CheckActive();
    CheckBrowseMode();
    if (FCurrent < 0) return;
    FCurrent = InternalReread(FCurrent, false);
    AfterReread();
}

void TDataSet::AfterReread() {
    const int count = InternalRecordCount();
    if (count == 0) {
        FCurrent = -1;
        FBof = FEof = true;
    } else if (FCurrent >= count || FCurrent < 0) {
        FCurrent = count - 1;
    }
    DataEvent(deDataSetChange, nullptr);
}

void TDataSet::Destroy() {
    Destroying();
    try {
        Close();
    } catch (...) {
        // A dataset that cannot close cleanly still goes.
    }
    while (!FDataSources.Empty()) FDataSources.Last()->SetDataSet(nullptr);
    DestroyFields();
    inherited::Destroy();
}

// ---- navigation ------------------------------------------------------

int TDataSet::RecordCount() const { return Active() ? InternalExactRecordCount() : 0; }

bool TDataSet::IsEmpty() const { return !Active() || InternalRecordCount() == 0; }

int TDataSet::DisplayRowCount() const {
    if (!Active()) return 0;
    return InternalRecordCount() + (FState == dsInsert ? 1 : 0);
}

int TDataSet::DisplayRow() const {
    if (FState == dsInsert) return FInsertAt;
    return Active() ? FCurrent : -1;
}

Variant TDataSet::DisplayValue(int row, const TField& field) const {
    if (row < 0 || row >= DisplayRowCount()) return Variant::Null();
    if (row == DisplayRow()) return GetFieldValue(field);
    const int stored = FState == dsInsert && row > FInsertAt ? row - 1 : row;
    return InternalGetValue(stored, field.Index());
}

int TDataSet::RecNo() const {
    if (FState == dsInsert || FCurrent < 0) return 0;
    return InternalRecNo(FCurrent);
}

void TDataSet::Scroll(int record, bool bof, bool eof) {
    const int moved = record - FCurrent;
    FCurrent = record;
    FBof = bof;
    FEof = eof;
    DataEvent(deDataSetScroll, &moved);
}

void TDataSet::Resync(int record, bool bof, bool eof) {
    FCurrent = record;
    FBof = bof;
    FEof = eof;
    DataEvent(deDataSetChange, nullptr);
}

void TDataSet::First() {
    const TKeepAlive alive(this);
    CheckBrowseMode();
    Fire(BeforeScroll, this);
    const int first = InternalFirst();
    Resync(first, true, first < 0);
    // A notice may have freed the dataset: its after-event is gone with it.
    if (!FreePending()) Fire(AfterScroll, this);
}

void TDataSet::Last() {
    const TKeepAlive alive(this);
    CheckBrowseMode();
    Fire(BeforeScroll, this);
    const int last = InternalLast();
    Resync(last, last < 0, true);
    // A notice may have freed the dataset: its after-event is gone with it.
    if (!FreePending()) Fire(AfterScroll, this);
}

void TDataSet::Next() { MoveBy(1); }

void TDataSet::Prior() { MoveBy(-1); }

int TDataSet::MoveBy(int distance) {
    const TKeepAlive alive(this);
    CheckBrowseMode();
    Fire(BeforeScroll, this);
    // Already past the end it goes to: nothing moves and no one is told.
    if (distance == 0 || (distance > 0 && FEof) || (distance < 0 && FBof)) return 0;
    int count = InternalRecordCount();
    if (count == 0) {
        FBof = FEof = true;
        return 0;
    }
    // Where the move ends, one past an end at most, checked by the back end.
    int current = FCurrent;
    // Past the count too: a back end that knows only the rows read so far
    // reads on to it (the default check stops at the count).
    int wanted = static_cast<int>(std::clamp<int64_t>(int64_t{FCurrent} + distance, -1, INT32_MAX / 2));
    count = InternalCheckMove(current, wanted);
    FCurrent = std::clamp(current, 0, std::max(0, count - 1));
    if (count == 0) {
        FCurrent = -1;
        FBof = FEof = true;
        DataEvent(deDataSetChange, nullptr);
        return 0;
    }
    const int target = std::clamp(wanted, 0, count - 1);
    const bool bof = distance < 0 && wanted < 0;
    const bool eof = distance > 0 && wanted > count - 1;
    const int moved = target - FCurrent;
    // Reaching an end without moving still tells the links, which may show
    // the end.
    Scroll(target, bof, eof);
    // A notice may have freed the dataset: its after-event is gone with it.
    if (!FreePending()) Fire(AfterScroll, this);
    return moved;
}

void TDataSet::SetRecNo(int value) {
    const TKeepAlive alive(this);
    CheckBrowseMode();
    // Numbers from the first record, which a back end may count to know.
    if (FCurrent >= 0) InternalRecNo(FCurrent);
    const int count = InternalExactRecordCount();
    if (value < 1 || value > count || value - 1 == FCurrent) return;
    Fire(BeforeScroll, this);
    Resync(value - 1, false, false);
    // A notice may have freed the dataset: its after-event is gone with it.
    if (!FreePending()) Fire(AfterScroll, this);
}

// ---- bookmarks -----------------------------------------------------------

TBookmark TDataSet::InternalGetBookmark(int record) const { return {Variant(record)}; }

int TDataSet::InternalFindBookmark(const TBookmark& bookmark) {
    if (bookmark.size() != 1 || bookmark[0].IsNull()) return -1;
    return InternalBookmarkValid(bookmark) ? static_cast<int>(bookmark[0].AsInteger()) : -1;
}

bool TDataSet::InternalBookmarkValid(const TBookmark& bookmark) const {
    if (bookmark.size() != 1 || bookmark[0].IsNull()) return false;
    const int64_t record = bookmark[0].AsInteger();
    return record >= 0 && record < InternalRecordCount();
}

int TDataSet::InternalCompareBookmarks(const TBookmark& a, const TBookmark& b) const {
    const int64_t x = a.at(0).AsInteger(), y = b.at(0).AsInteger();
    return x < y ? -1 : x > y ? 1 : 0;
}

TBookmark TDataSet::GetBookmark() const {
    if (!Active() || FState == dsInsert || FCurrent < 0) return {};
    return InternalGetBookmark(FCurrent);
}

bool TDataSet::BookmarkValid(const TBookmark& bookmark) const {
    return Active() && !bookmark.empty() && InternalBookmarkValid(bookmark);
}

void TDataSet::GotoBookmark(const TBookmark& bookmark) {
    const TKeepAlive alive(this);
    CheckBrowseMode();
    if (bookmark.empty()) DatabaseError("Record not found");
    Fire(BeforeScroll, this);
    const int record = InternalFindBookmark(bookmark);
    if (record < 0) DatabaseError("Record not found");
    Resync(record, false, false);
    // A notice may have freed the dataset: its after-event is gone with it.
    if (!FreePending()) Fire(AfterScroll, this);
}

int TDataSet::CompareBookmarks(const TBookmark& a, const TBookmark& b) const {
    if (a.empty() || b.empty()) return a.empty() == b.empty() ? 0 : a.empty() ? -1 : 1;
    const int order = InternalCompareBookmarks(a, b);
    return order < 0 ? -1 : order > 0 ? 1 : 0;
}

// ---- editing ---------------------------------------------------------

void TDataSet::LoadBuffer() {
    FBuffer.assign(FFields.size(), Variant::Null());
    if (FCurrent >= 0)
        for (size_t i = 0; i < FFields.size(); ++i) FBuffer[i] = InternalGetValue(FCurrent, static_cast<int>(i));
}

void TDataSet::Edit() {
    const TKeepAlive alive(this);
    if (FState == dsEdit || FState == dsInsert) return;
    CheckActive();
    if (InternalRecordCount() == 0) {
        Insert();
        return;
    }
    CheckBrowseMode();
    if (!CanModify()) DatabaseError("Cannot modify a read-only dataset");
    Fire(BeforeEdit, this);
    InternalEdit(FCurrent);
    LoadBuffer();
    SetState(dsEdit);
    DataEvent(deRecordChange, nullptr);
    // A notice may have freed the dataset: its after-event is gone with it.
    if (!FreePending()) Fire(AfterEdit, this);
}

void TDataSet::BeginInsert(bool append) {
    const TKeepAlive alive(this);
    CheckActive();
    CheckBrowseMode();
    if (!CanModify()) DatabaseError("Cannot modify a read-only dataset");
    Fire(BeforeInsert, this);
    FBuffer.assign(FFields.size(), Variant::Null());
    FInsertAt = append || FCurrent < 0 ? InternalRecordCount() : FCurrent;
    SetState(dsInsert);
    try {
        Fire(OnNewRecord, this);
    } catch (...) {
        Cancel();
        throw;
    }
    FModified = false;
    DataEvent(deDataSetChange, nullptr);
    // A notice may have freed the dataset: its after-event is gone with it.
    if (!FreePending()) Fire(AfterInsert, this);
}

void TDataSet::Insert() { BeginInsert(false); }

void TDataSet::Append() { BeginInsert(true); }

void TDataSet::UpdateRecord() {
    CheckEditMode();
    DataEvent(deUpdateRecord, nullptr);
}

void TDataSet::Post() {
    const TKeepAlive alive(this);
    UpdateRecord();
    DataEvent(deCheckBrowseMode, nullptr);
    Fire(BeforePost, this);
    for (size_t i = 0; i < FFields.size(); ++i)
        if (FFields[i]->Required() && (FBuffer[i].IsNull() || FBuffer[i].IsEmpty()))
            DatabaseError("Field '" + FFields[i]->FieldName() + "' must have a value");
    if (FState == dsEdit) {
        InternalUpdate(FCurrent, FBuffer);
        FCurrent = InternalUpdatedRecord(FCurrent);
    } else {
        FCurrent = InternalInsert(FInsertAt, FBuffer);
        FBof = FEof = false;
    }
    FBuffer.clear();
    SetState(dsBrowse);
    DataEvent(deDataSetChange, nullptr);
    // A notice may have freed the dataset: its after-event is gone with it.
    if (!FreePending()) Fire(AfterPost, this);
}

void TDataSet::Cancel() {
    const TKeepAlive alive(this);
    if (FState != dsEdit && FState != dsInsert) return;
    DataEvent(deCheckBrowseMode, nullptr);
    Fire(BeforeCancel, this);
    FBuffer.clear();
    if (FState == dsEdit) {
        FCurrent = InternalCancel(FCurrent);
        const int count = InternalRecordCount();
        if (FCurrent >= count) FCurrent = count - 1;
        if (count == 0) FBof = FEof = true;
    }
    SetState(dsBrowse);
    DataEvent(deDataSetChange, nullptr);
    // A notice may have freed the dataset: its after-event is gone with it.
    if (!FreePending()) Fire(AfterCancel, this);
}

void TDataSet::Delete() {
    const TKeepAlive alive(this);
    CheckActive();
    if (FState == dsInsert) {
        Cancel();
        return;
    }
    if (InternalRecordCount() == 0) DatabaseError("Cannot perform this operation on an empty dataset");
    if (!CanModify()) DatabaseError("Cannot modify a read-only dataset");
    DataEvent(deCheckBrowseMode, nullptr);
    Fire(BeforeDelete, this);
    if (FState == dsEdit) {
        FBuffer.clear();
        SetState(dsBrowse);
    }
    InternalDelete(FCurrent);
    const int count = InternalRecordCount();
    if (FCurrent >= count) FCurrent = count - 1;
    FBof = FEof = count == 0;
    DataEvent(deDataSetChange, nullptr);
    // A notice may have freed the dataset: its after-event is gone with it.
    if (!FreePending()) Fire(AfterDelete, this);
}

void TDataSet::CheckBrowseMode() {
    CheckActive();
    DataEvent(deCheckBrowseMode, nullptr);
    if (FState == dsEdit || FState == dsInsert) {
        UpdateRecord();
        if (FModified)
            Post();
        else
            Cancel();
    }
}

// ---- fields ------------------------------------------------------------

TField* TDataSet::Fields(int index) const {
    if (index < 0 || index >= FieldCount()) throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    return FFields[static_cast<size_t>(index)];
}

TField* TDataSet::FindField(const std::string& name) const {
    for (TField* f : FFields)
        if (SameText(f->FieldName(), name)) return f;
    return nullptr;
}

TField* TDataSet::FieldByName(const std::string& name) const {
    TField* f = FindField(name);
    if (!f) DatabaseError("Field '" + name + "' not found");
    return f;
}

std::vector<TField*> TDataSet::GetFieldList(const std::string& names) const {
    std::vector<TField*> list;
    size_t p = 0;
    while (p <= names.size()) {
        size_t semi = names.find(';', p);
        if (semi == std::string::npos) semi = names.size();
        const std::string name = Trim(std::string_view(names).substr(p, semi - p));
        if (!name.empty()) list.push_back(FieldByName(name));
        p = semi + 1;
    }
    return list;
}

const std::vector<TField*>& TDataSet::SearchFieldList(const std::string& names) const {
    for (size_t i = 0; i < FSearchFields.size(); ++i)
        if (FSearchFields[i].Used && FSearchFields[i].Names == names) {
            if (FNextSearchFields == i) FNextSearchFields = (i + 1) % FSearchFields.size();
            return FSearchFields[i].Fields;
        }
    // Parsed first: a name list that raises is not remembered.
    std::vector<TField*> fields = GetFieldList(names);
    TSearchFields& entry = FSearchFields[FNextSearchFields];
    FNextSearchFields = (FNextSearchFields + 1) % FSearchFields.size();
    entry = {names, std::move(fields), true};
    return entry.Fields;
}

Variant TDataSet::GetFieldValue(const TField& field) const {
    const auto i = static_cast<size_t>(field.Index());
    if (FState == dsEdit || FState == dsInsert) return i < FBuffer.size() ? FBuffer[i] : Variant::Null();
    if (FState == dsInactive || FCurrent < 0) return Variant::Null();
    return InternalGetValue(FCurrent, field.Index());
}

void TDataSet::SetFieldValue(TField& field, const Variant& value) {
    CheckEditMode();
    if (field.ReadOnly()) DatabaseError("Field '" + field.FieldName() + "' cannot be modified");
    Variant converted = field.Convert(value);
    FBuffer[static_cast<size_t>(field.Index())] = std::move(converted);
    FModified = true;
    DataEvent(deFieldChange, &field);
}

// ---- searching -------------------------------------------------------

int TDataSet::InternalFind(const std::vector<TKeyMatcher>& keys, int from) const {
    // The count is asked each time: a back end that knows only the rows read
    // so far reads on at the last of them, and the count grows.
    for (int r = from; r < InternalRecordCount(); ++r) {
        bool all = true;
        for (const TKeyMatcher& k : keys)
            if (!k.Matches(InternalGetValue(r, k.FieldIndex()))) {
                all = false;
                break;
            }
        if (all) return r;
    }
    return -1;
}

int TDataSet::FindRecord(const std::string& keyFields, const Variant& keyValues, TLocateOptions options) const {
    const std::vector<TField*>& fields = SearchFieldList(keyFields);
    if (fields.empty()) return -1;
    std::vector<TKeyMatcher> keys = std::move(FSpareKeys);
    keys.clear();
    keys.reserve(fields.size());
    if (fields.size() == 1 && !keyValues.IsArray()) {
        keys.emplace_back(*fields[0], keyValues, options);
    } else {
        if (!keyValues.IsArray()) DatabaseError("Number of key values does not match the key fields");
        const int low = keyValues.LowBound();
        if (keyValues.HighBound() - low + 1 < static_cast<int>(fields.size()))
            DatabaseError("Number of key values does not match the key fields");
        for (size_t i = 0; i < fields.size(); ++i) keys.emplace_back(*fields[i], keyValues[low + static_cast<int>(i)], options);
    }
    const int record = InternalFind(keys, 0);
    FSpareKeys = std::move(keys);
    return record;
}

Variant TDataSet::Lookup(const std::string& keyFields, const Variant& keyValues, const std::string& resultFields) {
    CheckActive();
    const int record = FindRecord(keyFields, keyValues, {});
    // The result names are read only after a hit: a miss answers Null
    // whatever they are.
    if (record < 0) return Variant::Null();
    const std::vector<TField*>& results = SearchFieldList(resultFields);
    if (results.size() == 1) return InternalGetValue(record, results[0]->Index());
    Variant array = VarArrayCreate(0, static_cast<int>(results.size()) - 1);
    for (size_t i = 0; i < results.size(); ++i) array[static_cast<int>(i)] = InternalGetValue(record, results[i]->Index());
    return array;
}

bool TDataSet::LookupValues(const std::string& keyFields, const Variant& keyValues, const std::string& resultFields,
                            std::vector<Variant>& values) {
    const Variant result = Lookup(keyFields, keyValues, resultFields);
    values.clear();
    if (result.IsNull()) return false;
    if (!result.IsArray()) {
        values.push_back(result);
        return true;
    }
    // Value N is element N, as Lookup's arrays count from 0.
    for (int i = 0; i <= result.HighBound(); ++i) values.push_back(result[i]);
    return true;
}

bool TDataSet::FindLookupValues(const std::string& keyFields, const Variant& keyValues, const std::string& resultFields,
                                std::vector<Variant>& values) {
    CheckActive();
    const int record = FindRecord(keyFields, keyValues, {});
    if (record < 0) return false;
    const std::vector<TField*>& results = SearchFieldList(resultFields);
    values.resize(results.size());
    for (size_t i = 0; i < results.size(); ++i) values[i] = InternalGetValue(record, results[i]->Index());
    // As Lookup: one result holding Null is no answer.
    return !(values.size() == 1 && values[0].IsNull());
}

bool TDataSet::Locate(const std::string& keyFields, const Variant& keyValues, TLocateOptions options) {
    const TKeepAlive alive(this);
    CheckActive();
    CheckBrowseMode();
    Fire(BeforeScroll, this);
    const int record = FindRecord(keyFields, keyValues, options);
    if (record < 0) return false;
    Resync(record, false, false);
    // A notice may have freed the dataset: its after-event is gone with it.
    if (!FreePending()) Fire(AfterScroll, this);
    return true;
}

// ---- controls and notices ------------------------------------------------

void TDataSet::DisableControls() {
    if (FDisableCount++ == 0) FDisableState = FState;
}

void TDataSet::EnableControls() {
    if (FDisableCount == 0 || --FDisableCount != 0) return;
    if (FState != FDisableState) DataEvent(deUpdateState, nullptr);
    if (FDisableState != dsInactive && FState != dsInactive) DataEvent(deDataSetChange, nullptr);
}

void TDataSet::DataEvent(TDataEvent event, const void* info) {
    if (FDisableCount != 0) return;
    // A source may leave the dataset while hearing the notice.
    FDataSources.ForEach([&](TDataSource* source) { source->DataEvent(event, info); });
}

void TDataSet::AddDataSource(TDataSource* source) { FDataSources.Add(source); }

void TDataSet::RemoveDataSource(TDataSource* source) { FDataSources.Remove(source); }

void TDataSet::DeclarePublished(TPublisher& publisher) {
    auto p = publisher.Of<TDataSet>();
    // Read while loading, the dataset opens in Loaded.
    p.Boolean("Active", &TDataSet::Active, &TDataSet::SetActive).Default(false);
}

} // namespace host
