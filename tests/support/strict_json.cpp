// strict_json.cpp: the third-party JSON checks. RapidJSON's headers are not written for our
// warning set, so they are compiled here with those warnings off.
#include "support/strict_json.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "support/test_node.h"

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wpedantic"
#pragma GCC diagnostic ignored "-Wshadow"
#pragma GCC diagnostic ignored "-Wcast-qual"
#pragma GCC diagnostic ignored "-Wundef"
#pragma GCC diagnostic ignored "-Wimplicit-fallthrough"
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wclass-memaccess"
#endif
#include <rapidjson/document.h>
#include <rapidjson/error/en.h>
#pragma GCC diagnostic pop

namespace Tessel16::test {

::testing::AssertionResult IsStrictJson(const std::string& text) {
    rapidjson::Document document;
    document.Parse<rapidjson::kParseValidateEncodingFlag>(text.c_str(), text.size());
    if (document.HasParseError())
        return ::testing::AssertionFailure()
               << "RapidJSON: " << rapidjson::GetParseError_En(document.GetParseError())
               << " at offset " << document.GetErrorOffset() << " in\n"
               << text;
    // ctest runs test cases in parallel processes: one file per process.
    const std::string path = TempPath("strict_json_" + std::to_string(getpid()) + ".json");
    {
        std::ofstream out(path, std::ios::binary);
        out << text;
    }
    const std::string command = "python3 -m json.tool " + path + " > /dev/null 2>&1";
    const int status = std::system(command.c_str());
    std::remove(path.c_str());
    if (status != 0)
        return ::testing::AssertionFailure() << "python3 -m json.tool refused\n" << text;
    return ::testing::AssertionSuccess();
}

}  // namespace Tessel16::test
