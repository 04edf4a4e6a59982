// The framework's process-wide objects.
//
// They are defined here, together and in this order, because C++ builds the
// objects of one translation unit in the order of their definitions and
// destroys them in reverse, but gives no order across translation units:
// the two settings maps come first and go last, then the shared empty
// string. ezuEmptyStr is declared with TStr in the strings headers; it is
// defined in this file only so that this order holds.
#include "ezu/settings/settings.h"
#include "ezu/strings/tstr.h"

TEzuMap<TStr, TStr> ezuStringSettings(17);
TEzuMap<TStr, void*> ezuPointerSettings(17);
const TStr ezuEmptyStr("");
