#pragma once

// The catalogue of NASCAR Racing 4 tracks and the keyed collection it is built on; reading
// the tracks from a simulation folder is import/Tracks.h.

#include <cstddef>
#include <iterator>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "common/Text.h"

namespace scorewell {

// Entries in insertion order, each optionally under a key. Keys compare without regard to letter
// case, in any script (as drivers' names do), and name one entry each. Indexes count from 0.
// Entries stay where they are in memory until removed, so references returned by Add and Item
// remain valid while others are added.
template <class T>
class CKeyedCollection {
    struct Entry {
        std::string key; // case-folded; empty for an entry without key
        std::unique_ptr<T> value;
    };
    using Entries = std::vector<Entry>;

    template <class Base, class V>
    class Iterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = std::remove_const_t<V>;
        using difference_type = std::ptrdiff_t;
        using pointer = V*;
        using reference = V&;

        Iterator() = default;
        explicit Iterator(Base it) : it_(it) {}
        V& operator*() const { return *it_->value; }
        V* operator->() const { return it_->value.get(); }
        Iterator& operator++() {
            ++it_;
            return *this;
        }
        Iterator operator++(int) {
            Iterator before = *this;
            ++it_;
            return before;
        }
        bool operator==(const Iterator&) const = default;

    private:
        Base it_{};
    };

public:
    using iterator = Iterator<typename Entries::iterator, T>;
    using const_iterator = Iterator<typename Entries::const_iterator, const T>;

    std::size_t Count() const { return entries_.size(); }

    T& Item(std::size_t index) { return *entries_.at(index).value; }
    const T& Item(std::size_t index) const { return *entries_.at(index).value; }
    // Throws std::out_of_range when no entry has the key.
    T& Item(std::string_view key) { return *Found(Find(key), key); }
    const T& Item(std::string_view key) const { return *Found(Find(key), key); }

    // For callers that test: nullptr when no entry has the key.
    T* Find(std::string_view key) {
        if (key.empty()) {
            return nullptr;
        }
        auto it = byKey_.find(FoldCase(key));
        return it == byKey_.end() ? nullptr : it->second;
    }
    const T* Find(std::string_view key) const {
        return const_cast<CKeyedCollection*>(this)->Find(key);
    }

    void Remove(std::size_t index) {
        auto& entry = entries_.at(index);
        if (!entry.key.empty()) {
            byKey_.erase(entry.key);
        }
        entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(index));
    }
    void Remove(std::string_view key) {
        const T* value = Found(Find(key), key);
        for (std::size_t i = 0; i < entries_.size(); ++i) {
            if (entries_[i].value.get() == value) {
                Remove(i);
                return;
            }
        }
    }

    iterator begin() { return iterator(entries_.begin()); }
    iterator end() { return iterator(entries_.end()); }
    const_iterator begin() const { return const_iterator(entries_.begin()); }
    const_iterator end() const { return const_iterator(entries_.end()); }

protected:
    // The new entry, or nullptr (and nothing added) when the key is taken already.
    T* Insert(T value, std::string_view key) {
        std::string folded = FoldCase(key);
        if (!folded.empty() && byKey_.contains(folded)) {
            return nullptr;
        }
        auto owned = std::make_unique<T>(std::move(value));
        T* added = owned.get();
        if (!folded.empty()) {
            byKey_.emplace(folded, added);
        }
        entries_.push_back(Entry{std::move(folded), std::move(owned)});
        return added;
    }

private:
    template <class P>
    static P* Found(P* value, std::string_view key) {
        if (!value) {
            throw std::out_of_range("no entry named \"" + std::string(key) + "\"");
        }
        return value;
    }

    Entries entries_;
    std::unordered_map<std::string, T*> byKey_;
};

// One installed NASCAR Racing 4 track.
struct CTrackInfo {
    float Length = 0; // miles
    std::string TrackName;
};

// The catalogue of installed tracks, looked up by track name.
class CTracks : public CKeyedCollection<CTrackInfo> {
public:
    // Adds the track under key (without key when key is empty). When the key is taken, the
    // existing entry stays and is returned instead: the first track of a name wins.
    CTrackInfo& Add(std::string trackName, float length, std::string_view key);
};

} // namespace scorewell
