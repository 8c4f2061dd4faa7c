#include "desktop/form_layout.h"

#include <QBoxLayout>
#include <QGridLayout>
#include <QLayout>
#include <cmath>
#include <limits>
#include <map>
#include <string>

namespace qalto {
namespace {

constexpr double kScreenAspect = 1.6;  // width / height the window aims at
constexpr int kMaxColumns = 4;

using Bindings = std::vector<ControlBinding*>;

bool HasGridHint(const ControlBinding* b) {
  return !b->IsFrame() && b->control().GridRow() >= 0 && b->control().GridColumn() >= 0;
}

void ArrangeFrame(QWidget* frame, const Bindings& children) {
  auto* grid = new QGridLayout(frame);
  int nextRow = 0;
  int lastColumn = 0;
  bool gridded = false;
  for (ControlBinding* child : children) {
    if (!HasGridHint(child)) continue;
    gridded = true;
    const Control& c = child->control();
    grid->addWidget(child->widget(), c.GridRow(), c.GridColumn());
    nextRow = std::max(nextRow, c.GridRow() + 1);
    lastColumn = std::max(lastColumn, c.GridColumn());
  }
  QHBoxLayout* line = nullptr;
  for (size_t i = 0; i < children.size(); ++i) {
    ControlBinding* child = children[i];
    if (HasGridHint(child)) continue;
    if (child->IsFrame()) {
      grid->addWidget(child->widget(), nextRow++, 0, 1, -1);
      line = nullptr;
    } else if (gridded) {
      if (line == nullptr) {
        line = new QHBoxLayout;
        grid->addLayout(line, nextRow++, 0, 1, -1);
      }
      line->addWidget(child->widget());
    } else if (child->control().Kind() == ControlKind::kLabel && i + 1 < children.size() &&
               children[i + 1]->IsInput() && !HasGridHint(children[i + 1])) {
      grid->addWidget(child->widget(), nextRow, 0);
      grid->addWidget(children[++i]->widget(), nextRow++, 1);
      lastColumn = std::max(lastColumn, 1);
    } else {
      grid->addWidget(child->widget(), nextRow++, 0, 1, -1);
    }
  }
  if (line != nullptr) line->addStretch(1);
  // Spare room goes right of and below the controls, which stay together at the top left.
  grid->setColumnStretch(lastColumn + 1, 1);
  grid->setRowStretch(nextRow, 1);
}

// The blocks of the window: each frame, with a loose control just before it as its head; loose
// controls not followed by a frame join the block before them.
std::vector<QVBoxLayout*> MakeBlocks(const Bindings& items) {
  std::vector<QVBoxLayout*> blocks;
  bool headed = false;  // the last block holds only its head so far
  for (size_t i = 0; i < items.size(); ++i) {
    ControlBinding* item = items[i];
    if (item->IsFrame()) {
      if (!headed) blocks.push_back(new QVBoxLayout);
      headed = false;
    } else if (i + 1 < items.size() && items[i + 1]->IsFrame()) {
      blocks.push_back(new QVBoxLayout);
      headed = true;
    } else if (blocks.empty()) {
      blocks.push_back(new QVBoxLayout);
    }
    blocks.back()->addWidget(item->widget());
  }
  return blocks;
}

struct Columns {
  std::vector<int> firstBlock;  // index of the first block of each column
  double cost = std::numeric_limits<double>::infinity();
};

// Every way of cutting the blocks, in order, into the given number of columns; the one with
// the lowest tallest column.
void CutColumns(const std::vector<QSize>& sizes, int columns, size_t from, int spacing,
                std::vector<int>& cut, std::vector<int>& best, int& bestHeight) {
  if (columns == 1) {
    cut.push_back(static_cast<int>(from));
    int height = 0;
    for (size_t c = 0; c < cut.size(); ++c) {
      size_t end = c + 1 < cut.size() ? static_cast<size_t>(cut[c + 1]) : sizes.size();
      int column = 0;
      for (size_t b = static_cast<size_t>(cut[c]); b < end; ++b)
        column += sizes[b].height() + spacing;
      height = std::max(height, column);
    }
    if (height < bestHeight) {
      bestHeight = height;
      best = cut;
    }
    cut.pop_back();
    return;
  }
  for (size_t end = from + 1; end + static_cast<size_t>(columns - 1) <= sizes.size(); ++end) {
    cut.push_back(static_cast<int>(from));
    CutColumns(sizes, columns - 1, end, spacing, cut, best, bestHeight);
    cut.pop_back();
  }
}

// The number of columns whose window comes closest to the proportions of a screen.
Columns ChooseColumns(const std::vector<QSize>& sizes, int spacing) {
  Columns chosen;
  int most = std::min(kMaxColumns, static_cast<int>(sizes.size()));
  for (int columns = 1; columns <= most; ++columns) {
    std::vector<int> cut;
    std::vector<int> best;
    int height = std::numeric_limits<int>::max();
    CutColumns(sizes, columns, 0, spacing, cut, best, height);
    int width = 0;
    for (size_t c = 0; c < best.size(); ++c) {
      size_t end = c + 1 < best.size() ? static_cast<size_t>(best[c + 1]) : sizes.size();
      int column = 0;
      for (size_t b = static_cast<size_t>(best[c]); b < end; ++b) {
        column = std::max(column, sizes[b].width());
      }
      width += column + spacing;
    }
    if (height <= 0 || width <= 0) continue;
    double cost = std::fabs(std::log(static_cast<double>(width) / height / kScreenAspect));
    if (cost < chosen.cost) {
      chosen.cost = cost;
      chosen.firstBlock = best;
    }
  }
  if (chosen.firstBlock.empty()) chosen.firstBlock = {0};
  return chosen;
}

void ArrangeWindow(QWidget* root, const Bindings& items) {
  auto* layout = new QVBoxLayout(root);
  Bindings buttons;
  Bindings others;
  for (ControlBinding* item : items) {
    (item->control().Kind() == ControlKind::kButton ? buttons : others).push_back(item);
  }
  std::vector<QVBoxLayout*> blocks = MakeBlocks(others);
  if (!blocks.empty()) {
    std::vector<QSize> sizes;
    for (QVBoxLayout* block : blocks)
      sizes.push_back(block->sizeHint());
    int spacing = layout->spacing();
    Columns columns = ChooseColumns(sizes, spacing);
    auto* row = new QHBoxLayout;
    layout->addLayout(row, 1);
    for (size_t c = 0; c < columns.firstBlock.size(); ++c) {
      size_t end = c + 1 < columns.firstBlock.size()
                       ? static_cast<size_t>(columns.firstBlock[c + 1])
                       : blocks.size();
      auto* column = new QVBoxLayout;
      for (size_t b = static_cast<size_t>(columns.firstBlock[c]); b < end; ++b) {
        column->addLayout(blocks[b]);
      }
      column->addStretch(1);
      row->addLayout(column);
    }
  }
  if (!buttons.empty()) {
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    for (ControlBinding* button : buttons)
      row->addWidget(button->widget());
    layout->addLayout(row);
  }
}

}  // namespace

void ArrangeForm(QWidget* root, const Bindings& bindings) {
  std::map<std::string, ControlBinding*> frames;
  for (ControlBinding* b : bindings) {
    if (b->IsFrame()) frames[b->control().FullName()] = b;
  }
  std::map<ControlBinding*, Bindings> children;
  Bindings top;
  for (ControlBinding* b : bindings) {
    auto frame = frames.find(b->control().Container());
    if (frame == frames.end() || frame->second == b) {
      top.push_back(b);
    } else {
      children[frame->second].push_back(b);
    }
  }
  // Inner frames first, so that each frame's size is known when its container is laid out.
  for (auto it = bindings.rbegin(); it != bindings.rend(); ++it) {
    if ((*it)->IsFrame()) ArrangeFrame((*it)->widget(), children[*it]);
  }
  ArrangeWindow(root, top);
}

}  // namespace qalto
