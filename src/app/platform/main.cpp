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

#include "app/app.h"
#include "app/cli/command_line.h"
#include "app/platform/main_window.h"
#include "app/platform/signal_watch.h"
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

AppPaths locateAppPaths() {
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
    const QString besideProgram = programFolder + "/docs/help/index.html";
    paths.helpDocument = fromQString(QFileInfo::exists(besideProgram)
                                         ? besideProgram
                                         : QDir::cleanPath(programFolder + "/../share/cubrik/help/index.html"));
    return paths;
}

int runWindow(int argc, char** argv, const CommandLine& command) {
    requestGlFormat();
    QApplication application(argc, argv);

    AppPaths paths = locateAppPaths();
    Settings settings;
    const QSize screen = QGuiApplication::primaryScreen()->availableSize();
    readSettings(paths.settingsFolder / kSettingsFileName, settings, {screen.width(), screen.height()});
    const Language language = languageOfLocale(fromQString(QLocale::system().name()));
    // Qt's own dialogs and buttons speak the program's language.
    QTranslator qtTexts;
    if (language == Language::Japanese &&
        qtTexts.load(QLocale(QLocale::Japanese), "qtbase", "_", QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&qtTexts);

    MainWindow window(language);
    SessionRecorder recorder;
    RecordingPlatform recording(window.platform(), recorder);
    const bool recordingSession = !command.sessionPath.empty();
    if (recordingSession) {
        std::string reason;
        if (!recorder.open(command.sessionPath, reason)) {
            std::cerr << "cubrik: " << reason << '\n';
            return 1;
        }
        recordStartState(recorder, settings, window.platform().now());
    }
    App app(recordingSession ? static_cast<Platform&>(recording) : window.platform());
    app.language = language;
    app.paths = std::move(paths);
    if (!command.stateFolder.empty()) app.paths.stateFolder = command.stateFolder;
    app.settings = settings;
    app.window.startMaximized = settings.windowMaximized;
    app.commandLineName = command.modelPath;
    app.status.trackCell = true;  // the status bar names the cell under the pointer
    window.setGeometry(settings.windowX, settings.windowY, settings.windowWidth, settings.windowHeight);
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
            std::fflush(nullptr);
            std::_Exit(0);
        }
        QCoreApplication::exit(0);
    });
    window.show();  // start-up continues once the view has its OpenGL context

    const int exitCode = application.exec();
    if (!window.view().started()) return 255;
    window.view().detach();
    std::string reason;
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
