// schema_resolver.cpp: turns the loaded components into the binding model. Types are resolved
// on demand and memoised by their schema node, so recursion through named types ends at the
// class already being built, and every reference is checked where it is made.
#include <algorithm>
#include <functional>
#include <set>
#include <sstream>

#include "schema_loader.h"

namespace xsd {

using Tessel16::CXmlElement;
using Tessel16::ItemType;

namespace {

struct Builtin {
    const char* name;
    ItemType kind;
    int whitespace;
    const char* minInclusive;
    const char* maxInclusive;
};

// The XSD built-in types and the runtime kind each is held in.
const Builtin kBuiltins[] = {
    {"string", Tessel16::ItemType_string, 0, nullptr, nullptr},
    {"normalizedString", Tessel16::ItemType_string, 1, nullptr, nullptr},
    {"token", Tessel16::ItemType_string, 2, nullptr, nullptr},
    {"language", Tessel16::ItemType_string, 2, nullptr, nullptr},
    {"Name", Tessel16::ItemType_string, 2, nullptr, nullptr},
    {"NCName", Tessel16::ItemType_string, 2, nullptr, nullptr},
    {"ID", Tessel16::ItemType_string, 2, nullptr, nullptr},
    {"IDREF", Tessel16::ItemType_string, 2, nullptr, nullptr},
    {"IDREFS", Tessel16::ItemType_string, 2, nullptr, nullptr},
    {"ENTITY", Tessel16::ItemType_string, 2, nullptr, nullptr},
    {"ENTITIES", Tessel16::ItemType_string, 2, nullptr, nullptr},
    {"NMTOKEN", Tessel16::ItemType_string, 2, nullptr, nullptr},
    {"NMTOKENS", Tessel16::ItemType_string, 2, nullptr, nullptr},
    {"anyURI", Tessel16::ItemType_string, 2, nullptr, nullptr},
    {"QName", Tessel16::ItemType_string, 2, nullptr, nullptr},
    {"NOTATION", Tessel16::ItemType_string, 2, nullptr, nullptr},
    {"anySimpleType", Tessel16::ItemType_string, 0, nullptr, nullptr},
    {"boolean", Tessel16::ItemType_boolean, 2, nullptr, nullptr},
    {"decimal", Tessel16::ItemType_decimal, 2, nullptr, nullptr},
    {"integer", Tessel16::ItemType_integer, 2, nullptr, nullptr},
    {"nonPositiveInteger", Tessel16::ItemType_integer, 2, nullptr, "0"},
    {"negativeInteger", Tessel16::ItemType_integer, 2, nullptr, "-1"},
    {"nonNegativeInteger", Tessel16::ItemType_integer, 2, "0", nullptr},
    {"positiveInteger", Tessel16::ItemType_integer, 2, "1", nullptr},
    {"long", Tessel16::ItemType_i8, 2, nullptr, nullptr},
    {"int", Tessel16::ItemType_i4, 2, nullptr, nullptr},
    {"short", Tessel16::ItemType_i2, 2, nullptr, nullptr},
    {"byte", Tessel16::ItemType_i1, 2, nullptr, nullptr},
    {"unsignedLong", Tessel16::ItemType_ui8, 2, nullptr, nullptr},
    {"unsignedInt", Tessel16::ItemType_ui4, 2, nullptr, nullptr},
    {"unsignedShort", Tessel16::ItemType_ui2, 2, nullptr, nullptr},
    {"unsignedByte", Tessel16::ItemType_ui1, 2, nullptr, nullptr},
    {"float", Tessel16::ItemType_r4, 2, nullptr, nullptr},
    {"double", Tessel16::ItemType_r8, 2, nullptr, nullptr},
    {"duration", Tessel16::ItemType_duration, 2, nullptr, nullptr},
    {"dateTime", Tessel16::ItemType_datetime, 2, nullptr, nullptr},
    {"date", Tessel16::ItemType_date, 2, nullptr, nullptr},
    {"time", Tessel16::ItemType_time, 2, nullptr, nullptr},
    {"gYear", Tessel16::ItemType_year, 2, nullptr, nullptr},
    {"gYearMonth", Tessel16::ItemType_yearMonth, 2, nullptr, nullptr},
    {"gMonth", Tessel16::ItemType_month, 2, nullptr, nullptr},
    {"gMonthDay", Tessel16::ItemType_monthDay, 2, nullptr, nullptr},
    {"gDay", Tessel16::ItemType_day, 2, nullptr, nullptr},
    {"hexBinary", Tessel16::ItemType_hexBinary, 2, nullptr, nullptr},
    {"base64Binary", Tessel16::ItemType_base64Binary, 2, nullptr, nullptr},
};

int Occurs(const std::string& text, int fallback) {
    if (text.empty()) return fallback;
    if (text == "unbounded") return -1;
    try {
        const long long value = std::stoll(text);
        return value > 1000000 ? -1 : static_cast<int>(value);
    } catch (...) {
        return fallback;
    }
}

class Resolver {
public:
    Resolver(const SchemaSet& set, const Options& options, Model& model)
        : m_set(set), m_options(options), m_model(model) {}

