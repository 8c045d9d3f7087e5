#include "host/data/SqlTable.h"

#include "host/core/Exception.h"
#include "host/core/Publisher.h"
#include "host/core/TextUtils.h"

#include <algorithm>

namespace host {

HOST_IMPLEMENT_COMPONENT(TSQLTable, TCustomSQLDataSet)

namespace {

std::vector<std::string> SplitNames(const std::string& names) {
    std::vector<std::string> list;
    size_t p = 0;
    while (p <= names.size()) {
        size_t semi = names.find(';', p);
        if (semi == std::string::npos) semi = names.size();
        std::string name = Trim(std::string_view(names).substr(p, semi - p));
        if (!name.empty()) list.push_back(std::move(name));
        p = semi + 1;
    }
    return list;
}

std::string Join(const std::vector<std::string>& parts, const char* separator) {
    std::string text;
    for (size_t i = 0; i < parts.size(); ++i) {
        if (i) text += separator;
        text += parts[i];
    }
    return text;
}

bool AnyNull(const std::vector<Variant>& values) {
    return std::any_of(values.begin(), values.end(), [](const Variant& v) { return v.IsNull() || v.IsEmpty(); });
}

} // namespace

// ---- properties --------------------------------------------------------------

void TSQLTable::CheckClosed() const {
    if (Active()) DatabaseError("Cannot perform this operation on an open dataset");
}

void TSQLTable::SetTableName(const std::string& value) {
    CheckClosed();
    FTableName = value;
}

void TSQLTable::SetIndexFieldNames(const std::string& value) {
    CheckClosed();
    FIndexFieldNames = value;
}

void TSQLTable::SetKeyFields(const std::string& value) {
    CheckClosed();
    FKeyFields = value;
}

bool TSQLTable::CanModify() const { return inherited::CanModify() && !FIdentity.empty(); }

// ---- opening ---------------------------------------------------------------

void TSQLTable::OpenSource() {
    if (FTableName.empty()) DatabaseError("Missing TableName");
    const std::string from = " FROM " + Quote(FTableName);
    {
        TSQLStatementPtr columns = Conn().Prepare("SELECT *" + from);
        DefineFields(*columns, columns->ColumnCount(), WideIntegers(*columns, Quote(FTableName), {}));
    }
    FRowId = Conn().RowIdColumn(FTableName);
    std::vector<std::string> key = SplitNames(FKeyFields);
    if (key.empty()) key = Conn().PrimaryKeyFields(FTableName);
    if (key.empty() && !FRowId.empty()) key.push_back(FRowId);

    std::vector<std::string> hidden;
    FIdentity.clear();
    FIdentitySql.clear();
    for (const std::string& name : key) {
        FIdentity.push_back(ColumnOf(name, hidden));
        FIdentitySql.push_back(FIdentity.back() < FRowWidth ? Quote(FieldDefs().Items(FIdentity.back()).Name) : name);
    }
    FOrder.clear();
    FOrderSql.clear();
    auto addOrder = [&](int column, const std::string& sql) {
        if (std::find(FOrder.begin(), FOrder.end(), column) != FOrder.end()) return;
        FOrder.push_back(column);
        FOrderSql.push_back(sql);
    };
    for (const std::string& name : SplitNames(FIndexFieldNames)) {
        const int column = ColumnOf(name, hidden);
        if (column >= FRowWidth) DatabaseError("Field '" + name + "' not found");
        addOrder(column, Quote(FieldDefs().Items(column).Name));
    }
    for (size_t i = 0; i < FIdentity.size(); ++i) addOrder(FIdentity[i], FIdentitySql[i]);
    // Without a key (a view, say) every column joins the order, after the
    // ones asked for. Two rows then tie only when they are equal in every
    // column: copies no one can tell apart, so the order is still one order
    // of what is seen, and reading on from a copy only needs to know how
    // many copies of it lie behind (see FetchWindow).
    FUniqueOrder = !FIdentity.empty();
    if (!FUniqueOrder)
        for (int i = 0; i < FRowWidth; ++i) addOrder(i, Quote(FieldDefs().Items(i).Name));

    std::vector<std::string> select;
    for (int i = 0; i < FRowWidth; ++i) select.push_back(Quote(FieldDefs().Items(i).Name));
    for (const std::string& name : hidden) select.push_back(name);
    FReadWidth = static_cast<int>(select.size());
    FSelect = "SELECT " + Join(select, ", ") + from;
    for (bool descending : {false, true}) {
        std::vector<std::string> terms, plain;
        for (const std::string& sql : FOrderSql) {
            terms.push_back(Conn().OrderTerm(sql, descending));
            plain.push_back(sql + (descending ? " DESC" : " ASC"));
        }
        (descending ? FOrderDesc : FOrderAsc) = " ORDER BY " + Join(terms, ", ");
        (descending ? FPlainDesc : FPlainAsc) = " ORDER BY " + Join(plain, ", ");
    }
    FSearches.clear();
    CheckNullKeys();
}

int TSQLTable::ColumnOf(const std::string& name, std::vector<std::string>& hidden) {
    const int field = FieldDefs().IndexOf(name);
    if (field >= 0) return field;
    // Only the engine's row id may be read beside the fields.
    if (FRowId.empty() || !SameText(name, FRowId)) DatabaseError("Field '" + name + "' not found");
    for (size_t i = 0; i < hidden.size(); ++i)
        if (SameText(hidden[i], name)) return FRowWidth + static_cast<int>(i);
    hidden.push_back(name);
    return FRowWidth + static_cast<int>(hidden.size()) - 1;
}

void TSQLTable::CheckNullKeys() {
    std::vector<std::string> tests;
    for (const std::string& sql : FOrderSql) tests.push_back(sql + " IS NULL");
    TSQLStatement& probe =
        Statement("SELECT 1 FROM " + Quote(FTableName) + " WHERE " + Join(tests, " OR ") + Conn().LimitClause(1));
    probe.Execute();
    FNullKeys = probe.Fetch();
    probe.Reset();
}

int TSQLTable::CountRecords() const {
    TSQLStatement& count = Statement("SELECT COUNT(*) FROM " + Quote(FTableName));
    count.Execute();
    const int64_t n = count.Fetch() ? count.ColumnValue(0).AsInteger() : 0;
    count.Reset();
    return static_cast<int>(n);
}

// ---- the order and its keyset ------------------------------------------------

std::string TSQLTable::OrderBy(bool descending) const {
    if (FNullKeys) return descending ? FOrderDesc : FOrderAsc;
    return descending ? FPlainDesc : FPlainAsc;
}

TSQLTable::TRow TSQLTable::OrderKey(const TRow& row) const {
    TRow key;
    key.reserve(FOrder.size());
    for (int column : FOrder) key.push_back(row[static_cast<size_t>(column)]);
    return key;
}

std::string TSQLTable::KeysetCondition(const TRow& anchor, bool after, bool inclusive,
                                       std::vector<Variant>& binds) const {
    const char* op = after ? (inclusive ? ">=" : ">") : (inclusive ? "<=" : "<");
    if (!FNullKeys && !AnyNull(anchor)) {
        // Row values: one range an index on the order columns serves.
        for (const Variant& v : anchor) binds.push_back(v);
        if (anchor.size() == 1) return FOrderSql[0] + " " + op + " ?";
        std::vector<std::string> marks(anchor.size(), "?");
        return "(" + Join(FOrderSql, ", ") + ") " + op + " (" + Join(marks, ", ") + ")";
    }
    // NULL sorts first: spelled out column by column.
    std::vector<std::string> alternatives;
    std::vector<std::string> equalSoFar;
    std::vector<Variant> equalBinds;
    for (size_t i = 0; i <= anchor.size(); ++i) {
        std::string step;
        std::vector<Variant> stepBinds;
        if (i == anchor.size()) {
            if (!inclusive) break;
        } else if (anchor[i].IsNull() || anchor[i].IsEmpty()) {
            if (after) step = FOrderSql[i] + " IS NOT NULL";
        } else {
            step = after ? FOrderSql[i] + " > ?" : "(" + FOrderSql[i] + " IS NULL OR " + FOrderSql[i] + " < ?)";
            stepBinds.push_back(anchor[i]);
        }
        if (i == anchor.size() || !step.empty()) {
            std::vector<std::string> parts = equalSoFar;
            if (!step.empty()) parts.push_back(step);
            alternatives.push_back(parts.empty() ? "1=1" : "(" + Join(parts, " AND ") + ")");
            binds.insert(binds.end(), equalBinds.begin(), equalBinds.end());
            binds.insert(binds.end(), stepBinds.begin(), stepBinds.end());
        }
        if (i < anchor.size()) {
            equalSoFar.push_back(Conn().NullSafeEquals(FOrderSql[i]));
            equalBinds.push_back(anchor[i]);
        }
    }
    return alternatives.empty() ? "1=0" : "(" + Join(alternatives, " OR ") + ")";
}

std::vector<TSQLTable::TRow> TSQLTable::ReadRows(const std::string& sql, const std::vector<Variant>& binds,
                                                 int limit) const {
    TSQLStatement& statement = Statement(sql);
    // A window's rows or fewer: read in one piece where the engine can.
    statement.SetSmallResults(limit <= WindowSize());
    statement.BindAll(binds);
    statement.Execute();
    std::vector<TRow> rows;
    rows.reserve(static_cast<size_t>(std::min(limit, WindowSize())));
    while (static_cast<int>(rows.size()) < limit && statement.Fetch()) rows.push_back(ReadRow(statement));
    // Let go of the read at once: an open read holds the database's lock.
    statement.Reset();
    return rows;
}

int TSQLTable::Position(const TRow& anchor) const {
    std::vector<Variant> binds;
    const std::string condition = KeysetCondition(anchor, false, false, binds);
    TSQLStatement& head = Statement("SELECT COUNT(*) FROM " + Quote(FTableName) + " WHERE " + condition);
    head.BindAll(binds);
    head.Execute();
    const int64_t before = head.Fetch() ? head.ColumnValue(0).AsInteger() : 0;
    head.Reset();
    return static_cast<int>(before);
}

// ---- windows ---------------------------------------------------------------

void TSQLTable::ReadFrom(int position, const TRow& anchor) const {
    std::vector<Variant> binds;
    const std::string condition = KeysetCondition(anchor, true, true, binds);
    const int half = WindowSize() / 2;
    FRows = ReadRows(FSelect + " WHERE " + condition + OrderBy(false) + Conn().LimitClause(half), binds, half);
    FWindowStart = position;
}

void TSQLTable::OpenWindow() {
    DropWindow();
    FLowKey.clear();
    FHighKey.clear();
    FEstimate = Conn().EstimatedRowCount(FTableName);
    FRecordCount = 0;
    ReadEdge(true);
}

int TSQLTable::ReadEdge(bool front) const {
    const int half = WindowSize() / 2;
    std::vector<TRow> rows = ReadRows(FSelect + OrderBy(!front) + Conn().LimitClause(half), {}, half);
    if (!front) std::reverse(rows.begin(), rows.end());
    const int read = static_cast<int>(rows.size());
    FRows = std::move(rows);
    if (read < half) {
        // Every record is in the window.
        FWindowStart = 0;
        FRecordCount = read;
        FStartKnown = FEndKnown = true;
        return front ? (read > 0 ? 0 : -1) : read - 1;
    }
    // More than the window. From the first, the count is the rows read
    // (reading the last of them reads on); from the last, the rows are
    // numbered as the engine's estimate puts them.
    const int64_t guess = front ? read : std::max<int64_t>({FEstimate, int64_t{read}, int64_t{FRecordCount}});
    FRecordCount = static_cast<int>(std::min<int64_t>(guess, INT32_MAX / 2));
    FStartKnown = front;
    FEndKnown = !front;
    FWindowStart = front ? 0 : FRecordCount - read;
    return front ? 0 : FRecordCount - 1;
}

int TSQLTable::InternalFirst() {
    if (FStartKnown) return InternalRecordCount() > 0 ? 0 : -1;
    return ReadEdge(true);
}

int TSQLTable::InternalLast() {
    if (FEndKnown) return InternalRecordCount() - 1;
    return ReadEdge(false);
}

void TSQLTable::SettleStart() const {
    if (FStartKnown) return;
    // Without a row in hand the numbers are taken as they are.
    if (FRows.empty()) {
        FStartKnown = true;
        return;
    }
    // The first row past the copies at the front is the first of its own
    // copies: the rows before it are exactly its number.
    const int copies = CopiesAtEdge(true);
    const int row = copies < static_cast<int>(FRows.size()) ? copies : 0;
    const int before = Position(OrderKey(FRows[static_cast<size_t>(row)]));
    FStartKnown = true;
    Renumber(FWindowStart + row - before);
}

namespace {

// Where Value stands between Low and High, 0 to 1: by number, or for text
// by its first bytes after those the bounds share; 0.5 when it cannot tell.
double KeyFraction(const Variant& low, const Variant& high, const Variant& value) {
    auto isNull = [](const Variant& v) { return v.IsNull() || v.IsEmpty(); };
    if (isNull(low) || isNull(high) || isNull(value)) return isNull(value) ? 0.0 : 0.5;
    const bool text = value.VarType() == varString;
    if (text != (low.VarType() == varString) || text != (high.VarType() == varString)) return 0.5;
    double a, b, v;
    if (!text) {
        a = low.AsFloat();
        b = high.AsFloat();
        v = value.AsFloat();
    } else {
        const std::string& lo = low.StringRef();
        const std::string& hi = high.StringRef();
        size_t common = 0;
        while (common < lo.size() && common < hi.size() && lo[common] == hi[common]) ++common;
        auto number = [common](const std::string& s) {
            double n = 0;
            for (size_t i = common; i < common + 6; ++i)
                n = n * 256 + (i < s.size() ? static_cast<unsigned char>(s[i]) : 0);
            return n;
        };
        a = number(lo);
        b = number(hi);
        v = number(value.StringRef());
    }
    if (!(b > a)) return 0.5;
    return std::clamp((v - a) / (b - a), 0.0, 1.0);
}

} // namespace

int TSQLTable::EstimatedTotal() const {
    return static_cast<int>(std::min<int64_t>(std::max<int64_t>(FEstimate, FRecordCount), INT32_MAX / 2));
}

int TSQLTable::EstimatedPlace(const TRow& anchor) const {
    const int64_t total = EstimatedTotal();
    if (total <= 1 || anchor.empty()) return 0;
    if (FLowKey.empty() || FHighKey.empty()) {
        // One row from each end of the order's index.
        const std::vector<TRow> low = ReadRows(FSelect + OrderBy(false) + Conn().LimitClause(1), {}, 1);
        const std::vector<TRow> high = ReadRows(FSelect + OrderBy(true) + Conn().LimitClause(1), {}, 1);
        if (low.empty() || high.empty()) return 0;
        FLowKey = OrderKey(low.front());
        FHighKey = OrderKey(high.front());
    }
    const double fraction = KeyFraction(FLowKey.front(), FHighKey.front(), anchor.front());
    return static_cast<int>(fraction * static_cast<double>(total - 1) + 0.5);
}

int TSQLTable::PlaceAt(int place, const TRow& anchor, bool keep) const {
    try {
        return ReadAt(place, anchor, keep);
    } catch (...) {
        // Half read, the window and its numbers say nothing sure: read
        // afresh from the first record at the next need.
        DropWindow();
        FRecordCount = -1;
        throw;
    }
}

int TSQLTable::ReadAt(int place, const TRow& anchor, bool keep) const {
    place = std::max(0, place);
    const int half = WindowSize() / 2;
    std::vector<Variant> binds;
    const std::string before = KeysetCondition(anchor, false, false, binds);
    auto readBefore = [&] {
        std::vector<TRow> rows = ReadRows(FSelect + " WHERE " + before + OrderBy(true) + Conn().LimitClause(half), binds, half);
        std::reverse(rows.begin(), rows.end());
        return rows;
    };
    ReadFrom(place, anchor);
    if (FRows.empty()) {
        // Nothing from the anchor on: the records end before it.
        FRows = readBefore();
        FWindowStart = place - static_cast<int>(FRows.size());
        if (!keep) FStartKnown = false;
        NoteEnd(place, true);
        if (FWindowStart <= 0 || static_cast<int>(FRows.size()) < half) {
            // The window holds the first record.
            Renumber(FWindowStart);
            FStartKnown = true;
        }
        return FRows.empty() ? -1 : FWindowStart + static_cast<int>(FRows.size()) - 1;
    }
    const int after = static_cast<int>(FRows.size());
    if (!keep) {
        // The numbers start afresh here: the count is what is known to exist.
        FStartKnown = FEndKnown = false;
        FRecordCount = place + after;
        // The rows before it too, in the same window: a grid shows them, and
        // fewer than half a window of them numbers the records exactly.
        std::vector<TRow> rows = readBefore();
        const int read = static_cast<int>(rows.size());
        FStartKnown = read < half;
        place = FStartKnown ? read : std::max(place, read);
        FRows.insert(FRows.begin(), std::make_move_iterator(rows.begin()), std::make_move_iterator(rows.end()));
        FWindowStart = place - read;
        // Where the records end is not known yet: the engine's estimate of
        // the rows, so that a grid's position (the number over the count)
        // follows the key order rather than sitting at the rows read.
        FRecordCount = std::max(place + after, EstimatedTotal());
    }
    // Fewer than asked for: the records end there.
    if (after < half) NoteEnd(place + after, true);
    else if (place + after > FRecordCount) NoteEnd(place + after, false);
    return place;
}

void TSQLTable::FetchWindow(int record) const {
    const int size = WindowSize();
    const int half = size / 2;
    int end = FWindowStart + static_cast<int>(FRows.size());
    if (!FRows.empty() && record >= end && record < end + size && CanStepFrom(false)) {
        // Onward from the last row, keeping the window's second half.
        while (record >= end && CanStepFrom(false)) {
            std::vector<Variant> binds;
            const int copies = CopiesAtEdge(false);
            const std::string condition = KeysetCondition(OrderKey(FRows.back()), true, copies > 0, binds);
            std::vector<TRow> rows = ReadRows(
                FSelect + " WHERE " + condition + OrderBy(false) + Conn().LimitClause(half, copies), binds, half);
            // Fewer rows than asked for: the records end here, whatever was
            // counted before other writers came.
            const bool last = static_cast<int>(rows.size()) < half;
            if (rows.empty()) {
                NoteEnd(end, true);
                return;
            }
            const size_t keep = std::min(FRows.size(), static_cast<size_t>(size) - rows.size());
            FWindowStart = end - static_cast<int>(keep);
            FRows.erase(FRows.begin(), FRows.end() - static_cast<std::ptrdiff_t>(keep));
            FRows.insert(FRows.end(), std::make_move_iterator(rows.begin()), std::make_move_iterator(rows.end()));
            end = FWindowStart + static_cast<int>(FRows.size());
            NoteEnd(end, last);
            if (last) return;
        }
        // Else copies filled the window: where they start is not known here.
        if (record < end) return;
    }
    if (!FRows.empty() && record < FWindowStart && record >= FWindowStart - size && CanStepFrom(true)) {
        // Back from the first row, keeping the window's first half.
        while (record < FWindowStart && CanStepFrom(true)) {
            std::vector<Variant> binds;
            const int copies = CopiesAtEdge(true);
            const std::string condition = KeysetCondition(OrderKey(FRows.front()), false, copies > 0, binds);
            std::vector<TRow> rows = ReadRows(
                FSelect + " WHERE " + condition + OrderBy(true) + Conn().LimitClause(half, copies), binds, half);
            const bool first = static_cast<int>(rows.size()) < half;
            std::reverse(rows.begin(), rows.end());
            const size_t keep = std::min(FRows.size(), static_cast<size_t>(size) - rows.size());
            FRows.resize(keep);
            FWindowStart -= static_cast<int>(rows.size());
            FRows.insert(FRows.begin(), std::make_move_iterator(rows.begin()), std::make_move_iterator(rows.end()));
            // The first record is here: numbered 0 whatever was counted
            // before other writers came; rows come before the counted
            // first one: they number on from 0 too.
            if (first || FWindowStart < 0) {
                const int shift = FWindowStart;
                Renumber(shift);
                record -= shift;
            }
            if (first) FStartKnown = true;
            if (first) return;
        }
        if (record >= FWindowStart) return;
    }
    // A jump: read around the record from the nearer end of the table, by
    // position. Without a key this is sound with copies too: the order ties
    // only rows equal in every column.
    if (!FStartKnown && !FEndKnown) {
        // Numbers estimated from both ends: read by position only once they
        // count from the first record.
        const int shift = FShift;
        SettleStart();
        record -= FShift - shift;
    }
    if (record < 0) return;
    const int count = InternalRecordCount();
    int first = std::max(0, record - half);
    // An estimated end is no bound: the records may run on past it.
    if (FEndKnown && first + size > count) first = std::max(0, count - size);
    const int last = FEndKnown ? std::min(count, first + size) : first + size;  // one past
    if ((first <= count - last && FStartKnown) || !FEndKnown) {
        FRows = ReadRows(FSelect + OrderBy(false) + Conn().LimitClause(size, first), {}, size);
        FWindowStart = first;
        // Short of the window: the records end there; a whole window may
        // run past an estimated count.
        const int read = static_cast<int>(FRows.size());
        if (read > 0 && first + read < last) NoteEnd(first + read, true);
        else if (read > 0) NoteEnd(first + read, read < size);
    } else {
        std::vector<TRow> rows = ReadRows(FSelect + OrderBy(true) + Conn().LimitClause(size, count - last), {}, size);
        std::reverse(rows.begin(), rows.end());
        const bool whole = static_cast<int>(rows.size()) < last - first;
        FRows = std::move(rows);
        FWindowStart = last - static_cast<int>(FRows.size());
        // Short of the count from the end: the window holds every record.
        if (whole) {
            Renumber(FWindowStart);
            FStartKnown = true;
        }
    }
}

namespace {

// Equal as the engine orders them: a value of another type never is.
bool SameOrderValue(const Variant& a, const Variant& b) {
    const bool nullA = a.IsNull() || a.IsEmpty(), nullB = b.IsNull() || b.IsEmpty();
    if (nullA || nullB) return nullA == nullB;
    if ((a.VarType() == varString) != (b.VarType() == varString)) return false;
    return VarCompare(a, b) == 0;
}

} // namespace

int TSQLTable::CopiesAtEdge(bool front) const {
    if (FUniqueOrder || FRows.empty()) return 0;
    const TRow edge = OrderKey(front ? FRows.front() : FRows.back());
    int copies = 0;
    auto same = [&](const TRow& row) {
        const TRow key = OrderKey(row);
        return std::equal(key.begin(), key.end(), edge.begin(), SameOrderValue);
    };
    if (front)
        while (copies < static_cast<int>(FRows.size()) && same(FRows[static_cast<size_t>(copies)])) ++copies;
    else
        while (copies < static_cast<int>(FRows.size()) && same(FRows[FRows.size() - 1 - static_cast<size_t>(copies)]))
            ++copies;
    return copies;
}

bool TSQLTable::CanStepFrom(bool front) const {
    // Copies of the edge row run on past the window's far side when they
    // fill it: how many lie beyond is then unknown.
    return FUniqueOrder || CopiesAtEdge(front) < static_cast<int>(FRows.size());
}

const TSQLTable::TRow& TSQLTable::RowAt(int record) const {
    InternalGetValue(record, 0);
    if (record < FWindowStart || record >= FWindowStart + static_cast<int>(FRows.size()))
        DatabaseError("Record not found or changed by another user");
    return FRows[static_cast<size_t>(record - FWindowStart)];
}

// ---- searching ---------------------------------------------------------------

std::string TSQLTable::SearchText(const std::vector<TKeyMatcher>& keys, std::vector<Variant>& binds) const {
    // Whole values make the same text for the same fields and options: kept
    // by that shape, the hot path builds no text.
    std::string shape;
    bool partial = false;
    for (const TKeyMatcher& key : keys) {
        shape += std::to_string(key.FieldIndex());
        shape += key.Value().IsNull() ? 'n' : key.Text() && key.CaseInsensitive() ? 'i' : 'e';
        partial = partial || (key.Text() && key.Partial() && !key.Value().IsNull());
    }
    if (FNullKeys) shape += '0';  // the order spells out where NULLs go
    if (!partial) {
        for (const TKeyMatcher& key : keys)
            if (!key.Value().IsNull()) binds.push_back(key.Value());
        auto found = FSearches.find(shape);
        if (found != FSearches.end()) return found->second;
    }
    std::vector<std::string> conditions;
    std::vector<Variant> rangeBinds;
    for (const TKeyMatcher& key : keys) {
        const std::string column = Quote(FieldDefs().Items(key.FieldIndex()).Name);
        if (key.Value().IsNull()) {
            conditions.push_back(column + " IS NULL");
        } else if (key.Text() && key.Partial()) {
            const std::string& prefix = key.Value().StringRef();
            TSQLConnection::TCondition range = Conn().PrefixRange(column, prefix, key.CaseInsensitive());
            conditions.push_back(range.Text);
            rangeBinds.insert(rangeBinds.end(), range.Values.begin(), range.Values.end());
            if (key.CaseInsensitive() && key.FieldIndex() == FOrder.front() && Conn().BinaryTextOrder()) {
                // Every match lies between the prefix in capitals and the one
                // after it in small letters: with that range too, the engine
                // reads the order's index from the first candidate on instead
                // of sorting every match (all of them, for a short prefix).
                conditions.push_back(column + " >= ?");
                rangeBinds.push_back(Variant(UpperCase(prefix)));
                std::string high = LowerCase(prefix);
                while (!high.empty() && static_cast<unsigned char>(high.back()) == 0xFF) high.pop_back();
                if (!high.empty()) {
                    high.back() = static_cast<char>(static_cast<unsigned char>(high.back()) + 1);
                    conditions.push_back(column + " < ?");
                    rangeBinds.push_back(Variant(high));
                }
            }
        } else {
            conditions.push_back(key.Text() && key.CaseInsensitive() ? Conn().EqualsIgnoreCase(column) : column + " = ?");
            rangeBinds.push_back(key.Value());
        }
    }
    std::string text = FSelect + " WHERE " + Join(conditions, " AND ") + OrderBy(false);
    if (partial)
        binds = std::move(rangeBinds);
    else
        FSearches.emplace(shape, text);
    return text;
}

std::optional<TSQLTable::TRow> TSQLTable::FindFirst(const std::vector<TKeyMatcher>& keys) const {
    std::vector<Variant> binds;
    TSQLStatement& statement = Statement(SearchText(keys, binds));
    statement.BindAll(binds);
    statement.Execute();
    std::optional<TRow> found;
    // The engine narrows the rows down; the dataset's own comparison decides.
    while (!found && statement.Fetch()) {
        TRow row = ReadRow(statement);
        if (std::all_of(keys.begin(), keys.end(), [&](const TKeyMatcher& key) {
                return key.Matches(row[static_cast<size_t>(key.FieldIndex())]);
            }))
            found = std::move(row);
    }
    statement.Reset();
    return found;
}

Variant TSQLTable::Lookup(const std::string& keyFields, const Variant& keyValues, const std::string& resultFields) {
    if (!Active()) DatabaseError("Cannot perform this operation on a closed dataset");
    const TSQLOperationScope lookingUp(Conn(), TStorageOperation::Lookup);
    const std::vector<TKeyMatcher> keys = KeyMatchers(keyFields, keyValues, {});
    if (keys.empty()) return Variant::Null();
    const std::optional<TRow> row = FindFirst(keys);
    // The result names are read only after a hit, as the dataset's own search does.
    if (!row) return Variant::Null();
    const std::vector<TField*> results = GetFieldList(resultFields);
    if (results.size() == 1) return (*row)[static_cast<size_t>(results[0]->Index())];
    Variant array = VarArrayCreate(0, static_cast<int>(results.size()) - 1);
    for (size_t i = 0; i < results.size(); ++i)
        array[static_cast<int>(i)] = (*row)[static_cast<size_t>(results[i]->Index())];
    return array;
}

int TSQLTable::InternalFind(const std::vector<TKeyMatcher>& keys, int from) const {
    if (from != 0) return inherited::InternalFind(keys, from);
    const std::optional<TRow> row = FindFirst(keys);
    if (!row) return -1;
    const TRow anchor = OrderKey(*row);
    // In the window already: its number stands.
    for (size_t i = 0; i < FRows.size(); ++i) {
        const TRow key = OrderKey(FRows[i]);
        if (std::equal(key.begin(), key.end(), anchor.begin(), SameOrderValue)) return FWindowStart + static_cast<int>(i);
    }
    return PlaceAt(EstimatedPlace(anchor), anchor, false);
}

// ---- bookmarks ---------------------------------------------------------------

TBookmark TSQLTable::InternalGetBookmark(int record) const { return OrderKey(RowAt(record)); }

bool TSQLTable::InternalBookmarkValid(const TBookmark& bookmark) const {
    if (bookmark.size() != FOrder.size()) return false;
    for (const TRow& row : FRows) {
        const TRow key = OrderKey(row);
        if (std::equal(key.begin(), key.end(), bookmark.begin(), SameOrderValue)) return true;
    }
    std::vector<std::string> parts;
    std::vector<Variant> binds;
    for (size_t i = 0; i < FOrderSql.size(); ++i) parts.push_back(EqualTo(FOrderSql[i], bookmark[i], binds));
    return !ReadRows(FSelect + " WHERE " + Join(parts, " AND ") + Conn().LimitClause(1), binds, 1).empty();
}

int TSQLTable::InternalFindBookmark(const TBookmark& bookmark) {
    if (!InternalBookmarkValid(bookmark)) return -1;
    for (size_t i = 0; i < FRows.size(); ++i) {
        const TRow key = OrderKey(FRows[i]);
        if (std::equal(key.begin(), key.end(), bookmark.begin(), SameOrderValue)) return FWindowStart + static_cast<int>(i);
    }
    return PlaceAt(EstimatedPlace(bookmark), bookmark, false);
}

int TSQLTable::InternalCompareBookmarks(const TBookmark& a, const TBookmark& b) const {
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        // The order puts NULL first.
        const bool nullA = a[i].IsNull() || a[i].IsEmpty(), nullB = b[i].IsNull() || b[i].IsEmpty();
        if (nullA || nullB) {
            if (nullA != nullB) return nullA ? -1 : 1;
            continue;
        }
        if (SameOrderValue(a[i], b[i])) continue;
        return VarCompare(a[i], b[i]);
    }
    return static_cast<int>(a.size()) - static_cast<int>(b.size());
}

