#pragma once
// TStrings and TStringList: ordered lists of texts, each with an optional
// associated object, as the framework keeps field lists and the like.

#include "host/core/Export.h"
#include "host/core/Event.h"
#include "host/core/Object.h"

#include <string>
#include <vector>

VESKAR_PUBLIC_BEGIN

namespace host {

class TStrings : public TPersistent {
    HOST_CLASS(TStrings, TPersistent)
public:
    virtual int Count() const = 0;
    // Item access raises EListError for an index out of range.
    virtual std::string Get(int index) const = 0;
    virtual void Put(int index, const std::string& s) = 0;
    virtual TObject* Objects(int index) const = 0;
    virtual void PutObject(int index, TObject* object) = 0;
    std::string operator[](int index) const { return Get(index); }
    std::string Strings(int index) const { return Get(index); }

    virtual int Add(const std::string& s);
    virtual int AddObject(const std::string& s, TObject* object);
    virtual void Insert(int index, const std::string& s) = 0;
    virtual void InsertObject(int index, const std::string& s, TObject* object);
    virtual void Delete(int index) = 0;
    virtual void Clear() = 0;
    void AddStrings(const TStrings* strings);
    void Append(const std::string& s) { Add(s); }
    // Letter case is ignored unless the list says otherwise.
    virtual int IndexOf(const std::string& s) const;
    int IndexOfName(const std::string& name) const;
    int IndexOfObject(const TObject* object) const;
    bool Equals(const TStrings* other) const;
    virtual void Exchange(int a, int b);
    void Move(int from, int to);

    // Copies the texts and objects of another TStrings.
    void Assign(const TPersistent* source) override;

    // The list as comma-separated text, quoting items as the framework does.
    std::string CommaText() const;
    void SetCommaText(const std::string& text);
    std::string DelimitedText() const;
    void SetDelimitedText(const std::string& text);
    // One item a line, each ended by a line break.
    std::string Text() const;
    void SetText(const std::string& text);

    char Delimiter() const { return FDelimiter; }
    void SetDelimiter(char c) { FDelimiter = c; }
    char QuoteChar() const { return FQuoteChar; }
    void SetQuoteChar(char c) { FQuoteChar = c; }
    bool StrictDelimiter() const { return FStrictDelimiter; }
    void SetStrictDelimiter(bool v) { FStrictDelimiter = v; }

    // "Name=Value" items.
    std::string Names(int index) const;
    std::string Values(const std::string& name) const;

    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return FUpdateCount; }

protected:
    TStrings() = default;
    virtual void SetUpdateState(bool /*updating*/) {}
    virtual int CompareStrings(const std::string& a, const std::string& b) const;

private:
    VESKAR_LOCAL std::string FormatDelimited(char delimiter, char quote, bool strict) const;
    VESKAR_LOCAL void ParseDelimited(const std::string& text, char delimiter, char quote, bool strict);

    char FDelimiter = ',';
    char FQuoteChar = '"';
    bool FStrictDelimiter = false;
    int FUpdateCount = 0;
};

enum TDuplicates { dupIgnore, dupAccept, dupError };

class TStringList : public TStrings {
    HOST_CLASS(TStringList, TStrings)
public:
    int Count() const override { return static_cast<int>(FItems.size()); }
    std::string Get(int index) const override;
    // The stored string itself, for loops that only read: Get copies.
    const std::string& StringRef(int index) const {
        if (static_cast<size_t>(index) >= FItems.size()) Check(index, Count());
        return FItems[static_cast<size_t>(index)].Text;
    }
    void Put(int index, const std::string& s) override;
    TObject* Objects(int index) const override;
    void PutObject(int index, TObject* object) override;
    int Add(const std::string& s) override;
    int AddObject(const std::string& s, TObject* object) override;
    void Insert(int index, const std::string& s) override;
    void InsertObject(int index, const std::string& s, TObject* object) override;
    void Delete(int index) override;
    void Clear() override;
    int IndexOf(const std::string& s) const override;
    // Swaps the two items even in a sorted list, which may leave it out of order.
    void Exchange(int a, int b) override;

    // In a sorted list: finds S by binary search; Index is where it is or
    // where it would go.
    bool Find(const std::string& s, int& index) const;
    void Sort();
    bool Sorted() const { return FSorted; }
    void SetSorted(bool value);
    TDuplicates Duplicates() const { return FDuplicates; }
    void SetDuplicates(TDuplicates value) { FDuplicates = value; }
    bool CaseSensitive() const { return FCaseSensitive; }
    void SetCaseSensitive(bool value);

    TNotifyEvent OnChange;
    TNotifyEvent OnChanging;

protected:
    TStringList() = default;
    void SetUpdateState(bool updating) override;
    int CompareStrings(const std::string& a, const std::string& b) const override;
    void Changed();
    void Changing();

private:
    struct Item {
        std::string Text;
        TObject* Object = nullptr;
    };
    void Check(int index, int count) const;
    VESKAR_LOCAL void InsertItem(int index, const std::string& s, TObject* object);

    std::vector<Item> FItems;
    bool FSorted = false;
    bool FCaseSensitive = false;
    TDuplicates FDuplicates = dupAccept;
};

} // namespace host

VESKAR_PUBLIC_END
