#include "host/data/SqlQuery.h"

#include "host/core/Exception.h"
#include "host/core/Publisher.h"

#include <algorithm>
#include <cctype>

namespace host {

HOST_IMPLEMENT_COMPONENT(TSQLQuery, TCustomSQLDataSet)

TSQLQuery::TSQLQuery(TComponent* owner) : TCustomSQLDataSet(owner), FSQL(MakeOwned<TStringList>()) {}

void TSQLQuery::SetSQL(const TStrings* value) {
    if (Active()) DatabaseError("Cannot change the SQL of an open dataset");
    FSQL->Assign(value);
}

void TSQLQuery::ReadOnlyError() const { DatabaseError("Cannot modify a read-only dataset"); }

int TSQLQuery::InternalInsert(int, const std::vector<Variant>&) { ReadOnlyError(); }
void TSQLQuery::InternalUpdate(int, const std::vector<Variant>&) { ReadOnlyError(); }
void TSQLQuery::InternalDelete(int) { ReadOnlyError(); }

void TSQLQuery::OpenSource() {
    const TParsedSQL parsed = ParseSQLParams(FSQL->Text());
    FText = parsed.Text;
    while (!FText.empty() && (FText.back() == ';' || std::isspace(static_cast<unsigned char>(FText.back()))))
        FText.pop_back();
    if (FText.empty()) DatabaseError("Missing SQL");
    FBinds.clear();
    for (const std::string& name : parsed.Names) {
        TSQLParam* param = FParams.FindParam(name);
        if (!param || param->Value.IsEmpty()) DatabaseError("No value for parameter '" + name + "'");
        FBinds.push_back(param->Value);
    }
    FStream = Conn().Prepare(FText);
    DefineFields(*FStream, FStream->ColumnCount(), WideIntegers(*FStream, "(" + FText + ") AS probed", FBinds));
    FStreamLive = false;
}

void TSQLQuery::CloseSource() {
    FStream.reset();
    FStreamLive = false;
    FStreamNext = 0;
}

void TSQLQuery::InternalRefresh() {
    // The next read runs the query again.
    FStreamLive = false;
    if (FStream) FStream->Reset();
    inherited::InternalRefresh();
}

int TSQLQuery::CountRecords() const {
    TSQLStatement& count = Statement("SELECT COUNT(*) FROM (" + FText + ") AS counted");
    count.BindAll(FBinds);
    count.Execute();
    const int64_t n = count.Fetch() ? count.ColumnValue(0).AsInteger() : 0;
    count.Reset();
    return static_cast<int>(n);
}

void TSQLQuery::OpenWindow() {
    DropWindow();
    FStreamLive = false;
    // The first window by a bounded run of its own, read whole: it leaves
    // no read open in the database (a lock on SQLite, a snapshot on a
    // server) and needs none cancelled; reading on starts the stream.
    const int size = WindowSize();
    TSQLStatement& first = Statement("SELECT * FROM (" + FText + ") AS first_rows" + Conn().LimitClause(size + 1));
    first.SetSmallResults(true);
    first.BindAll(FBinds);
    first.Execute();
    std::vector<std::vector<Variant>> rows;
    while (static_cast<int>(rows.size()) <= size && first.Fetch()) rows.push_back(ReadRow(first));
    first.Reset();
    // Numbered from the first row: only where the rows end may be unknown.
    const bool more = static_cast<int>(rows.size()) > size;
    if (more) rows.pop_back();
    FRows = std::move(rows);
    FWindowStart = 0;
    FRecordCount = 0;
    FStartKnown = true;
    FEndKnown = false;
    NoteEnd(static_cast<int>(FRows.size()), !more);
}

int TSQLQuery::InternalLast() {
    // Reads on a window at a time, keeping the last record read, until the
    // rows end: no count, and the stream goes on where it stopped.
    const int half = WindowSize() / 2;
    while (!FEndKnown) FetchWindow(std::max(0, FRecordCount - 1) + half);
    if (FRecordCount > 0 && !InWindow(FRecordCount - 1)) FetchWindow(FRecordCount - 1);
    return FRecordCount - 1;
}

void TSQLQuery::Restart() const {
    FStream->BindAll(FBinds);
    FStream->Execute();
    FStreamNext = 0;
    FStreamLive = true;
}

void TSQLQuery::FetchWindow(int record) const {
    try {
        ReadWindow(record);
    } catch (...) {
        // The window may hold rows moved out and the stream may have stopped
        // anywhere: both start again at the next read, or a failed read would
        // pass for the end of the rows.
        FStreamLive = false;
        DropWindow();
        throw;
    }
}

void TSQLQuery::ReadWindow(int record) const {
    const int size = WindowSize();
    const int first = std::max(0, record - size / 2);
    std::vector<std::vector<Variant>> kept;
    const int end = FWindowStart + static_cast<int>(FRows.size());
    if (FStreamLive && FStreamNext == end && first >= FWindowStart && first < end) {
        // Going on: keep the rows of the window from First on.
        kept.assign(std::make_move_iterator(FRows.begin() + (first - FWindowStart)),
                    std::make_move_iterator(FRows.end()));
    } else if (!FStreamLive || FStreamNext > first) {
        Restart();
    }
    bool ended = false;
    while (FStreamNext < first + static_cast<int>(kept.size()) && !ended) {
        ended = !FStream->Fetch();
        if (!ended) ++FStreamNext;
    }
    while (static_cast<int>(kept.size()) < size && !ended) {
        ended = !FStream->Fetch();
        if (ended) break;
        kept.push_back(ReadRow(*FStream));
        ++FStreamNext;
    }
    FRows = std::move(kept);
    FWindowStart = first;
    // The rows' end, as the query answers now: other writers may have
    // changed how many there are since they were counted.
    NoteEnd(FStreamNext, ended);
}

void TSQLQuery::DeclarePublished(TPublisher& publisher) {
    auto p = publisher.Of<TSQLQuery>();
    p.Strings("SQL", &TSQLQuery::SQL);
}

} // namespace host