// ---- writing ---------------------------------------------------------------

std::string TSQLTable::EqualTo(const std::string& column, const Variant& value, std::vector<Variant>& binds) const {
    // A plain "=" for a value: an index serves it on every engine, where
    // PostgreSQL reads the whole table for IS NOT DISTINCT FROM.
    if (value.IsNull() || value.IsEmpty()) return column + " IS NULL";
    binds.push_back(value);
    return column + " = ?";
}

std::string TSQLTable::IdentityCondition(const TRow& row, std::vector<Variant>& binds) const {
    std::vector<std::string> parts;
    for (size_t i = 0; i < FIdentity.size(); ++i)
        parts.push_back(EqualTo(FIdentitySql[i], row[static_cast<size_t>(FIdentity[i])], binds));
    return Join(parts, " AND ");
}

int TSQLTable::InternalInsert(int position, const std::vector<Variant>& values) {
    // The table's order places the record; Position is where the cursor
    // waits should its place not be found.
    std::vector<std::string> columns;
    std::vector<std::string> marks;
    std::vector<Variant> binds;
    for (int i = 0; i < FRowWidth; ++i) {
        const Variant& v = values[static_cast<size_t>(i)];
        // Columns left Null, or not to be written, take their default.
        if (v.IsNull() || v.IsEmpty() || !Flagged(i, pfInUpdate)) continue;
        columns.push_back(Quote(FieldDefs().Items(i).Name));
        marks.push_back("?");
        binds.push_back(v);
    }
    const std::string target = "INSERT INTO " + Quote(FTableName);
    const std::string sql = (columns.empty() ? target + " DEFAULT VALUES"
                                             : target + " (" + Join(columns, ", ") + ") VALUES (" + Join(marks, ", ") + ")") +
                            " RETURNING " + Join(FOrderSql, ", ");
    const TSQLOperationScope posting(Conn(), TStorageOperation::Post);
    TRow anchor;
    WriteInTransaction([&] {
        TSQLStatement& insert = Statement(sql);
        insert.BindAll(binds);
        insert.Execute();
        if (insert.Fetch())
            for (size_t i = 0; i < FOrderSql.size(); ++i) anchor.push_back(insert.ColumnValue(static_cast<int>(i)));
        insert.Reset();
    });
    if (AnyNull(anchor)) FNullKeys = true;
    if (FRecordCount >= 0) ++FRecordCount;
    DropWindow();
    // Stored: nothing may fail the post from here on, or posting again would
    // store the record twice. Finding its place is a courtesy; failing that,
    // the cursor stays where the record was inserted.
    const TSQLOperationScope locating(Conn(), TStorageOperation::Locate);
    return Courtesy(std::max(0, position), [&] {
        const int count = InternalRecordCount();
        if (anchor.size() != FOrder.size()) return std::max(0, count - 1);
        // Numbered where it was inserted, so a grid keeps its rows in view.
        const int at = PlaceAt(std::clamp(position, 0, std::max(0, count - 1)), anchor, false);
        return at < 0 ? std::max(0, position) : at;
    });
}

