#include "app/record_merge.h"

#include <fstream>
#include <map>
#include <sstream>

#include "app/json_flatten.h"

namespace qalto {
namespace {

// A cell never holds a tab or a line break, which would break the table's rows and columns.
std::string CellText(const std::string& value) {
  std::string cell;
  for (char c : value) {
    if (c == '\t') {
      cell += "\\t";
    } else if (c == '\n') {
      cell += "\\n";
    } else if (c != '\r') {
      cell += c;
    }
  }
  return cell;
}

bool ReadWholeFile(const std::string& path, std::string& text) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return false;
  std::ostringstream contents;
  contents << file.rdbuf();
  text = contents.str();
  return true;
}

}  // namespace

MergedTable MergeRecords(const std::vector<std::string>& paths) {
  MergedTable table;
  std::vector<std::string> columns = {"record"};
  std::map<std::string, size_t> columnOf = {{"record", 0}};
  std::vector<std::vector<std::string>> rows;
  for (const std::string& path : paths) {
    std::string text;
    std::string error;
    if (!ReadWholeFile(path, text)) {
      table.problems.push_back(path + ": cannot be read");
      continue;
    }
    JsonCells cells = FlattenJson(text, error);
    if (!error.empty()) {
      table.problems.push_back(path + ": not a JSON record: " + error);
      continue;
    }
    std::vector<std::string> row = {CellText(path)};
    for (const auto& [name, value] : cells) {
      auto [found, added] = columnOf.emplace(name, columns.size());
      if (added) columns.push_back(name);
      if (row.size() <= found->second) row.resize(found->second + 1);
      row[found->second] = CellText(value);
    }
    rows.push_back(std::move(row));
  }
  auto addLine = [&table, &columns](const std::vector<std::string>& cells) {
    for (size_t c = 0; c < columns.size(); ++c) {
      if (c > 0) table.text += '\t';
      if (c < cells.size()) table.text += cells[c];
    }
    table.text += '\n';
  };
  addLine(columns);
  for (const auto& row : rows)
    addLine(row);
  table.rows = static_cast<int>(rows.size());
  return table;
}

}  // namespace qalto
