#include "drawing/display_list_text.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>

namespace qalto {
namespace {

void AppendNumber(std::string& text, double value) {
  char number[40];
  std::snprintf(number, sizeof number, " %a", value);
  text += number;
}

// Reads the items of a text item by item, each number after one blank.
class ListReader {
 public:
  explicit ListReader(std::string_view text) : text_(text) {}

  bool AtEnd() const { return at_ == text_.size(); }

  // The mark that begins an item's line.
  bool Mark() {
    if (at_ >= text_.size() || text_[at_] != 'i') return false;
    ++at_;
    return true;
  }

  bool Number(double& value) {
    if (!Blank()) return false;
    const std::string field(Field());
    char* end = nullptr;
    value = std::strtod(field.c_str(), &end);
    return !field.empty() && end == field.c_str() + field.size();
  }

  bool Whole(int& value, int largest) {
    double number = 0;
    if (!Number(number) || number < 0 || number > largest || number != static_cast<int>(number))
      return false;
    value = static_cast<int>(number);
    return true;
  }

  // length bytes after one blank, then the line's end.
  bool Bytes(size_t length, std::string& bytes) {
    if (!Blank() || text_.size() - at_ < length + 1 || text_[at_ + length] != '\n') return false;
    bytes.assign(text_.substr(at_, length));
    at_ += length + 1;
    return true;
  }

 private:
  bool Blank() {
    if (at_ >= text_.size() || text_[at_] != ' ') return false;
    ++at_;
    return true;
  }

  std::string_view Field() {
    const size_t start = at_;
    while (at_ < text_.size() && text_[at_] != ' ' && text_[at_] != '\n')
      ++at_;
    return text_.substr(start, at_ - start);
  }

  std::string_view text_;
  size_t at_ = 0;
};

constexpr int kLargestKind = static_cast<int>(ItemKind::kText);
constexpr int kLargestStyle = static_cast<int>(LineStyle::kDashed);
constexpr int kLongestText = 1 << 20;  // bytes: a caption, never a book

}  // namespace

std::string DisplayListText(const std::vector<DisplayItem>& items) {
  std::string text;
  for (const DisplayItem& item : items) {
    text += 'i';
    for (double number :
         {static_cast<double>(item.kind), item.x1, item.y1, item.x2, item.y2,
          static_cast<double>(item.style), item.scale.left, item.scale.top, item.scale.right,
          item.scale.bottom, static_cast<double>(item.text.size())}) {
      AppendNumber(text, number);
    }
    text += ' ';
    text += item.text;
    text += '\n';
  }
  return text;
}

bool ReadDisplayListText(std::string_view text, std::vector<DisplayItem>& items) {
  ListReader reader(text);
  while (!reader.AtEnd()) {
    DisplayItem item;
    int kind = 0, style = 0, length = 0;
    if (!reader.Mark() || !reader.Whole(kind, kLargestKind) || !reader.Number(item.x1) ||
        !reader.Number(item.y1) || !reader.Number(item.x2) || !reader.Number(item.y2) ||
        !reader.Whole(style, kLargestStyle) || !reader.Number(item.scale.left) ||
        !reader.Number(item.scale.top) || !reader.Number(item.scale.right) ||
        !reader.Number(item.scale.bottom) || !reader.Whole(length, kLongestText) ||
        !reader.Bytes(static_cast<size_t>(length), item.text)) {
      return false;
    }
    item.kind = static_cast<ItemKind>(kind);
    item.style = static_cast<LineStyle>(style);
    items.push_back(std::move(item));
  }
  return true;
}

}  // namespace qalto
