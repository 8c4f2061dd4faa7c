#include "common/print_line.h"

#include "common/plain_number.h"

namespace qalto {

void PrintBuffer::Print(const std::vector<PrintItem>& items) {
  for (const PrintItem& item : items) {
    if (const auto* text = std::get_if<std::string>(&item.value)) Append(*text);
    if (const auto* number = std::get_if<double>(&item.value)) Append(PrintedNumber(*number));
    switch (item.separator) {
      case Separator::kNone:
        break;
      case Separator::kZone:
        MoveToNextZone();
        break;
      case Separator::kLineEnd:
        EndLine();
        break;
    }
  }
}

void PrintBuffer::Clear() {
  text_.clear();
  column_ = 0;
}

void PrintBuffer::Restore(const std::string& text) {
  Clear();
  size_t lineEnd = text.rfind(lineEnd_);
  size_t tail = lineEnd == std::string::npos ? 0 : lineEnd + lineEnd_.size();
  Append(text.substr(tail));
  text_ = text;
}

void PrintBuffer::Append(const std::string& text) {
  text_ += text;
  // a column is a character: the continuation bytes of UTF-8 (10xxxxxx) take none
  for (unsigned char c : text) {
    if ((c & 0xC0) != 0x80) ++column_;
  }
}

void PrintBuffer::MoveToNextZone() {
  int next = (column_ / kZoneWidth + 1) * kZoneWidth;
  text_.append(static_cast<size_t>(next - column_), ' ');
  column_ = next;
}

void PrintBuffer::EndLine() {
  text_ += lineEnd_;
  column_ = 0;
}

}  // namespace qalto
