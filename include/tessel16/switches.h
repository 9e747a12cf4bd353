// switches.h: the process-wide switches and the generator-version registration. They are
// plain statics meant to be set once at start-up, before any thread uses the library.
#pragma once

#include "tessel16/export.h"

namespace Tessel16 {

// The runtime's own version; generated code must register the same major and minor.
constexpr int kRuntimeMajorVersion = 16;
constexpr int kRuntimeMinorVersion = 1;

// Records the version of the generator that produced the calling code; the three text
// arguments are accepted and not used. With any version but the runtime's, every entry
// point (ToXml, FromXml, ...) writes a notice to the error output and throws CTsException
// "Wrong Version (...)", on every call.
TESSEL16_API void Register(int major, int minor, const char* = nullptr, const char* = nullptr,
                           const char* = nullptr);
// When true, ToXmlFile and ToJsonFile without compression write the file as they go.
TESSEL16_API void AsyncToXmlFile(bool enable);
// When true, XML files are read and parsed in chunks instead of being read whole first.
TESSEL16_API void AsyncFromXmlFile(bool enable);
// When true, UTF-8 text crosses into and out of the library as unchanged bytes.
TESSEL16_API void ASCIIOnly(bool enable);
// Selects the 8-bit encoding of text inside the library by Windows code page number.
// 0, 3 and 65001 mean UTF-8 (the default on this platform); 1252 and 28591 (ISO-8859-1),
// and any other code page iconv knows as "CP<n>", are converted through iconv.
TESSEL16_API void SetLocalCharEncoding(unsigned int codePage);

namespace detail {
TESSEL16_API int RegisteredMajorVersion();
TESSEL16_API int RegisteredMinorVersion();
TESSEL16_API bool IsAsyncToXmlFile();
TESSEL16_API bool IsAsyncFromXmlFile();
TESSEL16_API bool IsASCIIOnly();
TESSEL16_API unsigned int LocalCharEncoding();
}  // namespace detail

}  // namespace Tessel16
