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
    EXPECT_EQ(withPath.GetPath(), "/root/child[2]");

    CTsException noPath("bad value", std::string());
    EXPECT_EQ(noPath.GetMessage(), "bad value");
    EXPECT_EQ(noPath.GetPath(), "");

    CTsValidationException validation("missing", "/a");
    EXPECT_EQ(validation.GetMessage(), "missing\nPath: /a");
}

TEST(Exception, InvalidValueNeverCarriesAPath) {
    CTsInvalidValueException e("The value [x] can not be converted to a i4");
    EXPECT_EQ(e.GetPath(), "");
    EXPECT_EQ(e.GetMessage(), "The value [x] can not be converted to a i4");
    CTsInvalidValueException converted(CTsException("m", "/p"));
    EXPECT_EQ(converted.GetPath(), "/p");  // converting copies what the source had
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

TEST(Exception, HandlersMatchTheClassTree) {
    bool caughtAsValidation = false;
    try {
        throw CTsInvalidNamespaceException("m", "");
    } catch (const CTsInvalidParamException&) {
        FAIL() << "a namespace exception is not a parameter exception";
    } catch (const CTsValidationException&) {
        caughtAsValidation = true;
    }
    EXPECT_TRUE(caughtAsValidation);
    EXPECT_THROW(throw CTsInvalidValueException("v"), CTsValidationException);
    EXPECT_THROW(throw CTsInvalidStateException("s"), CTsException);
}

TEST(FormatString, FormatsLikePrintf) {
    struct Case {
        std::string got;
        const char* want;
    };
    const std::string longArg(300, 'q');
    const Case cases[] = {
        {FormatString("Index %d is out of range, use 0 - %d", 5, 3),
         "Index 5 is out of range, use 0 - 3"},
        {FormatString("[%s]", longArg.c_str()), nullptr},
        {FormatString("Error [0x%08X]", 0x1fu), "Error [0x0000001F]"},
        {FormatString("%.7g|%.16g", 1.5, 0.1), "1.5|0.1"},
        {FormatString("%f", 1e300), nullptr},
        {FormatString("%f|%.1f", 1.5, 2.25), "1.500000|2.2"},
        {FormatString("%5s|%-4d|%c|%%", "ab", 7, 'z'), "   ab|7   |z|%"},
        {FormatString("%.2s", "abcdef"), "ab"},
        {FormatString("%lld %s", -9223372036854775807LL - 1, "x"), "-9223372036854775808 x"},
        {FormatString("%*d", 40, 1), nullptr},
        {FormatString("%s", static_cast<const char*>("")), ""},
        {FormatString("plain"), "plain"},
    };
    for (const auto& c : cases) {
        if (c.want) {
            EXPECT_EQ(c.got, c.want);
        }
    }
    EXPECT_EQ(cases[1].got, "[" + longArg + "]");
    char big[400];
    std::snprintf(big, sizeof big, "%f", 1e300);
    EXPECT_EQ(cases[4].got, big);
    EXPECT_EQ(cases[9].got, std::string(39, ' ') + "1");
}
