#pragma once
// The print operation of the result window, also used for the lines of exported files: a list
// of items, each followed by a separator. A zone move goes to the next print zone (zones are 14
// characters wide; a text that already reaches past a zone start uses the next one), a line end
// ends the line. Numbers are written by the plain-number rule; an item never set writes nothing.

#include <string>
#include <variant>
#include <vector>

namespace qalto {

enum class Separator { kNone, kZone, kLineEnd };

struct PrintItem {
  std::variant<std::monostate, std::string, double> value;  // monostate: a value never set
  Separator separator = Separator::kNone;

  static PrintItem Text(std::string text, Separator sep = Separator::kNone) {
    return {std::move(text), sep};
  }
  static PrintItem Number(double number, Separator sep = Separator::kNone) { return {number, sep}; }
  static PrintItem Zone() { return {std::monostate{}, Separator::kZone}; }
};

class PrintBuffer {
 public:
  static constexpr int kZoneWidth = 14;

  explicit PrintBuffer(std::string lineEnd = "\n") : lineEnd_(std::move(lineEnd)) {}

  void Print(const std::vector<PrintItem>& items);
  const std::string& Text() const { return text_; }
  void Clear();
  // The buffer holds this text, as if it had been printed; the next item goes after it.
  void Restore(const std::string& text);

 private:
  void Append(const std::string& text);
  void MoveToNextZone();
  void EndLine();

  std::string lineEnd_;
  std::string text_;
  int column_ = 0;
};

}  // namespace qalto
