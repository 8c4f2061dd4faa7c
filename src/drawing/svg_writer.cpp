#include "drawing/svg_writer.h"

#include "common/file_replacement.h"

#include <charconv>
#include <fstream>
#include <optional>

#include "drawing/picture_style.h"

namespace qalto {
namespace {

// Baseline of a text below its top-left corner, as a fraction of the font size: the ascent of
// the sans-serif fonts asked for (DejaVu Sans 0.93, Arial 0.91).
constexpr double kAscent = 0.93;

// A pixel coordinate to two decimals, trailing zeros dropped ("12.5", "-3", "0").
void AppendNumber(std::string& out, double value) {
  char buffer[48];
  auto [end, error] =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 2);
  if (error != std::errc()) {
    out += '0';
    return;
  }
  while (end[-1] == '0')
    --end;
  if (end[-1] == '.') --end;
  if (end - buffer == 2 && buffer[0] == '-' && buffer[1] == '0') {
    out += '0';
    return;
  }
  out.append(buffer, end);
}

// Length of the UTF-8 sequence that starts at text[i], or 0 when it is not valid UTF-8.
size_t Utf8Length(const std::string& text, size_t i) {
  unsigned char lead = static_cast<unsigned char>(text[i]);
  size_t length = lead < 0x80           ? 1
                  : (lead >> 5) == 0x6  ? 2
                  : (lead >> 4) == 0xE  ? 3
                  : (lead >> 3) == 0x1E ? 4
                                        : 0;
  if (length == 0 || i + length > text.size()) return 0;
  for (size_t k = 1; k < length; ++k) {
    if ((static_cast<unsigned char>(text[i + k]) >> 6) != 0x2) return 0;
  }
  return length;
}

// Text as XML character data: markup characters escaped, characters XML does not allow
// dropped, bytes that are not UTF-8 replaced by the replacement character.
void AppendEscaped(std::string& out, const std::string& text) {
  for (size_t i = 0; i < text.size();) {
    size_t length = Utf8Length(text, i);
    if (length == 0) {
      out += "\xEF\xBF\xBD";
      ++i;
      continue;
    }
    if (length == 1) {
      char c = text[i];
      switch (c) {
        case '&':
          out += "&amp;";
          break;
        case '<':
          out += "&lt;";
          break;
        case '>':
          out += "&gt;";
          break;
        case '"':
          out += "&quot;";
          break;
        case '\'':
          out += "&apos;";
          break;
        case '\t':
          out += ' ';
          break;
        default:
          if (static_cast<unsigned char>(c) >= 0x20) out += c;
      }
    } else {
      out.append(text, i, length);
    }
    i += length;
  }
}

class SvgBuilder {
 public:
  SvgBuilder(int width, int height)
      : width_(width), height_(height), style_(PictureStyleFor(width, height)) {}

  std::string Build(const std::vector<DisplayItem>& items) {
    out_.reserve(64 * items.size() + 1024);
    Begin();
    for (const DisplayItem& item : items)
      Add(item);
    ClosePath();
    out_ += "</g>\n</svg>\n";
    return std::move(out_);
  }

 private:
  template <typename Writer>
  friend void qalto::DispatchItem(const DisplayItem& item, Writer& writer);

  enum class PathKind { kNone, kSolid, kDashed, kDots };

  void Begin() {
    out_ += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\"";
    out_ += " version=\"1.1\" width=\"" + std::to_string(width_) + "\" height=\"" +
            std::to_string(height_) + "\" viewBox=\"0 0 " + std::to_string(width_) + " " +
            std::to_string(height_) + "\">\n";
    out_ += "<rect width=\"" + std::to_string(width_) + "\" height=\"" + std::to_string(height_) +
            "\" fill=\"#ffffff\"/>\n";
    out_ += "<g fill=\"none\" stroke=\"#000000\" stroke-width=\"";
    AppendNumber(out_, style_.lineWidth);
    out_ +=
        "\" stroke-linejoin=\"miter\" font-family=\"DejaVu Sans, Arial, Helvetica, sans-serif\"";
    out_ += " font-size=\"";
    AppendNumber(out_, style_.fontPixels);
    out_ += "px\">\n";
  }

  void Add(const DisplayItem& item) {
    if (!(item.scale == lastScale_) || !map_) {
      map_ = PixelMapFor(item.scale, width_, height_);
      lastScale_ = item.scale;
      penValid_ = false;
    }
    if (!map_) return;  // a window with a side of no length shows nothing
    DispatchItem(item, *this);
  }