void TSQLTable::InternalEdit(int record) {
    FRefused = false;
    FEditRow = RowAt(record);
}

void TSQLTable::InternalUpdate(int record, const std::vector<Variant>& values) {
    const TSQLOperationScope posting(Conn(), TStorageOperation::Post);
    TRow old;
    FRefused = false;
    // The record is read within the write, so a failed read is undone with
    // it rather than spoiling an open transaction.
    WriteInTransaction([&] {
        old = FEditRow.size() == static_cast<size_t>(FReadWidth) ? FEditRow : RowAt(record);
        std::vector<std::string> sets;
        std::vector<Variant> binds;
        std::vector<int> changed;
        for (int i = 0; i < FRowWidth; ++i) {
            const Variant& value = values[static_cast<size_t>(i)];
            if (SameOrderValue(value, old[static_cast<size_t>(i)]) || !Flagged(i, pfInUpdate)) continue;
            changed.push_back(i);
            sets.push_back(Quote(FieldDefs().Items(i).Name) + " = ?");
            binds.push_back(value);
        }
        // Nothing changed: nothing to write.
        if (changed.empty()) return;
        std::vector<int> compared;
        if (FUpdateMode == upWhereChanged) compared = changed;
        if (FUpdateMode == upWhereAll)
            for (int i = 0; i < FRowWidth; ++i) compared.push_back(i);
        const std::string sql = "UPDATE " + Quote(FTableName) + " SET " + Join(sets, ", ") + " WHERE " +
                                WriteCondition(old, compared, binds);
        TSQLStatement& update = Statement(sql);
        update.BindAll(binds);
        update.Execute();
        if (update.RowsAffected() == 0) RefuseWrite(old);
    });
    FEditRow.clear();
    FUpdated.clear();
    FUpdatedMoved = false;
    for (int column : FOrder) {
        const Variant& value = column < FRowWidth ? values[static_cast<size_t>(column)] : old[static_cast<size_t>(column)];
        if (value.IsNull() || value.IsEmpty()) FNullKeys = true;
        FUpdated.push_back(value);
        if (!SameOrderValue(value, old[static_cast<size_t>(column)])) FUpdatedMoved = true;
    }
    DropWindow();
}

