// code_emitter.cpp: writes the binding of a resolved model as one header and one source, or
// a fixed number of sources for a large set. The output depends only on the model (no dates,
// paths or hash orders), so the same schemas give the same bytes. Classes come in an order where every base precedes its derived classes;
// members are reached through forward declarations and out-of-line destructors, so recursive
// types need no special treatment.
#include <algorithm>
#include <fstream>
#include <functional>
#include <set>
#include <sstream>

#include "schema_model.h"
#include "tessel16/version.h"

namespace xsd {

namespace {

struct KindInfo {
    const char* cppType;
    bool byReference;     // passed as const T&
    const char* variant;  // TsVariant Set/Get suffix
    const char* column;   // primitive collection kind
    const char* itemType;
};

KindInfo Kind(Tessel16::ItemType type) {
    switch (type) {
        case Tessel16::ItemType_hexBinary:
            return {"Tessel16::CBinaryData", true, "HexBinary", "hexBinary", "ItemType_hexBinary"};
        case Tessel16::ItemType_base64Binary:
            return {"Tessel16::CBinaryData", true, "Base64Binary", "base64Binary",
                    "ItemType_base64Binary"};
        case Tessel16::ItemType_i1: return {"char", false, "I1", "i1", "ItemType_i1"};
        case Tessel16::ItemType_i2: return {"short", false, "I2", "i2", "ItemType_i2"};
        case Tessel16::ItemType_i4: return {"std::int32_t", false, "I4", "i4", "ItemType_i4"};
        case Tessel16::ItemType_i8: return {"long long", false, "I8", "i8", "ItemType_i8"};
        case Tessel16::ItemType_ui1: return {"unsigned char", false, "UI1", "ui1", "ItemType_ui1"};
        case Tessel16::ItemType_ui2:
            return {"unsigned short", false, "UI2", "ui2", "ItemType_ui2"};
        case Tessel16::ItemType_ui4: return {"std::uint32_t", false, "UI4", "ui4", "ItemType_ui4"};
        case Tessel16::ItemType_ui8:
            return {"unsigned long long", false, "UI8", "ui8", "ItemType_ui8"};
        case Tessel16::ItemType_r4: return {"float", false, "R4", "r4", "ItemType_r4"};
        case Tessel16::ItemType_r8: return {"double", false, "R8", "r8", "ItemType_r8"};
        case Tessel16::ItemType_duration:
            return {"Tessel16::CDateTimeSpan", true, "Duration", "duration", "ItemType_duration"};
        case Tessel16::ItemType_yearMonth:
            return {"Tessel16::CDateTime", true, "YearMonth", "yearMonth", "ItemType_yearMonth"};
        case Tessel16::ItemType_monthDay:
            return {"Tessel16::CDateTime", true, "MonthDay", "monthDay", "ItemType_monthDay"};
        case Tessel16::ItemType_year:
            return {"unsigned short", false, "Year", "year", "ItemType_year"};
        case Tessel16::ItemType_month:
            return {"unsigned char", false, "Month", "month", "ItemType_month"};
        case Tessel16::ItemType_day: return {"unsigned char", false, "Day", "day", "ItemType_day"};
        case Tessel16::ItemType_date:
            return {"Tessel16::CDateTime", true, "Date", "date", "ItemType_date"};
        case Tessel16::ItemType_datetime:
            return {"Tessel16::CDateTime", true, "DateTime", "datetime", "ItemType_datetime"};
        case Tessel16::ItemType_time:
            return {"Tessel16::CDateTime", true, "Time", "time", "ItemType_time"};
        case Tessel16::ItemType_boolean:
            return {"bool", false, "Boolean", "boolean", "ItemType_boolean"};
        case Tessel16::ItemType_decimal:
            return {"Tessel16::CDecimal", true, "Decimal", "decimal", "ItemType_decimal"};
        case Tessel16::ItemType_integer:
            return {"Tessel16::CBigInteger", true, "Integer", "integer", "ItemType_integer"};
        default:
            return {"std::string", true, "String", "string", "ItemType_string"};
    }
}

// A C++ string literal. Octal escapes (always three digits) cannot run into the next byte.
std::string Literal(const std::string& text) {
    std::string out = "\"";
    for (unsigned char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20 || c >= 0x7f || c == '?') {
            const char digits[] = {'\\', static_cast<char>('0' + (c >> 6)),
                                   static_cast<char>('0' + ((c >> 3) & 7)),
                                   static_cast<char>('0' + (c & 7)), 0};
            out += digits;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

// Text for a comment: one line, no comment terminators.
std::string CommentText(const std::string& text) {
    std::string out;
    for (char c : text) out += (c == '\n' || c == '\r') ? ' ' : c;
    return out;
}

std::string LowerFirst(std::string name) {
    if (!name.empty()) name[0] = static_cast<char>(std::tolower(name[0]));
    return name;
}

const char* Whitespace(int rule) {
    return rule == 2 ? "kCollapse" : rule == 1 ? "kReplace" : "kPreserve";
}

bool HasFacets(const SimpleInfo& s) {
    return !s.pattern.empty() || s.minLength >= 0 || s.maxLength >= 0 || s.length >= 0 ||
           s.totalDigits >= 0 || s.fractionDigits >= 0 || s.hasMinInclusive ||
           s.hasMaxInclusive || s.hasMinExclusive || s.hasMaxExclusive;
}

std::string Facets(const SimpleInfo& s) {
    if (!HasFacets(s)) return "NoFacets()";
    std::ostringstream out;
    out << "CPrimitiveRestrictions(" << Literal(s.pattern) << ", " << s.minLength << ", "
        << s.maxLength << ", " << Literal(s.minInclusive) << ", " << Literal(s.maxInclusive)
        << ", " << Literal(s.minExclusive) << ", " << Literal(s.maxExclusive) << ", "
        << s.length << ", " << s.totalDigits << ", " << s.fractionDigits << ")";
    return out.str();
}

std::string FacetArguments(const SimpleInfo& s) {
    std::ostringstream out;
    out << Literal(s.pattern) << ", " << s.minLength << ", " << s.maxLength << ", "
        << Literal(s.minInclusive) << ", " << Literal(s.maxInclusive) << ", "
        << Literal(s.minExclusive) << ", " << Literal(s.maxExclusive) << ", " << s.length << ", "
        << s.totalDigits << ", " << s.fractionDigits;
    return out.str();
}

class Emitter {
public:
    Emitter(const Model& model, const Options& options, const std::string& name)
        : m_model(model), m_options(options), m_name(name) {
        Order();
    }

    std::string Header() {
        std::ostringstream h;
        h << "// " << m_name << ".h: generated by tessel16-xsd " << TESSEL16_VERSION_STRING
          << " from";
        for (const std::string& schema : m_options.schemas)
            h << " " << schema.substr(schema.find_last_of('/') + 1);
        h << ".\n// Do not edit: the build writes it again whenever a schema changes.\n";
        h << "#pragma once\n\n#include <bitset>\n#include <cstdint>\n#include <string>\n\n"
          << "#include \"tessel16/binary_data.h\"\n#include \"tessel16/date_time.h\"\n"
          << "#include \"tessel16/date_time_span.h\"\n#include \"tessel16/decimal.h\"\n"
          << "#include \"tessel16/element.h\"\n#include \"tessel16/attribute.h\"\n"
          << "#include \"tessel16/generated_support.h\"\n"
          << "#include \"tessel16/primitive_collections.h\"\n"
          << "#include \"tessel16/serialization_context.h\"\n\n";
        for (const auto& ns : m_model.namespaces) Declarations(h, ns.first, ns.second);
        std::string open;
        for (int index : m_order) {
            const ClassInfo& cls = m_model.classes[index];
            Reopen(h, open, cls.cppNamespace);
            ClassDefinition(h, index);
        }
        Reopen(h, open, "");
        h << "// The object for a document element of one of the schemas, by the element's name;\n"
          << "// null when no global element of that name has a class.\n"
          << "Tessel16::CSmartPtr<Tessel16::CXmlObjectBase> " << RootFactoryName()
          << "(const char* namespaceUri, const char* localName);\n";
        return h.str();
    }

    // The sources: one file, or `parts` files where the first holds the namespace-level code
    // (enumerations, factories, the root factory) and every file a contiguous run of the
    // classes in base-first order, so each compiles on its own.
    std::vector<std::string> Sources(int parts) {
        std::vector<std::string> sources;
        const std::size_t count = m_order.size();
        const std::size_t share = (count + parts - 1) / parts;
        for (int part = 0; part < parts; ++part) {
            std::ostringstream c;
            const std::string file = parts == 1 ? m_name : m_name + "_" + std::to_string(part + 1);
            Prelude(c, file, parts > 1, part == 0);
            if (part == 0)
                for (const auto& ns : m_model.namespaces) NamespaceSource(c, ns.first, ns.second);
            const std::size_t begin = std::min(count, share * part);
            const std::size_t end = std::min(count, begin + share);
            for (std::size_t i = begin; i < end; ++i) ClassSource(c, m_order[i]);
            if (part == 0) RootFactory(c);
            sources.push_back(c.str());
        }
        return sources;
    }

private:
    const Model& m_model;
    const Options& m_options;
    std::string m_name;
    std::vector<int> m_order;

    // The includes and file-local helpers every source starts with. A part of a split binding
    // may use none of the helpers, so there they are marked [[maybe_unused]]; the generator
    // registration is made once, in the first file.
    void Prelude(std::ostream& c, const std::string& file, bool split, bool first) {
        const char* unused = split ? "[[maybe_unused]] " : "";
        c << "// " << file << ".cpp: generated by tessel16-xsd " << TESSEL16_VERSION_STRING
          << "; the record tables, accessors and factories\n// of the classes in " << m_name
          << ".h. Do not edit.\n";
        c << "#include \"" << m_options.filePrefix << m_name << ".h\"\n\n#include <cstring>\n"
          << "#include <typeinfo>\n\n"
          << "#include \"tessel16/attribute_info.h\"\n"
          << "#include \"tessel16/conversions.h\"\n"
          << "#include \"tessel16/element_info_variants.h\"\n"
          << "#include \"tessel16/exception.h\"\n#include \"tessel16/switches.h\"\n"
          << "#include \"tessel16/variant.h\"\n\n"
          << "using namespace Tessel16;\nusing namespace Tessel16Data;\n"
          << "using Tessel16::generated::Table;\n\nnamespace {\n\n"
          << unused << "const CWhitespaceUtils::WhitespaceRule kPreserve = "
          << "CWhitespaceUtils::WhitespaceRule_Preserve;\n"
          << unused << "const CWhitespaceUtils::WhitespaceRule kReplace = "
          << "CWhitespaceUtils::WhitespaceRule_Replace;\n"
          << unused << "const CWhitespaceUtils::WhitespaceRule kCollapse = "
          << "CWhitespaceUtils::WhitespaceRule_Collapse;\n\n"
          << unused << "CPrimitiveRestrictions NoFacets() { return CPrimitiveRestrictions(); }\n\n";
        if (first)
            c << "// The generated code tells the library which generator it comes from before any\n"
              << "// object is made.\nstruct Registration {\n"
              << "    Registration() { Tessel16::Register(16, 1, \"tessel16-xsd\", \"\", \"\"); }\n"
              << "};\nconst Registration kRegistration;\n\n";
        c << "}  // namespace\n\n";
    }

    void Order() {
        std::vector<bool> placed(m_model.classes.size(), false);
        std::function<void(int)> place = [&](int index) {
            if (placed[index]) return;
            placed[index] = true;
            if (m_model.classes[index].baseIndex >= 0) place(m_model.classes[index].baseIndex);
            m_order.push_back(index);
        };
        for (std::size_t i = 0; i < m_model.classes.size(); ++i) place(static_cast<int>(i));
    }

    std::string RootFactoryName() const {
        std::string stem = PascalCase(m_options.filePrefix + m_name);
        return "Create" + stem + "Element";
    }

    static void Reopen(std::ostream& out, std::string& open, const std::string& ns) {
        if (open == ns) return;
        if (!open.empty()) out << "}  // namespace " << open << "\n\n";
        if (!ns.empty()) out << "namespace " << ns << " {\n\n";
        open = ns;
    }

    std::string ClassRef(int index, const std::string& from) const {
        const ClassInfo& cls = m_model.classes[index];
        return cls.cppNamespace == from ? cls.cppName : "::" + cls.cppNamespace + "::" + cls.cppName;
    }

    std::string EnumRef(int index, const std::string& from) const {
        const EnumType& type = m_model.enums[index];
        return type.cppNamespace == from ? type.cppName
                                         : "::" + type.cppNamespace + "::" + type.cppName;
    }

    std::string FactoryClass(const std::string& ns) const { return "C" + ns + "ClassFactory"; }

    std::string TargetNamespaceRef(const std::string& uri, const std::string& from) const {
        for (const auto& ns : m_model.namespaces) {
            if (ns.first == uri) {
                return ns.second == from ? std::string("kTargetNamespace")
                                         : "::" + ns.second + "::kTargetNamespace";
            }
        }
        return Literal(uri);
    }

    // The namespace of a member's records: the target namespace constant where it is that.
    std::string NsArg(const std::string& uri, const std::string& from) const {
        if (uri.empty()) return "\"\"";
        return TargetNamespaceRef(uri, from);
    }

    std::string ColType(const Member& m, const std::string& from) const {
        switch (m.kind) {
            case MemberKind::Primitive:
                return std::string("Tessel16::C") + Kind(m.simple.kind).column + "Col";
            case MemberKind::Enum:
                return "Tessel16::CEnumCol<" + EnumRef(m.simple.enumIndex, from) + ">";
            case MemberKind::Class:
                return "Tessel16::CObjectCol<" + ClassRef(m.classIndex, from) + ">";
            case MemberKind::AnyElement:
                return "Tessel16::CElementCol";
            case MemberKind::AnyAttribute:
                return "Tessel16::CAttributeCol";
            default:
                return "";
        }
    }

    // The member's field type.
    std::string FieldType(const Member& m, const std::string& from) const {
        if (m.kind == MemberKind::AnyElement || m.kind == MemberKind::AnyAttribute ||
            m.Repeated())
            return "Tessel16::CSmartPtr<" + ColType(m, from) + ">";
        if (m.kind == MemberKind::Class)
            return "Tessel16::CSmartPtr<" + ClassRef(m.classIndex, from) + ">";
        if (m.kind == MemberKind::Enum) return EnumRef(m.simple.enumIndex, from);
        return Kind(m.simple.kind).cppType;
    }

    // A choice member's number in m_selected: 1 + its index among the class's members.
    static std::string ChoiceNumber(const ClassInfo& cls, const Member& m) {
        return std::to_string(&m - cls.members.data() + 1);
    }

    // A choice holds its member by number, so it costs an int rather than a string; names
    // decide as they did when the choice held the name (two members may share one).
    void ChoiceHelpers(std::ostream& c, const ClassInfo& cls) {
        const std::string& name = cls.cppName;
        c << "const std::string& " << name << "::ChoiceName(std::int32_t member) {\n"
          << "    static const std::string names[] = {\"\"";
        for (const Member& m : cls.members) c << ", " << Literal(m.xmlName);
        c << "};\n    return names[member];\n}\n\n"
          << "bool " << name << "::Holds(std::int32_t member) const {\n";
        std::set<std::string> names;
        for (const Member& m : cls.members) names.insert(m.xmlName);
        if (names.size() == cls.members.size())
            c << "    return m_selected == member;\n}\n\n";
        else
            c << "    return m_selected == member ||\n"
              << "           (m_selected != 0 && ChoiceName(m_selected) == ChoiceName(member));\n}\n\n";
        c
          << "void " << name << "::Select(std::int32_t member) {\n"
          << "    if (m_selected != 0 && m_selected != member) {\n"
          << "        // Another member holds the choice: the library's rule decides (and throws).\n"
          << "        std::string current = ChoiceName(m_selected);\n"
          << "        Choice_SetElementValid(true, ChoiceName(member).c_str(), current);\n"
          << "    }\n    m_selected = member;\n}\n\n";
    }

    // The alignment of a member's field on the usual 64-bit targets; enumerations are int.
    std::size_t FieldAlignment(const Member& m) const {
        if (m.kind == MemberKind::Enum && !m.Repeated()) return 4;
        if (m.kind != MemberKind::Primitive || m.Repeated()) return 8;
        switch (m.simple.kind) {
            case Tessel16::ItemType_i1:
            case Tessel16::ItemType_ui1:
            case Tessel16::ItemType_boolean:
                return 1;
            case Tessel16::ItemType_i2:
            case Tessel16::ItemType_ui2:
                return 2;
            case Tessel16::ItemType_i4:
            case Tessel16::ItemType_ui4:
            case Tessel16::ItemType_r4:
                return 4;
            default:
                return 8;
        }
    }

    // A member's field; the class's own bookkeeping fields keep their names.
    static std::string Field(const Member& m) {
        const std::string field = "m_" + LowerFirst(m.cppName);
        return field == "m_set" || field == "m_selected" || field == "m_nil" ? field + "_" : field;
    }
    static std::string Prop(const Member& m) { return "Prop_" + m.cppName; }

    bool IsValueMember(const Member& m) const {
        return !m.Repeated() && (m.kind == MemberKind::Primitive || m.kind == MemberKind::Enum ||
                                 m.kind == MemberKind::Text);
    }

    int BaseCount(int index) const {
        int count = 0;
        for (int at = m_model.classes[index].baseIndex; at >= 0;
             at = m_model.classes[at].baseIndex)
            count += static_cast<int>(m_model.classes[at].members.size());
        return count;
    }

    int RootGroupType(int index) const {
        int at = index;
        while (m_model.classes[at].baseIndex >= 0) at = m_model.classes[at].baseIndex;
        return m_model.classes[at].groupType;
    }

    std::string DefaultText(const Member& m) const {
        return m.hasDefault ? Literal(m.defaultValue) : "nullptr";
    }

    void Declarations(std::ostream& h, const std::string& uri, const std::string& ns) {
        h << "namespace " << ns << " {\n\n";
        h << "extern const char* const kTargetNamespace;  // " << Literal(uri) << "\n\n";
        for (const EnumType& type : m_model.enums) {
            if (type.cppNamespace != ns) continue;
            h << "// " << CommentText(type.comment) << "\nenum " << type.cppName << " {\n";
            for (std::size_t i = 0; i < type.constants.size(); ++i)
                h << "    " << type.constants[i] << (i + 1 < type.constants.size() ? "," : "")
                  << "\n";
            h << "};\n// Lexical forms; unknown text maps to -1, an unknown value to \"\".\n"
              << "const char* " << type.cppName << "ToString(int value);\n"
              << "int " << type.cppName << "FromString(const char* text);\n\n";
        }
        std::vector<int> classes;
        for (std::size_t i = 0; i < m_model.classes.size(); ++i)
            if (m_model.classes[i].cppNamespace == ns) classes.push_back(static_cast<int>(i));
        for (int index : classes) h << "class " << m_model.classes[index].cppName << ";\n";
        if (!classes.empty()) {
            h << "\n// Class ids handed to the element records; the factory creates an object "
                 "from one.\nenum ClassId {\n";
            for (std::size_t i = 0; i < classes.size(); ++i)
                h << "    ClassId_" << m_model.classes[classes[i]].cppName.substr(1)
                  << (i == 0 ? " = 1" : "") << (i + 1 < classes.size() ? "," : "") << "\n";
            h << "};\n\n";
        }
        h << "class " << FactoryClass(ns) << " : public Tessel16::CClassfactoryBase {\npublic:\n"
          << "    // A new empty object of the class, named after the element it stands for.\n"
          << "    static Tessel16::CSmartPtr<Tessel16::CXmlObjectBase> CreateClass(int classId,\n"
          << "                                                                     const char* "
             "elementName);\n";
        for (const ElementFactory& factory : m_model.factories) {
            if (factory.cppNamespace != ns) continue;
            h << "    // The class named by the element's xsi:type, else the declared one.\n"
              << "    static Tessel16::CSmartPtr<Tessel16::CXmlObjectBase> " << factory.cppName
              << "(Tessel16::CXmlElement* element);\n";
        }
        h << "};\n\n";
        // Collections of generated classes by the names users know: CLineCol.
        for (int index : classes) {
            const ClassInfo& cls = m_model.classes[index];
            h << "using " << cls.cppName << "Col = Tessel16::CObjectCol<" << cls.cppName << ">;\n";
        }
        h << "\n}  // namespace " << ns << "\n\n";
    }

    void ClassDefinition(std::ostream& h, int index) {
        const ClassInfo& cls = m_model.classes[index];
        const std::string& ns = cls.cppNamespace;
        const std::string base = cls.baseIndex >= 0 ? ClassRef(cls.baseIndex, ns)
                                                    : "Tessel16::CXmlGeneratedClass";
        const bool choice = cls.groupType == 1;
        h << "// " << CommentText(cls.comment) << "\n";
        if (cls.pseudo) h << "// It has no tag of its own: its members stand among the parent's.\n";
        h << "class " << cls.cppName << " : public " << base
          << (cls.nillable ? ", public Tessel16::INillable" : "") << " {\npublic:\n";
        h << "    explicit " << cls.cppName << "(const char* elementName = "
          << Literal(cls.defaultElementName) << ");\n    ~" << cls.cppName << "() override;\n\n";
        if (choice) {
            h << "    // The name of the member that is set, or \"\" for none.\n"
              << "    const std::string& GetChoiceSelectedElement() const { return ChoiceName(m_selected); }\n"
              << "    void ClearChoice() { m_selected = 0; }\n";
        }
        for (const Member& m : cls.members) MemberAccessors(h, cls, m);
        h << "\n    Tessel16::CXmlObjectBase* GetBase() override { return this; }\n"
          << "    std::string GetNamespace() const override { return "
          << NsArg(cls.schemaNamespace, ns) << "; }\n"
          << "    std::string GetTargetNamespace() const override { return "
          << NsArg(cls.schemaNamespace, ns) << "; }\n"
          << "    void InvokeProperty(int propertyIndex, bool get, Tessel16::TsVariant& value) "
             "override;\n"
          << "    Tessel16Data::CParentElementInfo* GetClassInfo() const override;\n"
          << "    Tessel16Data::CElementInfo** GetClassElementInfo() const override;\n"
          << "    Tessel16Data::CAttributeInfo** GetClassAttributeInfo() const override;\n"
          << "    void Init() override;\n"
          << "    bool SetMemberFromText(int propertyIndex, const std::string& text,\n"
          << "                           Tessel16::CWhitespaceUtils::WhitespaceRule rule)"
             " override;\n";
        if (cls.pseudo) {
            h << "    // True when the element can begin this group's content.\n"
              << "    static bool CanStart(const Tessel16::CXmlElement* element);\n";
        }
        if (cls.nillable) {
            h << "    bool IsNil() const override { return m_nil; }\n"
              << "    void SetNil(bool nil) override { m_nil = nil; }\n";
        }
        h << "\nprotected:\n    static constexpr int kFirstProperty = " << BaseCount(index) << ";\n";
        if (!cls.members.empty()) {
            h << "    enum Property {\n";
            for (std::size_t i = 0; i < cls.members.size(); ++i)
                h << "        " << Prop(cls.members[i]) << (i == 0 ? " = kFirstProperty" : "")
                  << (i + 1 < cls.members.size() ? "," : "") << "\n";
            h << "    };\n";
        }
        h << "    // SetMemberFromText for the members of this class and of its bases.\n"
          << "    bool StoreMemberText(int propertyIndex, const std::string& text,\n"
          << "                         Tessel16::CWhitespaceUtils::WhitespaceRule rule);\n";
        h << "\nprivate:\n    static const Tessel16::CGeneratedMetaData& MetaData();\n"
          << "    // The members of this class (not of its bases) back in their initial state.\n"
          << "    void InitMembers();\n"
          << "    static constexpr std::size_t Own(int property) {\n"
          << "        return static_cast<std::size_t>(property - kFirstProperty);\n    }\n\n";
        h << "    std::bitset<" << std::max<std::size_t>(1, cls.members.size())
          << "> m_set;  // one bit per member: it holds a value\n";
        if (choice)
            h << "    // The chosen member by its number (1 + its index), 0 for none; held by name.\n"
              << "    static const std::string& ChoiceName(std::int32_t member);\n"
              << "    bool Holds(std::int32_t member) const;\n"
              << "    void Select(std::int32_t member);\n";
        // Widest alignment first, declaration order within one width, so the class carries no
        // padding between its fields.
        std::vector<const Member*> fields;
        for (const Member& m : cls.members) fields.push_back(&m);
        std::stable_sort(fields.begin(), fields.end(), [this](const Member* a, const Member* b) {
            return FieldAlignment(*a) > FieldAlignment(*b);
        });
        bool selectedDeclared = !choice;
        for (const Member* m : fields) {
            if (!selectedDeclared && FieldAlignment(*m) < 8) {
                h << "    std::int32_t m_selected = 0;\n";
                selectedDeclared = true;
            }
            h << "    " << FieldType(*m, ns) << " " << Field(*m) << "{};\n";
        }
        if (!selectedDeclared) h << "    std::int32_t m_selected = 0;\n";
        if (cls.nillable) h << "    bool m_nil = false;\n";
        h << "};\n\n";
    }

    void MemberAccessors(std::ostream& h, const ClassInfo& cls, const Member& m) {
        const std::string& ns = cls.cppNamespace;
        const bool choice = cls.groupType == 1;
        h << "    // " << CommentText(m.comment) << "\n";
        if (m.kind == MemberKind::AnyElement || m.kind == MemberKind::AnyAttribute ||
            m.Repeated()) {
            h << "    " << ColType(m, ns) << "* Get" << m.cppName << "() const { return "
              << Field(m) << ".get(); }\n";
            return;
        }
        if (m.kind == MemberKind::Class) {
            const std::string type = ClassRef(m.classIndex, ns);
            if (m.Optional() || choice) {
                h << "    // Null until set or read.\n";
            }
            h << "    " << type << "* Get" << m.cppName << "() const { return " << Field(m)
              << ".get(); }\n";
            h << "    void Set" << m.cppName << "(" << type << "* value);\n";
            if (m.Optional() || choice) {
                h << "    " << type << "* GetOrCreate" << m.cppName << "();\n"
                  << "    void Clear" << m.cppName << "();\n";
            }
            return;
        }
        std::string type, argument;
        if (m.kind == MemberKind::Enum) {
            type = EnumRef(m.simple.enumIndex, ns);
            argument = type;
        } else {
            const KindInfo kind = Kind(m.simple.kind);
            type = kind.byReference ? std::string("const ") + kind.cppType + "&" : kind.cppType;
            argument = type;
        }
        const bool optional = m.Optional() && !choice;
        if (optional) {
            h << "    bool Is" << m.cppName << "Valid() const { return m_set.test(Own("
              << Prop(m) << ")); }\n";
        }
        h << "    " << type << " Get" << m.cppName << "() const { return " << Field(m) << "; }\n";
        h << "    void Set" << m.cppName << "(" << argument << " value);\n";
        if (optional) {
            h << "    void Clear" << m.cppName << "() { m_set.reset(Own(" << Prop(m)
              << ")); }\n";
        }
    }

    void NamespaceSource(std::ostream& c, const std::string& uri, const std::string& ns) {
        c << "namespace " << ns << " {\n\nconst char* const kTargetNamespace = " << Literal(uri)
          << ";\n\n";
        for (const EnumType& type : m_model.enums) {
            if (type.cppNamespace != ns) continue;
            c << "namespace {\nconst char* const k" << type.cppName << "Texts[] = {";
            for (std::size_t i = 0; i < type.values.size(); ++i)
                c << (i ? ", " : "") << Literal(type.values[i]);
            c << "};\n}  // namespace\n\n"
              << "const char* " << type.cppName << "ToString(int value) {\n"
              << "    return generated::EnumToText(k" << type.cppName << "Texts, value);\n}\n"
              << "int " << type.cppName << "FromString(const char* text) {\n"
              << "    return generated::EnumFromText(k" << type.cppName << "Texts, text);\n}\n\n";
        }
        bool hasClasses = false;
        for (const ClassInfo& cls : m_model.classes) hasClasses = hasClasses || cls.cppNamespace == ns;
        c << "CSmartPtr<CXmlObjectBase> " << FactoryClass(ns)
          << "::CreateClass(int classId, const char* elementName) {\n";
        if (!hasClasses) c << "    (void)elementName;\n";
        c << "    switch (classId) {\n";
        for (const ClassInfo& cls : m_model.classes) {
            if (cls.cppNamespace != ns) continue;
            c << "        case ClassId_" << cls.cppName.substr(1) << ":\n            return new "
              << cls.cppName << "(elementName);\n";
        }
        c << "        default:\n            return nullptr;\n    }\n}\n\n";
        for (const ElementFactory& factory : m_model.factories) {
            if (factory.cppNamespace != ns) continue;
            c << "CSmartPtr<CXmlObjectBase> " << FactoryClass(ns) << "::" << factory.cppName
              << "(CXmlElement* element) {\n"
              << "    const char* name = element->GetLocalName().c_str();\n"
              << "    const std::string type = generated::CTypeOfElement::Name(element);\n"
              << "    if (!type.empty()) {\n"
              << "        const std::string typeNamespace = "
                 "generated::CTypeOfElement::Namespace(element);\n";
            std::vector<std::pair<QName, int>> types = factory.types;
            const int declared = factory.elements.empty() ? -1 : factory.elements[0].second;
            for (const auto& entry : types) {
                const ClassInfo& cls = m_model.classes[entry.second];
                if (cls.isAbstract) continue;
                c << "        if (type == " << Literal(entry.first.second)
                  << " && typeNamespace == " << Literal(entry.first.first) << ") return new "
                  << ClassRef(entry.second, ns) << "(name);\n";
            }
            c << "    }\n";
            if (declared >= 0)
                c << "    return new " << ClassRef(declared, ns) << "(name);\n";
            else
                c << "    (void)name;\n    return nullptr;  // an abstract type needs xsi:type\n";
            c << "}\n\n";
        }
        c << "}  // namespace " << ns << "\n\n";
    }

    // The record of one element member, for a class whose group is `groupType`.
    std::string ElementRecord(const Member& m, int groupType, const std::string& ns) const {
        const char* group = groupType == 1 ? "Choice" : groupType == 2 ? "All" : "Seq";
        const std::string name = Literal(m.xmlName);
        const std::string nsArg = NsArg(m.xmlNamespace, ns);
        const std::string prop = Prop(m);
        const std::string nillable = m.nillable ? "true" : "false";
        const std::string card = groupType == 1 ? "Opt" : m.Optional() ? "Opt" : "Mnd";
        std::ostringstream r;
        if (m.kind == MemberKind::AnyElement) {
            r << "new CElementInfo" << group << "UntpdCol(" << name << ", " << nsArg << ", "
              << prop << ")";
        } else if (m.Repeated()) {
            const char* kind = m.kind == MemberKind::Class
                                   ? (m.substitutable ? "AbsClsCol" : "ClsCol")
                                   : m.kind == MemberKind::Enum ? "EnumCol" : "PrimCol";
            r << "new CElementInfo" << group << kind << "(" << name << ", " << nsArg << ", "
              << prop;
            if (m.kind == MemberKind::Class)
                r << ", " << (m.pseudo ? "XmlElementType_Pseudo" : "XmlElementType_Element");
            r << ")";
        } else if (m.kind == MemberKind::Class) {
            const std::string elementType =
                m.pseudo ? "XmlElementType_Pseudo" : "XmlElementType_Element";
            const ClassInfo& target = m_model.classes[m.classIndex];
            const std::string qualifier =
                target.cppNamespace == ns ? "" : "::" + target.cppNamespace + "::";
            const std::string classId = qualifier + "ClassId_" + target.cppName.substr(1);
            if (m.substitutable) {
                const ElementFactory& factory = m_model.factories[m.factoryIndex];
                r << "new CElementInfo" << group << "AbsCls" << card << "(" << name << ", "
                  << nsArg << ", " << prop << ", " << elementType << ", &"
                  << (factory.cppNamespace == ns ? "" : "::" + factory.cppNamespace + "::")
                  << FactoryClass(factory.cppNamespace) << "::" << factory.cppName;
                // The all group's mandatory record also names the declared class.
                if (groupType == 2 && card == "Mnd") r << ", " << classId;
                r << ")";
            } else {
                r << "new CElementInfo" << group << "Cls" << card << "(" << name << ", " << nsArg
                  << ", " << prop << ", " << elementType << ", &" << qualifier
                  << FactoryClass(target.cppNamespace) << "::CreateClass, " << classId;
                // A mandatory element is required whatever its content; an inlined group only
                // when it cannot be empty, since then its absence is no loss.
                if (card == "Mnd")
                    r << ", " << (!m.pseudo || RequiresContent(m.classIndex) ? "true" : "false");
                r << ")";
            }
        } else if (m.kind == MemberKind::Enum) {
            const std::string type = EnumRef(m.simple.enumIndex, ns);
            r << "new CElementInfo" << group << "Enum" << card << "(" << name << ", " << nsArg
              << ", " << prop << ", " << nillable << ", &" << type << "ToString, &" << type
              << "FromString, " << DefaultText(m) << ")";
        } else {
            r << "new CElementInfo" << group << "Prim" << card << "(" << name << ", " << nsArg
              << ", " << prop << ", " << nillable << ", " << Kind(m.simple.kind).itemType
              << ", nullptr, " << Whitespace(m.simple.whitespace) << ", " << Facets(m.simple)
              << ", " << DefaultText(m) << ")";
        }
        return r.str();
    }

    // Whether the content of a class without a tag must hold at least one element: some
    // member of a sequence or all group requires one, every alternative of a choice does.
    // An inlined group is required only when its own content is.
    bool RequiresContent(int index) const {
        std::set<int> visiting;
        return RequiresContent(index, visiting);
    }
    bool RequiresContent(int index, std::set<int>& visiting) const {
        if (!visiting.insert(index).second) return false;  // a recursive group may be empty
        const ClassInfo& cls = m_model.classes[index];
        bool any = false, all = true, members = false;
        for (const Member& m : cls.members) {
            if (m.isAttribute || m.kind == MemberKind::Text) continue;
            members = true;
            const bool required = m.minOccurs > 0 && !(m.kind == MemberKind::Class && m.pseudo &&
                                                       !RequiresContent(m.classIndex, visiting));
            any = any || required;
            all = all && required;
        }
        visiting.erase(index);
        return cls.groupType == 1 ? all && members : any;
    }

    std::string AttributeRecord(const Member& m, const std::string& ns,
                                const std::string& classNamespace) const {
        const std::string name = Literal(m.xmlName);
        const std::string nsArg = NsArg(m.xmlNamespace, ns);
        const std::string optional = m.minOccurs == 0 ? "true" : "false";
        std::ostringstream r;
        if (m.kind == MemberKind::AnyAttribute) {
            r << "new CAttributeInfoAny(" << name << ", " << nsArg << ", " << Prop(m)
              << ", true, nullptr, " << Literal(m.wildcardNamespace) << ", "
              << NsArg(classNamespace, ns) << ")";
        } else if (m.kind == MemberKind::Enum) {
            const std::string type = EnumRef(m.simple.enumIndex, ns);
            r << "new CAttributeInfoEnum(" << name << ", " << nsArg << ", " << Prop(m) << ", "
              << optional << ", &" << type << "ToString, &" << type << "FromString, "
              << DefaultText(m) << ")";
        } else {
            r << "new CAttributeInfoPrimitive(" << name << ", " << nsArg << ", " << Prop(m)
              << ", " << optional << ", " << Kind(m.simple.kind).itemType << ", nullptr, "
              << Whitespace(m.simple.whitespace) << ", " << Facets(m.simple) << ", "
              << DefaultText(m) << ")";
        }
        return r.str();
    }

    std::string Qualify(int owner, const std::string& prop, const std::string& ns) const {
        // Records of base members name the property through the base class.
        return ClassRef(owner, ns) + "::" + prop;
    }

    void ClassSource(std::ostream& c, int index) {
        const ClassInfo& cls = m_model.classes[index];
        const std::string& ns = cls.cppNamespace;
        const std::string& name = cls.cppName;
        const bool choice = cls.groupType == 1;
        c << "namespace " << ns << " {\n\n";
        // Constructor, destructor, Init.
        if (cls.baseIndex >= 0) {
            c << name << "::" << name << "(const char* elementName) : "
              << ClassRef(cls.baseIndex, ns) << "(elementName) { InitMembers(); }\n";
        } else {
            c << name << "::" << name << "(const char* elementName) {\n"
              << "    SetElementName(elementName);\n    InitMembers();\n}\n";
        }
        c << name << "::~" << name << "() = default;\n\n";
        c << "void " << name << "::Init() {\n";
        if (cls.baseIndex >= 0) c << "    " << ClassRef(cls.baseIndex, ns) << "::Init();\n";
        c << "    InitMembers();\n}\n\n";
        c << "void " << name << "::InitMembers() {\n    m_set.reset();\n";
        if (choice) c << "    m_selected = 0;\n";
        if (cls.nillable) c << "    m_nil = false;\n";
        for (const Member& m : cls.members) InitMember(c, m, ns, choice);
        c << "}\n\n";
        if (choice) ChoiceHelpers(c, cls);

        // The tables: the members of every base first, then this class's own.
        std::vector<int> chain;
        for (int at = index; at >= 0; at = m_model.classes[at].baseIndex) chain.insert(chain.begin(), at);
        const int groupType = RootGroupType(index);
        int textProperty = -1;
        Tessel16::ItemType textKind = Tessel16::ItemType_none;
        std::vector<std::string> elements, attributes, wildcards;
        int offset = 0;
        for (int at : chain) {
            const ClassInfo& level = m_model.classes[at];
            for (const Member& m : level.members) {
                if (m.kind == MemberKind::Text) {
                    textProperty = offset;
                    textKind = m.simple.kind;
                } else if (m.kind == MemberKind::AnyAttribute) {
                    // The wildcard comes last: the records are asked in order, and a derived
                    // class's own attributes must not be taken by its base's wildcard.
                    wildcards.push_back(Replace(AttributeRecord(m, ns, cls.schemaNamespace),
                                                Prop(m), Qualify(at, Prop(m), ns)));
                } else if (m.isAttribute) {
                    attributes.push_back(Replace(AttributeRecord(m, ns, cls.schemaNamespace),
                                                 Prop(m), Qualify(at, Prop(m), ns)));
                } else {
                    elements.push_back(Replace(ElementRecord(m, level.groupType == 1 ? 1 : groupType, ns),
                                               Prop(m), Qualify(at, Prop(m), ns)));
                }
                ++offset;
            }
        }
        attributes.insert(attributes.end(), wildcards.begin(), wildcards.end());
        const char* groupNames[] = {"XmlElementGroupType_Sequence", "XmlElementGroupType_Choice",
                                    "XmlElementGroupType_All"};
        c << "const CGeneratedMetaData& " << name << "::MetaData() {\n"
          << "    static const CGeneratedMetaData meta(\n"
          << "        new CParentElementInfo(" << groupNames[cls.groupType == 1 ? 1 : groupType]
          << ", " << (cls.pseudo ? "XmlElementType_Pseudo" : "XmlElementType_Element") << ", "
          << Literal(cls.schemaName) << ", " << NsArg(cls.schemaNamespace, ns) << ", "
          << (cls.pseudo ? "false" : "true") << ", "
          << (cls.baseIndex >= 0 ? "true" : "false") << ", " << textProperty << ", "
          << (textProperty >= 0 ? Kind(textKind).itemType : "ItemType_none")
          << ", nullptr, false),\n";
        c << "        Table<CElementInfo>({";
        for (std::size_t i = 0; i < elements.size(); ++i)
            c << (i ? ",\n                             " : "") << elements[i];
        c << "}),\n        Table<CAttributeInfo>({";
        for (std::size_t i = 0; i < attributes.size(); ++i)
            c << (i ? ",\n                               " : "") << attributes[i];
        c << "}),\n        &" << name << "::CleanMetaData);\n    return meta;\n}\n\n";
        c << "CParentElementInfo* " << name << "::GetClassInfo() const { return MetaData().classInfo; }\n"
          << "CElementInfo** " << name << "::GetClassElementInfo() const { return MetaData().elements; }\n"
          << "CAttributeInfo** " << name << "::GetClassAttributeInfo() const {\n"
          << "    return MetaData().attributes;\n}\n\n";

        // The indexed accessor.
        c << "void " << name << "::InvokeProperty(int propertyIndex, bool get, TsVariant& value) {\n";
        if (cls.members.empty() && cls.baseIndex < 0) {
            c << "    (void)get;\n    (void)value;\n"
              << "    generated::ThrowNoSuchProperty(propertyIndex);\n}\n\n";
        } else {
            if (cls.baseIndex >= 0) {
                c << "    if (propertyIndex < kFirstProperty) {\n        "
                  << ClassRef(cls.baseIndex, ns)
                  << "::InvokeProperty(propertyIndex, get, value);\n        return;\n    }\n";
            }
            if (cls.members.empty()) {
                c << "    generated::ThrowNoSuchProperty(propertyIndex);\n}\n\n";
            } else {
                c << "    switch (propertyIndex) {\n";
                for (const Member& m : cls.members) InvokeCase(c, cls, m);
                c << "        default:\n            generated::ThrowNoSuchProperty(propertyIndex);\n"
                  << "    }\n}\n\n";
            }
        }
        TextSetter(c, cls);
        for (const Member& m : cls.members) Setters(c, cls, m);
        if (cls.pseudo) StartTest(c, index);
        c << "}  // namespace " << ns << "\n\n";
    }

    // The elements that can begin the content of a class: every member of a choice or all
    // group, the members of a sequence up to the first mandatory one.
    void First(int index, std::set<QName>& names, bool& any, std::set<int>& visiting) const {
        if (!visiting.insert(index).second) return;
        std::vector<int> chain;
        for (int at = index; at >= 0; at = m_model.classes[at].baseIndex)
            chain.insert(chain.begin(), at);
        const bool anyOrder = m_model.classes[index].groupType != 0;
        for (int at : chain) {
            for (const Member& m : m_model.classes[at].members) {
                if (m.isAttribute || m.kind == MemberKind::Text) continue;
                if (m.kind == MemberKind::Class && m.pseudo) {
                    First(m.classIndex, names, any, visiting);
                } else if (m.kind == MemberKind::AnyElement && m.xmlName == "AnyElement") {
                    any = true;
                } else {
                    names.insert(QName(m.xmlNamespace, m.xmlName));
                }
                if (!anyOrder && m.minOccurs > 0) return;
            }
        }
    }

    void StartTest(std::ostream& c, int index) {
        const ClassInfo& cls = m_model.classes[index];
        std::set<QName> names;
        bool any = false;
        std::set<int> visiting;
        First(index, names, any, visiting);
        c << "bool " << cls.cppName << "::CanStart(const CXmlElement* element) {\n";
        if (any || names.empty()) {
            c << "    (void)element;\n    return " << (any ? "true" : "false") << ";\n}\n";
            return;
        }
        c << "    const std::string& name = element->GetLocalName();\n"
          << "    const std::string& uri = element->GetNamespaceURI();\n    return ";
        bool first = true;
        for (const QName& name : names) {
            c << (first ? "" : " ||\n           ") << "(name == " << Literal(name.second)
              << " && uri == " << Literal(name.first) << ")";
            first = false;
        }
        c << ";\n}\n";
    }

    static std::string Replace(std::string text, const std::string& from, const std::string& to) {
        // The property constant is the third argument; replace its one occurrence as a word.
        const std::string needle = ", " + from;
        std::size_t at = 0;
        while ((at = text.find(needle, at)) != std::string::npos) {
            const std::size_t end = at + needle.size();
            if (end >= text.size() || text[end] == ',' || text[end] == ')') {
                text.replace(at + 2, from.size(), to);
                break;
            }
            at = end;
        }
        return text;
    }

    void InitMember(std::ostream& c, const Member& m, const std::string& ns, bool choice) {
        const std::string field = Field(m);
        if (m.kind == MemberKind::AnyElement) {
            // The collection's own namespace is left to the restriction (it names new items).
            c << "    " << field << " = new CElementCol(\"\", "
              << Literal(m.wildcardNamespace) << ", " << NsArg(m.xmlNamespace, ns) << ", "
              << m.minOccurs << ", " << m.maxOccurs << ");\n";
        } else if (m.kind == MemberKind::AnyAttribute) {
            c << "    " << field << " = new CAttributeCol(\"\", "
              << Literal(m.wildcardNamespace) << ", " << NsArg(m.xmlNamespace, ns) << ");\n";
        } else if (m.Repeated()) {
            const std::string type = ColType(m, ns);
            const std::string nsArg = NsArg(m.xmlNamespace, ns);
            c << "    " << field << " = new " << type << "(" << Literal(m.xmlName) << ", " << nsArg
              << ", " << m.minOccurs << ", " << m.maxOccurs;
            if (m.kind == MemberKind::Primitive) {
                c << ", " << FacetArguments(m.simple) << ", " << Whitespace(m.simple.whitespace)
                  << ", \"\"";
            } else if (m.kind == MemberKind::Enum) {
                const std::string e = EnumRef(m.simple.enumIndex, ns);
                c << ", &" << e << "ToString, &" << e << "FromString";
            } else if (m.kind == MemberKind::Class) {
                if (m.substitutable) {
                    const ElementFactory& factory = m_model.factories[m.factoryIndex];
                    c << ", &" << (factory.cppNamespace == ns ? "" : "::" + factory.cppNamespace + "::")
                      << FactoryClass(factory.cppNamespace) << "::" << factory.cppName;
                } else {
                    c << ", nullptr";
                }
                if (m.pseudo) c << ", &" << ClassRef(m.classIndex, ns) << "::CanStart";
            }
            c << ");\n";
        } else if (m.kind == MemberKind::Class) {
            if (m.Optional() || choice) {
                c << "    " << field << " = nullptr;\n";
            } else {
                // A member made once is reset rather than made again: every read starts here.
                // The literal names it, so the new member looks no name up.
                c << "    if (" << field << ") {\n        " << field << "->Init();\n"
                  << "    } else {\n        " << field << " = new "
                  << ClassRef(m.classIndex, ns) << "(\"\");\n        SetStaticElementName("
                  << field << ".get(), " << Literal(m.xmlName) << ");\n    }\n";
            }
        } else if (m.kind == MemberKind::Enum || !Kind(m.simple.kind).byReference) {
            // Values of class type (strings, decimals, dates) are left as they are: the member's
            // bit says whether they hold anything, and every read starts here.
            c << "    " << field << " = {};\n";
        }
    }

    void InvokeCase(std::ostream& c, const ClassInfo& cls, const Member& m) {
        const std::string& ns = cls.cppNamespace;
        const bool choice = cls.groupType == 1;
        const std::string field = Field(m);
        c << "        case " << Prop(m) << ":\n";
        if (m.kind == MemberKind::AnyElement || m.kind == MemberKind::AnyAttribute ||
            m.Repeated()) {
            c << "            if (get)\n                value.SetXmlCollection(" << field
              << ".get());\n            else\n                " << field
              << " = generated::CollectionOf<" << ColType(m, ns) << ">(value, "
              << Literal(m.xmlName) << ");\n            return;\n";
            return;
        }
        if (m.kind == MemberKind::Class) {
            c << "            if (get) {\n                value.SetXmlObject(" << field
              << ".get());\n            } else {\n                " << field
              << " = generated::ObjectOf<" << ClassRef(m.classIndex, ns) << ">(value, "
              << Literal(m.xmlName) << ");\n";
            if (choice)
                c << "                if (" << field << ") Select(" << ChoiceNumber(cls, m)
                  << ");\n";
            c << "            }\n            return;\n";
            return;
        }
        std::string setter, getter;
        if (m.kind == MemberKind::Enum) {
            setter = "value.SetI4(" + field + ")";
        } else {
            setter = std::string("value.Set") + Kind(m.simple.kind).variant + "(" + field + ")";
            // The engine hands values over in a disposable variant: class kinds are moved
            // into the member rather than copied.
            getter = std::string(Kind(m.simple.kind).byReference ? "value.Take" : "value.Get") +
                     Kind(m.simple.kind).variant + "()";
        }
        const std::string has = choice ? "Holds(" + ChoiceNumber(cls, m) + ")"
                                       : "m_set.test(Own(" + Prop(m) + "))";
        c << "            if (get) {\n                if (" << has << ") " << setter
          << ";\n            } else if (generated::IsSetBy(value)) {\n";
        if (m.kind == MemberKind::Enum) {
            const EnumType& type = m_model.enums[m.simple.enumIndex];
            c << "                const std::int32_t number = value.GetI4();\n"
              << "                if (number < 0 || number >= " << type.values.size() << ")\n"
              << "                    throw CTsInvalidValueException(FormatString(\"[%d] is not a "
                 "value of [%s]\", number, "
              << Literal(m.xmlName) << "));\n                " << field << " = static_cast<"
              << EnumRef(m.simple.enumIndex, ns) << ">(number);\n";
        } else {
            c << "                " << field << " = " << getter << ";\n";
        }
        if (choice)
            c << "                Select(" << ChoiceNumber(cls, m) << ");\n";
        else
            c << "                m_set.set(Own(" << Prop(m) << "));\n";
        c << "            } else {\n";
        if (choice)
            c << "                if (Holds(" << ChoiceNumber(cls, m) << ")) m_selected = 0;\n";
        else
            c << "                m_set.reset(Own(" << Prop(m) << "));\n";
        c << "            }\n            return;\n";
    }

    // The shortcut lenient reading takes past InvokeProperty for simple members. A member of
    // a choice takes it only while selecting it cannot fail (nothing or itself selected):
    // otherwise the failure must reach the record the way InvokeProperty reports it.
    void TextSetter(std::ostream& c, const ClassInfo& cls) {
        const std::string& ns = cls.cppNamespace;
        const std::string& name = cls.cppName;
        const std::string params =
            "(int propertyIndex, const std::string& text, CWhitespaceUtils::WhitespaceRule rule)";
        c << "bool " << name << "::SetMemberFromText" << params << " {\n"
          << "    // A class derived from this one by hand may watch its members through\n"
          << "    // InvokeProperty, so only objects of this very class take the shortcut.\n"
          << "    return typeid(*this) == typeid(" << name
          << ") && StoreMemberText(propertyIndex, text, rule);\n}\n\n";
        c << "bool " << name << "::StoreMemberText" << params << " {\n";
        if (cls.baseIndex >= 0) {
            c << "    if (propertyIndex < kFirstProperty)\n        return "
              << ClassRef(cls.baseIndex, ns) << "::StoreMemberText(propertyIndex, text, rule);\n";
        }
        const bool choice = cls.groupType == 1;
        std::vector<const Member*> simple;
        for (const Member& m : cls.members) {
            if (m.kind == MemberKind::Primitive && !m.Repeated()) simple.push_back(&m);
        }
        if (simple.empty()) {
            c << "    (void)propertyIndex;\n    (void)text;\n    (void)rule;\n";
        } else {
            c << "    switch (propertyIndex) {\n";
            for (const Member* m : simple) {
                c << "        case " << Prop(*m) << ":\n";
                if (choice) {
                    c << "            if (m_selected != 0 && !Holds(" << ChoiceNumber(cls, *m)
                      << ")) return false;\n";
                }
                c << "            " << Field(*m)
                  << " = CConversions::" << Kind(m->simple.kind).column
                  << "FromString(text, rule);\n";
                if (choice)
                    c << "            m_selected = " << ChoiceNumber(cls, *m) << ";\n";
                else
                    c << "            m_set.set(Own(" << Prop(*m) << "));\n";
                c << "            return true;\n";
            }
            c << "        default:\n            break;\n    }\n";
        }
        c << "    return false;\n}\n\n";
    }

    void Setters(std::ostream& c, const ClassInfo& cls, const Member& m) {
        const std::string& ns = cls.cppNamespace;
        const bool choice = cls.groupType == 1;
        const std::string field = Field(m);
        const std::string& name = cls.cppName;
        if (m.kind == MemberKind::AnyElement || m.kind == MemberKind::AnyAttribute ||
            m.Repeated())
            return;
        const std::string mark = choice ? "    Select(" + ChoiceNumber(cls, m) + ");\n"
                                        : "    m_set.set(Own(" + Prop(m) + "));\n";
        if (m.kind == MemberKind::Class) {
            const std::string type = ClassRef(m.classIndex, ns);
            c << "void " << name << "::Set" << m.cppName << "(" << type << "* value) {\n";
            if (choice) c << "    if (value) Select(" << ChoiceNumber(cls, m) << ");\n";
            c << "    " << field << " = value;\n}\n";
            if (m.Optional() || choice) {
                c << type << "* " << name << "::GetOrCreate" << m.cppName << "() {\n"
                  << "    if (!" << field << ") {\n";
                if (choice) c << "        Select(" << ChoiceNumber(cls, m) << ");\n";
                c << "        " << field << " = new " << type << "(" << Literal(m.xmlName)
                  << ");\n    }\n    return " << field << ".get();\n}\n";
                c << "void " << name << "::Clear" << m.cppName << "() {\n";
                if (choice) c << "    if (Holds(" << ChoiceNumber(cls, m) << ")) m_selected = 0;\n";
                c << "    " << field << " = nullptr;\n}\n";
            }
            return;
        }
        std::string argument;
        if (m.kind == MemberKind::Enum) {
            argument = EnumRef(m.simple.enumIndex, ns);
        } else {
            const KindInfo kind = Kind(m.simple.kind);
            argument = kind.byReference ? std::string("const ") + kind.cppType + "&" : kind.cppType;
        }
        c << "void " << name << "::Set" << m.cppName << "(" << argument << " value) {\n";
        if (choice) c << mark << "    " << field << " = value;\n}\n";
        else c << "    " << field << " = value;\n" << mark << "}\n";
    }

    void RootFactory(std::ostream& c) {
        c << "CSmartPtr<CXmlObjectBase> " << RootFactoryName()
          << "(const char* namespaceUri, const char* localName) {\n"
          << "    const std::string uri = namespaceUri ? namespaceUri : \"\";\n"
          << "    const std::string name = localName ? localName : \"\";\n";
        for (const auto& root : m_model.rootElements) {
            const ClassInfo& cls = m_model.classes[root.second];
            c << "    if (name == " << Literal(root.first.second) << " && uri == "
              << Literal(root.first.first) << ") return new ::" << cls.cppNamespace
              << "::" << cls.cppName << "(" << Literal(root.first.second) << ");\n";
        }
        c << "    return nullptr;\n}\n";
    }
};

// Written every time, even unchanged: the build compares the outputs' times with the schemas'.
void Write(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    if (!out) throw std::runtime_error("cannot write '" + path + "'");
}

}  // namespace

void EmitBinding(const Model& model, const Options& options, const std::string& name) {
    Emitter emitter(model, options, name);
    const std::string stem = options.outputDir + "/" + options.filePrefix + name;
    Write(stem + ".h", emitter.Header());
    const std::vector<std::string> sources = emitter.Sources(options.sourceFiles);
    if (sources.size() == 1) {
        Write(stem + ".cpp", sources[0]);
        return;
    }
    for (std::size_t i = 0; i < sources.size(); ++i)
        Write(stem + "_" + std::to_string(i + 1) + ".cpp", sources[i]);
}

}  // namespace xsd