  void AddPoint(const DisplayItem& item) {
    if (!PointVisible(*map_, width_, height_, item.x1, item.y1)) return;
    OpenPath(PathKind::kDots);
    double r = style_.pointRadius;
    out_ += 'M';
    AppendXY(map_->X(item.x1) - r, map_->Y(item.y1) - r);
    out_ += 'h';
    AppendNumber(out_, 2 * r);
    out_ += 'v';
    AppendNumber(out_, 2 * r);
    out_ += 'h';
    AppendNumber(out_, -2 * r);
    out_ += 'z';
  }

  void AddLine(const DisplayItem& item) {
    std::optional<Segment> line =
        VisibleLine(*map_, width_, height_, Segment{item.x1, item.y1, item.x2, item.y2});
    if (!line) {
      penValid_ = false;
      return;
    }
    PathKind kind = item.style == LineStyle::kDashed ? PathKind::kDashed : PathKind::kSolid;
    OpenPath(kind);
    // A line that starts where the last one ended continues its path, so that a connected
    // curve becomes one polyline with proper joins.
    bool continues = penValid_ && line->x1 == penX_ && line->y1 == penY_;
    if (!continues) {
      out_ += 'M';
      AppendXY(map_->X(line->x1), map_->Y(line->y1));
    }
    out_ += 'L';
    AppendXY(map_->X(line->x2), map_->Y(line->y2));
    penValid_ = true;
    penX_ = line->x2;
    penY_ = line->y2;
  }

  void AddRectangle(const DisplayItem& item) {
    std::optional<Segment> box =
        VisibleRectangle(*map_, width_, height_, Segment{item.x1, item.y1, item.x2, item.y2});
    if (!box) return;
    OpenPath(item.style == LineStyle::kDashed ? PathKind::kDashed : PathKind::kSolid);
    out_ += 'M';
    AppendXY(map_->X(box->x1), map_->Y(box->y1));
    out_ += 'H';
    AppendNumber(out_, map_->X(box->x2));
    out_ += 'V';
    AppendNumber(out_, map_->Y(box->y2));
    out_ += 'H';
    AppendNumber(out_, map_->X(box->x1));
    out_ += 'Z';
    penValid_ = false;
  }

  void AddText(const DisplayItem& item) {
    if (item.text.empty() || !TextVisible(*map_, width_, height_, item.x1, item.y1)) return;
    ClosePath();
    out_ += "<text xml:space=\"preserve\" style=\"white-space:pre\" fill=\"#000000\"";
    out_ += " stroke=\"none\" x=\"";
    AppendNumber(out_, map_->X(item.x1));
    out_ += "\" y=\"";
    AppendNumber(out_, map_->Y(item.y1) + kAscent * style_.fontPixels);
    out_ += "\">";
    AppendEscaped(out_, item.text);
    out_ += "</text>\n";
  }

  void AppendXY(double x, double y) {
    AppendNumber(out_, x);
    out_ += ' ';
    AppendNumber(out_, y);
  }

  void OpenPath(PathKind kind) {
    if (open_ == kind) return;
    ClosePath();
    switch (kind) {
      case PathKind::kDots:
        out_ += "<path fill=\"#000000\" stroke=\"none\" d=\"";
        break;
      case PathKind::kDashed:
        out_ += "<path stroke-dasharray=\"";
        AppendNumber(out_, style_.dashLength);
        out_ += ' ';
        AppendNumber(out_, style_.dashGap);
        out_ += "\" d=\"";
        break;
      default:
        out_ += "<path d=\"";
        break;
    }
    open_ = kind;
  }

  void ClosePath() {
    if (open_ == PathKind::kNone) return;
    out_ += "\"/>\n";
    open_ = PathKind::kNone;
    penValid_ = false;
  }

  int width_;
  int height_;
  PictureStyle style_;
  std::string out_;
  PathKind open_ = PathKind::kNone;
  CoordinateSystem lastScale_;
  std::optional<PixelMap> map_;
  bool penValid_ = false;  // the open path ends at (penX_, penY_), user coordinates
  double penX_ = 0.0;
  double penY_ = 0.0;
};

}  // namespace

std::string SvgText(const RecordingSurface& surface, int width, int height) {
  return SvgBuilder(width, height).Build(surface.Items());
}

bool WriteSvg(const RecordingSurface& surface, const std::string& path, int width, int height,
              std::string* reason) {
  if (width <= 0 || height <= 0) return false;
  try {
    ReplaceFile(path, SvgText(surface, width, height));
    return true;
  } catch (const RuntimeError& error) {
    if (reason != nullptr) *reason = error.Description();
    return false;
  }
}

}  // namespace qalto
