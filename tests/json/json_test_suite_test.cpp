// json_test_suite_test.cpp: the reader against the shared JSONTestSuite corpus (beside the
// repository, in shared/corpora): every y_ file is accepted, every n_ file refused with a
// CTsValidationException, and the implementation-defined i_ files end either way without
// anything else escaping. Comments are off, as RFC 8259 has none.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <typeinfo>
#include <vector>

#include "support/test_node.h"
#include "tessel16/exception.h"
#include "tessel16/json_text_reader.h"

using namespace Tessel16;

namespace {

std::vector<std::string> CorpusFiles(const std::string& dir) {
    std::vector<std::string> names;
    std::error_code missing;
    for (const auto& entry : std::filesystem::directory_iterator(dir, missing))
        if (entry.path().extension() == ".json") names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

TEST(JsonTestSuite, AcceptsYesRefusesNo) {
    const std::string dir =
        std::string(TESSEL16_SHARED_DIR) + "/corpora/JSONTestSuite/test_parsing";
    const std::vector<std::string> files = CorpusFiles(dir);
    if (files.empty()) GTEST_SKIP() << "corpus not found at " << dir;
    int yes = 0, no = 0, either = 0;
    for (const std::string& name : files) {
        SCOPED_TRACE(name);
        const std::string json = Tessel16::test::ReadFileBytes(dir + "/" + name);
        // The default handler alone: the events are read in json_text_reader_test.
        CJsonTextReader reader(&json);
        reader.SetAllowComments(false);
        bool accepted = false;
        std::string failure;
        try {
            reader.Parse();
            accepted = true;
        } catch (const CTsException& e) {
            if (typeid(e) != typeid(CTsValidationException)) failure = typeid(e).name();
        }
        switch (name[0]) {
            case 'y':
                ++yes;
                EXPECT_TRUE(accepted);
                break;
            case 'n':
                ++no;
                EXPECT_FALSE(accepted);
                EXPECT_EQ(failure, "");
                break;
            default:
                ++either;
                EXPECT_EQ(failure, "");
                break;
        }
    }
    // The corpus as published holds 95 y_, 188 n_ and 35 i_ files.
    EXPECT_GT(yes, 90);
    EXPECT_GT(no, 180);
    std::printf("JSONTestSuite: %d y_, %d n_, %d i_ files\n", yes, no, either);
}
