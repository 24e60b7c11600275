#pragma once
// The window's menus, built from the menu table in the chosen language.

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/text/ui_text.h"

class QAction;
class QMainWindow;
class QMenu;

namespace cubrik {

class MenuBar {
public:
    // Fills the window's menu bar; `onCommand` receives the id of each chosen
    // item; `onOpened` runs as a menu of the bar opens, `onClosed` whenever one closes.
    MenuBar(QMainWindow& window, Language language, std::function<void(int)> onCommand,
            std::function<void()> onOpened, std::function<void()> onClosed);

    void setChecked(int command, bool checked);
    void setEnabled(int command, bool enabled);
    // Open recent's entries, newest first.
    void setRecentFiles(const std::vector<std::string>& paths);

private:
    void fillRecent(const std::vector<std::string>& paths);

    std::map<int, QAction*> actions_;
    QMenu* recent_ = nullptr;
    std::function<void(int)> onCommand_;
};

}  // namespace cubrik
