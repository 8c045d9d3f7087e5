#pragma once
// TDataSet: the abstract dataset. It keeps the state, the cursor, the fields
// and the record being edited, and tells its data sources of every change.
// A storage back end (in memory, SQL) derives from it and implements the
// Internal... operations on its records; nothing above the dataset knows
// which back end it talks to.

#include "host/core/Export.h"
#include "host/core/Component.h"
#include "host/core/Event.h"
#include "host/core/NotifyList.h"
#include "host/core/Set.h"
#include "host/core/Variant.h"
#include "host/data/Field.h"

#include <array>
#include <string>
#include <vector>

VESKAR_PUBLIC_BEGIN

namespace host {

class TDataSource;

enum TDataSetState { dsInactive, dsBrowse, dsEdit, dsInsert };

enum TDataEvent {
    deFieldChange,
    deRecordChange,
    deDataSetChange,
    deDataSetScroll,  // info: the int distance the cursor moved
    deLayoutChange,
    deUpdateRecord,
    deUpdateState,
    deCheckBrowseMode,
    deFocusControl,
};

enum TLocateOption { loCaseInsensitive, loPartialKey };
using TLocateOptions = TSet<TLocateOption>;

struct TFieldDef {
    std::string Name;
    TFieldType DataType = ftUnknown;
    int Size = 0;
    bool Required = false;
};

// The column definitions a dataset opens with.
class TFieldDefs {
public:
    void Add(const std::string& name, TFieldType type, int size = 0, bool required = false);
    int Count() const { return static_cast<int>(FItems.size()); }
    const TFieldDef& Items(int index) const;
    // Letter case ignored; -1 when absent.
    int IndexOf(const std::string& name) const;
    void Clear() { FItems.clear(); }

private:
    std::vector<TFieldDef> FItems;
};

// One key field of a Locate or Lookup, with its value prepared once for the
// field's type, so a scan compares without converting.
class TKeyMatcher {
public:
    TKeyMatcher(const TField& field, const Variant& value, TLocateOptions options);
    int FieldIndex() const { return FFieldIndex; }
    bool Matches(const Variant& stored) const;
    // The value as the field holds it (Null for Null and unassigned); a
    // back end's index finds candidates by it.
    const Variant& Value() const { return FValue; }
    bool Text() const { return FText; }
    bool CaseInsensitive() const { return FCaseInsensitive; }
    bool Partial() const { return FPartial; }

private:
    int FFieldIndex;
    Variant FValue;
    bool FText;            // compared as text (string fields)
    bool FCaseInsensitive;
    bool FPartial;
};

using TDataSetNotifyEvent = TEvent<void(TDataSet* DataSet)>;

// Where a record stands, as its back end finds it again: the values of its
// key in a keyed back end, its number in one without keys. Empty for none.
using TBookmark = std::vector<Variant>;

class TDataSet : public TComponent {
    HOST_CLASS(TDataSet, TComponent)
    static void DeclarePublished(::host::TPublisher& publisher);
public:
    // ---- state -----------------------------------------------------------
    bool Active() const { return FState != dsInactive; }
    void SetActive(bool value);
    void Open() { SetActive(true); }
    void Close() { SetActive(false); }
    TDataSetState State() const { return FState; }
    // Re-reads the records from storage; the cursor stays on its record
    // where the back end can find it again, else where it can.
    void Refresh();
    // Re-reads the current record from storage (posting or cancelling an
    // edit first, as every move does). A record gone from storage leaves
    // the cursor on its neighbour.
    void RefreshRecord();
    bool Modified() const { return FModified; }
    virtual bool CanModify() const { return !FReadOnly; }
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool value) { FReadOnly = value; }

    // ---- navigation ------------------------------------------------------
    void First();
    void Last();
    void Next();
    void Prior();
    int MoveBy(int distance);
    bool Bof() const { return FBof; }
    bool Eof() const { return FEof; }
    // Never counts: a back end knows whether it holds any record.
    bool IsEmpty() const;
    // 1-based number of the current record, 0 when there is none. A back
    // end that reads its records by key may have to count to answer it (see
    // its header): navigation never asks for it.
    int RecNo() const;
    void SetRecNo(int value);
    // The number of records; a back end may count them to answer (see its
    // header). What a grid shows is DisplayRowCount, which never counts.
    int RecordCount() const;

    // ---- bookmarks ---------------------------------------------------------
    // The current record's bookmark; empty when there is none.
    TBookmark GetBookmark() const;
    // Moves to the bookmarked record; raises "Record not found" (and stays)
    // when it is gone.
    void GotoBookmark(const TBookmark& bookmark);
    bool BookmarkValid(const TBookmark& bookmark) const;
    // Negative, 0 or positive as A stands before, with or after B in the
    // dataset's order; an empty bookmark comes first.
    int CompareBookmarks(const TBookmark& a, const TBookmark& b) const;

