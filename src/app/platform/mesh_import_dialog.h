#pragma once
// Import mesh…'s windows: the question of cells and solid or surface, with
// the size in cells previewed, and the progress box of the work.

#include <functional>
#include <optional>
#include <string>

#include "app/state/platform_interface.h"

class QWidget;

namespace cubrik {

// The options chosen, or nothing when the dialog is cancelled.
std::optional<VoxelizeOptions> askMeshImportIn(QWidget* parent, const MeshImportRequest& request);

// Runs `work` on a thread of its own while a window-modal progress box with
// Cancel shows; the window keeps drawing. Returns when the work has ended.
void runWithProgressIn(QWidget* parent, const std::string& title,
                       const std::function<void(const ImportControl&)>& work);

}  // namespace cubrik
