#include "app/platform/menu_bar.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

#include "app/platform/qt_platform.h"

namespace cubrik {
namespace {

bool isToggle(int command) {
    return command == command::kSmooth || command == command::kZoom || command == command::kPressureInput ||
           (command >= command::kMirrorX && command <= command::kMirrorZ);
}

}  // namespace

MenuBar::MenuBar(QMainWindow& window, Language language, std::function<void(int)> onCommand) {
    for (const MenuPopup& popup : menuBar()) {
        QMenu* menu = window.menuBar()->addMenu(toQString(popup.text(language)));
        for (const MenuItem& item : popup.items) {
            if (item.command == 0) {
                menu->addSeparator();
                continue;
            }
            QAction* action = menu->addAction(toQString(item.text(language)));
            // The application sets the check marks itself, as the value it mirrors changes.
            action->setCheckable(isToggle(item.command));
            const int command = item.command;
            QObject::connect(action, &QAction::triggered, &window, [onCommand, action, command] {
                if (action->isCheckable()) action->setChecked(!action->isChecked());
                onCommand(command);
            });
            actions_[command] = action;
        }
    }
}

void MenuBar::setChecked(int command, bool checked) {
    if (auto found = actions_.find(command); found != actions_.end()) found->second->setChecked(checked);
}

void MenuBar::setEnabled(int command, bool enabled) {
    if (auto found = actions_.find(command); found != actions_.end()) found->second->setEnabled(enabled);
}

}  // namespace cubrik
