#include "ezu/host/queries.h"

namespace {

struct Region {
    int id;
    const char* name;
};

const Region kRegions[] = {{1, "americas"}, {2, "emea"}, {3, "asia-pacific"}, {-1, "beta"}};

} // namespace

TStr ezuRegionName(int id) {
    for (const Region& region : kRegions) {
        if (region.id == id)
            return TStr(region.name);
    }
    return TStr("unknown");
}

int ezuRegionId(TStr name) {
    for (const Region& region : kRegions) {
        if (name == region.name)
            return region.id;
    }
    return 0;
}
