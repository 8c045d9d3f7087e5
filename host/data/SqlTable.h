#pragma once
// TSQLTable: a dataset on one table or view of a database. Records come in
// the order of IndexFieldNames (";"-separated), then of the key; the key is
// KeyFields, else the table's primary key, else the engine's row id. Without
// any (a view) the dataset is read-only and every column completes the
// order: declare KeyFields on a view whose rows a few columns tell apart, so
// that its order is short and the view may be written where the engine
// allows it. Windows are read by keyset on that order, so scrolling anywhere
// costs one indexed query; Lookup and Locate are indexed queries of their
// own (give the order and the searched columns an index; a case-insensitive
// search wants an index that ignores case, e.g. "COLLATE NOCASE" on SQLite).
//
// On an engine that keeps any integer in any integer column (SQLite),
// opening reads the table once to find the integer columns holding values
// beyond 32 bits: they get large integer fields.
//
// Counting. Nothing an application does in the ordinary way counts the
// table: opening reads the first window, First and Last read the window at
// that end, a scroll reads on from the window's edge by key, Locate, Lookup,
// a posted edit and GotoBookmark read from the record's key. The count is an
// estimate until reading meets both ends: the highest number read, which
// reading the last record read extends (so a grid that reads up to the count
// finds every record, and never a record that is not there). A record
// reached by key is numbered by where its key stands between the first and
// the last key, scaled to the engine's own estimate of the table's size
// (EstimatedRowCount), the count is then that estimate (or the highest
// number read, when higher), and Last numbers the last record by it: the
// grid's scroll position, its row over its row count, comes from the key
// order, not from a count. A grid never asks RecordCount.
// RecNo then counts the rows before the record (one indexed count, once),
// RecordCount counts the table (once); SetRecNo and a move of more than a
// window from an estimated number count too. Bookmarks are the order's
// key values: a bookmark finds its record wherever others' writes moved it.
//
// What a window shows: each read is a snapshot of the rows it read; a scroll
// past the window's edge reads on from the edge row's key, so rows others
// inserted ahead show up and rows others deleted ahead are passed over, and
// no row shows twice or is skipped.
//
// Edits write through at once, in a transaction of their own unless one is
// open. A record whose order columns change moves to its new place, and the
// cursor with it. An update sets only the columns the edit changed, and finds
// its row by the key and, as UpdateMode says, by the values read at Edit
// (NULL equal to NULL); a delete finds it by the key, and in upWhereAll by
// the values shown too. When the row is no longer there as read, because
// another user changed or deleted it, nothing is written and the post fails
// with "Record changed by another user (table T)" or "Record deleted by
// another user (table T)"; the record stays in edit with the values typed,
// and Cancel then shows the row as it is now. A field's ProviderFlags
// narrow this: without pfInUpdate its edits are not written, without
// pfInWhere it is not compared; with pfInKey it is compared in every mode.

#include "host/core/Export.h"
#include "host/data/SqlDataSet.h"

#include <optional>
#include <unordered_map>

VESKAR_PUBLIC_BEGIN

namespace host {

class TSQLTable : public TCustomSQLDataSet {
    HOST_CLASS(TSQLTable, TCustomSQLDataSet)
    static void DeclarePublished(::host::TPublisher& publisher);
public:
    const std::string& TableName() const { return FTableName; }
    void SetTableName(const std::string& value);
    const std::string& IndexFieldNames() const { return FIndexFieldNames; }
    void SetIndexFieldNames(const std::string& value);
    const std::string& KeyFields() const { return FKeyFields; }
    void SetKeyFields(const std::string& value);
    TUpdateMode UpdateMode() const { return FUpdateMode; }
    void SetUpdateMode(TUpdateMode value) { FUpdateMode = value; }

    bool CanModify() const override;
    Variant Lookup(const std::string& keyFields, const Variant& keyValues, const std::string& resultFields) override;

protected:
    explicit TSQLTable(TComponent* owner) : TCustomSQLDataSet(owner) {}

