#include "app/platform/findings_panel.h"

#include <QListWidget>

#include "app/platform/qt_platform.h"

namespace cubrik {

FindingsPanel::FindingsPanel(QWidget* parent, std::function<void(int)> choose)
    : QDockWidget(parent), list_(new QListWidget(this)) {
    setObjectName("findings");
    setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
    setWidget(list_);
    const auto send = [this, choose](QListWidgetItem* item) { choose(list_->row(item)); };
    connect(list_, &QListWidget::itemClicked, this, send);
    connect(list_, &QListWidget::itemActivated, this, send);
    hide();
}

void FindingsPanel::showRows(const std::string& title, const std::vector<std::string>& rows) {
    setWindowTitle(toQString(title));
    list_->clear();
    for (const std::string& row : rows) list_->addItem(toQString(row));
    show();
    raise();
}

}  // namespace cubrik
