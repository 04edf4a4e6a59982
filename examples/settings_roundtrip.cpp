// Settings: typed values in the process-wide store, a plug-in's own branch,
// and brace markers expanded from settings.
//
// The store keeps everything as text under slash-separated keys; a key that
// does not start with "/" lives under "/tamri/global/". Nothing is written
// to disk: the values last as long as the process.
#include "ezu/ezu.h"

namespace {

// A plug-in names itself; its settings live under "<name>/<key>".
class TEditor : public TEzuPluginBase {
  public:
    explicit TEditor(TEzuPluginBase* parent) : TEzuPluginBase(parent) {}
    TStr name() const override { return "editor"; }
    TStr description() const override { return "a text editor"; }
};

} // namespace

int main() {
    // Typed values go in as text and come back in any type.
    ezuSetInt("width", 80, true);
    ezuSetDouble("ratio", 1.61803398, false); // kept with six significant digits
    TEzuStrList path;
    path.append("C:\\tools");
    path.append("D:\\data:old"); // a ":" inside an element is escaped
    ezuSetStringList("search path", path, true);

    ezuPrint(TStr("width: %1 (stored as '%2')\n")
                 .arg(ezuGetInt("width"))
                 .arg(ezuGetString("/tamri/global/width")));
    ezuPrint(TStr("ratio: %1\n").arg(ezuGetDouble("ratio")));
    ezuPrint(TStr("search path stored as '%1'\n").arg(ezuGetString("search path")));
    const TEzuStrList back = ezuGetStringList("search path");
    for (int i = 0; i < back.size(); ++i)
        ezuPrint(TStr("  element %1: %2\n").arg(i).arg(*back.at(i)));

    // A plug-in reads and writes under its name.
    TEditor editor(nullptr);
    editor.setString("theme", "dark", true);
    ezuPrint(TStr("editor/theme: %1\n").arg(ezuGetString("editor/theme")));

    // Markers in braces are looked up as keys, braces included.
    ezuSetString("{user}", "ada", false);
    ezuSetString("{home}", "C:\\Users\\{user}", false);
    ezuPrint(ezuExpandSettings("home of {user}: {home} ({unset} stays)\n", nullptr, false));
    return ezuGetInt("width") == 80 ? 0 : 1;
}
