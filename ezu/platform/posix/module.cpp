// Modules through dlopen. Every symbol of a module stays its own
// (RTLD_LOCAL), so two modules may define the same names, and all of them
// are bound at load (RTLD_NOW): a missing dependency fails the load, not a
// later call.
#include "ezu/platform/platform.h"

#include <dlfcn.h>
#include <errno.h>
#include <string.h>

#include <string>

#include "ezu/platform/posix/host_path.h"

namespace {

// The reason for the thread's last failure, kept because dlerror gives it
// only once.
thread_local std::string last_error;

void keep_error(const char* reason) {
    last_error = reason ? reason : "";
}

} // namespace

void* plat_module_open(const EzuWChar* path) {
    std::string host;
    if (!posix_host_path(path, &host)) {
        keep_error(strerror(errno));
        return nullptr;
    }
    // dlopen searches the library path for a name without "/".
    if (host.find('/') == std::string::npos)
        host = "./" + host;
    void* module = dlopen(host.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!module)
        keep_error(dlerror());
    return module;
}

void* plat_module_symbol(void* module, const char* name) {
    if (!module || !name) {
        keep_error(strerror(EINVAL));
        return nullptr;
    }
    dlerror(); // a null symbol is no failure by itself; only dlerror tells
    void* address = dlsym(module, name);
    if (!address) {
        const char* reason = dlerror();
        keep_error(reason ? reason : "symbol not found");
    }
    return address;
}

int plat_module_close(void* module) {
    if (!module) {
        keep_error(strerror(EINVAL));
        return -1;
    }
    if (dlclose(module) != 0) {
        keep_error(dlerror());
        return -1;
    }
    return 0;
}

const char* plat_module_error() {
    return last_error.c_str();
}