std::string TSQLTable::WriteCondition(const TRow& old, const std::vector<int>& compared,
                                      std::vector<Variant>& binds) const {
    std::string condition = IdentityCondition(old, binds);
    std::vector<int> columns;
    for (int column : compared)
        if (Flagged(column, pfInWhere)) columns.push_back(column);
    for (int i = 0; i < FRowWidth; ++i)
        if (Flagged(i, pfInKey) && std::find(columns.begin(), columns.end(), i) == columns.end()) columns.push_back(i);
    for (int column : columns) {
        if (std::find(FIdentity.begin(), FIdentity.end(), column) != FIdentity.end()) continue;
        condition += " AND " + Conn().NullSafeEquals(Quote(FieldDefs().Items(column).Name));
        binds.push_back(old[static_cast<size_t>(column)]);
    }
    return condition;
}

bool TSQLTable::Flagged(int column, TProviderFlag flag) const {
    return column >= FieldCount() || Fields(column)->ProviderFlags().Contains(flag);
}

void TSQLTable::RefuseWrite(const TRow& old) {
    FRefused = true;
    const bool there = ReadAgain(old).has_value();
    DatabaseError(std::string(there ? "Record changed" : "Record deleted") + " by another user (table " + FTableName +
                  ")");
}

std::optional<TSQLTable::TRow> TSQLTable::ReadAgain(const TRow& identity) const {
    std::vector<Variant> binds;
    std::vector<TRow> rows = ReadRows(FSelect + " WHERE " + IdentityCondition(identity, binds), binds, 1);
    if (rows.empty()) return std::nullopt;
    return std::move(rows.front());
}

