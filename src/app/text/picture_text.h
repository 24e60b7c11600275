#pragma once
// The texts of Render picture…, its picture window, and Export turntable….

#include <string>
#include <vector>

#include "app/text/ui_text.h"

namespace cubrik {

struct PictureTexts {
    // Render picture…'s dialog
    std::string renderTitle;
    std::string size;  // "Size"; the width and height spin boxes follow
    std::string samples;
    std::string sunAzimuth;
    std::string sunElevation;
    std::string floor;
    // The picture window: "%s" the document's title, then samples done and in all.
    std::string windowTitle;
    std::string samplesDone;  // "%s of %t samples"
    std::string finished;
    std::string cancelled;
    std::string cancel;
    std::string save;
    std::string saveTitle;
    std::string cannotRender;
    std::string cannotSave;  // "%s" the path
    // Export turntable…
    std::string turntableTitle;
    std::vector<FileFilter> turntableFilters;
    std::string frames;
    std::string pathTraced;
    std::string writingTurntable;
    std::string unknownTurntableType;  // "%s" the path
};

const PictureTexts& pictureTexts(Language language);

// `text` with "%s" and then "%t" replaced.
std::string fillInTwo(const std::string& text, const std::string& first, const std::string& second);

}  // namespace cubrik
