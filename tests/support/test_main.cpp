// test_main.cpp: the entry point of every test program. Generated code registers the
// generator version before it uses the library, and so do the tests.
#include <gtest/gtest.h>

#include "tessel16/tessel16.h"

int main(int argc, char** argv) {
    Tessel16::Register(16, 1, "", "", "");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