    void OpenSource() override;
    int CountRecords() const override;
    void FetchWindow(int record) const override;
    int InternalInsert(int position, const std::vector<Variant>& values) override;
    void InternalUpdate(int record, const std::vector<Variant>& values) override;
    int InternalUpdatedRecord(int record) const override;
    void InternalDelete(int record) override;
    void InternalEdit(int record) override;
    int InternalCancel(int record) override;
    int InternalReread(int record, bool all) override;
    int InternalFind(const std::vector<TKeyMatcher>& keys, int from) const override;
    int InternalFirst() override;
    int InternalLast() override;
    TBookmark InternalGetBookmark(int record) const override;
    int InternalFindBookmark(const TBookmark& bookmark) override;
    bool InternalBookmarkValid(const TBookmark& bookmark) const override;
    int InternalCompareBookmarks(const TBookmark& a, const TBookmark& b) const override;
    void OpenWindow() override;
    void SettleStart() const override;

private:
    using TRow = std::vector<Variant>;
    VESKAR_LOCAL void CheckClosed() const;
    // Row column of a field name, or a hidden column read for it.
    VESKAR_LOCAL int ColumnOf(const std::string& name, std::vector<std::string>& hidden);
    VESKAR_LOCAL void CheckNullKeys();
    // Rows at the window's front (or back) equal in the order to the row
    // there, itself included; 0 for an order that ties no two rows.
    VESKAR_LOCAL int CopiesAtEdge(bool front) const;
    // The window may be extended by keyset from that edge.
    VESKAR_LOCAL bool CanStepFrom(bool front) const;
    VESKAR_LOCAL std::string OrderBy(bool descending) const;
    // Rows after (or before) Anchor in the order; Anchor holds the order
    // columns' values.
    VESKAR_LOCAL std::string KeysetCondition(const TRow& anchor, bool after, bool inclusive, std::vector<Variant>& binds) const;
    VESKAR_LOCAL std::vector<TRow> ReadRows(const std::string& sql, const std::vector<Variant>& binds, int limit) const;
    VESKAR_LOCAL TRow OrderKey(const TRow& row) const;
    // Number of records before Anchor in the order: a count.
    int Position(const TRow& anchor) const;
    // Reads the window at the first (Front) or last records afresh; answers
    // the cursor's record there, -1 when there is none.
    VESKAR_LOCAL int ReadEdge(bool front) const;
    // The number to give the record of Anchor, reached by key: where its key
    // stands between the first and last keys, scaled to the count.
    VESKAR_LOCAL int EstimatedPlace(const TRow& anchor) const;
    // The rows by the engine's estimate, or the count when it is higher.
    VESKAR_LOCAL int EstimatedTotal() const;
    // Reads the window from Anchor on, numbered from Place, forgetting what
    // was known of the numbers unless Keep; answers Place, or -1 when no
    // row is there (nor before it).
    VESKAR_LOCAL int PlaceAt(int place, const TRow& anchor, bool keep) const;
    VESKAR_LOCAL int ReadAt(int place, const TRow& anchor, bool keep) const;
    VESKAR_LOCAL void ReadFrom(int position, const TRow& anchor) const;
    VESKAR_LOCAL std::optional<TRow> FindFirst(const std::vector<TKeyMatcher>& keys) const;
    VESKAR_LOCAL std::string SearchText(const std::vector<TKeyMatcher>& keys, std::vector<Variant>& binds) const;
    VESKAR_LOCAL const TRow& RowAt(int record) const;
    // "Column = ?" with Value bound, or "Column IS NULL".
    VESKAR_LOCAL std::string EqualTo(const std::string& column, const Variant& value, std::vector<Variant>& binds) const;
    VESKAR_LOCAL std::string IdentityCondition(const TRow& row, std::vector<Variant>& binds) const;
    // The WHERE of a write to the row read as Old: the key, and the columns
    // of Compared (row columns) NULL-safely equal to their values in Old.
    VESKAR_LOCAL std::string WriteCondition(const TRow& old, const std::vector<int>& compared,
                                            std::vector<Variant>& binds) const;
    // The field of Column carries Flag (a hidden column carries all).
    VESKAR_LOCAL bool Flagged(int column, TProviderFlag flag) const;
    // A write to the row read as Old found none: raises what became of it.
    [[noreturn]] VESKAR_LOCAL void RefuseWrite(const TRow& old);
    // The row of Identity (a row read before) as the table holds it now.
    VESKAR_LOCAL std::optional<TRow> ReadAgain(const TRow& identity) const;

    std::string FTableName;
    std::string FIndexFieldNames;
    std::string FKeyFields;
    std::string FSelect;              // "SELECT columns FROM table"
    std::vector<int> FOrder;          // row columns of the unique order
    std::vector<std::string> FOrderSql;
    std::vector<int> FIdentity;       // row columns that find one row
    std::vector<std::string> FIdentitySql;
    std::string FRowId;               // the engine's row id of this relation, if it has one
    bool FUniqueOrder = true;         // no two rows tie in the order (there is a key)
    bool FNullKeys = false;           // some order column holds NULL
    TRow FUpdated;                    // the order key the last update gave its record
    TUpdateMode FUpdateMode = upWhereChanged;
    TRow FEditRow;                    // the record being edited, as Edit read it
    bool FRefused = false;            // the last post was refused: Cancel reads the row again
    std::string FOrderAsc, FOrderDesc;  // " ORDER BY ..." both ways
    // The same without a NULL placement, used while the order columns hold
    // no NULL: every placement then gives one order, and the plain one is
    // what an ordinary index serves (PostgreSQL sorts the whole table for
    // "NULLS FIRST" over a default index).
    std::string FPlainAsc, FPlainDesc;
    // The search text of whole-value keys, by which fields and how.
    mutable std::unordered_map<std::string, std::string> FSearches;
    // The first and last order keys, read for EstimatedPlace; empty until then.
    mutable TRow FLowKey, FHighKey;
    int64_t FEstimate = -1;           // the engine's estimate of the rows, -1 when none
    bool FUpdatedMoved = false;       // the last update changed its record's order key
};

} // namespace host

VESKAR_PUBLIC_END
