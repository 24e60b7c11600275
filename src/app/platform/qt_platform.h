#pragma once
// The desktop services of the application, provided with Qt.

#include <QColor>
#include <QPointer>
#include <QString>

#include "app/state/platform_interface.h"

class QMainWindow;
class QOpenGLWidget;
class QTextBrowser;

namespace cubrik {

class FindingsPanel;
class MenuBar;
class StatusLabel;

QString toQString(const std::string& text);
std::string fromQString(const QString& text);

class QtPlatform final : public Platform {
public:
    QtPlatform(QMainWindow& window, QOpenGLWidget& view, MenuBar& menus, StatusLabel& status,
               FindingsPanel& findings)
        : window_(window), view_(view), menus_(menus), status_(status), findings_(findings) {}

    void invalidate() override;
    void setWindowTitle(const std::string& title) override;
    WindowPlacement normalPlacement() override;
    void showMaximized() override;
    void postQuit(int exitCode) override;
    void setMenuChecked(int command, bool checked) override;
    void setMenuEnabled(int command, bool enabled) override;
    void setStatusText(const StatusLine& line) override;
    void setRecentFiles(const std::vector<std::string>& paths) override;
    void showPrintFindings(const std::string& title, const std::vector<std::string>& rows) override;
    void captureMouse() override;
    void releaseMouse() override;
    bool shiftDown() override;
    bool ctrlDown() override;
    std::optional<ClientPoint> cursorPosition() override;
    std::optional<ClientPoint> commandPointer() override;
    // A menu of the bar opens: where the pointer is over the view, if it is.
    void noteMenuOpened();
    // While a menu item's command runs, the command's pointer is the one the menu noted.
    void setMenuCommandRunning(bool running) { menuCommandRunning_ = running; }
    void inputMethodOff() override;
    void setSelectCursor(bool selecting) override;
    void setCellCursor(bool placing) override;
    void setClipboardText(const std::string& text) override;
    std::optional<std::string> clipboardText() override;
    Reply askYesNoCancel(const std::string& caption, const std::string& text) override;
    void showMessage(const std::string& caption, const std::string& text) override;
    std::optional<std::string> openFileDialog(const FileDialogRequest& request) override;
    std::optional<std::string> saveFileDialog(const FileDialogRequest& request) override;
    std::optional<std::uint32_t> chooseColour(std::uint32_t initial,
                                              std::array<std::uint32_t, 16>& customColours) override;
    std::optional<VoxelizeOptions> askMeshImport(const MeshImportRequest& request) override;
    void runAndWait(const std::string& title, const std::function<void(const ImportControl&)>& work) override;
    std::optional<CellBox> askCellBox(const std::string& title, const std::string& prompt,
                                      const CellBox& initial) override;
    std::optional<int> askNumber(const std::string& title, const std::string& prompt, int initial, int minimum,
                                 int maximum) override;
    std::optional<PictureOptions> askPictureOptions(const PictureTexts& text, const PictureOptions& initial) override;
    std::optional<TurntableOptions> askTurntableOptions(const PictureTexts& text,
                                                        const TurntableOptions& initial) override;
    void showPictureWindow(std::shared_ptr<PictureJob> job, const std::string& title, const PictureTexts& text,
                           const FileDialogRequest& save) override;
    void runWithProgress(std::shared_ptr<BackgroundJob> job, const std::string& title, const PictureTexts& text,
                         const std::string& lead) override;
    bool tabletPresent() override;
    PanelColours panelColours() override;
    bool openHelp(const std::string& path) override;
    void makeGlCurrent() override;
    void doneGlCurrent() override;
    double now() override;

private:
    std::optional<std::string> runFileDialog(const FileDialogRequest& request, bool saving);
    // Keys go to the view again once a dialog has closed.
    void focusView();

    QMainWindow& window_;
    QOpenGLWidget& view_;
    MenuBar& menus_;
    StatusLabel& status_;
    FindingsPanel& findings_;
    QPointer<QTextBrowser> help_;  // the help window, once opened; it deletes itself when closed
    std::optional<ClientPoint> menuPointer_;
    bool menuCommandRunning_ = false;
};

}  // namespace cubrik
