// test_table.h: reference tables kept as text under tests/data, so long case lists live
// beside the tests as data rather than as code.
#pragma once

#include <string>
#include <vector>

#include "tessel16/types.h"

namespace Tessel16::test {

// One row of a table: its cells and the line it came from, for failure traces.
struct TableRow {
    std::vector<std::string> cells;
    int line = 0;
    const std::string& operator[](std::size_t i) const { return cells.at(i); }
};

// Reads tests/data/<relativePath>: one row per line, cells separated by '|' and trimmed,
// blank lines and lines starting with '#' skipped. Inside a cell \n, \r, \t, \xHH, \| and
// \\ stand for the bytes they name, so any text fits; other backslashes are kept as written,
// so regular expressions read as they are. Throws std::runtime_error when the file cannot be
// read.
std::vector<TableRow> ReadTable(const std::string& relativePath);

// The bytes of tests/data/<relativePath>, for documents kept as files.
std::string ReadDataFile(const std::string& relativePath);

// The item type named as in the enumeration without its prefix ("i4", "hexBinary").
ItemType ItemTypeNamed(const std::string& name);

}  // namespace Tessel16::test