    void Run() {
        // Every named type and global element gets its class, in schema order, so the output
        // does not depend on which reference was met first.
        for (const QName& name : m_set.Order("simpleType")) {
            const Component* type = m_set.Find("simpleType", name);
            SimpleOfType(type->doc, type->node, name);
        }
        for (const QName& name : m_set.Order("complexType"))
            ClassOfType(*m_set.Find("complexType", name), name);
        for (const QName& name : m_set.Order("element")) {
            const Component* element = m_set.Find("element", name);
            const int cls = ClassOfGlobalElement(*element, name);
            if (cls >= 0) m_model.rootElements.emplace_back(name, cls);
        }
        // Derived types are all known only now: a member whose class has any reads xsi:type.
        for (std::size_t i = 0; i < m_model.classes.size(); ++i) {
            for (Member& member : m_model.classes[i].members) {
                if (member.kind != MemberKind::Class || member.pseudo) continue;
                member.factoryIndex =
                    FactoryFor(QName(member.xmlNamespace, member.xmlName), member.classIndex);
                member.substitutable = member.factoryIndex >= 0;
            }
        }
    }

private:
    const SchemaSet& m_set;
    const Options& m_options;
    Model& m_model;
    std::map<const CXmlElement*, int> m_classOfNode;   // complex type or group node -> class
    std::map<const CXmlElement*, SimpleInfo> m_simpleOfNode;
    std::set<const CXmlElement*> m_simpleInProgress;
    std::set<std::string> m_classNames;                // lowercase, per C++ namespace
    std::set<std::string> m_enumNames;
    std::map<QName, int> m_factoryOfElement;
    std::map<int, int> m_factoryOfClass;

    [[noreturn]] void Fail(const SchemaDocument* doc, const CXmlElement* node,
                           const std::string& message) const {
        throw SchemaError(m_set.Where(doc, node), message);
    }

    const Component& Require(const SchemaDocument* doc, const CXmlElement* node,
                             const std::string& kind, const QName& name) const {
        const Component* found = m_set.Find(kind, name);
        if (!found) {
            Fail(doc, node, "unresolved reference to " + kind + " '" +
                                (name.first.empty() ? "" : "{" + name.first + "}") +
                                name.second + "'");
        }
        return *found;
    }

    std::string CppNamespace(const std::string& targetNamespace) {
        for (const auto& entry : m_model.namespaces)
            if (entry.first == targetNamespace) return entry.second;
        std::string name;
        auto mapped = m_options.namespaceMap.find(targetNamespace);
        if (mapped != m_options.namespaceMap.end()) {
            name = mapped->second;
        } else if (m_model.namespaces.empty() && m_options.namespaceMap.count("")) {
            name = m_options.namespaceMap.at("");
        } else {
            std::string stem = m_options.schemas.empty() ? "Schema" : m_options.schemas[0];
            stem = stem.substr(stem.find_last_of('/') + 1);
            stem = stem.substr(0, stem.rfind('.'));
            name = DeriveNamespace(targetNamespace, stem);
        }
        std::string unique = name;
        for (int n = 2;; ++n) {
            bool clash = false;
            for (const auto& entry : m_model.namespaces)
                clash = clash || Lowercase(entry.second) == Lowercase(unique);
            if (!clash) break;
            unique = name + std::to_string(n);
        }
        m_model.namespaces.emplace_back(targetNamespace, unique);
        return unique;
    }

    // A class or enum name not yet taken in its C++ namespace; names that differ only in
    // case are taken to clash, so the files also work on case-insensitive file systems.
    std::string UniqueName(std::set<std::string>& taken, const std::string& cppNamespace,
                           const std::string& base) {
        std::string name = base;
        for (int n = 2; taken.count(cppNamespace + "::" + Lowercase(name)); ++n)
            name = base + std::to_string(n);
        taken.insert(cppNamespace + "::" + Lowercase(name));
        return name;
    }

    int NewClass(const std::string& targetNamespace, const std::string& baseName,
                 const std::string& schemaName, const std::string& comment) {
        ClassInfo cls;
        cls.cppNamespace = CppNamespace(targetNamespace);
        cls.cppName = "C" + UniqueName(m_classNames, cls.cppNamespace, PascalCase(baseName));
        cls.schemaName = schemaName;
        cls.schemaNamespace = targetNamespace;
        std::string element = schemaName.empty() ? baseName : schemaName;
        if (!element.empty()) element[0] = static_cast<char>(std::tolower(element[0]));
        cls.defaultElementName = element;
        cls.comment = comment;
        m_model.classes.push_back(std::move(cls));
        return static_cast<int>(m_model.classes.size()) - 1;
    }

    // ---- simple types -------------------------------------------------------------------

    SimpleInfo SimpleOfName(const SchemaDocument* doc, const CXmlElement* node,
                            const QName& name) {
        if (name.first == kXsdNamespace) {
            for (const Builtin& builtin : kBuiltins) {
                if (name.second == builtin.name) {
                    SimpleInfo info;
                    info.kind = builtin.kind;
                    info.whitespace = builtin.whitespace;
                    if (builtin.minInclusive) {
                        info.minInclusive = builtin.minInclusive;
                        info.hasMinInclusive = true;
                    }
                    if (builtin.maxInclusive) {
                        info.maxInclusive = builtin.maxInclusive;
                        info.hasMaxInclusive = true;
                    }
                    if (name.second == "IDREFS" || name.second == "ENTITIES" ||
                        name.second == "NMTOKENS")
                        info.source = "list";
                    return info;
                }
            }
            Fail(doc, node, "the built-in type xs:" + name.second + " is not supported");
        }
        const Component* type = m_set.Find("simpleType", name);
        if (!type) {
            Fail(doc, node, "unresolved reference to type '" +
                                (name.first.empty() ? "" : "{" + name.first + "}") + name.second +
                                "'");
        }
        return SimpleOfType(type->doc, type->node, name);
    }

    SimpleInfo SimpleOfType(const SchemaDocument* doc, const CXmlElement* node,
                            const QName& name) {
        auto known = m_simpleOfNode.find(node);
        if (known != m_simpleOfNode.end()) return known->second;
        if (!m_simpleInProgress.insert(node).second)
            Fail(doc, node, "circular derivation of simple type '" + name.second + "'");
        SimpleInfo info;
        bool found = false;
        for (const CXmlElement* child = node->GetFirstElement(); child;
             child = child->GetNextSiblingElement()) {
            if (IsXsd(child, "restriction")) {
                info = Restriction(doc, child, name);
                found = true;
            } else if (IsXsd(child, "list")) {
                info = SimpleInfo();
                info.whitespace = 2;
                info.source = "list";
                found = true;
            } else if (IsXsd(child, "union")) {
                info = SimpleInfo();
                info.whitespace = 2;
                info.source = "union";
                found = true;
            }
        }
        if (!found) Fail(doc, node, "xs:simpleType without restriction, list or union");
        m_simpleInProgress.erase(node);
        m_simpleOfNode[node] = info;
        return info;
    }

