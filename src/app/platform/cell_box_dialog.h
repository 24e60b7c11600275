#pragma once
// Select box…'s dialog: six spin boxes for two corner cells.

#include <optional>
#include <string>

#include "model/cell_box.h"

class QWidget;

namespace cubrik {

// The box the two corners span, or nothing when the dialog is cancelled.
std::optional<CellBox> askCellBoxIn(QWidget* parent, const std::string& title, const std::string& prompt,
                                    const CellBox& initial);

}  // namespace cubrik
