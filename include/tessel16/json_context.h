// json_context.h: CJsonContext, the JSON section of the serialization settings (round-trip
// level, root element name for reading, comments). The serialization context owns one.
#pragma once

#include <cstdint>
#include <string>

#include "tessel16/export.h"

namespace Tessel16 {

// How much of the XML information set the JSON form keeps: 0 names only, 1 adds "@"
// attribute and "#text" members, 2 adds prefixes, namespace declarations and xsi:type.
enum JsonRoundTrip : std::int32_t {
    JsonRoundTrip_None = 0,
    JsonRoundTrip_Attributes = 1,
    JsonRoundTrip_Full = 2
};

class TESSEL16_API CJsonContext {
public:
    CJsonContext() = default;
    CJsonContext(const CJsonContext& other) = default;
    CJsonContext& operator=(const CJsonContext& other) = default;
    virtual ~CJsonContext();

    JsonRoundTrip GetSupportRoundtrip() const { return m_supportRoundtrip; }
    void SetSupportRoundtrip(JsonRoundTrip level) { m_supportRoundtrip = level; }
    // When set, a JSON document is read as the value of a member of this name.
    std::string GetRootElementName() const { return m_rootElementName; }
    void SetRootElementName(const char* name) { m_rootElementName = name ? name : ""; }
    bool GetAllowComments() const { return m_allowComments; }
    void SetAllowComments(bool allow) { m_allowComments = allow; }
    // The same setter under the getter's name; existing callers spell it this way.
    void GetAllowComments(bool allow) { m_allowComments = allow; }

private:
    JsonRoundTrip m_supportRoundtrip = JsonRoundTrip_Full;
    std::string m_rootElementName;
    bool m_allowComments = true;
};

}  // namespace Tessel16