    SimpleInfo Restriction(const SchemaDocument* doc, const CXmlElement* node,
                           const QName& name) {
        SimpleInfo info;
        const std::string base = Attr(node, "base");
        if (!base.empty()) {
            info = SimpleOfName(doc, node, m_set.Resolve(doc, node, base));
        } else {
            const CXmlElement* inner = nullptr;
            for (const CXmlElement* child = node->GetFirstElement(); child;
                 child = child->GetNextSiblingElement())
                if (IsXsd(child, "simpleType")) inner = child;
            if (!inner) Fail(doc, node, "xs:restriction without a base type");
            info = SimpleOfType(doc, inner, QName());
        }
        std::vector<std::string> values;
        std::vector<std::string> patterns;
        for (const CXmlElement* facet = node->GetFirstElement(); facet;
             facet = facet->GetNextSiblingElement()) {
            if (facet->GetNamespaceURI() != kXsdNamespace) continue;
            const std::string& kind = facet->GetLocalName();
            const std::string value = Attr(facet, "value");
            auto number = [&]() {
                try {
                    return std::stoi(value);
                } catch (...) {
                    Fail(doc, facet, "facet xs:" + kind + " has no number: '" + value + "'");
                }
            };
            // A list's length facets count items, which the text form does not check.
            const bool list = !info.source.empty();
            if (kind == "enumeration") {
                values.push_back(value);
            } else if (kind == "pattern") {
                if (!list) patterns.push_back(value);
            } else if (kind == "length") {
                if (!list) info.length = number();
            } else if (kind == "minLength") {
                if (!list) info.minLength = number();
            } else if (kind == "maxLength") {
                if (!list) info.maxLength = number();
            } else if (kind == "totalDigits") {
                info.totalDigits = number();
            } else if (kind == "fractionDigits") {
                info.fractionDigits = number();
            } else if (kind == "minInclusive") {
                info.minInclusive = value;
                info.hasMinInclusive = true;
            } else if (kind == "maxInclusive") {
                info.maxInclusive = value;
                info.hasMaxInclusive = true;
            } else if (kind == "minExclusive") {
                info.minExclusive = value;
                info.hasMinExclusive = true;
            } else if (kind == "maxExclusive") {
                info.maxExclusive = value;
                info.hasMaxExclusive = true;
            } else if (kind == "whiteSpace") {
                info.whitespace = value == "collapse" ? 2 : value == "replace" ? 1 : 0;
            }
        }
        // Several patterns in one step must all hold only across steps; within one step any
        // may match, which an alternation says.
        if (patterns.size() == 1) {
            info.pattern = patterns[0];
        } else if (patterns.size() > 1) {
            info.pattern.clear();
            for (const std::string& pattern : patterns)
                info.pattern += (info.pattern.empty() ? "(" : "|(") + pattern + ")";
        }
        if (!values.empty() && info.source.empty()) {
            EnumType type;
            const std::string baseName = name.second.empty() ? "Enum" : name.second;
            type.cppNamespace = CppNamespace(name.second.empty() ? doc->targetNamespace
                                                                 : name.first);
            type.cppName = UniqueName(m_enumNames, type.cppNamespace, PascalCase(baseName));
            std::set<std::string> constants;
            for (const std::string& value : values) {
                if (std::find(type.values.begin(), type.values.end(), value) != type.values.end())
                    continue;
                std::string constant = type.cppName + "_" + IdentifierPart(value);
                std::string unique = constant;
                for (int n = 2; constants.count(Lowercase(unique)); ++n)
                    unique = constant + "_" + std::to_string(n);
                constants.insert(Lowercase(unique));
                type.values.push_back(value);
                type.constants.push_back(unique);
            }
            type.comment = "simple type " + (name.second.empty() ? "(anonymous)" : name.second) +
                           " (" + m_set.Where(doc, node) + ")";
            m_model.enums.push_back(std::move(type));
            info.enumIndex = static_cast<int>(m_model.enums.size()) - 1;
        }
        return info;
    }

    // ---- complex types ------------------------------------------------------------------

    int ClassOfType(const Component& type, const QName& name) {
        auto known = m_classOfNode.find(type.node);
        if (known != m_classOfNode.end()) return known->second;
        const int index = NewClass(name.first, name.second, name.second,
                                   "complex type " + name.second + " (" +
                                       m_set.Where(type.doc, type.node) + ")");
        m_classOfNode[type.node] = index;
        m_model.classes[index].namedType = true;
        BuildComplex(index, type.doc, type.node);
        return index;
    }

    int ClassOfGlobalElement(const Component& element, const QName& name) {
        const CXmlElement* anonymous = AnonymousChild(element.node, "complexType");
        if (anonymous) {
            auto known = m_classOfNode.find(anonymous);
            if (known != m_classOfNode.end()) return known->second;
            const int index = NewClass(name.first, name.second, name.second,
                                       "element " + name.second + " (" +
                                           m_set.Where(element.doc, element.node) + ")");
            m_model.classes[index].defaultElementName = name.second;
            m_classOfNode[anonymous] = index;
            BuildComplex(index, element.doc, anonymous);
            return index;
        }
        const std::string type = Attr(element.node, "type");
        if (!type.empty()) {
            const QName typeName = m_set.Resolve(element.doc, element.node, type);
            const Component* complex = m_set.Find("complexType", typeName);
            if (complex) return ClassOfType(*complex, typeName);
            if (typeName == QName(kXsdNamespace, "anyType")) return -1;
            SimpleOfName(element.doc, element.node, typeName);  // checks the reference
            return -1;
        }
        const std::string head = Attr(element.node, "substitutionGroup");
        if (!head.empty()) {
            const QName headName = m_set.Resolve(element.doc, element.node, head);
            const Component& headElement =
                Require(element.doc, element.node, "element", headName);
            return ClassOfGlobalElement(headElement, headName);
        }
        return -1;
    }

