#include "app/platform/qt_platform.h"

#include <algorithm>
#include <chrono>

#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QCursor>
#include <QCoreApplication>
#include <QFileDialog>
#include <QGuiApplication>
#include <QInputDevice>
#include <QInputDialog>
#include <QFileInfo>
#include <QInputMethod>
#include <QMainWindow>
#include <QMessageBox>
#include <QOpenGLWidget>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QTextBrowser>
#include <QTimer>
#include <QUrl>

#include "app/platform/cell_box_dialog.h"
#include "app/platform/findings_panel.h"
#include "app/platform/job_progress.h"
#include "app/platform/mesh_import_dialog.h"
#include "app/platform/menu_bar.h"
#include "app/platform/picture_dialogs.h"
#include "app/platform/picture_window.h"
#include "app/platform/status_label.h"
#include "app/platform/window_placement.h"

namespace cubrik {
namespace {

// Colour values are 0x00BBGGRR.
QColor toQColor(std::uint32_t colour) { return QColor(colour & 0xff, (colour >> 8) & 0xff, (colour >> 16) & 0xff); }

std::uint32_t fromQColor(const QColor& colour) {
    return static_cast<std::uint32_t>(colour.red()) | static_cast<std::uint32_t>(colour.green()) << 8 |
           static_cast<std::uint32_t>(colour.blue()) << 16;
}

// "Cubrik(*.cbk)" already shows its pattern; a bare label gets it added.
QString nameFilterOf(const FileFilter& filter) {
    const QString label = toQString(filter.label);
    return label.contains('(') ? label : label + " (" + toQString(filter.pattern) + ")";
}

QString suffixOfPattern(const std::string& pattern) {
    const std::size_t dot = pattern.rfind('.');
    return dot == std::string::npos ? QString() : toQString(pattern.substr(dot + 1));
}

}  // namespace

QString toQString(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

std::string fromQString(const QString& text) { return text.toUtf8().toStdString(); }

void QtPlatform::invalidate() { view_.update(); }

void QtPlatform::setWindowTitle(const std::string& title) { window_.setWindowTitle(toQString(title)); }

WindowPlacement QtPlatform::normalPlacement() {
    const QRect normal = window_.normalGeometry().isValid() ? window_.normalGeometry() : window_.geometry();
    return {normal.x(), normal.y(), normal.width(), normal.height()};
}

void QtPlatform::showMaximized() {
    // Deferred so a window that is still being shown is not resized from inside its first show.
    QTimer::singleShot(0, &window_, [this] { window_.showMaximized(); });
}

void QtPlatform::postQuit(int exitCode) { QCoreApplication::exit(exitCode); }

void QtPlatform::setMenuChecked(int command, bool checked) { menus_.setChecked(command, checked); }

void QtPlatform::setMenuEnabled(int command, bool enabled) { menus_.setEnabled(command, enabled); }

// A label apart from the view: changing it repaints the label only.
void QtPlatform::setStatusText(const StatusLine& line) { status_.setLine(line); }

void QtPlatform::showPrintFindings(const std::string& title, const std::vector<std::string>& rows) {
    findings_.showRows(title, rows);
}

void QtPlatform::setRecentFiles(const std::vector<std::string>& paths) { menus_.setRecentFiles(paths); }

void QtPlatform::focusView() {
    window_.activateWindow();
    view_.setFocus(Qt::OtherFocusReason);
}

// Qt keeps the mouse grabbed by the view while any button is held, which is
// what a gesture needs; there is nothing to add or undo here.
void QtPlatform::captureMouse() {}
void QtPlatform::releaseMouse() {}

bool QtPlatform::shiftDown() { return QGuiApplication::queryKeyboardModifiers() & Qt::ShiftModifier; }

bool QtPlatform::ctrlDown() { return QGuiApplication::queryKeyboardModifiers() & Qt::ControlModifier; }

std::optional<ClientPoint> QtPlatform::cursorPosition() {
    const QPointF at = QPointF(view_.mapFromGlobal(QCursor::pos()));  // logical, as the messages are
    return ClientPoint{static_cast<int>(at.x()), static_cast<int>(at.y())};
}

std::optional<ClientPoint> QtPlatform::commandPointer() {
    return menuCommandRunning_ ? menuPointer_ : cursorPosition();
}

void QtPlatform::noteMenuOpened() {
    menuPointer_ = cursorPosition();
    if (menuPointer_ && !view_.rect().contains(menuPointer_->x, menuPointer_->y)) menuPointer_.reset();
}

bool QtPlatform::tabletPresent() {
    const QList<const QInputDevice*> devices = QInputDevice::devices();
    return std::any_of(devices.begin(), devices.end(),
                       [](const QInputDevice* device) { return device->type() == QInputDevice::DeviceType::Stylus; });
}

PanelColours QtPlatform::panelColours() {
    const QPalette palette = QApplication::palette();
    auto rgb = [&palette](QPalette::ColorRole role) {
        const QColor c = palette.color(QPalette::Active, role);
        return Rgb8{static_cast<std::uint8_t>(c.red()), static_cast<std::uint8_t>(c.green()),
                    static_cast<std::uint8_t>(c.blue())};
    };
    return {rgb(QPalette::Button), rgb(QPalette::Mid), rgb(QPalette::Light), rgb(QPalette::Highlight),
            rgb(QPalette::Shadow)};
}

void QtPlatform::inputMethodOff() {
    view_.setAttribute(Qt::WA_InputMethodEnabled, false);
    QGuiApplication::inputMethod()->reset();
}

// Messages carry file names and other outside text: never read as markup.
Reply QtPlatform::askYesNoCancel(const std::string& caption, const std::string& text) {
    // With a Cancel button, Esc and the close box give Cancel, never a silent No.
    QMessageBox box(QMessageBox::Question, toQString(caption), toQString(text),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, &window_);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::Yes);
    const int button = box.exec();
    return button == QMessageBox::Yes ? Reply::Yes : button == QMessageBox::No ? Reply::No : Reply::Cancel;
}

void QtPlatform::showMessage(const std::string& caption, const std::string& text) {
    QMessageBox box(QMessageBox::Information, toQString(caption), toQString(text), QMessageBox::Ok, &window_);
    box.setTextFormat(Qt::PlainText);
    box.exec();
    focusView();
}

std::optional<std::string> QtPlatform::runFileDialog(const FileDialogRequest& request, bool saving) {
    QFileDialog dialog(&window_, toQString(request.title), toQString(request.folder));
    QStringList filters;
    for (const FileFilter& filter : request.filters) filters << nameFilterOf(filter);
    dialog.setNameFilters(filters);
    dialog.setAcceptMode(saving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(saving ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(toQString(request.defaultExtension));
    if (saving && !request.proposedName.empty()) dialog.selectFile(toQString(request.proposedName));
    // A name typed without an extension takes the one of the chosen file type.
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog, &request, &filters](const QString& f) {
        const auto chosen = filters.indexOf(f);
        if (chosen >= 0) dialog.setDefaultSuffix(suffixOfPattern(request.filters[chosen].pattern));
    });
    const bool accepted = dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty();
    focusView();
    if (!accepted) return std::nullopt;
    return fromQString(dialog.selectedFiles().front());
}

std::optional<std::string> QtPlatform::openFileDialog(const FileDialogRequest& request) {
    return runFileDialog(request, false);
}

std::optional<std::string> QtPlatform::saveFileDialog(const FileDialogRequest& request) {
    return runFileDialog(request, true);
}

std::optional<std::uint32_t> QtPlatform::chooseColour(std::uint32_t initial,
                                                      std::array<std::uint32_t, 16>& customColours) {
    // Qt keeps custom colours for the whole process: the caller's go in for
    // this dialog only, and what the user made of them goes back to the caller.
    QColor kept[16];
    for (int i = 0; i < 16; ++i) {
        kept[i] = QColorDialog::customColor(i);
        QColorDialog::setCustomColor(i, toQColor(customColours[i]));
    }
    const QColor chosen = QColorDialog::getColor(toQColor(initial), &window_);
    focusView();
    for (int i = 0; i < 16; ++i) {
        customColours[i] = fromQColor(QColorDialog::customColor(i));
        QColorDialog::setCustomColor(i, kept[i]);
    }
    if (!chosen.isValid()) return std::nullopt;
    return fromQColor(chosen);
}

std::optional<CellBox> QtPlatform::askCellBox(const std::string& title, const std::string& prompt,
                                              const CellBox& initial) {
    const std::optional<CellBox> chosen = askCellBoxIn(&window_, title, prompt, initial);
    focusView();
    return chosen;
}

std::optional<VoxelizeOptions> QtPlatform::askMeshImport(const MeshImportRequest& request) {
    const std::optional<VoxelizeOptions> chosen = askMeshImportIn(&window_, request);
    focusView();
    return chosen;
}

void QtPlatform::runAndWait(const std::string& title, const std::function<void(const ImportControl&)>& work) {
    runWithProgressIn(&window_, title, work);
    focusView();
}

std::optional<int> QtPlatform::askNumber(const std::string& title, const std::string& prompt, int initial,
                                         int minimum, int maximum) {
    bool ok = false;
    const int chosen = QInputDialog::getInt(&window_, QString::fromStdString(title), QString::fromStdString(prompt),
                                            initial, minimum, maximum, 1, &ok);
    focusView();
    if (!ok) return std::nullopt;
    return chosen;
}

std::optional<PictureOptions> QtPlatform::askPictureOptions(const PictureTexts& text, const PictureOptions& initial) {
    const std::optional<PictureOptions> chosen = askPictureOptionsIn(&window_, text, initial);
    focusView();
    return chosen;
}

std::optional<TurntableOptions> QtPlatform::askTurntableOptions(const PictureTexts& text,
                                                                const TurntableOptions& initial) {
    const std::optional<TurntableOptions> chosen = askTurntableOptionsIn(&window_, text, initial);
    focusView();
    return chosen;
}

// Both windows delete themselves once closed, after their work has stopped.
void QtPlatform::showPictureWindow(std::shared_ptr<PictureJob> job, const std::string& title,
                                   const PictureTexts& text, const FileDialogRequest& save) {
    auto* window = new PictureWindow(&window_, *this, std::move(job), title, text, save);
    window->show();
}

void QtPlatform::runWithProgress(std::shared_ptr<BackgroundJob> job, const std::string& title,
                                 const PictureTexts& text, const std::string& lead) {
    new JobProgress(&window_, *this, std::move(job), title, text.cancel, lead);
}

void QtPlatform::setSelectCursor(bool selecting) {
    if (selecting) view_.setCursor(Qt::CrossCursor);
    else view_.unsetCursor();
}

// Cell mode's pointer: the outline of one cell, black on white so it shows
// on any model, with the hot spot in its middle.
void QtPlatform::setCellCursor(bool placing) {
    if (!placing) {
        view_.unsetCursor();
        return;
    }
    QPixmap pixmap(17, 17);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setPen(QPen(Qt::white, 3));
    painter.drawRect(3, 3, 10, 10);
    painter.setPen(QPen(Qt::black, 1));
    painter.drawRect(3, 3, 10, 10);
    painter.drawPoint(8, 8);
    painter.end();
    view_.setCursor(QCursor(pixmap, 8, 8));
}

void QtPlatform::setClipboardText(const std::string& text) {
    QGuiApplication::clipboard()->setText(QString::fromStdString(text));
}

std::optional<std::string> QtPlatform::clipboardText() {
    const QString text = QGuiApplication::clipboard()->text();
    if (text.isEmpty()) return std::nullopt;
    return text.toStdString();
}

// The page opens in a window of the program's own, so no web browser is needed.
bool QtPlatform::openHelp(const std::string& path) {
    if (!QFileInfo(toQString(path)).isFile()) return false;
    if (help_ == nullptr) {
        help_ = new QTextBrowser;
        help_->setAttribute(Qt::WA_DeleteOnClose);
        help_->setOpenExternalLinks(true);
        // Over the main window, wholly on its screen.
        QRect area(0, 0, 760, 640);
        area.moveCenter(window_.geometry().center());
        help_->setGeometry(keptOnScreen(area, frameAround(window_)));
    }
    help_->setSource(QUrl::fromLocalFile(toQString(path)));
    help_->setWindowTitle(help_->documentTitle().isEmpty() ? QStringLiteral("Cubrik") : help_->documentTitle());
    help_->show();
    help_->raise();
    help_->activateWindow();
    return true;
}

void QtPlatform::makeGlCurrent() { view_.makeCurrent(); }

void QtPlatform::doneGlCurrent() { view_.doneCurrent(); }

double QtPlatform::now() {
    return std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch()).count();
}

}  // namespace cubrik
