#include "app/task_list.h"

#include <charconv>

namespace qalto {
namespace {

constexpr long kLastRow = 2147483647;

// A row number of digits only, 1..kLastRow.
bool ReadRow(const std::string& text, long& row) {
  if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos) return false;
  auto [end, problem] = std::from_chars(text.data(), text.data() + text.size(), row);
  return problem == std::errc() && end == text.data() + text.size() && row >= 1 && row <= kLastRow;
}

}  // namespace

std::string ReadTaskList(const std::string& text, TaskList& tasks) {
  const std::string usage = "--tasks takes rows from 1 and ranges such as 1-5,9,12-14: " + text;
  tasks.clear();
  size_t start = 0;
  for (;;) {
    size_t comma = text.find(',', start);
    std::string item = text.substr(start, comma == std::string::npos ? comma : comma - start);
    size_t dash = item.find('-');
    long first = 0;
    long last = 0;
    if (!ReadRow(item.substr(0, dash), first)) return usage;
    last = first;
    if (dash != std::string::npos && !ReadRow(item.substr(dash + 1), last)) return usage;
    if (last < first) return usage;
    tasks.push_back({first, last});
    if (comma == std::string::npos) return "";
    start = comma + 1;
  }
}

long TaskCount(const TaskList& tasks) {
  long count = 0;
  for (const auto& [first, last] : tasks)
    count += last - first + 1;
  return count;
}

}  // namespace qalto
