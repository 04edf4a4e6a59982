// Plug-ins: objects with a name and an optional parent, each with typed
// access to its own branch of the settings store ("<name>/<key>").
#ifndef EZU_SETTINGS_PLUGIN_H
#define EZU_SETTINGS_PLUGIN_H

#include "ezu/strings/strlist.h"
#include "ezu/strings/tstr.h"

class TEzuPluginBase {
public:
    explicit TEzuPluginBase(TEzuPluginBase* parent);
    virtual ~TEzuPluginBase();
    virtual TStr name() const = 0;
    // A one-line text a program can show for the plug-in.
    virtual TStr description() const = 0;

    TEzuPluginBase* parent() const { return parent_; }

    void setString(TStr key, TStr value, bool persist);
    TStr getString(TStr key);
    void setInt(TStr key, int value, bool persist);
    int getInt(TStr key);
    void setDouble(TStr key, double value, bool persist);
    double getDouble(TStr key);
    void setStringList(TStr key, TEzuStrList value, bool persist);
    TEzuStrList getStringList(TStr key);
    void setPointer(TStr key, void* value);
    void* getPointer(TStr key);

private:
    TEzuPluginBase* parent_;
};

// `key` from `plugin` (or globally without one); with `inherit`, an empty
// value is looked up in the ancestors, from the parent towards the root.
TStr ezuLookupSetting(TStr key, TEzuPluginBase* plugin, bool inherit);

// `text` with each brace marker ("{name}") replaced by the setting whose key
// is the marker itself; markers inside values are expanded in turn, within
// fixed bounds so that self-referring values always end.
TStr ezuExpandSettings(TStr text, TEzuPluginBase* plugin, bool inherit);

#endif
