#pragma once
#include <curl/curl.h>

namespace qs {

// libcurl, loaded when the first FTP session is made rather than with the program: it brings a
// TLS stack and Kerberos with it, and loading and starting those would hold up the first
// window for a library only the firmware upgrades use.
class CurlLibrary {
public:
    // The library, loaded and initialised once per process; nullptr when it cannot be.
    static const CurlLibrary* Get();

    CURL* (*easyInit)() = nullptr;
    CURLcode (*easySetopt)(CURL*, CURLoption, ...) = nullptr;
    CURLcode (*easyPerform)(CURL*) = nullptr;
    void (*easyCleanup)(CURL*) = nullptr;
    curl_slist* (*slistAppend)(curl_slist*, const char*) = nullptr;
    void (*slistFreeAll)(curl_slist*) = nullptr;

private:
    bool Load();
};

}  // namespace qs
