// schema_compiler_test.cpp: the compiler's own rules. Every diagnostic on a small bad schema
// (message with file:line:col), the naming rules, and the program's command line and its
// same-input-same-bytes promise, whole or split.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "schema_model.h"
#include "support/test_node.h"
#include "support/test_table.h"

using Tessel16::test::ReadFileBytes;
using Tessel16::test::TempPath;

namespace {

const char* const kOpen =
    "<xs:schema xmlns:xs=\"http://www.w3.org/2001/XMLSchema\" xmlns:t=\"urn:t\" "
    "targetNamespace=\"urn:t\">\n";

std::string WriteSchema(const std::string& name, const std::string& text) {
    const std::string path = TempPath(name);
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

// Writes a schema of the target namespace urn:t whose body starts on its second line.
std::string WriteBody(const std::string& name, const std::string& body) {
    return WriteSchema(name, kOpen + body + "</xs:schema>\n");
}

// The message of the first error of a schema, or "" when it compiles.
std::string ErrorOf(const std::string& path) {
    xsd::Options options;
    options.schemas.push_back(path);
    try {
        xsd::BuildModel(options, nullptr);
    } catch (const xsd::SchemaError& error) {
        return error.what();
    }
    return "";
}

TEST(SchemaCompiler, EveryDiagnosticNamesFileLineColumnAndConstruct) {
    for (const Tessel16::test::TableRow& d :
         Tessel16::test::ReadTable("compiler/diagnostics.txt")) {
        const std::string path = WriteBody("diagnostic.xsd", d[1]);
        EXPECT_EQ(ErrorOf(path), path + ":" + d[2]) << d[0];
    }
}

TEST(SchemaCompiler, DocumentLevelDiagnostics) {
    const std::string first = WriteBody("first.xsd", "  <xs:complexType name=\"X\"/>\n");
    const std::string second = WriteBody("second.xsd",
                                         "  <xs:include schemaLocation=\"first.xsd\"/>\n"
                                         "  <xs:complexType name=\"X\"/>\n");
    EXPECT_EQ(ErrorOf(second), second +
                                   ":3:3: error: duplicate definition of complexType 'X' "
                                   "(first defined at " +
                                   first + ":2:3)");
    const std::string missing =
        WriteBody("missing.xsd", "  <xs:include schemaLocation=\"absent.xsd\"/>\n");
    EXPECT_EQ(ErrorOf(missing),
              missing + ":2:3: error: cannot open schema '" + TempPath("absent.xsd") + "'");
    const std::string notSchema = WriteSchema("root.xsd", "<?xml version=\"1.0\"?>\n<root/>\n");
    EXPECT_EQ(ErrorOf(notSchema),
              notSchema + ":2:1: error: the document element is <root>, not an xs:schema");
    const std::string broken = WriteSchema("broken.xsd", std::string(kOpen) + "  <xs:element\n");
    EXPECT_EQ(ErrorOf(broken).rfind(broken + ": error: not well-formed XML: ", 0), 0u)
        << ErrorOf(broken);
}

TEST(SchemaCompiler, NamingRules) {
    for (const Tessel16::test::TableRow& n : Tessel16::test::ReadTable("compiler/naming.txt")) {
        EXPECT_EQ(xsd::PascalCase(n[0]), n[1]) << n.line;
        EXPECT_EQ(xsd::IdentifierPart(n[0]), n[2]) << n.line;
    }
    EXPECT_EQ(xsd::DeriveNamespace("urn:example:po", "x"), "Po");
    EXPECT_EQ(xsd::DeriveNamespace("http://maven.apache.org/POM/4.0.0", "x"), "POM");
    EXPECT_EQ(xsd::DeriveNamespace("http://www.w3.org/2000/09/xmldsig#", "x"), "Xmldsig");
    EXPECT_EQ(xsd::DeriveNamespace("", "my-schema"), "MySchema");
}

// The program: its exit status and message on a bad schema, and the same bytes every run.
TEST(SchemaCompiler, ProgramIsDeterministicAndFailsCleanly) {
    const std::string program = TESSEL16_XSD_PROGRAM;
    const std::string schema = TESSEL16_SHARED_DIR "/bench/po.xsd";
    const std::string a = TempPath("xsd_a"), b = TempPath("xsd_b");
    ASSERT_EQ(std::system(("mkdir -p " + a + " " + b).c_str()), 0);
    ASSERT_EQ(std::system((program + " " + schema + " -o " + a).c_str()), 0);
    ASSERT_EQ(std::system((program + " --namespace Po " + schema + " -o " + b).c_str()), 0);
    const std::string header = ReadFileBytes(a + "/po_binding.h");
    EXPECT_EQ(ReadFileBytes(b + "/po_binding.h"), header);
    EXPECT_EQ(ReadFileBytes(b + "/po_binding.cpp"), ReadFileBytes(a + "/po_binding.cpp"));
    EXPECT_NE(header.find("class CPurchaseOrder"), std::string::npos);

    // --split N: the same header, exactly N sources (even past the class count, so a build
    // can name them beforehand), the same bytes every run; a count that is no count is refused.
    const std::string c = TempPath("xsd_c");
    const std::string split = program + " --split 40 " + schema + " -o " + c;
    ASSERT_EQ(std::system(("rm -rf " + c + " && mkdir -p " + c + " && " + split).c_str()), 0);
    EXPECT_EQ(ReadFileBytes(c + "/po_binding.h"), header);
    const std::string first = ReadFileBytes(c + "/po_binding_1.cpp");
    EXPECT_NE(first.find("Registration"), std::string::npos);
    EXPECT_EQ(ReadFileBytes(c + "/po_binding_2.cpp").find("Registration"), std::string::npos);
    EXPECT_TRUE(std::ifstream(c + "/po_binding_40.cpp"));
    EXPECT_FALSE(std::ifstream(c + "/po_binding_41.cpp"));
    EXPECT_FALSE(std::ifstream(c + "/po_binding.cpp"));
    ASSERT_EQ(std::system(split.c_str()), 0);
    EXPECT_EQ(ReadFileBytes(c + "/po_binding_1.cpp"), first);
    for (const char* count : {"0", "x", "2y", "1001"}) {
        const int refused = std::system(
            (program + " --split " + count + " " + schema + " -o " + c + " 2>/dev/null").c_str());
        EXPECT_TRUE(WIFEXITED(refused) && WEXITSTATUS(refused) == 2) << count;
    }

    const std::string bad = WriteBody("bad.xsd", "  <xs:element name=\"a\" type=\"t:X\"/>\n");
    const std::string log = TempPath("xsd_err.txt");
    const int status = std::system((program + " " + bad + " -o " + a + " 2>" + log).c_str());
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1);
    EXPECT_EQ(ReadFileBytes(log), bad + ":2:3: error: unresolved reference to type '{urn:t}X'\n");
}

}  // namespace
