// strict_json.h: checks that a JSON text is accepted by two independent strict parsers,
// RapidJSON (in process, UTF-8 validated) and Python's json.tool, so that what the writer
// produces is JSON for every tool and not only for our own reader.
#pragma once

#include <gtest/gtest.h>

#include <string>

namespace Tessel16::test {

::testing::AssertionResult IsStrictJson(const std::string& text);

}  // namespace Tessel16::test
