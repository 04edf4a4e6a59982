#include "ezu_test.h"

#include "ezu/ezu.h"

void ezu_test_warm_caches() {
    ezuAppPath();
    ezuLocaleTag();
}