    static const CXmlElement* AnonymousChild(const CXmlElement* node, const char* kind) {
        for (const CXmlElement* child = node->GetFirstElement(); child;
             child = child->GetNextSiblingElement())
            if (IsXsd(child, kind)) return child;
        return nullptr;
    }

    void BuildComplex(int index, const SchemaDocument* doc, const CXmlElement* node) {
        m_model.classes[index].isAbstract = Attr(node, "abstract") == "true";
        bool mixed = Attr(node, "mixed") == "true";
        if (const CXmlElement* content = AnonymousChild(node, "complexContent"))
            mixed = mixed || Attr(content, "mixed") == "true";
        BuildContent(index, doc, node);
        // The character data of mixed content is kept as one text, written after the
        // children (the engine has no place for text between them).
        bool hasText = false;
        for (int at = index; at >= 0; at = m_model.classes[at].baseIndex)
            for (const Member& m : m_model.classes[at].members)
                hasText = hasText || m.kind == MemberKind::Text;
        if (mixed && !hasText) {
            Member text;
            text.kind = MemberKind::Text;
            text.xmlName = "#text";
            text.cppName = "Text";
            text.comment = "the character data of mixed content (" + m_set.Where(doc, node) + ")";
            AddMember(index, text);
            m_model.classes[index].hasText = true;
        }
    }

    void BuildContent(int index, const SchemaDocument* doc, const CXmlElement* node) {
        for (const CXmlElement* child = node->GetFirstElement(); child;
             child = child->GetNextSiblingElement()) {
            if (child->GetNamespaceURI() != kXsdNamespace) continue;
            const std::string& kind = child->GetLocalName();
            if (kind == "annotation" || kind == "assert" || kind == "openContent") continue;
            if (kind == "simpleContent") {
                SimpleContent(index, doc, child);
            } else if (kind == "complexContent") {
                ComplexContent(index, doc, child);
            } else if (kind == "sequence" || kind == "choice" || kind == "all" ||
                       kind == "group") {
                TopParticle(index, doc, child);
            } else if (kind == "attribute" || kind == "attributeGroup" ||
                       kind == "anyAttribute") {
                AttributeUse(index, doc, child);
            } else {
                Fail(doc, child, "xs:" + kind + " in a complex type is not supported");
            }
        }
    }

    void SimpleContent(int index, const SchemaDocument* doc, const CXmlElement* node) {
        for (const CXmlElement* step = node->GetFirstElement(); step;
             step = step->GetNextSiblingElement()) {
            if (!IsXsd(step, "extension") && !IsXsd(step, "restriction")) continue;
            const QName base = m_set.Resolve(doc, step, Attr(step, "base"));
            const Component* complex = m_set.Find("complexType", base);
            if (complex) {
                const int baseIndex = ClassOfType(*complex, base);
                m_model.classes[index].baseIndex = baseIndex;
                m_model.classes[index].hasText = true;
            } else {
                Member text;
                text.kind = MemberKind::Text;
                text.xmlName = "#text";
                text.cppName = "Value";
                text.simple = SimpleOfName(doc, step, base);
                if (text.simple.enumIndex >= 0) {
                    // The class record carries the text's kind, not enumeration texts.
                    text.simple.enumIndex = -1;
                }
                text.comment = "simple content (" + m_set.Where(doc, step) + ")";
                m_model.classes[index].members.push_back(text);
                m_model.classes[index].hasText = true;
            }
            // A restriction restates attributes the base already has.
            if (IsXsd(step, "restriction") && complex) continue;
            for (const CXmlElement* child = step->GetFirstElement(); child;
                 child = child->GetNextSiblingElement()) {
                if (IsXsd(child, "attribute") || IsXsd(child, "attributeGroup") ||
                    IsXsd(child, "anyAttribute"))
                    AttributeUse(index, doc, child);
            }
        }
    }

    void ComplexContent(int index, const SchemaDocument* doc, const CXmlElement* node) {
        for (const CXmlElement* step = node->GetFirstElement(); step;
             step = step->GetNextSiblingElement()) {
            const bool extension = IsXsd(step, "extension");
            if (!extension && !IsXsd(step, "restriction")) continue;
            const QName base = m_set.Resolve(doc, step, Attr(step, "base"));
            if (base != QName(kXsdNamespace, "anyType")) {
                const Component& complex = Require(doc, step, "complexType", base);
                const int baseIndex = ClassOfType(complex, base);
                m_model.classes[index].baseIndex = baseIndex;
                m_model.classes[index].hasText = m_model.classes[baseIndex].hasText;
                // A restriction keeps a subset of the base's content, which the base's records
                // read and write as they are.
                if (!extension) continue;
                if (m_model.classes[baseIndex].groupType == 2) {
                    for (const CXmlElement* child = step->GetFirstElement(); child;
                         child = child->GetNextSiblingElement()) {
                        if (IsXsd(child, "sequence") || IsXsd(child, "choice") ||
                            IsXsd(child, "all") || IsXsd(child, "group"))
                            Fail(doc, child, "extending a type whose content is xs:all");
                    }
                }
            }
            for (const CXmlElement* child = step->GetFirstElement(); child;
                 child = child->GetNextSiblingElement()) {
                if (child->GetNamespaceURI() != kXsdNamespace) continue;
                const std::string& kind = child->GetLocalName();
                if (kind == "sequence" || kind == "choice" || kind == "all" || kind == "group") {
                    TopParticle(index, doc, child);
                } else if (kind == "attribute" || kind == "attributeGroup" ||
                           kind == "anyAttribute") {
                    AttributeUse(index, doc, child);
                }
            }
        }
    }

