#include "app/platform/findings_panel.h"

#include <QListWidget>
#include <QMainWindow>

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
    const bool opening = isHidden();
    show();
    raise();
    // As wide as its longest row when it opens, so the view keeps the rest.
    auto* window = qobject_cast<QMainWindow*>(parentWidget());
    if (opening && window != nullptr && !isFloating())
        window->resizeDocks({this}, {list_->sizeHintForColumn(0) + 2 * list_->frameWidth() + 8}, Qt::Horizontal);
}

}  // namespace cubrik
