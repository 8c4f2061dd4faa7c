// qalto-png PATH WIDTH HEIGHT: the PNG writer of qalto-batch, a program of its own so that the
// script runner never loads Qt's libraries. Paints the display list read from standard input
// (as DisplayListText writes it) into a WIDTH x HEIGHT picture written to PATH; on a failure
// its reason goes to standard error and the status is 1.

#include <cstdlib>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "desktop/png_writer.h"
#include "drawing/display_list_text.h"

int main(int argc, char** argv) {
  if (argc != 4) {
    std::cerr << "usage: qalto-png PATH WIDTH HEIGHT, the drawing on standard input\n";
    return 2;
  }
  const std::string text{std::istreambuf_iterator<char>(std::cin),
                         std::istreambuf_iterator<char>()};
  std::vector<qalto::DisplayItem> items;
  if (!qalto::ReadDisplayListText(text, items)) {
    std::cerr << "the drawing sent to the picture writer is damaged\n";
    return 1;
  }
  std::string reason;
  if (!qalto::WritePng(items, argv[1], std::atoi(argv[2]), std::atoi(argv[3]), &reason)) {
    std::cerr << reason << "\n";
    return 1;
  }
  return 0;
}
