/// @file
/// Plug-ins: objects with a name and an optional parent, each with typed
/// access to its own branch of the settings store ("<name>/<key>").
#ifndef EZU_SETTINGS_PLUGIN_H
#define EZU_SETTINGS_PLUGIN_H

#include "ezu/ezu_export.h"

#include "ezu/strings/strlist.h"
#include "ezu/strings/tstr.h"

/// The base of every plug-in: a named object with an optional parent whose
/// settings live in its own branch of the settings store. A program derives
/// from it and gives the name and the description.
class EZU_API TEzuPluginBase {
  public:
    /// A plug-in under `parent` (null: none). The parent is not owned; it
    /// serves ezuLookupSetting's inheritance.
    explicit TEzuPluginBase(TEzuPluginBase* parent);
    /// Leaves the plug-in's settings in the store.
    virtual ~TEzuPluginBase();
    /// The plug-in's name, the first part of every key of its branch.
    virtual TStr name() const = 0;
    /// A one-line text a program can show for the plug-in.
    virtual TStr description() const = 0;

    /// The parent given at construction, or null.
    TEzuPluginBase* parent() const { return parent_; }

    /// @name Settings of the plug-in
    /// Typed access to the store under the plug-in key: the name, "/" and the
    /// key (so 'editor' and 'width' give 'editor/width', normalised by the
    /// store like any key). name() is called once per operation.
    /// Each works as the ezuSet and ezuGet function of its type.
    //@{

    /// ezuSetString() under the plug-in key.
    void setString(TStr key, TStr value, bool persist);
    /// ezuGetString() under the plug-in key.
    TStr getString(TStr key);
    /// ezuSetInt() under the plug-in key.
    void setInt(TStr key, int value, bool persist);
    /// ezuGetInt() under the plug-in key.
    int getInt(TStr key);
    /// ezuSetDouble() under the plug-in key.
    void setDouble(TStr key, double value, bool persist);
    /// ezuGetDouble() under the plug-in key.
    double getDouble(TStr key);
    /// ezuSetStringList() under the plug-in key.
    void setStringList(TStr key, TEzuStrList value, bool persist);
    /// ezuGetStringList() under the plug-in key.
    TEzuStrList getStringList(TStr key);
    /// ezuSetPointer() under the plug-in key.
    void setPointer(TStr key, void* value);
    /// ezuGetPointer() under the plug-in key.
    void* getPointer(TStr key);
    //@}

  private:
    TEzuPluginBase* parent_;
};

/// `key` from `plugin` (or globally without one); with `inherit`, an empty
/// value is looked up in the ancestors, from the parent towards the root. The
/// walk also ends when the parents lead round in a circle.
EZU_API TStr ezuLookupSetting(TStr key, TEzuPluginBase* plugin, bool inherit);

/// @name Setting expansion
/// `text` with each brace marker ("{name}") replaced by the setting whose key
/// is the marker itself, braces included, looked up with ezuLookupSetting. A
/// marker without a value, or with empty text, stays as written; an inserted
/// value is scanned in turn, so markers inside values are expanded too.
/// Braces do not nest: in "{a{b}" the marker is "{b}".
///
/// A value that holds, directly or through other values, the marker that
/// produced it would be expanded without end, so two bounds apply. At most
/// kEzuExpandMaxSubstitutions markers are replaced, and the working text never
/// grows beyond kEzuExpandMaxBytes bytes (twice the longest line the command
/// interpreter accepts): a substitution that would make it longer is not made.
/// Once either bound is reached, no further marker is looked up and the
/// working text is returned as it stands, with its remaining markers as
/// written. A text already longer than kEzuExpandMaxBytes is returned as it is.
/// So '{a}' set to twenty copies of '{a}' expands '{a}' to 5454 copies of
/// '{a}' (287 substitutions, 16362 bytes); set to '{a}x', it expands '{a}' to
/// '{a}' followed by 1000 "x".
//@{
/// The most markers one expansion replaces.
const int kEzuExpandMaxSubstitutions = 1000;
/// The longest working text of an expansion, in bytes.
const int kEzuExpandMaxBytes = 16384;
/// Expands the brace markers of `text` with the settings seen from `plugin`
/// (null: the global ones) under the two bounds above; never fails.
EZU_API TStr ezuExpandSettings(TStr text, TEzuPluginBase* plugin, bool inherit);
//@}

#endif
