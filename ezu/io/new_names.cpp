#include <limits.h>

#include "ezu/io/ezupath.h"
#include "ezu/io/temp_files.h"
#include "ezu/strings/strlist.h"

bool uniqueFileName(const TStr& directory, TStr& name, const TStr& pattern, int& counter,
                    int last) {
    TEzuPath dir(directory);
    if (!dir.exists())
        return false;
    TStr candidate = name;
    while (counter <= last) {
        if (counter != 0 || candidate.isEmpty())
            candidate = pattern.arg(counter);
        // The directory is completed as the file calls read it, so that a
        // directory from the drive root is not looked for under the current one.
        const bool taken = dir.resolved().join(candidate).exists();
        // The counter cannot move past the largest int: it stays there, and
        // the search ends with it.
        const bool at_limit = counter == INT_MAX;
        if (!at_limit)
            ++counter;
        if (!taken) {
            name = candidate;
            return true;
        }
        if (at_limit)
            return false;
    }
    return false;
}

// Walks up from the complete path to the first level that is a directory,
// then creates the missing levels from the top down. A drive root (three
// characters or fewer) is never created. The complete path is the one the
// file calls act on: a path from the drive root is completed with the
// current drive alone, so the levels are made where they are looked for.
bool makePath(const char* path) {
    // The path is UTF-8, so that every character of a name reaches the system.
    TStr text;
    text.assignUtf8(path);
    TEzuPath target(text);
    if (target.isDirectory())
        return true;
    TEzuPath level = target.resolved();
    TEzuStrList missing;
    while (level.length() > 3 && !level.isDirectory()) {
        missing.append(level);
        level = level.parent();
    }
    if (missing.size() == 0)
        return false;
    for (int i = missing.size() - 1; i >= 0; --i) {
        TEzuPath next(*missing.at(i));
        if (!next.makeDirectory(ezuEmptyStr) && !next.isDirectory())
            return false;
    }
    return target.isDirectory();
}
