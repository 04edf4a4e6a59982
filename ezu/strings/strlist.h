/// @file
/// String lists: an ordered list of TStr with value semantics, over the
/// lower tier's linked list. The list owns copies of what it is given.
#ifndef EZU_STRINGS_STRLIST_H
#define EZU_STRINGS_STRLIST_H

#include "ezu/ezu_export.h"

#include "ezu/strings/tstr.h"

struct List;
struct ListIter;

/// A list of elements of type T; only the TStr form exists (TEzuList<TStr>).
template <class T> class TEzuList;

/// An ordered list of strings that owns a copy of every element. Copies of
/// the list copy every element.
template <> class EZU_API TEzuList<TStr> {
  public:
    /// A position; `*it` is the current element, or null at the end.
    class EZU_API iterator {
      public:
        /// Takes over `position`, a lower-tier iterator, and releases it.
        explicit iterator(ListIter* position);
        /// A second position at the same element.
        iterator(const iterator& other);
        /// Moves to the element `other` stands on.
        iterator& operator=(const iterator& other);
        /// Releases the position.
        ~iterator();
        /// The current element, or null at the end.
        TStr* operator*() const;
        /// Moves to the next element (an iterator at the end stays there).
        iterator& operator++();
        /// True while the two stand on different elements.
        bool operator!=(const iterator& other) const;

      private:
        ListIter* position_;
    };

    /// An empty list.
    TEzuList();
    /// A list holding copies of `other`'s elements, in order.
    TEzuList(const TEzuList& other);
    /// Releases every element.
    virtual ~TEzuList();
    /// Replaces the elements by copies of `other`'s.
    TEzuList& operator=(const TEzuList& other);

    /// A position at the first element.
    iterator begin() const;
    /// The position past the last element.
    iterator end() const;
    /// Appends a copy of `value` and returns its position (the end when no
    /// memory was left and nothing was appended).
    iterator append(const TStr& value);
    /// Number of elements.
    int size() const;
    /// The element at `index`, or null outside 0 to size() - 1.
    TStr* at(int index) const;
    /// Index of the first element equal to `value`, or -1.
    int indexOf(const TStr& value) const;

  protected:
    /// Links a heap TStr the caller made at the end; the list owns it from
    /// then on, exactly as if append had duplicated it.
    void appendAdopted(TStr* element);

    List* list_; ///< the lower-tier list holding the elements
};

/// A list of strings that can be split from and joined into one text.
class EZU_API TEzuStrList : public TEzuList<TStr> {
  public:
    /// An empty list.
    TEzuStrList();
    /// A list holding copies of `other`'s elements.
    TEzuStrList(const TEzuStrList& other);
    /// A list of one element, a copy of `single`.
    explicit TEzuStrList(const TStr& single);
    /// Releases every element.
    ~TEzuStrList() override;
    /// Replaces the elements by copies of `other`'s.
    TEzuStrList& operator=(const TEzuStrList& other);

    /// The pieces of `text` between the occurrences of `separator`. Empty
    /// pieces between two separators are kept; empty text after a final
    /// separator adds nothing. An empty separator gives the whole text as the
    /// one element; null or empty text gives an empty list.
    static TEzuStrList split(const TStr& separator, const TStr& text);
    /// split() at a one-character separator.
    static TEzuStrList split(char separator, const TStr& text);
    /// The pieces of `text` between runs of the bytes in `chars`: a whole run
    /// ends one piece, and a run at the end adds nothing.
    static TEzuStrList splitAny(const TStr& chars, const TStr& text);
    /// The non-empty elements in order with exactly one `separator` at each
    /// seam (an element that already ends or starts with it gets no second
    /// one); the null state when no element has text.
    TStr join(const TStr& separator) const;
};

#endif
