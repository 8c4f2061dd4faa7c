#pragma once
// Gathering the JSON records of many runs into one tab-separated table: one row per record,
// first the column "record" with the record's file name, then one column per cell name met in
// any record (json_flatten.h), in the order first met. A record that lacks a cell leaves it
// empty. Tabs and line breaks inside a value are written as \t and \n.

#include <string>
#include <vector>

namespace qalto {

struct MergedTable {
  std::string text;                   // the table, header line first
  int rows = 0;                       // records read
  std::vector<std::string> problems;  // one text per record that could not be read
};

MergedTable MergeRecords(const std::vector<std::string>& paths);

}  // namespace qalto
