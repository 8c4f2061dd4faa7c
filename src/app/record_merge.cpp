#include "app/record_merge.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>

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

// The largest record read: a record of a run is a few kilobytes, its messages included.
constexpr std::streamsize kMaxRecordBytes = 16 << 20;

// The record's text read in blocks, at most kMaxRecordBytes of it; the reason it cannot be read,
// empty when it was. What is not a regular file (a folder, a device that never ends, a pipe
// that would hold the merge up) is not opened at all.
std::string ReadRecord(const std::string& path, std::string& text) {
  std::error_code error;
  std::filesystem::file_status status = std::filesystem::status(path, error);
  if (error) return error.message();
  if (!std::filesystem::is_regular_file(status)) return "not a regular file, skipped";
  errno = 0;
  std::ifstream file(path, std::ios::binary);
  if (!file) return errno != 0 ? std::strerror(errno) : "cannot be opened";
  char block[1 << 16];
  while (file.read(block, sizeof block) || file.gcount() > 0) {
    if (static_cast<std::streamsize>(text.size()) + file.gcount() > kMaxRecordBytes) {
      return "larger than " + std::to_string(kMaxRecordBytes >> 20) + " MB, not a record";
    }
    text.append(block, static_cast<size_t>(file.gcount()));
  }
  if (file.bad()) return "read error";
  return "";
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
    if (std::string reason = ReadRecord(path, text); !reason.empty()) {
      table.problems.push_back(path + ": " + reason);
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
