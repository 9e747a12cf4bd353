// json_number.cpp: the JSON literal check behind bare numbers and booleans in the writer.
#include "json/json_number.h"

#include <cstring>

namespace Tessel16::detail {

namespace {
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
}  // namespace

bool IsJsonLiteral(const char* p) {
    if (*p == 't') return std::strcmp(p, "true") == 0;
    if (*p == 'f') return std::strcmp(p, "false") == 0;
    if (*p == '-') ++p;
    if (*p == '0') {
        ++p;
    } else if (*p >= '1' && *p <= '9') {
        while (IsDigit(*p)) ++p;
    } else {
        return false;
    }
    if (*p == '.') {
        ++p;
        if (!IsDigit(*p)) return false;
        while (IsDigit(*p)) ++p;
    }
    if (*p == 'e' || *p == 'E') {
        ++p;
        if (*p == '+' || *p == '-') ++p;
        if (!IsDigit(*p)) return false;
        while (IsDigit(*p)) ++p;
    }
    return *p == '\0';
}

}  // namespace Tessel16::detail