    // ---- showing several records ----------------------------------------
    // What a grid shows, read without moving the cursor: the stored records
    // and, while a record is being inserted, that one at its place.
    int DisplayRowCount() const;
    // The row of the cursor; -1 when there is none.
    int DisplayRow() const;
    // A field's value on a row; the cursor's row shows the record being
    // edited. Null outside the rows.
    Variant DisplayValue(int row, const TField& field) const;

    // ---- editing ---------------------------------------------------------
    void Edit();
    void Insert();
    void Append();
    void Post();
    void Cancel();
    void Delete();
    // Posts or cancels an edit in progress, as every move does first.
    void CheckBrowseMode();
    // Asks the data links to write their pending control values.
    void UpdateRecord();

    // ---- fields ----------------------------------------------------------
    TFieldDefs& FieldDefs() { return FFieldDefs; }
    const TFieldDefs& FieldDefs() const { return FFieldDefs; }
    int FieldCount() const { return static_cast<int>(FFields.size()); }
    TField* Fields(int index) const;
    // Raises EDatabaseError "Field 'X' not found" for an unknown name.
    TField* FieldByName(const std::string& name) const;
    TField* FindField(const std::string& name) const;
    // Fields of a ";"-separated name list, in order.
    std::vector<TField*> GetFieldList(const std::string& names) const;

    // ---- searching -------------------------------------------------------
    // The values of ResultFields in the first record whose KeyFields equal
    // KeyValues exactly; Null when none. The cursor does not move.
    virtual Variant Lookup(const std::string& keyFields, const Variant& keyValues, const std::string& resultFields);
    // Lookup's answer as a list in Values, which is reused, so that a
    // search repeated allocates nothing: false where Lookup answers Null (no
    // record, or one result field holding Null), else the values of
    // ResultFields in order. Goes through Lookup unless a back end knows better.
    virtual bool LookupValues(const std::string& keyFields, const Variant& keyValues, const std::string& resultFields,
                              std::vector<Variant>& values);
    // Moves to the first matching record; false (and no move) when none.
    virtual bool Locate(const std::string& keyFields, const Variant& keyValues, TLocateOptions options);

    // ---- controls --------------------------------------------------------
    void DisableControls();
    void EnableControls();
    bool ControlsDisabled() const { return FDisableCount != 0; }

    // ---- used by fields and data sources ---------------------------------
    Variant GetFieldValue(const TField& field) const;
    // Writes a converted value into the record being edited and tells the
    // links of the change.
    void SetFieldValue(TField& field, const Variant& value);
    void DataEvent(TDataEvent event, const void* info);
    // "Name: message" when the dataset has a name.
    std::string ErrorText(const std::string& message) const;
    [[noreturn]] void DatabaseError(const std::string& message) const;

    TDataSetNotifyEvent BeforeOpen, AfterOpen, BeforeClose, AfterClose;
    TDataSetNotifyEvent BeforeEdit, AfterEdit, BeforeInsert, AfterInsert;
    TDataSetNotifyEvent BeforePost, AfterPost, BeforeCancel, AfterCancel;
    TDataSetNotifyEvent BeforeDelete, AfterDelete, BeforeScroll, AfterScroll;
    TDataSetNotifyEvent OnNewRecord;

protected:
    explicit TDataSet(TComponent* owner) : TComponent(owner) {}
    void Destroy() override;
    void Loaded() override;

    // The back end numbered its records anew (others' writes came to light):
    // the record numbered N is numbered N - Shift now. The cursor keeps its
    // record, so no one is told.
    void RecordsRenumbered(int shift);

