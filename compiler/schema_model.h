// schema_model.h: what the schema compiler knows after reading a schema set. Two layers: the
// loaded documents with their global components (still XML elements of Tessel's own tree), and
// the binding model resolved from them (classes, members, enumerations), which is all the
// emitter looks at.
#pragma once

#include <map>
#include <memory>
#include <set>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "tessel16/types.h"
#include "tessel16/xml_document.h"

namespace xsd {

// A schema the compiler cannot handle, located in its file. The message names the construct.
class SchemaError : public std::runtime_error {
public:
    SchemaError(const std::string& where, const std::string& message)
        : std::runtime_error(where + ": error: " + message) {}
};

using QName = std::pair<std::string, std::string>;  // namespace URI, local name

// One loaded schema document.
struct SchemaDocument {
    std::string path;
    std::string targetNamespace;
    bool elementsQualified = false;
    bool attributesQualified = false;
    std::unique_ptr<Tessel16::CXmlDocument> xml;
    // file:line:col of every element, by element (start tags in document order).
    std::map<const Tessel16::CXmlElement*, std::pair<int, int>> positions;
    // In-scope prefixes of the document (the loader keeps one map per document).
    std::map<std::string, std::string> prefixes;
};

// A global component: its element in the tree and the document it came from.
struct Component {
    const Tessel16::CXmlElement* node = nullptr;
    const SchemaDocument* doc = nullptr;
};

// The facets and value kind of a simple type, as the runtime checks them.
struct SimpleInfo {
    Tessel16::ItemType kind = Tessel16::ItemType_string;
    std::string pattern;
    int minLength = -1, maxLength = -1, length = -1, totalDigits = -1, fractionDigits = -1;
    std::string minInclusive, maxInclusive, minExclusive, maxExclusive;
    bool hasMinInclusive = false, hasMaxInclusive = false, hasMinExclusive = false,
         hasMaxExclusive = false;
    int whitespace = 0;  // 0 preserve, 1 replace, 2 collapse
    int enumIndex = -1;  // into Model::enums when the type is an enumeration
    std::string source;  // "list", "union" or "" (how the text form was reached)
};

struct EnumType {
    std::string cppName;      // OrderStatus
    std::string cppNamespace;  // the C++ namespace it is emitted in
    std::vector<std::string> values;
    std::vector<std::string> constants;  // OrderStatus_draft
    std::string comment;
};

enum class MemberKind { Primitive, Enum, Class, AnyElement, AnyAttribute, Text };

struct Member {
    MemberKind kind = MemberKind::Primitive;
    bool isAttribute = false;
    std::string xmlName;    // element or attribute name ("AnyElement" for wildcards)
    std::string xmlNamespace;
    std::string cppName;    // Name (accessors GetName / SetName)
    int minOccurs = 1, maxOccurs = 1;  // -1 unbounded
    SimpleInfo simple;      // Primitive and Enum
    int classIndex = -1;    // Class
    bool pseudo = false;    // Class: a group without a tag of its own
    bool substitutable = false;  // Class: the element decides the class (xsi:type, groups)
    std::vector<int> substitutes;  // classes/elements the factory may pick (index into Model::elementChoices)
    int factoryIndex = -1;  // Model::factories
    bool nillable = false;
    bool hasDefault = false;
    std::string defaultValue;
    std::string wildcardNamespace;  // ##any, ##other, list
    std::string comment;    // which schema component it comes from
    bool Repeated() const { return maxOccurs != 1; }
    bool Optional() const { return minOccurs == 0; }
};

struct ClassInfo {
    std::string cppName;        // CPurchaseOrder
    std::string cppNamespace;
    std::string schemaName;     // type name for the class record (xsi:type)
    std::string schemaNamespace;
    std::string defaultElementName;
    int groupType = 0;          // sequence, choice, all
    bool pseudo = false;
    bool isAbstract = false;
    bool namedType = false;     // a named complex type (xsi:type can name it)
    bool nillable = false;      // some element of this class is nillable
    int baseIndex = -1;         // derived by extension or restriction
    std::vector<Member> members;  // own members only
    bool hasText = false;       // simple content: a Text member among the members
    std::string comment;
    bool done = false;
};

// One element factory: the elements (name, namespace, class) a substitutable member accepts,
// and the classes an xsi:type may name.
struct ElementFactory {
    std::string cppName;
    std::string cppNamespace;
    std::vector<std::pair<QName, int>> elements;  // element name -> class
    std::vector<std::pair<QName, int>> types;     // type name -> class
};

struct Model {
    std::vector<ClassInfo> classes;
    std::vector<EnumType> enums;
    std::vector<ElementFactory> factories;
    // Global elements with a class: name -> class, for the document factory.
    std::vector<std::pair<QName, int>> rootElements;
    // Target namespace -> C++ namespace, in order of first use.
    std::vector<std::pair<std::string, std::string>> namespaces;
};

struct Options {
    std::vector<std::string> schemas;
    std::string outputDir = ".";
    std::string outputName;  // file stem; default: the first schema's
    std::string filePrefix;
    std::map<std::string, std::string> namespaceMap;  // URI -> C++ namespace ("" key: default)
    std::vector<std::string> dependencyFile;  // --depfile
    int sourceFiles = 1;  // --split: 1 writes NAME.cpp, N > 1 writes NAME_1.cpp ... NAME_N.cpp
};

// Reads the schemas and everything they include and import, and resolves the binding model.
// Throws SchemaError.
class SchemaSet;
Model BuildModel(const Options& options, std::vector<std::string>* filesRead);

// Writes NAME.h and NAME.cpp (or NAME_1.cpp ... NAME_N.cpp) into the output directory.
void EmitBinding(const Model& model, const Options& options, const std::string& name);

// Naming (naming.cpp).
std::string PascalCase(const std::string& xmlName);
std::string IdentifierPart(const std::string& text);
std::string DeriveNamespace(const std::string& targetNamespace, const std::string& fallback);
std::string Lowercase(const std::string& text);

}  // namespace xsd
