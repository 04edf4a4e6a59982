/// @file
/// String-keyed maps over the lower tier's hash table. Two instantiations
/// exist: TEzuMap<TStr,TStr> and TEzuMap<TStr,void*>. A map owns copies of
/// its keys and values.
///
/// Buckets are chosen by a hash of the whole key, and a map that fills up
/// moves its entries into a table with more buckets, so lookups stay short
/// however many keys a map holds. Positions name the entry's value cell,
/// which an entry keeps for its whole life (a replaced value is assigned into
/// it), so they stay valid across inserts of other keys and across such a
/// move.
#ifndef EZU_SETTINGS_MAP_H
#define EZU_SETTINGS_MAP_H

#include "ezu/ezu_export.h"
#include "ezu/strings/tstr.h"

struct HashTable;

/// A map from string keys to values of type V that owns copies of both.
/// Only TEzuMap<TStr,TStr> and TEzuMap<TStr,void*> exist. Not copyable.
template <class K, class V> class TEzuMap {
  public:
    /// A position at one entry or at the end; `*it` is the entry's value.
    class EZU_API iterator {
      public:
        /// A position at the entry whose value cell is `cell` (null: the end).
        iterator(const TEzuMap* map, void* cell) : map_(map), cell_(cell) {}
        /// The entry's value, assignable in place; not for the end.
        V& operator*() const;
        /// True when the two name different places.
        bool operator!=(const iterator& other) const { return !(*this == other); }
        /// True when both stand on the same entry of the same map, or both at
        /// its end.
        bool operator==(const iterator& other) const {
            return map_ == other.map_ && cell_ == other.cell_;
        }

      private:
        const TEzuMap* map_;
        void* cell_; // the entry's value cell; null at the end
    };

    /// An empty map starting with `bucketCount` buckets; the map adds buckets
    /// as it fills. A count below 1 gives a map that stores nothing.
    explicit TEzuMap(int bucketCount);
    /// Releases every key and value copy.
    virtual ~TEzuMap();
    TEzuMap(const TEzuMap&) = delete;
    TEzuMap& operator=(const TEzuMap&) = delete;

    /// The entry whose key has the same bytes as `key`, or end().
    iterator find(const K& key) const;
    /// find() for a key given as its UTF-8 bytes; null finds nothing.
    iterator findText(const char* key) const;
    /// findText() for a key whose length in bytes, `nbytes`, is known.
    iterator findText(const char* key, int nbytes) const;
    /// The position that stands for no entry.
    iterator end() const;
    /// Stores a copy of `value` under a copy of `key`, or assigns it to the
    /// entry that has that key (a null-state key is stored as empty text).
    /// Returns the entry, or end() when no memory was left.
    iterator insert(const K& key, const V& value);
    /// The value of `key`, made with a default value when missing. When no
    /// entry can be made, the reference is to a spare default value that
    /// belongs to no map.
    V& operator[](const K& key);

  private:
    void* cellOf(const char* key) const;
    void growIfFull();

    HashTable* table_;
};

/// The two maps the settings store uses are built once, inside the library.
extern template class EZU_API TEzuMap<TStr, TStr>;
extern template class EZU_API TEzuMap<TStr, void*>;

#endif
