#pragma once
// The window's menus, built from the menu table in the chosen language.

#include <functional>
#include <map>

#include "app/ui_text.h"

class QAction;
class QMainWindow;

namespace cubrik {

class MenuBar {
public:
    // Fills the window's menu bar; `onCommand` receives the id of each chosen item.
    MenuBar(QMainWindow& window, Language language, std::function<void(int)> onCommand);

    void setChecked(int command, bool checked);
    void setEnabled(int command, bool enabled);

private:
    std::map<int, QAction*> actions_;
};

}  // namespace cubrik
