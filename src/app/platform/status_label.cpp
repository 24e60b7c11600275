#include "app/platform/status_label.h"

#include <QFontMetrics>

#include "app/platform/qt_platform.h"
#include "app/commands/window_status.h"

namespace cubrik {

StatusLabel::StatusLabel(QWidget* parent) : QLabel(parent) {
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);  // long texts never widen the window
    setTextFormat(Qt::PlainText);
}

void StatusLabel::setLine(const StatusLine& line) {
    line_ = line;
    fit();
}

void StatusLabel::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    fit();
}

void StatusLabel::fit() {
    const QFontMetrics metrics = fontMetrics();
    const auto widthOf = [&metrics](const std::string& text) { return metrics.horizontalAdvance(toQString(text)); };
    setText(toQString(fitStatusLine(line_, contentsRect().width() - 2 * margin(), widthOf)));
}

}  // namespace cubrik
