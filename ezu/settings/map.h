// String-keyed maps over the lower tier's hash table. Two instantiations
// exist: TEzuMap<TStr,TStr> and TEzuMap<TStr,void*>. A map owns copies of
// its keys and values.
#ifndef EZU_SETTINGS_MAP_H
#define EZU_SETTINGS_MAP_H

#include "ezu/strings/tstr.h"

struct HashTable;
struct HashIter;

template <class K, class V> class TEzuMap {
  public:
    // A position at one entry or at the end; `*it` is the entry's value.
    class iterator {
      public:
        explicit iterator(HashIter* position);
        iterator(const iterator& other);
        iterator& operator=(const iterator& other);
        ~iterator();
        V& operator*() const;
        bool operator!=(const iterator& other) const;
        bool operator==(const iterator& other) const;

      private:
        HashIter* position_;
    };

    explicit TEzuMap(int bucketCount);
    virtual ~TEzuMap();
    TEzuMap(const TEzuMap&) = delete;
    TEzuMap& operator=(const TEzuMap&) = delete;

    iterator find(const K& key) const;
    iterator end() const;
    iterator insert(const K& key, const V& value);
    V& operator[](const K& key);

  private:
    HashTable* table_;
};

#endif
