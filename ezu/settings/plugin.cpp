// TEzuPluginBase: typed access to the plug-in's own branch of the settings
// store, and the lookup that falls back from a plug-in to its ancestors.
#include "ezu/settings/plugin.h"

#include "ezu/settings/settings.h"

TEzuPluginBase::TEzuPluginBase(TEzuPluginBase* parent) : parent_(parent) {}

TEzuPluginBase::~TEzuPluginBase() {}

namespace {

// The name, "/" and the key. Built by concatenation rather than by two
// placeholder substitutions so that a "%1" in the name stays as written
// instead of receiving the key.
TStr pluginKey(const TEzuPluginBase& plugin, const TStr& key) {
    TStr result = plugin.name();
    result += "/";
    result += key;
    return result;
}

} // namespace

void TEzuPluginBase::setString(TStr key, TStr value, bool persist) {
    ezuSetString(pluginKey(*this, key), value, persist);
}

TStr TEzuPluginBase::getString(TStr key) {
    return ezuGetString(pluginKey(*this, key));
}

void TEzuPluginBase::setInt(TStr key, int value, bool persist) {
    ezuSetInt(pluginKey(*this, key), value, persist);
}

int TEzuPluginBase::getInt(TStr key) {
    return ezuGetInt(pluginKey(*this, key));
}

void TEzuPluginBase::setDouble(TStr key, double value, bool persist) {
    ezuSetDouble(pluginKey(*this, key), value, persist);
}

double TEzuPluginBase::getDouble(TStr key) {
    return ezuGetDouble(pluginKey(*this, key));
}

void TEzuPluginBase::setStringList(TStr key, TEzuStrList value, bool persist) {
    ezuSetStringList(pluginKey(*this, key), value, persist);
}

TEzuStrList TEzuPluginBase::getStringList(TStr key) {
    return ezuGetStringList(pluginKey(*this, key));
}

void TEzuPluginBase::setPointer(TStr key, void* value) {
    ezuSetPointer(pluginKey(*this, key), value);
}

void* TEzuPluginBase::getPointer(TStr key) {
    return ezuGetPointer(pluginKey(*this, key));
}

// The walk towards the root also watches for parents that lead round in a
// circle (a plug-in made its own ancestor): a second pointer follows at half
// speed, and the walk stops when the two meet.
TStr ezuLookupSetting(TStr key, TEzuPluginBase* plugin, bool inherit) {
    TStr result(ezuEmptyStr);
    if (!plugin)
        return ezuGetString(key);
    result = plugin->getString(key);
    TEzuPluginBase* slow = plugin;
    int steps = 0;
    for (TEzuPluginBase* p = plugin->parent(); inherit && result.isEmpty() && p; p = p->parent()) {
        if (++steps % 2 == 0)
            slow = slow->parent();
        if (p == slow)
            break;
        result = p->getString(key);
    }
    return result;
}