    // The model group that a group reference stands for, with the reference's occurrences.
    const CXmlElement* GroupBody(const SchemaDocument*& doc, const CXmlElement* ref,
                                 QName* groupName) {
        const QName name = m_set.Resolve(doc, ref, Attr(ref, "ref"));
        const Component& group = Require(doc, ref, "group", name);
        if (groupName) *groupName = name;
        for (const CXmlElement* child = group.node->GetFirstElement(); child;
             child = child->GetNextSiblingElement()) {
            if (IsXsd(child, "sequence") || IsXsd(child, "choice") || IsXsd(child, "all")) {
                doc = group.doc;
                return child;
            }
        }
        Fail(group.doc, group.node, "xs:group '" + name.second + "' has no model group");
    }

    // The content particle of a class. A sequence of (1,1) is the class's own group; anything
    // else (a choice, an optional or repeated group) becomes a pseudo member of a sequence, so
    // that a derived class can always append its own members to its base's.
    void TopParticle(int index, const SchemaDocument* doc, const CXmlElement* node) {
        ClassInfo& cls = m_model.classes[index];
        const int minOccurs = Occurs(Attr(node, "minOccurs"), 1);
        const int maxOccurs = Occurs(Attr(node, "maxOccurs"), 1);
        if (IsXsd(node, "all") && minOccurs == 1 && maxOccurs == 1 && cls.baseIndex < 0) {
            cls.groupType = 2;
            Particles(index, doc, node, 2);
            return;
        }
        if (IsXsd(node, "sequence") && minOccurs == 1 && maxOccurs == 1) {
            Particles(index, doc, node, 0);
            return;
        }
        if (IsXsd(node, "group") && minOccurs == 1 && maxOccurs == 1) {
            const SchemaDocument* groupDoc = doc;
            const CXmlElement* body = GroupBody(groupDoc, node, nullptr);
            if (IsXsd(body, "sequence") &&
                Occurs(Attr(body, "minOccurs"), 1) == 1 && Occurs(Attr(body, "maxOccurs"), 1) == 1) {
                EnterGroup(doc, node);
                Particles(index, groupDoc, body, 0);
                m_activeGroups.pop_back();
                return;
            }
        }
        if (maxOccurs == 0) return;
        PseudoMember(index, doc, node, 0);
    }

    // Group references being expanded, innermost last: meeting one again is a cycle.
    void EnterGroup(const SchemaDocument* doc, const CXmlElement* ref) {
        const QName name = m_set.Resolve(doc, ref, Attr(ref, "ref"));
        const Component& group = Require(doc, ref, "group", name);
        if (std::count(m_activeGroups.begin(), m_activeGroups.end(), group.node))
            Fail(doc, ref, "circular reference to group '" + name.second + "'");
        m_activeGroups.push_back(group.node);
    }
    std::vector<const CXmlElement*> m_activeGroups;

    // The members of one model group. In a sequence, a nested sequence of (1,1) adds its
    // members in place; every other nested group is a pseudo member with a class of its own.
    void Particles(int index, const SchemaDocument* doc, const CXmlElement* group, int groupType) {
        for (const CXmlElement* child = group->GetFirstElement(); child;
             child = child->GetNextSiblingElement()) {
            if (child->GetNamespaceURI() != kXsdNamespace) continue;
            const std::string& kind = child->GetLocalName();
            const int minOccurs = Occurs(Attr(child, "minOccurs"), 1);
            const int maxOccurs = Occurs(Attr(child, "maxOccurs"), 1);
            if (kind == "annotation") continue;
            if (maxOccurs == 0) continue;
            if (kind == "element") {
                ElementMember(index, doc, child, groupType);
            } else if (kind == "any") {
                Member any;
                any.kind = MemberKind::AnyElement;
                any.xmlName = "AnyElement";
                any.xmlNamespace = doc->targetNamespace;
                any.cppName = "Any";
                any.minOccurs = minOccurs;
                any.maxOccurs = maxOccurs;
                any.wildcardNamespace = HasAttr(child, "namespace") ? Attr(child, "namespace")
                                                                    : "##any";
                any.comment = "xs:any (" + m_set.Where(doc, child) + ")";
                // An untyped collection takes every consecutive element its constraint admits,
                // so in a choice (often a repeated one) it is given room for them all.
                if (groupType == 1) any.maxOccurs = -1;
                AddMember(index, any);
            } else if (kind == "sequence" && groupType == 0 && minOccurs == 1 &&
                       maxOccurs == 1) {
                Particles(index, doc, child, 0);
            } else if (kind == "group" && groupType == 0 && minOccurs == 1 && maxOccurs == 1) {
                const SchemaDocument* groupDoc = doc;
                const CXmlElement* body = GroupBody(groupDoc, child, nullptr);
                if (IsXsd(body, "sequence") && Occurs(Attr(body, "minOccurs"), 1) == 1 &&
                    Occurs(Attr(body, "maxOccurs"), 1) == 1) {
                    EnterGroup(doc, child);
                    Particles(index, groupDoc, body, 0);
                    m_activeGroups.pop_back();
                } else {
                    PseudoMember(index, doc, child, groupType);
                }
            } else if (kind == "sequence" || kind == "choice" || kind == "all" ||
                       kind == "group") {
                PseudoMember(index, doc, child, groupType);
            } else {
                Fail(doc, child, "xs:" + kind + " in a model group is not supported");
            }
        }
    }

