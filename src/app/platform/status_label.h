#pragma once
// The status bar's text: the line the application last gave, fitted anew to
// the label's width whenever either changes.

#include <QLabel>

#include "app/state/platform_interface.h"

namespace cubrik {

class StatusLabel final : public QLabel {
public:
    explicit StatusLabel(QWidget* parent);
    void setLine(const StatusLine& line);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void fit();
    StatusLine line_;
};

}  // namespace cubrik
