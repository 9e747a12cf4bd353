// expect_exception.h: asserts that a call throws one exact class of the exception family with
// one exact message, which is how callers of the library tell failures apart.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <typeinfo>

#include "tessel16/exception.h"

namespace Tessel16::test {

// Runs `call` and checks that it throws an object whose dynamic class is exactly `Expected`
// and whose GetMessage() equals `message`.
template <class Expected, class Call>
::testing::AssertionResult ThrowsExactly(Call&& call, const std::string& message) {
    try {
        call();
    } catch (const CTsException& e) {
        if (typeid(e) != typeid(Expected))
            return ::testing::AssertionFailure()
                   << "threw " << typeid(e).name() << " with [" << e.GetMessage() << "]";
        if (e.GetMessage() != message)
            return ::testing::AssertionFailure()
                   << "message [" << e.GetMessage() << "] expected [" << message << "]";
        return ::testing::AssertionSuccess();
    } catch (...) {
        return ::testing::AssertionFailure() << "threw something outside the family";
    }
    return ::testing::AssertionFailure() << "did not throw";
}

// Runs `call` and checks that it throws any class of the family with this message.
template <class Call>
::testing::AssertionResult ThrowsMessage(Call&& call, const std::string& message) {
    try {
        call();
    } catch (const CTsException& e) {
        if (e.GetMessage() == message) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure()
               << "message [" << e.GetMessage() << "] expected [" << message << "]";
    }
    return ::testing::AssertionFailure() << "did not throw";
}

// Runs `call` and gives back a copy of what it threw, for tests that look past the message (the
// path, the inner exception). The copy is empty, and the test has failed, unless `call` threw
// an object whose dynamic class is exactly `Expected`.
template <class Expected, class Call>
std::unique_ptr<Expected> Caught(Call&& call) {
    try {
        call();
    } catch (const CTsException& e) {
        if (typeid(e) == typeid(Expected))
            return std::make_unique<Expected>(dynamic_cast<const Expected&>(e));
        ADD_FAILURE() << "threw " << typeid(e).name() << " with [" << e.GetMessage() << "]";
        return nullptr;
    }
    ADD_FAILURE() << "did not throw";
    return nullptr;
}

}  // namespace Tessel16::test
