#pragma once
// The program's icon: a cyclic voltammogram in a frame, drawn at the sizes window frames use.

#include <QIcon>

namespace qalto {

QIcon AppIcon();

}  // namespace qalto
