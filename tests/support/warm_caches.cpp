#include "ezu_test.h"

#include "ezu/ezu.h"

void ezu_test_warm_caches() {
    TEzuStrList warmList;                   // the string-list element descriptor
    TEzuMap<TStr, TStr> warmTextMap(1);     // the text map descriptor
    TEzuMap<TStr, void*> warmPointerMap(1); // the pointer map descriptor
    TEzuMap<TStr, TStr>(0)["warm"];         // the spare value of a map without a table
    TEzuMap<TStr, void*>(0)["warm"];        // the same for the pointer map
    ezuAppPath();                           // the application directory
    ezuLocaleTag();                         // the locale tag
}
