// The shared empty string, the default value where an operation needs one.
//
// It is built before main and destroyed at exit. It will move next to the
// settings maps, whose file decides the order in which those process-wide
// objects are built.
#include "ezu/strings/tstr.h"

const TStr ezuEmptyStr("");
