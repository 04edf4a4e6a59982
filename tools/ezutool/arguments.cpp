// Reading assignments given on the command line.
#include "tool.h"

bool splitAssignment(const TStr& text, TStr& key, TStr& value) {
    if (text.find('=') <= 0)
        return false;
    TStr rest(text);
    key = rest.takeUntil("=");
    value = rest;
    return true;
}