    // A nested group as a class without a tag: CLineChoice for the choice inside Line.
    void PseudoMember(int owner, const SchemaDocument* doc, const CXmlElement* node,
                      int groupType) {
        const int minOccurs = Occurs(Attr(node, "minOccurs"), 1);
        const int maxOccurs = Occurs(Attr(node, "maxOccurs"), 1);
        const SchemaDocument* bodyDoc = doc;
        const CXmlElement* body = node;
        std::string baseName;
        bool fromGroup = false;
        if (IsXsd(node, "group")) {
            QName groupName;
            body = GroupBody(bodyDoc, node, &groupName);
            baseName = groupName.second;
            fromGroup = true;
            EnterGroup(doc, node);
        } else {
            baseName = node->GetLocalName() == "choice" ? "Choice"
                       : node->GetLocalName() == "all" ? "All"
                                                       : "Sequence";
        }
        // A group body used again is the same class; anonymous groups get one per place.
        int cls = -1;
        auto known = m_classOfNode.find(body);
        if (known != m_classOfNode.end()) {
            cls = known->second;
        } else {
            const std::string ownerName = m_model.classes[owner].cppName.substr(1);
            const std::string className = fromGroup ? baseName : ownerName + baseName;
            cls = NewClass(m_model.classes[owner].schemaNamespace, className, className,
                           (fromGroup ? "group " + baseName : "xs:" + node->GetLocalName() +
                                                                  " of " + ownerName) +
                               " (" + m_set.Where(bodyDoc, body) + ")");
            ClassInfo& pseudo = m_model.classes[cls];
            pseudo.pseudo = true;
            pseudo.defaultElementName = className;
            m_classOfNode[body] = cls;
            const int bodyMin = Occurs(Attr(body, "minOccurs"), 1);
            const int bodyMax = Occurs(Attr(body, "maxOccurs"), 1);
            if (fromGroup && (bodyMin != 1 || bodyMax != 1)) {
                PseudoMember(cls, bodyDoc, body, 0);
            } else {
                const int bodyType = IsXsd(body, "choice") ? 1 : IsXsd(body, "all") ? 2 : 0;
                m_model.classes[cls].groupType = bodyType;
                Particles(cls, bodyDoc, body, bodyType);
            }
        }
        if (fromGroup) m_activeGroups.pop_back();
        Member member;
        member.kind = MemberKind::Class;
        member.classIndex = cls;
        member.pseudo = true;
        member.xmlName = m_model.classes[cls].cppName.substr(1);
        member.xmlNamespace = m_model.classes[owner].schemaNamespace;
        member.cppName = fromGroup ? PascalCase(baseName) : baseName;
        member.minOccurs = minOccurs;
        member.maxOccurs = maxOccurs;
        member.comment = m_model.classes[cls].comment;
        (void)groupType;
        AddMember(owner, member);
    }

    void ElementMember(int index, const SchemaDocument* doc, const CXmlElement* node,
                       int groupType, bool expandSubstitutions = true) {
        (void)groupType;
        Member member;
        member.minOccurs = Occurs(Attr(node, "minOccurs"), 1);
        member.maxOccurs = Occurs(Attr(node, "maxOccurs"), 1);
        const SchemaDocument* declDoc = doc;
        const CXmlElement* decl = node;
        QName name;
        const std::string ref = Attr(node, "ref");
        bool global = false;
        const CXmlElement* parent = node->GetParentElm();
        if (parent && IsXsd(parent, "schema")) {
            // A member of a substitution group's choice: the global declaration itself.
            name = QName(doc->targetNamespace, Attr(node, "name"));
            member.minOccurs = member.maxOccurs = 1;
            global = true;
        } else if (!ref.empty()) {
            name = m_set.Resolve(doc, node, ref);
            const Component& element = Require(doc, node, "element", name);
            declDoc = element.doc;
            decl = element.node;
            global = true;
            if (expandSubstitutions && !Substitutes(name).empty()) {
                SubstitutionMember(index, doc, node, Component{decl, declDoc}, name);
                return;
            }
        } else {
            const std::string form = Attr(node, "form");
            const bool qualified = form.empty() ? doc->elementsQualified : form == "qualified";
            name = QName(qualified ? doc->targetNamespace : "", Attr(node, "name"));
            if (name.second.empty()) Fail(doc, node, "xs:element without name or ref");
        }
        member.xmlName = name.second;
        member.xmlNamespace = name.first;
        member.cppName = PascalCase(name.second);
        member.nillable = Attr(decl, "nillable") == "true";
        if (HasAttr(decl, "default")) {
            member.hasDefault = true;
            member.defaultValue = Attr(decl, "default");
        } else if (HasAttr(decl, "fixed")) {
            member.hasDefault = true;
            member.defaultValue = Attr(decl, "fixed");
        }
        member.comment = std::string(global ? "element ref " : "element ") + name.second +
                         " (" + m_set.Where(doc, node) + ")";

        int cls = -1;
        const std::string typeAttr = Attr(decl, "type");
        if (global) {
            cls = ClassOfGlobalElement(Component{decl, declDoc}, name);
        } else if (!typeAttr.empty() &&
                   m_set.Find("complexType", m_set.Resolve(declDoc, decl, typeAttr))) {
            const QName typeName = m_set.Resolve(declDoc, decl, typeAttr);
            cls = ClassOfType(*m_set.Find("complexType", typeName), typeName);
        } else if (const CXmlElement* anonymous = AnonymousChild(decl, "complexType")) {
            auto known = m_classOfNode.find(anonymous);
            if (known != m_classOfNode.end()) {
                cls = known->second;
            } else {
                const std::string ownerName = m_model.classes[index].cppName.substr(1);
                cls = NewClass(doc->targetNamespace, ownerName + PascalCase(name.second),
                               ownerName + PascalCase(name.second),
                               "anonymous type of element " + name.second + " (" +
                                   m_set.Where(doc, node) + ")");
                m_model.classes[cls].defaultElementName = name.second;
                m_classOfNode[anonymous] = cls;
                BuildComplex(cls, doc, anonymous);
            }
        }
        if (cls >= 0) {
            member.kind = MemberKind::Class;
            member.classIndex = cls;
            if (member.nillable) m_model.classes[cls].nillable = true;
            AddMember(index, member);
            return;
        }
        const std::string type = Attr(decl, "type");
        const CXmlElement* anonymousSimple = AnonymousChild(decl, "simpleType");
        if (anonymousSimple) {
            member.simple = SimpleOfType(declDoc, anonymousSimple, QName("", ""));
        } else if (type.empty() || m_set.Resolve(declDoc, decl, type) ==
                                       QName(kXsdNamespace, "anyType")) {
            if (global && !Attr(decl, "substitutionGroup").empty()) {
                member.simple = SimpleInfo();
            } else {
                // No type: any content, kept as untyped elements of this name.
                member.kind = MemberKind::AnyElement;
                member.wildcardNamespace = "##any";
                AddMember(index, member);
                return;
            }
        } else {
            const QName typeName = m_set.Resolve(declDoc, decl, type);
            if (m_set.Find("complexType", typeName)) {
                // Reached only for a global element whose class is being built right now.
                Fail(declDoc, decl, "unexpected complex type '" + typeName.second + "'");
            }
            member.simple = SimpleOfName(declDoc, decl, typeName);
        }
        member.kind = member.simple.enumIndex >= 0 ? MemberKind::Enum : MemberKind::Primitive;
        AddMember(index, member);
    }

