// String-keyed maps over the lower tier's hash table. Two instantiations
// exist: TEzuMap<TStr,TStr> and TEzuMap<TStr,void*>. A map owns copies of
// its keys and values.
//
// Buckets are chosen by a hash of the whole key, and a map that fills up
// moves its entries into a table with more buckets, so lookups stay short
// however many keys a map holds. Positions name the entry's value cell,
// which an entry keeps for its whole life (a replaced value is assigned into
// it), so they stay valid across inserts of other keys and across such a
// move.
#ifndef EZU_SETTINGS_MAP_H
#define EZU_SETTINGS_MAP_H

#include "ezu/ezu_export.h"
#include "ezu/strings/tstr.h"

struct HashTable;

template <class K, class V> class TEzuMap {
  public:
    // A position at one entry or at the end; `*it` is the entry's value.
    class EZU_API iterator {
      public:
        iterator(const TEzuMap* map, void* cell) : map_(map), cell_(cell) {}
        V& operator*() const;
        bool operator!=(const iterator& other) const { return !(*this == other); }
        bool operator==(const iterator& other) const {
            return map_ == other.map_ && cell_ == other.cell_;
        }

      private:
        const TEzuMap* map_;
        void* cell_; // the entry's value cell; null at the end
    };

    explicit TEzuMap(int bucketCount);
    virtual ~TEzuMap();
    TEzuMap(const TEzuMap&) = delete;
    TEzuMap& operator=(const TEzuMap&) = delete;

    iterator find(const K& key) const;
    // find() for a key given as its UTF-8 bytes; null finds nothing.
    iterator findText(const char* key) const;
    iterator end() const;
    iterator insert(const K& key, const V& value);
    V& operator[](const K& key);

  private:
    void* cellOf(const char* key) const;
    void growIfFull();

    HashTable* table_;
};

// The two maps the settings store uses are built once, inside the library.
extern template class EZU_API TEzuMap<TStr, TStr>;
extern template class EZU_API TEzuMap<TStr, void*>;

#endif
