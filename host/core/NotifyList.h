#pragma once
// TNotifyList: a list of members that are told of something in a loop that
// may change the list (a notice that frees another member, a handler that
// unhooks itself). The loop runs over a snapshot: a member removed before
// its turn is skipped, even when a new member took its address meanwhile;
// one added during the loop waits for the next one.

#include "host/core/Export.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

VESKAR_PUBLIC_BEGIN

namespace host {

namespace detail {
// Serials tell a member from a later one at the same address.
inline std::uint64_t NextNotifySerial() {
    static std::uint64_t serial = 0;
    return ++serial;
}
} // namespace detail

template <class T>
class TNotifyList {
    struct TEntry {
        T* Item;
        std::uint64_t Serial;
    };

public:
    TNotifyList() = default;
    TNotifyList(const TNotifyList&) = default;
    // A list emptied by a move or overwritten has changed for the loops over it.
    TNotifyList(TNotifyList&& other) noexcept : FEntries(std::move(other.FEntries)), FVersion(other.FVersion) {
        other.FEntries.clear();
        other.Changed();
    }
    TNotifyList& operator=(const TNotifyList& other) {
        if (this != &other) {
            FEntries = other.FEntries;
            Changed();
        }
        return *this;
    }
    TNotifyList& operator=(TNotifyList&& other) noexcept {
        if (this != &other) {
            FEntries = std::move(other.FEntries);
            other.FEntries.clear();
            other.Changed();
            Changed();
        }
        return *this;
    }

    int Count() const { return static_cast<int>(FEntries.size()); }
    bool Empty() const { return FEntries.empty(); }
    // No range check: callers check the index against Count.
    T* operator[](int index) const { return FEntries[static_cast<size_t>(index)].Item; }
    T* Last() const { return FEntries.back().Item; }
    int IndexOf(const T* item) const {
        for (size_t i = 0; i < FEntries.size(); ++i)
            if (FEntries[i].Item == item) return static_cast<int>(i);
        return -1;
    }
    bool Contains(const T* item) const { return IndexOf(item) >= 0; }

    void Add(T* item) {
        FEntries.push_back({item, detail::NextNotifySerial()});
        Changed();
    }
    // Removes every entry of Item; answers whether there was one.
    bool Remove(const T* item) {
        if (std::erase_if(FEntries, [item](const TEntry& e) { return e.Item == item; }) == 0) return false;
        Changed();
        return true;
    }
    // Removes the last entry of Item, looked for from the end (where members
    // that go in the reverse order they came are found at once); answers
    // whether there was one.
    bool RemoveOne(const T* item) {
        for (size_t i = FEntries.size(); i-- > 0;)
            if (FEntries[i].Item == item) {
                FEntries.erase(FEntries.begin() + static_cast<std::ptrdiff_t>(i));
                Changed();
                return true;
            }
        return false;
    }
    // Moves the entry at From to To; it stays the same member for a loop.
    void Move(int from, int to) {
        const TEntry entry = FEntries[static_cast<size_t>(from)];
        FEntries.erase(FEntries.begin() + from);
        FEntries.insert(FEntries.begin() + to, entry);
        Changed();
    }

    // The members as they are now, for a loop that may change the list. A
    // few members (a control's hooks, a field's links) are kept inline, so a
    // loop over a short list allocates nothing.
    class TSnapshot {
    public:
        // Calls F on each member, first to last, that is still in the list.
        template <class F>
        void ForEach(F f) const {
            for (size_t i = 0; i < FCount; ++i)
                if (Holds(i)) f(At(i).Item);
        }
        // The same, last to first.
        template <class F>
        void ForEachBackward(F f) const {
            for (size_t i = FCount; i-- > 0;)
                if (Holds(i)) f(At(i).Item);
        }

    private:
        friend class TNotifyList;
        static constexpr size_t InlineCount = 4;  // the copies below know it

        // The inline entries beyond the count stay unset, and the few there
        // are copied straight, without a loop or a call: a message through
        // a control takes a snapshot of its hooks on every pass.
        TSnapshot(const TNotifyList& list) : FList(list), FVersion(list.FVersion), FCount(list.FEntries.size()) {
            const TEntry* from = list.FEntries.data();
            switch (FCount) {
            case 4: FInline[3] = from[3]; [[fallthrough]];
            case 3: FInline[2] = from[2]; [[fallthrough]];
            case 2: FInline[1] = from[1]; [[fallthrough]];
            case 1: FInline[0] = from[0]; [[fallthrough]];
            case 0: break;
            default:
                FHeap = std::make_unique_for_overwrite<TEntry[]>(FCount);
                std::copy(from, from + FCount, FHeap.get());
                FData = FHeap.get();
                break;
            }
        }
        TSnapshot(const TSnapshot&) = delete;
        TSnapshot& operator=(const TSnapshot&) = delete;
        const TEntry& At(size_t i) const { return FData[i]; }
        // A list unchanged since the snapshot still holds every member of it.
        bool Holds(size_t i) const { return FList.FVersion == FVersion || FList.Holds(At(i), i); }

        const TNotifyList& FList;
        std::uint64_t FVersion;
        size_t FCount;
        std::array<TEntry, InlineCount> FInline;
        std::unique_ptr<TEntry[]> FHeap;
        const TEntry* FData = FInline.data();
    };

    TSnapshot Snapshot() const { return TSnapshot(*this); }

    // One member as it is now, asked after each call out whether it is still
    // in the list: the snapshot of a list of one, without copies or a loop,
    // for the hottest loop there is (a control with one hook).
    class TWatch {
    public:
        T* Item() const { return FEntry.Item; }
        bool Held() const { return FList.FVersion == FVersion || FList.Holds(FEntry, 0); }

    private:
        friend class TNotifyList;
        TWatch(const TNotifyList& list, const TEntry& entry) : FList(list), FEntry(entry), FVersion(list.FVersion) {}
        const TNotifyList& FList;
        TEntry FEntry;
        std::uint64_t FVersion;
    };
    // No range check: callers check the index against Count.
    TWatch Watch(int index) const { return TWatch(*this, FEntries[static_cast<size_t>(index)]); }
    template <class F>
    void ForEach(F f) const { Snapshot().ForEach(f); }
    template <class F>
    void ForEachBackward(F f) const { Snapshot().ForEachBackward(f); }

    // Plain iteration, for loops that do not call out.
    class const_iterator {
    public:
        explicit const_iterator(typename std::vector<TEntry>::const_iterator it) : FIt(it) {}
        T* operator*() const { return FIt->Item; }
        const_iterator& operator++() {
            ++FIt;
            return *this;
        }
        bool operator!=(const const_iterator& other) const { return FIt != other.FIt; }

    private:
        typename std::vector<TEntry>::const_iterator FIt;
    };
    const_iterator begin() const { return const_iterator(FEntries.begin()); }
    const_iterator end() const { return const_iterator(FEntries.end()); }

private:
    // Every change gives the list a version no list had before, so a
    // snapshot that finds its own version knows nothing was removed.
    void Changed() { FVersion = detail::NextNotifySerial(); }

    // Most loops change nothing: the entry is looked for where it was first.
    bool Holds(const TEntry& entry, size_t hint) const {
        auto same = [&](const TEntry& e) { return e.Item == entry.Item && e.Serial == entry.Serial; };
        if (hint < FEntries.size() && same(FEntries[hint])) return true;
        return std::any_of(FEntries.begin(), FEntries.end(), same);
    }

    std::vector<TEntry> FEntries;
    std::uint64_t FVersion = 0;
};

} // namespace host

VESKAR_PUBLIC_END