    // Global elements that may stand for `head`, directly or through another member, in schema
    // order.
    std::vector<QName> Substitutes(const QName& head) const {
        std::vector<QName> found;
        std::vector<QName> heads{head};
        for (std::size_t i = 0; i < heads.size(); ++i) {
            for (const QName& candidate : m_set.Order("element")) {
                const Component* element = m_set.Find("element", candidate);
                std::istringstream list(Attr(element->node, "substitutionGroup"));
                std::string one;
                while (list >> one) {  // XSD 1.1 allows a list of heads
                    if (m_set.Resolve(element->doc, element->node, one) == heads[i] &&
                        std::find(found.begin(), found.end(), candidate) == found.end()) {
                        found.push_back(candidate);
                        heads.push_back(candidate);
                    }
                }
            }
        }
        return found;
    }

    // A reference to the head of a substitution group reads any element of the group: a
    // choice among the head (unless abstract) and every member, as a pseudo class per head.
    void SubstitutionMember(int owner, const SchemaDocument* doc, const CXmlElement* ref,
                            const Component& head, const QName& headName) {
        int cls = -1;
        auto known = m_classOfNode.find(head.node);
        auto knownChoice = m_substitutionClass.find(head.node);
        (void)known;
        if (knownChoice != m_substitutionClass.end()) {
            cls = knownChoice->second;
        } else {
            const std::string className = PascalCase(headName.second) + "Group";
            cls = NewClass(headName.first, className, className,
                           "substitution group of " + headName.second + " (" +
                               m_set.Where(head.doc, head.node) + ")");
            m_substitutionClass[head.node] = cls;
            m_model.classes[cls].pseudo = true;
            m_model.classes[cls].groupType = 1;
            m_model.classes[cls].defaultElementName = className;
            std::vector<QName> members{headName};
            for (const QName& name : Substitutes(headName)) members.push_back(name);
            for (const QName& name : members) {
                const Component* element = m_set.Find("element", name);
                if (Attr(element->node, "abstract") == "true") continue;
                ElementMember(cls, element->doc, element->node, 1, false);
            }
        }
        Member member;
        member.kind = MemberKind::Class;
        member.classIndex = cls;
        member.pseudo = true;
        member.xmlName = m_model.classes[cls].cppName.substr(1);
        member.xmlNamespace = headName.first;
        member.cppName = PascalCase(headName.second);
        member.minOccurs = Occurs(Attr(ref, "minOccurs"), 1);
        member.maxOccurs = Occurs(Attr(ref, "maxOccurs"), 1);
        member.comment = "element ref " + headName.second + ", any of its substitution group (" +
                         m_set.Where(doc, ref) + ")";
        AddMember(owner, member);
    }
    std::map<const CXmlElement*, int> m_substitutionClass;

    // The element factory of a member whose type has derived types, picked by xsi:type;
    // -1 for none.
    int FactoryFor(const QName& name, int cls) {
        std::vector<std::pair<QName, int>> types;
        for (std::size_t i = 0; i < m_model.classes.size(); ++i) {
            const int candidate = static_cast<int>(i);
            if (candidate != cls && m_model.classes[i].namedType &&
                IsDerivedOrSame(candidate, cls))
                types.emplace_back(
                    QName(m_model.classes[i].schemaNamespace, m_model.classes[i].schemaName),
                    candidate);
        }
        if (types.empty()) return -1;
        ElementFactory factory;
        factory.cppNamespace = m_model.classes[cls].cppNamespace;
        factory.elements.emplace_back(
            name, m_model.classes[cls].isAbstract ? -1 : cls);
        factory.types = types;
        factory.cppName = "Create" + m_model.classes[cls].cppName.substr(1) + "ByType";
        for (std::size_t i = 0; i < m_model.factories.size(); ++i) {
            if (m_model.factories[i].cppName == factory.cppName &&
                m_model.factories[i].cppNamespace == factory.cppNamespace)
                return static_cast<int>(i);
        }
        m_model.factories.push_back(std::move(factory));
        return static_cast<int>(m_model.factories.size()) - 1;
    }

    bool IsDerivedOrSame(int derived, int base) const {
        for (int at = derived; at >= 0; at = m_model.classes[at].baseIndex)
            if (at == base) return true;
        return false;
    }

