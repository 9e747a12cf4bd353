// namespace_alias_map_test.cpp: the user's alias table: URI order, lookups both ways, the
// refusals and copies.
#include "tessel16/namespace_alias_map.h"

#include <gtest/gtest.h>

#include "support/expect_exception.h"

using namespace Tessel16;
using Tessel16::test::ThrowsMessage;

TEST(NamespaceAliasMap, KeepsUriOrderLooksUpBothWaysAndCopiesApart) {
    CNamespaceAliasMap map;
    map.Add("c", "urn:c");
    map.Add("a", "urn:a");
    map.Add("b", "urn:b");
    map.Add("x", "urn:x");
    map.Add("dup", "urn:x");  // replaces x
    map.Add("dup", "urn:y");
    CNamespaceAliasMap copy(map);
    ASSERT_EQ(map.GetNamespaceCount(), 5);
    const char* expected[] = {"urn:a", "urn:b", "urn:c", "urn:x", "urn:y"};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(map.GetNamespaceAt(i), expected[i]);
    EXPECT_EQ(map.GetNamespaceAt(-5), "urn:a");  // low indexes are clamped
    EXPECT_TRUE(
        ThrowsMessage([&] { map.GetNamespaceAt(5); }, "Index 5 is out of range, use 0 - 4"));

    EXPECT_EQ(map.GetAliasFromNamespace("urn:x"), "dup");
    EXPECT_EQ(map.GetAliasFromNamespace("urn:none"), "");
    EXPECT_EQ(map.GetNamespaceCount(), 5);                 // a miss adds nothing
    EXPECT_EQ(map.GetNamespaceFromAlias("dup"), "urn:x");  // first in URI order
    EXPECT_TRUE(map.DoesAliasExist("b"));
    EXPECT_FALSE(map.DoesAliasExist("x"));
    EXPECT_TRUE(map.DoesNamespaceExist("urn:c"));
    EXPECT_TRUE(
        ThrowsMessage([&] { map.GetNamespaceFromAlias("zz"); }, "Namespace alias [zz] not found"));
    map.RemoveNamespace("urn:x");
    map.RemoveNamespace("urn:absent");
    EXPECT_EQ(map.GetNamespaceFromAlias("dup"), "urn:y");

    copy.Add("q", "urn:q");
    EXPECT_EQ(map.GetNamespaceCount(), 4);
    EXPECT_EQ(copy.GetNamespaceCount(), 6);
    map = copy;
    EXPECT_EQ(map.GetAliasFromNamespace("urn:q"), "q");
}
