#include "host/core/Strings.h"

#include "host/core/Exception.h"
#include "host/core/Guards.h"
#include "host/core/TextUtils.h"

#include <algorithm>
#include <utility>

namespace host {

HOST_IMPLEMENT_CLASS(TStrings, TPersistent)
HOST_IMPLEMENT_CLASS(TStringList, TStrings)

// ---- TStrings ----------------------------------------------------------

int TStrings::Add(const std::string& s) {
    const int index = Count();
    Insert(index, s);
    return index;
}

int TStrings::AddObject(const std::string& s, TObject* object) {
    const int index = Add(s);
    PutObject(index, object);
    return index;
}

void TStrings::InsertObject(int index, const std::string& s, TObject* object) {
    Insert(index, s);
    PutObject(index, object);
}

void TStrings::AddStrings(const TStrings* strings) {
    const TUpdateGuard update(*this);
    for (int i = 0; i < strings->Count(); ++i) AddObject(strings->Get(i), strings->Objects(i));
}

int TStrings::CompareStrings(const std::string& a, const std::string& b) const { return CompareText(a, b); }

int TStrings::IndexOf(const std::string& s) const {
    for (int i = 0; i < Count(); ++i)
        if (CompareStrings(Get(i), s) == 0) return i;
    return -1;
}

int TStrings::IndexOfName(const std::string& name) const {
    for (int i = 0; i < Count(); ++i) {
        const std::string item = Get(i);
        const size_t eq = item.find('=');
        if (eq != std::string::npos && CompareStrings(item.substr(0, eq), name) == 0) return i;
    }
    return -1;
}

int TStrings::IndexOfObject(const TObject* object) const {
    for (int i = 0; i < Count(); ++i)
        if (Objects(i) == object) return i;
    return -1;
}

bool TStrings::Equals(const TStrings* other) const {
    if (!other || other->Count() != Count()) return false;
    for (int i = 0; i < Count(); ++i)
        if (Get(i) != other->Get(i)) return false;
    return true;
}

void TStrings::Exchange(int a, int b) {
    const std::string sa = Get(a), sb = Get(b);
    TObject* oa = Objects(a);
    TObject* ob = Objects(b);
    Put(a, sb);
    PutObject(a, ob);
    Put(b, sa);
    PutObject(b, oa);
}

void TStrings::Move(int from, int to) {
    if (from == to) return;
    const std::string s = Get(from);
    TObject* o = Objects(from);
    Delete(from);
    InsertObject(to, s, o);
}

void TStrings::Assign(const TPersistent* source) {
    if (auto* strings = dynamic_cast<const TStrings*>(source)) {
        if (strings == this) return;
        const TUpdateGuard update(*this);
        Clear();
        FDelimiter = strings->FDelimiter;
        FQuoteChar = strings->FQuoteChar;
        FStrictDelimiter = strings->FStrictDelimiter;
        AddStrings(strings);
        return;
    }
    inherited::Assign(source);
}

namespace {

std::string Quoted(const std::string& s, char quote) {
    std::string r(1, quote);
    for (char c : s) {
        r += c;
        if (c == quote) r += quote;
    }
    r += quote;
    return r;
}

// Reads a quoted text starting at the quote at Pos; doubled quotes stand for
// one. Pos ends after the closing quote (or at the end when there is none).
std::string ExtractQuoted(std::string_view text, size_t& pos, char quote) {
    std::string r;
    ++pos;
    while (pos < text.size()) {
        if (text[pos] == quote) {
            if (pos + 1 < text.size() && text[pos + 1] == quote) {
                r += quote;
                pos += 2;
                continue;
            }
            ++pos;
            return r;
        }
        r += text[pos++];
    }
    return r;
}

inline bool Blank(char c) { return c != '\0' && static_cast<unsigned char>(c) <= ' '; }

// The part of a text that the list reads: a character 0 ends it, as it ends
// the framework's texts.
std::string_view UpToNul(const std::string& text) {
    return std::string_view(text).substr(0, std::min(text.size(), text.find('\0')));
}

} // namespace

std::string TStrings::FormatDelimited(char delimiter, char quote, bool strict) const {
    if (Count() == 1 && Get(0).empty()) return std::string(2, quote);
    std::string result;
    for (int i = 0; i < Count(); ++i) {
        const std::string s = Get(i);
        // An empty item between blank delimiters would be skipped as blanks
        // when the text is read back, so it is quoted there.
        const bool needsQuotes = (s.empty() && !strict && Blank(delimiter)) ||
                                 std::any_of(s.begin(), s.end(), [&](char c) {
                                     return c == quote || c == delimiter ||
                                            (!strict && static_cast<unsigned char>(c) <= ' ');
                                 });
        if (i > 0) result += delimiter;
        result += needsQuotes ? Quoted(s, quote) : s;
    }
    return result;
}

void TStrings::ParseDelimited(const std::string& whole, char delimiter, char quote, bool strict) {
    const TUpdateGuard update(*this);
    Clear();
    const std::string_view text = UpToNul(whole);
    size_t p = 0;
    const size_t n = text.size();
    auto skipBlanks = [&] {
        if (!strict)
            while (p < n && Blank(text[p])) ++p;
    };
    skipBlanks();
    while (p < n) {
        std::string item;
        if (text[p] == quote) {
            item = ExtractQuoted(text, p, quote);
        } else {
            const size_t start = p;
            while (p < n && text[p] != delimiter && (strict || static_cast<unsigned char>(text[p]) > ' ')) ++p;
            item = std::string(text.substr(start, p - start));
        }
        Add(item);
        skipBlanks();
        if (p < n && text[p] == delimiter) {
            // A delimiter that ends the text stands before one more, empty item.
            if (p + 1 == n) Add(std::string());
            ++p;
            skipBlanks();
        }
    }
}

std::string TStrings::DelimitedText() const { return FormatDelimited(FDelimiter, FQuoteChar, FStrictDelimiter); }

void TStrings::SetDelimitedText(const std::string& text) { ParseDelimited(text, FDelimiter, FQuoteChar, FStrictDelimiter); }

// CommaText always uses the comma and the double quote, whatever the list's
// own delimiter settings are.
std::string TStrings::CommaText() const { return FormatDelimited(',', '"', false); }

void TStrings::SetCommaText(const std::string& text) { ParseDelimited(text, ',', '"', false); }

std::string TStrings::Text() const {
    std::string r;
    for (int i = 0; i < Count(); ++i) {
        r += Get(i);
        r += '\n';
    }
    return r;
}

void TStrings::SetText(const std::string& whole) {
    const TUpdateGuard update(*this);
    Clear();
    const std::string_view text = UpToNul(whole);
    size_t p = 0;
    while (p < text.size()) {
        const size_t start = p;
        while (p < text.size() && text[p] != '\n' && text[p] != '\r') ++p;
        Add(std::string(text.substr(start, p - start)));
        if (p < text.size() && text[p] == '\r') ++p;
        if (p < text.size() && text[p] == '\n') ++p;
    }
}

std::string TStrings::Names(int index) const {
    const std::string item = Get(index);
    const size_t eq = item.find('=');
    return eq == std::string::npos ? std::string() : item.substr(0, eq);
}

std::string TStrings::Values(const std::string& name) const {
    const int i = IndexOfName(name);
    if (i < 0) return std::string();
    const std::string item = Get(i);
    return item.substr(item.find('=') + 1);
}

void TStrings::BeginUpdate() {
    if (FUpdateCount == 0) SetUpdateState(true);
    ++FUpdateCount;
}

void TStrings::EndUpdate() {
    if (FUpdateCount > 0 && --FUpdateCount == 0) SetUpdateState(false);
}

// ---- TStringList -------------------------------------------------------

void TStringList::Check(int index, int count) const {
    if (index < 0 || index >= count)
        throw EListError("List index out of bounds (" + std::to_string(index) + ")");
}

std::string TStringList::Get(int index) const { return StringRef(index); }

void TStringList::Put(int index, const std::string& s) {
    if (FSorted) throw EListError("Operation not allowed on sorted list");
    Check(index, Count());
    Changing();
    FItems[static_cast<size_t>(index)].Text = s;
    Changed();
}

TObject* TStringList::Objects(int index) const {
    Check(index, Count());
    return FItems[static_cast<size_t>(index)].Object;
}

void TStringList::PutObject(int index, TObject* object) {
    Check(index, Count());
    Changing();
    FItems[static_cast<size_t>(index)].Object = object;
    Changed();
}

int TStringList::Add(const std::string& s) { return AddObject(s, nullptr); }

int TStringList::AddObject(const std::string& s, TObject* object) {
    int index = Count();
    if (FSorted && Find(s, index)) {
        if (FDuplicates == dupIgnore) return index;
        if (FDuplicates == dupError) throw EListError("String list does not allow duplicates");
    }
    InsertItem(index, s, object);
    return index;
}

void TStringList::Insert(int index, const std::string& s) { InsertObject(index, s, nullptr); }

void TStringList::InsertObject(int index, const std::string& s, TObject* object) {
    if (FSorted) throw EListError("Operation not allowed on sorted list");
    Check(index, Count() + 1);
    InsertItem(index, s, object);
}

void TStringList::InsertItem(int index, const std::string& s, TObject* object) {
    Changing();
    FItems.insert(FItems.begin() + index, Item{s, object});
    Changed();
}

void TStringList::Delete(int index) {
    Check(index, Count());
    Changing();
    FItems.erase(FItems.begin() + index);
    Changed();
}

void TStringList::Exchange(int a, int b) {
    Check(a, Count());
    Check(b, Count());
    Changing();
    std::swap(FItems[static_cast<size_t>(a)], FItems[static_cast<size_t>(b)]);
    Changed();
}

void TStringList::Clear() {
    if (FItems.empty()) return;
    Changing();
    FItems.clear();
    Changed();
}

int TStringList::CompareStrings(const std::string& a, const std::string& b) const {
    return FCaseSensitive ? CompareStr(a, b) : CompareText(a, b);
}

int TStringList::IndexOf(const std::string& s) const {
    if (!FSorted) return TStrings::IndexOf(s);
    int index = 0;
    return Find(s, index) ? index : -1;
}

bool TStringList::Find(const std::string& s, int& index) const {
    int lo = 0, hi = Count() - 1;
    bool found = false;
    while (lo <= hi) {
        const int mid = (lo + hi) / 2;
        const int c = CompareStrings(FItems[static_cast<size_t>(mid)].Text, s);
        if (c < 0) {
            lo = mid + 1;
        } else {
            hi = mid - 1;
            if (c == 0) {
                found = true;
                if (FDuplicates != dupAccept) lo = mid;
            }
        }
    }
    index = lo;
    return found;
}

void TStringList::Sort() {
    Changing();
    std::stable_sort(FItems.begin(), FItems.end(),
                     [this](const Item& a, const Item& b) { return CompareStrings(a.Text, b.Text) < 0; });
    Changed();
}

void TStringList::SetSorted(bool value) {
    if (FSorted == value) return;
    if (value) Sort();
    FSorted = value;
}

void TStringList::SetCaseSensitive(bool value) {
    if (FCaseSensitive == value) return;
    FCaseSensitive = value;
    if (FSorted) Sort();
}

void TStringList::SetUpdateState(bool updating) {
    if (updating)
        Changing();
    else
        Changed();
}

void TStringList::Changing() {
    if (UpdateCount() == 0 && OnChanging) OnChanging(this);
}

void TStringList::Changed() {
    if (UpdateCount() == 0 && OnChange) OnChange(this);
}

} // namespace host
