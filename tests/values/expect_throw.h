// expect_throw.h: checks that a call throws exactly a given class of the exception family
// with exactly a given message, for the table-driven failure tests of the value types.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <typeinfo>

#include "tessel16/exception.h"

namespace Tessel16::test {

template <class Expected, class Fn>
::testing::AssertionResult ThrowsExactly(Fn&& fn, const std::string& message) {
    try {
        fn();
    } catch (const CTsException& e) {
        if (typeid(e) != typeid(Expected)) {
            return ::testing::AssertionFailure()
                   << "wrong class " << typeid(e).name() << " with message: " << e.GetMessage();
        }
        if (e.GetMessage() != message) {
            return ::testing::AssertionFailure()
                   << "message [" << e.GetMessage() << "] expected [" << message << "]";
        }
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "nothing thrown, expected [" << message << "]";
}

}  // namespace Tessel16::test