int TSQLTable::InternalCancel(int record) {
    FEditRow.clear();
    if (!FRefused) return record;
    FRefused = false;
    return InternalReread(record, false);
}

int TSQLTable::InternalReread(int record, bool all) {
    // The record's identity, from the window if it is there: the row as it
    // was read, which is what is to be found again.
    std::optional<TRow> identity;
    if (record >= 0 && !FIdentity.empty()) {
        if (!InWindow(record)) {
            const int shift = FShift;
            InternalGetValue(record, 0);
            record -= FShift - shift;
        }
        if (InWindow(record)) identity = FRows[static_cast<size_t>(record - FWindowStart)];
    }
    DropWindow();
    // The first and last keys stay: they only place records by estimate.
    if (all) CheckNullKeys();
    const std::optional<TRow> now = identity ? ReadAgain(*identity) : std::nullopt;
    if (!identity) {
        // Nothing to find it by: the same number, read afresh from the first.
        OpenWindow();
        return std::min(record, FRecordCount - 1);
    }
    // Gone, the record's neighbour takes its number; still there, it keeps
    // its number, and so do the others while its key is unchanged.
    const TRow was = OrderKey(*identity);
    const TRow anchor = now ? OrderKey(*now) : was;
    const bool moved = !std::equal(anchor.begin(), anchor.end(), was.begin(), SameOrderValue);
    if (now && !moved && record >= 0) {
        // Still there under its key: the row alone is the window, at its
        // number, and the rows around it are read from its key when asked
        // for (a search that follows reads its own).
        FRows.push_back(*now);
        FWindowStart = record;
        if (all) {
            // Others may have written anywhere: the numbers are estimated
            // until reading meets the ends again.
            FStartKnown = FEndKnown = false;
            FRecordCount = std::max({FRecordCount, record + 1, EstimatedTotal()});
        } else if (FRecordCount <= record) {
            FRecordCount = record + 1;
        }
        return record;
    }
    const int at = PlaceAt(std::min(record, std::max(0, InternalRecordCount() - 1)), anchor, !moved && !all);
    return at < 0 ? -1 : std::min(at, FRecordCount - 1);
}

