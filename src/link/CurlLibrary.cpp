#include "link/CurlLibrary.h"

#include <dlfcn.h>

namespace qs {

namespace {

template <typename F>
bool Resolve(void* library, const char* name, F& function) {
    function = reinterpret_cast<F>(::dlsym(library, name));
    return function != nullptr;
}

}  // namespace

const CurlLibrary* CurlLibrary::Get() {
    static CurlLibrary library;
    static const bool loaded = library.Load();
    return loaded ? &library : nullptr;
}

bool CurlLibrary::Load() {
    // The run-time name first; the development link where only that is installed. Never
    // unloaded: the library keeps process-wide state from its global initialisation.
    void* handle = ::dlopen("libcurl.so.4", RTLD_NOW | RTLD_LOCAL);
    if (!handle) handle = ::dlopen("libcurl.so", RTLD_NOW | RTLD_LOCAL);
    if (!handle) return false;
    CURLcode (*globalInit)(long) = nullptr;
    if (!Resolve(handle, "curl_global_init", globalInit) || !Resolve(handle, "curl_easy_init", easyInit) ||
        !Resolve(handle, "curl_easy_setopt", easySetopt) || !Resolve(handle, "curl_easy_perform", easyPerform) ||
        !Resolve(handle, "curl_easy_cleanup", easyCleanup) || !Resolve(handle, "curl_slist_append", slistAppend) ||
        !Resolve(handle, "curl_slist_free_all", slistFreeAll))
        return false;
    return globalInit(CURL_GLOBAL_DEFAULT) == CURLE_OK;
}

}  // namespace qs
