// An example plug-in module: a greeter whose greeting and addressee are
// settings in its branch ("greeter/...") of the program's store. Build it
// against ezu as a shared library and try it with
//     ezutool plugin path/to/ezu_greeter.so name=reader
#include "ezu/settings/plugin_module.h"

namespace {

class Greeter : public TEzuPluginBase {
  public:
    explicit Greeter(TEzuPluginBase* parent) : TEzuPluginBase(parent) {
        // Defaults, kept where the program has set a value already.
        if (getString("greeting").isEmpty())
            setString("greeting", "Hello", false);
        if (getString("name").isEmpty())
            setString("name", "world", false);
    }
    TStr name() const override { return "greeter"; }
    TStr description() const override { return "Greets whoever its 'name' setting names"; }
};

} // namespace

EZU_PLUGIN_MODULE(Greeter, "greeter", "Greets whoever its 'name' setting names")