int TSQLTable::InternalUpdatedRecord(int record) const {
    if (FUpdated.size() != FOrder.size()) return record;
    // Stored already: a failure here must not fail the post, or posting again
    // would write the values over whatever record now stands at Record.
    // Failing to find the new place, the cursor stays at the old one.
    const TSQLOperationScope locating(Conn(), TStorageOperation::Locate);
    return Courtesy(record, [&] {
        // The values written are the ones read back: the record is where its
        // new order key places it.
        // Its key unchanged, it keeps its number and the others theirs.
        const int at = PlaceAt(std::min(record, InternalRecordCount() - 1), FUpdated, !FUpdatedMoved);
        return at < 0 ? record : at;
    });
}

void TSQLTable::InternalDelete(int record) {
    const TSQLOperationScope deleting(Conn(), TStorageOperation::Delete);
    // Read within the write, as an update's record is.
    FEditRow.clear();
    TRow shown;
    WriteInTransaction([&] {
        std::vector<Variant> binds;
        shown = RowAt(record);
        std::vector<int> compared;
        if (FUpdateMode == upWhereAll)
            for (int i = 0; i < FRowWidth; ++i) compared.push_back(i);
        const std::string sql = "DELETE FROM " + Quote(FTableName) + " WHERE " + WriteCondition(shown, compared, binds);
        TSQLStatement& remove = Statement(sql);
        remove.BindAll(binds);
        remove.Execute();
        if (remove.RowsAffected() == 0) RefuseWrite(shown);
    });
    // Deleted: counting anew here could fail the delete after the fact, and
    // deleting again would take the next record. An unknown count stays
    // unknown until asked for.
    if (FRecordCount >= 0) FRecordCount = std::max(0, FRecordCount - 1);
    DropWindow();
    // The next record takes its number; reading from its key is a courtesy.
    const TSQLOperationScope locating(Conn(), TStorageOperation::Locate);
    Courtesy(record, [&] { return PlaceAt(record, OrderKey(shown), true); });
}

void TSQLTable::DeclarePublished(TPublisher& publisher) {
    auto p = publisher.Of<TSQLTable>();
    p.String("TableName", &TSQLTable::TableName, &TSQLTable::SetTableName).Default("");
    p.String("IndexFieldNames", &TSQLTable::IndexFieldNames, &TSQLTable::SetIndexFieldNames).Default("");
    p.String("KeyFields", &TSQLTable::KeyFields, &TSQLTable::SetKeyFields).Default("");
    p.Enumeration("UpdateMode", &TSQLTable::UpdateMode, &TSQLTable::SetUpdateMode, UpdateModeTypeInfo())
        .Default(upWhereChanged);
}

} // namespace host
