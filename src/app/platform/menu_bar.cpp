#include "app/platform/menu_bar.h"

#include <QAction>
#include <QActionGroup>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>

#include "app/platform/qt_platform.h"

namespace cubrik {
namespace {

bool isUndoSteps(int command) { return command >= command::kFirstUndoSteps && command <= command::kLastUndoSteps; }

bool isToggle(int command) {
    return command == command::kSmooth || command == command::kZoom || command == command::kPressureInput ||
           (command >= command::kMirrorX && command <= command::kMirrorZ) || command == command::kCutAway ||
           command == command::kCutLayerOnly || command == command::kFloorGrid || command == command::kOrthographic ||
           command == command::kAmbientOcclusion || command == command::kCellEdges || isUndoSteps(command);
}

}  // namespace

MenuBar::MenuBar(QMainWindow& window, Language language, std::function<void(int)> onCommand,
                 std::function<void()> onOpened, std::function<void()> onClosed)
    : onCommand_(onCommand) {
    // One choice of three, drawn with round marks.
    auto* undoSteps = new QActionGroup(&window);
    for (const MenuPopup& popup : menuBar()) {
        QMenu* menu = window.menuBar()->addMenu(toQString(popup.text(language)));
        QObject::connect(menu, &QMenu::aboutToShow, &window, onOpened);
        // Deferred: the menu bar gives up the keyboard only after the menu has gone.
        QObject::connect(menu, &QMenu::aboutToHide, &window, [onClosed] { QTimer::singleShot(0, onClosed); });
        for (const MenuItem& item : popup.items) {
            if (item.command == 0) {
                menu->addSeparator();
                continue;
            }
            if (item.command == command::kOpenRecent) {
                recent_ = menu->addMenu(toQString(item.text(language)));
                recent_->setEnabled(false);
                continue;
            }
            // The text after a tab is shown as the shortcut; the view's key
            // table runs it, so a recording holds the key as pressed.
            QString text = toQString(item.text(language));
            if (item.shortcut != nullptr) text += "\t" + QString::fromLatin1(item.shortcut);
            QAction* action = menu->addAction(text);
            // The application sets the check marks itself, as the value it mirrors changes.
            action->setCheckable(isToggle(item.command));
            if (isUndoSteps(item.command)) undoSteps->addAction(action);
            const int command = item.command;
            QObject::connect(action, &QAction::triggered, &window, [onCommand, action, command] {
                if (action->isCheckable()) action->setChecked(!action->isChecked());
                onCommand(command);
            });
            actions_[command] = action;
        }
    }
}

void MenuBar::setRecentFiles(const std::vector<std::string>& paths) {
    if (recent_ == nullptr) return;
    // An entry may be the action that is running now: it goes once the event loop has it back.
    QTimer::singleShot(0, recent_, [this, paths] { fillRecent(paths); });
}

void MenuBar::fillRecent(const std::vector<std::string>& paths) {
    recent_->clear();
    for (std::size_t i = 0; i < paths.size() && i < static_cast<std::size_t>(command::kRecentCount); ++i) {
        QString label = toQString(paths[i]);
        label.replace("&", "&&");
        QAction* action = recent_->addAction(QString("&%1 %2").arg(i + 1).arg(label));
        const int command = command::kFirstRecent + static_cast<int>(i);
        const std::function<void(int)> onCommand = onCommand_;
        QObject::connect(action, &QAction::triggered, recent_, [onCommand, command] { onCommand(command); });
    }
    recent_->setEnabled(!paths.empty());
}

void MenuBar::setChecked(int command, bool checked) {
    if (auto found = actions_.find(command); found != actions_.end()) found->second->setChecked(checked);
}

void MenuBar::setEnabled(int command, bool enabled) {
    if (auto found = actions_.find(command); found != actions_.end()) found->second->setEnabled(enabled);
}

}  // namespace cubrik
