#pragma once
// The tasks of one qalto-batch process (--tasks): single rows and ranges of rows separated by
// commas, "1-5,9,12-14", run in the order written.

#include <string>
#include <utility>
#include <vector>

namespace qalto {

// First and last row of each range, as written; a single row is a range of one.
using TaskList = std::vector<std::pair<long, long>>;

// The list of `text`; an error text for an empty item, a row below 1 or above 2147483647, or a
// range that runs backwards.
std::string ReadTaskList(const std::string& text, TaskList& tasks);

// The number of tasks of the list.
long TaskCount(const TaskList& tasks);

}  // namespace qalto
