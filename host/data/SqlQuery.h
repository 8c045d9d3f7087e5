#pragma once
// TSQLQuery: a read-only dataset on the rows of an SQL query. Parameters are
// written ":Name" in the text and given values through Params before
// opening. Rows are read as the cursor goes; a jump back reads the query
// again from its start, and only a window of rows is kept in memory. Lookup
// and Locate search the rows in order (give large searches to a TSQLTable).
// Opening reads the first window (a run of its own under a LIMIT, which
// leaves no read open) and counts nothing: the records are
// numbered from the first, so RecNo is exact at once, and the count is the
// rows read until reading meets their end (reading the last record read
// reads on, Last reads to the end). RecordCount counts the rows (one COUNT
// over the query) while their end is unknown, then costs nothing more; a
// bookmark is the record's number. While rows remain unread the query's
// read stays open in the database. Reading on finds where the rows really
// end, so rows others deleted since a count do not show as empty records; a
// jump back is a new run of the query, in which rows others inserted or
// deleted before it shift what stands at each number (a TSQLTable reads
// back from its edge instead).
// On an engine that keeps any integer in any integer column (SQLite),
// opening runs the query once more to find the integer columns whose
// answered values go beyond 32 bits: they get large integer fields.

#include "host/core/Export.h"
#include "host/core/Strings.h"
#include "host/data/SqlDataSet.h"
#include "host/data/SqlParams.h"

VESKAR_PUBLIC_BEGIN

namespace host {

class TSQLQuery : public TCustomSQLDataSet {
    HOST_CLASS(TSQLQuery, TCustomSQLDataSet)
    static void DeclarePublished(::host::TPublisher& publisher);
public:
    TStrings* SQL() const { return FSQL.get(); }
    void SetSQL(const TStrings* value);
    TSQLParams& Params() { return FParams; }
    const TSQLParams& Params() const { return FParams; }
    TSQLParam& ParamByName(const std::string& name) { return FParams.ParamByName(name); }

    bool CanModify() const override { return false; }

protected:
    explicit TSQLQuery(TComponent* owner);

    void OpenSource() override;
    void CloseSource() override;
    void InternalRefresh() override;
    int CountRecords() const override;
    void FetchWindow(int record) const override;
    void OpenWindow() override;
    int InternalLast() override;
    int InternalInsert(int position, const std::vector<Variant>& values) override;
    void InternalUpdate(int record, const std::vector<Variant>& values) override;
    void InternalDelete(int record) override;

private:
    VESKAR_LOCAL void Restart() const;
    // FetchWindow's work; on a failure FetchWindow starts over.
    VESKAR_LOCAL void ReadWindow(int record) const;
    [[noreturn]] VESKAR_LOCAL void ReadOnlyError() const;

    Owned<TStringList> FSQL;
    TSQLParams FParams;
    std::string FText;                    // the SQL with "?" for each parameter
    std::vector<Variant> FBinds;          // the parameters' values, in order
    mutable TSQLStatementPtr FStream;     // reads the rows in order
    mutable int FStreamNext = 0;          // the record the stream gives next
    mutable bool FStreamLive = false;
};

} // namespace host

VESKAR_PUBLIC_END
