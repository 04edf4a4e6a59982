// The number of open file descriptors, counted in /proc/self/fd.
#include "ezu/platform/platform.h"

#include <dirent.h>
#include <string.h>

int plat_open_handle_count() {
    DIR* dir = opendir("/proc/self/fd");
    if (!dir)
        return -1;
    int count = 0;
    while (const dirent* entry = readdir(dir)) {
        if (strcmp(entry->d_name, ".") != 0 && strcmp(entry->d_name, "..") != 0)
            ++count;
    }
    closedir(dir);
    // The directory listing had a descriptor of its own while it was read.
    return count - 1;
}
