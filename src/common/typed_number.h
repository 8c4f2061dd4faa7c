#pragma once
// A number the user typed, read once where the form hands it on. It reads as ReadNumber reads
// the text; a text beyond the double range keeps its "Overflow", raised where a computation
// takes the number, so that the failure arises where it always did.

#include <string_view>

namespace qalto {

class TypedNumber {
 public:
  TypedNumber() = default;
  explicit TypedNumber(double value) : value_(value) {}
  static TypedNumber Read(std::string_view text);

  // The number; raises "Overflow" when the text did not fit a double.
  double Get() const;

 private:
  double value_ = 0.0;
  bool overflow_ = false;
};

}  // namespace qalto
