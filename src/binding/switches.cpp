// switches.cpp: storage of the process-wide switches. Unsynchronised by design: they are
// set once at start-up.
#include "tessel16/switches.h"

namespace Tessel16 {
namespace {
int g_major = 0;
int g_minor = 0;
bool g_asyncToFile = false;
bool g_asyncFromFile = false;
bool g_asciiOnly = false;
// Code page 3 (the thread's ANSI code page) is the default; on this platform it means UTF-8.
unsigned int g_codePage = 3;
}  // namespace

void Register(int major, int minor, const char*, const char*, const char*) {
    g_major = major;
    g_minor = minor;
}
void AsyncToXmlFile(bool enable) { g_asyncToFile = enable; }
void AsyncFromXmlFile(bool enable) { g_asyncFromFile = enable; }
void ASCIIOnly(bool enable) { g_asciiOnly = enable; }
void SetLocalCharEncoding(unsigned int codePage) { g_codePage = codePage; }

namespace detail {
int RegisteredMajorVersion() { return g_major; }
int RegisteredMinorVersion() { return g_minor; }
bool IsAsyncToXmlFile() { return g_asyncToFile; }
bool IsAsyncFromXmlFile() { return g_asyncFromFile; }
bool IsASCIIOnly() { return g_asciiOnly; }
unsigned int LocalCharEncoding() { return g_codePage; }
}  // namespace detail

}  // namespace Tessel16
