// String lists: an ordered list of TStr with value semantics, over the
// lower tier's linked list. The list owns copies of what it is given.
#ifndef EZU_STRINGS_STRLIST_H
#define EZU_STRINGS_STRLIST_H

#include "ezu/ezu_export.h"

#include "ezu/strings/tstr.h"

struct List;
struct ListIter;

template <class T> class TEzuList;

template <> class EZU_API TEzuList<TStr> {
  public:
    // A position; `*it` is the current element, or null at the end.
    class EZU_API iterator {
      public:
        explicit iterator(ListIter* position);
        iterator(const iterator& other);
        iterator& operator=(const iterator& other);
        ~iterator();
        TStr* operator*() const;
        iterator& operator++();
        bool operator!=(const iterator& other) const;

      private:
        ListIter* position_;
    };

    TEzuList();
    TEzuList(const TEzuList& other);
    virtual ~TEzuList();
    TEzuList& operator=(const TEzuList& other);

    iterator begin() const;
    iterator end() const;
    iterator append(const TStr& value);
    int size() const;
    TStr* at(int index) const;
    int indexOf(const TStr& value) const;

  protected:
    // Links a heap TStr the caller made at the end; the list owns it from
    // then on, exactly as if append had duplicated it.
    void appendAdopted(TStr* element);

    List* list_;
};

class EZU_API TEzuStrList : public TEzuList<TStr> {
  public:
    TEzuStrList();
    TEzuStrList(const TEzuStrList& other);
    explicit TEzuStrList(const TStr& single);
    ~TEzuStrList() override;
    TEzuStrList& operator=(const TEzuStrList& other);

    static TEzuStrList split(const TStr& separator, const TStr& text);
    static TEzuStrList split(char separator, const TStr& text);
    static TEzuStrList splitAny(const TStr& chars, const TStr& text);
    TStr join(const TStr& separator) const;
};

#endif