    // ---- the storage back end --------------------------------------------
    // Opens the storage; FieldDefs describe its columns afterwards.
    virtual void InternalOpen() = 0;
    virtual void InternalClose() = 0;
    virtual int InternalRecordCount() const = 0;
    virtual Variant InternalGetValue(int record, int field) const = 0;
    // Stores a new record at Position (0..count) and answers its index.
    virtual int InternalInsert(int position, const std::vector<Variant>& values) = 0;
    virtual void InternalUpdate(int record, const std::vector<Variant>& values) = 0;
    // Where the record just updated stands now: a back end that keeps its
    // records in an order of their values may have moved it.
    virtual int InternalUpdatedRecord(int record) const { return record; }
    virtual void InternalDelete(int record) = 0;
    virtual void InternalRefresh() {}
    // Re-reads all records (All) or only the one at Record, and answers where
    // that record stands now; a back end that cannot tell records apart
    // keeps the position.
    virtual int InternalReread(int record, bool all) {
        if (all) InternalRefresh();
        return record;
    }
    // Edit is about to load the record at Record into the edit buffer.
    virtual void InternalEdit(int /*record*/) {}
    // An edit of the record at Record was cancelled; answers where the
    // cursor stands (a back end whose post was refused re-reads the record).
    virtual int InternalCancel(int record) { return record; }
    // Before the cursor moves from Current to Target (which may lie one past
    // either end): a back end whose records others change may read there,
    // learn that there are more or fewer records than it counted and number
    // them anew, renumbering Current and Target with them. Answers the count.
    virtual int InternalCheckMove(int& /*current*/, int& /*target*/) { return InternalRecordCount(); }
    // Where First and Last put the cursor (-1 when there is no record): a
    // back end that numbers its records from where it last read may read
    // the end afresh.
    virtual int InternalFirst() { return InternalRecordCount() > 0 ? 0 : -1; }
    virtual int InternalLast() { return InternalRecordCount() - 1; }
    // The 1-based number of Record counted from the first record, and the
    // number of records: exact, at whatever cost the back end has.
    virtual int InternalRecNo(int record) const { return record + 1; }
    virtual int InternalExactRecordCount() const { return InternalRecordCount(); }
    // By default a bookmark is the record's number: it names another
    // record once records are inserted or deleted before it.
    virtual TBookmark InternalGetBookmark(int record) const;
    // The record a bookmark names now, for the cursor to go to; -1 when it
    // is gone.
    virtual int InternalFindBookmark(const TBookmark& bookmark);
    // The bookmarked record is there; the cursor's record keeps its number.
    virtual bool InternalBookmarkValid(const TBookmark& bookmark) const;
    virtual int InternalCompareBookmarks(const TBookmark& a, const TBookmark& b) const;
    // The first record from From on that every matcher accepts; -1 when none.
    // Back ends with faster access override it.
    virtual int InternalFind(const std::vector<TKeyMatcher>& keys, int from) const;
    // LookupValues by the dataset's own search, for a back end whose Lookup
    // is the dataset's.
    bool FindLookupValues(const std::string& keyFields, const Variant& keyValues, const std::string& resultFields,
                          std::vector<Variant>& values);

private:
    friend class TDataSource;
    VESKAR_LOCAL void OpenCursor();
    VESKAR_LOCAL void CloseCursor();
    VESKAR_LOCAL void CreateFields();
    VESKAR_LOCAL void DestroyFields();
    void SetState(TDataSetState value);
    VESKAR_LOCAL void CheckActive() const;
    VESKAR_LOCAL void CheckEditMode() const;
    VESKAR_LOCAL void BeginInsert(bool append);
    // Puts the cursor on Record and tells the links: Scroll as a move by the
    // distance (DataSetScrolled), Resync as a new position (DataSetChanged).
    VESKAR_LOCAL void Scroll(int record, bool bof, bool eof);
    VESKAR_LOCAL void Resync(int record, bool bof, bool eof);
    VESKAR_LOCAL int FindRecord(const std::string& keyFields, const Variant& keyValues, TLocateOptions options) const;
    // GetFieldList remembered for the last few name lists, since a search
    // is usually repeated with the same names; emptied with the fields.
    VESKAR_LOCAL const std::vector<TField*>& SearchFieldList(const std::string& names) const;
    VESKAR_LOCAL void LoadBuffer();
    // Keeps the cursor within the records after a re-read and tells the links.
    VESKAR_LOCAL void AfterReread();
    VESKAR_LOCAL void AddDataSource(TDataSource* source);
    VESKAR_LOCAL void RemoveDataSource(TDataSource* source);
    VESKAR_LOCAL static void Fire(const TDataSetNotifyEvent& event, TDataSet* self) {
        if (event) event(self);
    }

    TDataSetState FState = dsInactive;
    TFieldDefs FFieldDefs;
    std::vector<TField*> FFields;
    TNotifyList<TDataSource> FDataSources;
    std::vector<Variant> FBuffer;  // the record being edited or inserted
    int FCurrent = -1;             // record index of the cursor, -1 when none
    int FInsertAt = 0;             // where an insert will be stored
    bool FBof = true;
    bool FEof = true;
    bool FModified = false;
    bool FReadOnly = false;
    bool FStreamedActive = false;
    int FDisableCount = 0;
    TDataSetState FDisableState = dsInactive;
    struct TSearchFields {
        std::string Names;
        std::vector<TField*> Fields;
        bool Used = false;
    };
    mutable std::array<TSearchFields, 4> FSearchFields;
    mutable size_t FNextSearchFields = 0;  // never the entry used last
    // The matchers of the last search, kept for their room: a search takes
    // them and gives them back, one nested in it makes its own.
    mutable std::vector<TKeyMatcher> FSpareKeys;
};

} // namespace host

VESKAR_PUBLIC_END