    void AttributeUse(int index, const SchemaDocument* doc, const CXmlElement* node) {
        if (IsXsd(node, "anyAttribute")) {
            Member any;
            any.kind = MemberKind::AnyAttribute;
            any.isAttribute = true;
            any.xmlName = "AnyAttribute";
            any.xmlNamespace = doc->targetNamespace;
            any.cppName = "AnyAttribute";
            any.minOccurs = 0;
            any.wildcardNamespace =
                HasAttr(node, "namespace") ? Attr(node, "namespace") : "##any";
            any.comment = "xs:anyAttribute (" + m_set.Where(doc, node) + ")";
            for (const Member& existing : AllMembers(index))
                if (existing.kind == MemberKind::AnyAttribute) return;
            AddMember(index, any);
            return;
        }
        if (IsXsd(node, "attributeGroup")) {
            const QName name = m_set.Resolve(doc, node, Attr(node, "ref"));
            const Component& group = Require(doc, node, "attributeGroup", name);
            if (std::count(m_activeGroups.begin(), m_activeGroups.end(), group.node))
                Fail(doc, node, "circular reference to attribute group '" + name.second + "'");
            m_activeGroups.push_back(group.node);
            for (const CXmlElement* child = group.node->GetFirstElement(); child;
                 child = child->GetNextSiblingElement()) {
                if (IsXsd(child, "attribute") || IsXsd(child, "attributeGroup") ||
                    IsXsd(child, "anyAttribute"))
                    AttributeUse(index, group.doc, child);
            }
            m_activeGroups.pop_back();
            return;
        }
        if (Attr(node, "use") == "prohibited") return;
        Member member;
        member.isAttribute = true;
        const SchemaDocument* declDoc = doc;
        const CXmlElement* decl = node;
        QName name;
        const std::string ref = Attr(node, "ref");
        if (!ref.empty()) {
            name = m_set.Resolve(doc, node, ref);
            if (name.first == kXmlNamespace) {
                member.simple = SimpleInfo();  // xml:lang, xml:space, xml:base, xml:id
                member.simple.whitespace = 2;
            } else {
                const Component& attribute = Require(doc, node, "attribute", name);
                declDoc = attribute.doc;
                decl = attribute.node;
            }
        } else {
            const std::string form = Attr(node, "form");
            const bool qualified = form.empty() ? doc->attributesQualified : form == "qualified";
            name = QName(qualified ? doc->targetNamespace : "", Attr(node, "name"));
        }
        member.xmlName = name.second;
        member.xmlNamespace = name.first;
        member.cppName = PascalCase(name.second);
        member.minOccurs = Attr(node, "use") == "required" ? 1 : 0;
        for (const CXmlElement* source : {node, decl}) {
            if (member.hasDefault) break;
            if (HasAttr(source, "default")) {
                member.hasDefault = true;
                member.defaultValue = Attr(source, "default");
            } else if (HasAttr(source, "fixed")) {
                member.hasDefault = true;
                member.defaultValue = Attr(source, "fixed");
            }
        }
        member.comment = std::string(ref.empty() ? "attribute " : "attribute ref ") +
                         name.second + " (" + m_set.Where(doc, node) + ")";
        if (name.first != kXmlNamespace) {
            const std::string type = Attr(decl, "type");
            if (const CXmlElement* anonymous = AnonymousChild(decl, "simpleType")) {
                member.simple = SimpleOfType(declDoc, anonymous, QName());
            } else if (!type.empty()) {
                member.simple = SimpleOfName(declDoc, decl, m_set.Resolve(declDoc, decl, type));
            }
        }
        member.kind = member.simple.enumIndex >= 0 ? MemberKind::Enum : MemberKind::Primitive;
        // A derived class that restates an attribute of its base keeps the base's member.
        for (const Member& existing : AllMembers(index))
            if (existing.isAttribute && existing.xmlName == member.xmlName &&
                existing.xmlNamespace == member.xmlNamespace)
                return;
        AddMember(index, member);
    }

    std::vector<Member> AllMembers(int index) const {
        std::vector<Member> members;
        for (int at = index; at >= 0; at = m_model.classes[at].baseIndex)
            members.insert(members.end(), m_model.classes[at].members.begin(),
                           m_model.classes[at].members.end());
        return members;
    }

    // Member names must differ from each other (case-insensitively, as the accessors and
    // property constants are built from them), from the base's and from the operations every
    // generated class has.
    void AddMember(int index, Member member) {
        static const char* const kReserved[] = {
            "base", "namespace", "targetnamespace", "classinfo", "classelementinfo",
            "classattributeinfo", "elementname", "choiceselectedelement", "xml", "xmlfile",
            "xmlstream", "json", "jsonfile", "jsonstream", "fastinfosetfile", "fastinfosetstream",
            "nil", "count", "orcreate", "memberfromtext"};
        std::set<std::string> taken;
        for (const Member& existing : AllMembers(index)) taken.insert(Lowercase(existing.cppName));
        for (const char* reserved : kReserved) taken.insert(reserved);
        // A choice class has ClearChoice of its own.
        if (m_model.classes[index].groupType == 1) taken.insert("choice");
        std::string name = member.cppName;
        if (taken.count(Lowercase(name))) {
            name += member.isAttribute ? "Attribute" : "_";
            std::string unique = name;
            for (int n = 2; taken.count(Lowercase(unique)); ++n) unique = name + std::to_string(n);
            name = unique;
        }
        member.cppName = name;
        m_model.classes[index].members.push_back(std::move(member));
    }
};

}  // namespace

Model BuildModel(const Options& options, std::vector<std::string>* filesRead) {
    SchemaSet set;
    for (const std::string& schema : options.schemas) set.Load(schema, schema, nullptr);
    Model model;
    Resolver(set, options, model).Run();
    if (filesRead) *filesRead = set.Files();
    return model;
}

}  // namespace xsd
