// TEzuPath::renameTo over fs_rename. The lower tier normalises its arguments
// in place, so it works on copies and this path's text stays as it was.
#include "ezu/io/ezupath.h"

#include "ezu/io/path.h"

int TEzuPath::renameTo(const TStr& target) const {
    TStr from(static_cast<const TStr&>(*this));
    TStr to(target);
    return fs_rename(from.buffer(), to.buffer());
}
