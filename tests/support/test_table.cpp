// test_table.cpp: the reader of the reference tables in tests/data.
#include "support/test_table.h"

#include <cstdlib>
#include <fstream>
#include <stdexcept>

#include "support/test_node.h"

namespace Tessel16::test {

namespace {

std::string Trim(const std::string& text) {
    const auto begin = text.find_first_not_of(" \t");
    if (begin == std::string::npos) return "";
    return text.substr(begin, text.find_last_not_of(" \t") - begin + 1);
}

// Splits on unescaped '|' and then resolves the escapes, so an escaped bar stays in its cell.
std::vector<std::string> SplitCells(const std::string& line) {
    std::vector<std::string> cells(1);
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '|') {
            cells.emplace_back();
        } else if (c == '\\' && i + 1 < line.size()) {
            cells.back() += c;
            cells.back() += line[++i];
        } else {
            cells.back() += c;
        }
    }
    // \n, \r, \t, \| and \\ stand for the byte they name, \xHH for its byte; other escapes
    // (regular expressions) are kept as written.
    static const std::string kNamed = "nrt|\\", kBytes = "\n\r\t|\\";
    for (std::string& cell : cells) {
        const std::string raw = Trim(cell);
        cell.clear();
        for (std::size_t i = 0; i < raw.size(); ++i) {
            if (raw[i] != '\\' || i + 1 == raw.size()) {
                cell += raw[i];
            } else if (raw[i + 1] == 'x') {
                cell += static_cast<char>(std::strtoul(raw.substr(i + 2, 2).c_str(), nullptr, 16));
                i += 3;
            } else {
                const std::size_t named = kNamed.find(raw[i + 1]);
                cell += named == std::string::npos ? raw.substr(i, 2) : kBytes.substr(named, 1);
                ++i;
            }
        }
    }
    return cells;
}

}  // namespace

std::vector<TableRow> ReadTable(const std::string& relativePath) {
    const std::string path = std::string(TESSEL16_TEST_DATA_DIR) + "/" + relativePath;
    std::ifstream in(path);
    if (!in) throw std::runtime_error("cannot read " + path);
    std::vector<TableRow> rows;
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        const std::string trimmed = Trim(line);
        if (trimmed.empty() || trimmed[0] == '#') continue;
        rows.push_back({SplitCells(line), number});
    }
    return rows;
}

std::string ReadDataFile(const std::string& relativePath) {
    return ReadFileBytes(std::string(TESSEL16_TEST_DATA_DIR) + "/" + relativePath);
}

ItemType ItemTypeNamed(const std::string& name) {
    static const char* const kNames[] = {
        "none",      "hexBinary", "base64Binary", "i1",      "i2",      "i4",     "i8",
        "ui1",       "ui2",       "ui4",          "ui8",     "r4",      "r8",     "duration",
        "yearMonth", "monthDay",  "year",         "month",   "day",     "date",   "datetime",
        "time",      "char",      "string",       "boolean", "decimal", "integer"};
    for (int i = 0; i < static_cast<int>(sizeof kNames / sizeof kNames[0]); ++i)
        if (name == kNames[i]) return static_cast<ItemType>(i);
    throw std::runtime_error("no item type named " + name);
}

}  // namespace Tessel16::test
