#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QScreen>
#include <QStandardPaths>
#include <QSurfaceFormat>
#include <cstdio>
#include <cstdlib>
#include <QTranslator>
#include <iostream>
#include <string>
#include <vector>

#include "app/input/tablet.h"
#include "app/input/window_procedure.h"
#include "app/state/app.h"
#include "app/cli/command_line.h"
#include "app/platform/main_window.h"
#include "app/platform/signal_watch.h"
#include "app/platform/window_placement.h"
#include "app/session/session_recorder.h"

namespace {

using namespace cubrik;

void requestGlFormat() {
    QSurfaceFormat format;
    format.setRenderableType(QSurfaceFormat::OpenGL);
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    format.setVersion(2, 1);
    format.setRedBufferSize(8);
    format.setGreenBufferSize(8);
    format.setBlueBufferSize(8);
    format.setAlphaBufferSize(8);
    format.setDepthBufferSize(24);
    QSurfaceFormat::setDefaultFormat(format);
}

// The help page in the program's language, when there is one in it.
QString helpPageIn(const QString& folder, Language language) {
    const QString japanese = folder + "/index.ja.html";
    return language == Language::Japanese && QFileInfo::exists(japanese) ? japanese : folder + "/index.html";
}

AppPaths locateAppPaths(Language language) {
    AppPaths paths;
    paths.settingsFolder =
        fromQString(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)) + "/" + kSettingsFolderName;
    paths.desktopFolder = fromQString(QStandardPaths::writableLocation(QStandardPaths::DesktopLocation));
    // Qt 6.4 knows no state location; this is where the XDG rules put it.
    const char* state = std::getenv("XDG_STATE_HOME");
    const char* home = std::getenv("HOME");
    if (state != nullptr && state[0] == '/') paths.stateFolder = state;
    else if (home != nullptr && home[0] != '\0') paths.stateFolder = std::filesystem::path(home) / ".local" / "state";
    // Beside the program in the build tree; under share/ once installed.
    const QString programFolder = QCoreApplication::applicationDirPath();
    const QString besideProgram = programFolder + "/docs/help";
    paths.helpDocument = fromQString(helpPageIn(QFileInfo::exists(besideProgram + "/index.html")
                                                    ? besideProgram
                                                    : QDir::cleanPath(programFolder + "/../share/cubrik/help"),
                                                language));
    return paths;
}

void endRecording(SessionRecorder& recorder) {
    std::string reason;
    if (!recorder.close(reason)) std::cerr << "cubrik: " << reason << '\n';
}

int runWindow(int argc, char** argv, const CommandLine& command) {
    // Refused before anything opens, so a wrong name never needs a display.
    SessionRecorder recorder;
    const bool recordingSession = !command.sessionPath.empty();
    std::string reason;
    if (recordingSession && !recorder.open(command.sessionPath, reason)) {
        std::cerr << "cubrik: " << reason << '\n';
        return 1;
    }
    requestGlFormat();
    QApplication application(argc, argv);

    const Language language = languageOfLocale(fromQString(QLocale::system().name()));
    AppPaths paths = locateAppPaths(language);
    Settings settings;
    const QSize screen = QGuiApplication::primaryScreen()->availableSize();
    const bool placed = readSettings(paths.settingsFolder / kSettingsFileName, settings, {screen.width(), screen.height()});
    // Qt's own dialogs and buttons speak the program's language.
    QTranslator qtTexts;
    if (language == Language::Japanese &&
        qtTexts.load(QLocale(QLocale::Japanese), "qtbase", "_", QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&qtTexts);

    MainWindow window(language);
    RecordingPlatform recording(window.platform(), recorder);
    if (recordingSession) recordStartState(recorder, settings, window.platform().now());
    App app(recordingSession ? static_cast<Platform&>(recording) : window.platform());
    app.language = language;
    app.paths = std::move(paths);
    if (!command.stateFolder.empty()) app.paths.stateFolder = command.stateFolder;
    app.settings = settings;
    app.window.startMaximized = settings.windowMaximized;
    app.commandLineName = command.modelPath;
    app.status.trackCell = true;  // the status bar names the cell under the pointer
    // A first window is placed by the window manager; a saved place is kept on the screen.
    const QRect saved(settings.windowX, settings.windowY, settings.windowWidth, settings.windowHeight);
    const QRect kept = keptOnScreen(saved, frameAround(window));
    if (placed) window.setGeometry(kept);
    else window.resize(kept.size());
    window.attach(
        app,
        [&](const Message& message) {
            return recordingSession ? handleAndRecord(app, message, recorder, recording) : handleMessage(app, message);
        },
        [&](const TabletPacket& packet) {
            if (recordingSession) recordTabletPacket(recorder, packet);
            tabletPacketArrived(app, packet);
        });
    // A signal asks no questions: the unsaved changes go to the recovery copy
    // and the program ends with status 0.
    const SignalWatch signals([&](int) {
        if (window.view().started()) writeRecoveryCopyNow(app);
        // Leaving the event loop from inside a dialog's or start-up's own loop
        // would return to the code that opened it, which may ask again.
        if (!window.view().started() || app.recovery.messageDepth > 0) {
            endRecording(recorder);
            std::fflush(nullptr);
            std::_Exit(0);
        }
        QCoreApplication::exit(0);
    });
    window.show();  // start-up continues once the view has its OpenGL context

    const int exitCode = application.exec();
    endRecording(recorder);
    if (!window.view().started()) return 255;
    window.view().detach();
    if (!shutDown(app, reason)) std::cerr << "cubrik: the settings were not saved: " << reason << '\n';
    return exitCode;
}

}  // namespace

// Started by cubrik (app/cli/program_main.cpp) with its arguments when a window is wanted.
int main(int argc, char** argv) {
    cubrik::CommandLine command;
    const int status = cubrik::runCommandLine(argc, argv, command);
    return status >= 0 ? status : runWindow(argc, argv, command);
}
