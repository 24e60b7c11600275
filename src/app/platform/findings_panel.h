#pragma once
// The print check's findings beside the view: a list that stays open while
// the user works on the model, each row sent back to the application when chosen.

#include <QDockWidget>
#include <functional>
#include <string>
#include <vector>

class QListWidget;

namespace cubrik {

class FindingsPanel final : public QDockWidget {
public:
    // `choose` gets the row the user clicks or activates with the keyboard.
    FindingsPanel(QWidget* parent, std::function<void(int)> choose);

    // Replaces the rows and shows the panel.
    void showRows(const std::string& title, const std::vector<std::string>& rows);

private:
    QListWidget* list_;
};

}  // namespace cubrik
