#include "tessel16/exception.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

using namespace Tessel16;

namespace {
// Exposes the protected Clone so the dynamic class of a copy can be checked.
struct CloneProbe : CTsException {
    static std::unique_ptr<CTsException> CloneOf(const CTsException& e) {
        return std::unique_ptr<CTsException>(static_cast<const CloneProbe&>(e).Clone());
    }
};
}  // namespace

TEST(Exception, PathIsAppendedOnlyWhenNonEmpty) {
    CTsException withPath("bad value", "/root/child[2]");
    EXPECT_EQ(withPath.GetMessage(), "bad value\nPath: /root/child[2]");

    CTsException noPath("bad value", std::string());
    EXPECT_EQ(noPath.GetMessage(), "bad value");
    // An invalid value never carries a path of its own; converting copies what the source had.
    CTsInvalidValueException e("The value [x] can not be converted to a i4");
    EXPECT_EQ(e.GetPath(), "");
    EXPECT_EQ(e.GetMessage(), "The value [x] can not be converted to a i4");
    CTsInvalidValueException converted(CTsException("m", "/p"));
    EXPECT_EQ(converted.GetPath(), "/p");
}

TEST(Exception, FullMessageJoinsTheChainOutermostFirst) {
    CTsException innermost("three");
    CTsValidationException middle("two", "", innermost);
    CTsException outer("one", "/x", middle);
    EXPECT_EQ(outer.GetFullMessage(), "one\nPath: /x\ntwo\nthree");
    EXPECT_EQ(innermost.GetFullMessage(), innermost.GetMessage());
    ASSERT_NE(outer.GetInnerException(), nullptr);
    ASSERT_NE(outer.GetInnerException()->GetInnerException(), nullptr);
    EXPECT_EQ(outer.GetInnerException()->GetInnerException()->GetInnerException(), nullptr);
}

TEST(Exception, CopiesAreIndependentOfTheSource) {
    auto source = std::make_unique<CTsException>("outer", CTsInvalidParamException("inner"));
    CTsException copy(*source);
    CTsException assigned;
    assigned = *source;
    const CTsException* sourceInner = source->GetInnerException();
    EXPECT_NE(copy.GetInnerException(), sourceInner);
    source.reset();
    EXPECT_EQ(copy.GetFullMessage(), "outer\ninner");
    EXPECT_EQ(assigned.GetFullMessage(), "outer\ninner");
    assigned = assigned;  // self-assignment keeps the chain
    EXPECT_EQ(assigned.GetFullMessage(), "outer\ninner");
}

TEST(Exception, CloneKeepsTheDynamicClass) {
    CTsInvalidNamespaceException ns("Invalid namespace [x].", "/a");
    const CTsException& asRoot = ns;
    auto clone = CloneProbe::CloneOf(asRoot);
    EXPECT_NE(dynamic_cast<CTsInvalidNamespaceException*>(clone.get()), nullptr);
    EXPECT_EQ(clone->GetMessage(), ns.GetMessage());

    // An inner exception keeps its class too.
    CTsException outer("outer", CTsOverFlowException("too big"));
    EXPECT_NE(dynamic_cast<const CTsOverFlowException*>(outer.GetInnerException()), nullptr);
}

// The wrapper formats into a buffer of its own; outputs longer than a first guess must grow it.
TEST(FormatString, OutputsPastAnyFixedBufferAreComplete) {
    const std::string longArg(300, 'q');
    EXPECT_EQ(FormatString("[%s]", longArg.c_str()), "[" + longArg + "]");
    EXPECT_EQ(FormatString("%*d|%s", 40, 1, ""), std::string(39, ' ') + "1|");
    char big[400];
    std::snprintf(big, sizeof big, "%f", 1e300);
    EXPECT_EQ(FormatString("%f", 1e300), big);
    EXPECT_EQ(FormatString("Index %d of %s", 5, "x"), "Index 5 of x");
}
