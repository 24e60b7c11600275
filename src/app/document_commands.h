#pragma once
// The file commands and the small commands of the menus: the start-up
// document, New, Open, Save, Save as (which also exports meshes), Export an
// image, Quit, Background Color, Help and About.

#include "app/app.h"

namespace cubrik {

// Returns 1, or 0 when memory is exhausted.
int openStartupDocument(App& app);
void newDocument(App& app);
void openDocument(App& app);
void saveDocument(App& app);
// Returns 1 when something was written, 0 when cancelled or nothing was.
int saveDocumentAs(App& app);
void exportImage(App& app);
void quitProgram(App& app);
// Returns 1 when a colour was chosen.
int chooseBackgroundColor(App& app);
void showHelp(App& app);
void showAbout(App& app);

}  // namespace cubrik
