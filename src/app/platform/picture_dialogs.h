#pragma once
// Render picture…'s and Export turntable…'s settings dialogs.

#include <optional>

#include "app/state/platform_interface.h"

class QWidget;

namespace cubrik {

// The settings chosen, or nothing when the dialog is cancelled.
std::optional<PictureOptions> askPictureOptionsIn(QWidget* parent, const PictureTexts& text,
                                                  const PictureOptions& initial);
std::optional<TurntableOptions> askTurntableOptionsIn(QWidget* parent, const PictureTexts& text,
                                                      const TurntableOptions& initial);

}  // namespace cubrik
