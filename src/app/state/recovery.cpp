#include "app/state/recovery.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <new>
#include <random>
#include <vector>

#include "app/state/app.h"
#include "io/atomic_file.h"
#include "io/path_names.h"
#include "io/regular_file.h"
#include "model/model_file.h"

namespace cubrik {
namespace {

namespace fs = std::filesystem;

constexpr const char* kCaption = "Cubrik";
// A note holds a path, a title and two numbers; anything larger is no note.
constexpr std::uint64_t kMaxNoteBytes = 64 << 10;

fs::path fileOf(const fs::path& folder, const std::string& id, const char* extension) {
    return folder / (id + extension);
}

void removeFiles(const fs::path& folder, const std::string& id) {
    std::error_code ignored;
    // The note first: a copy without its note is still recognised, a note without its copy is not.
    fs::remove(fileOf(folder, id, ".txt"), ignored);
    fs::remove(fileOf(folder, id, ".cbk"), ignored);
    fs::remove(fileOf(folder, id, ".lock"), ignored);
}

// The process id keeps names apart among running processes; the random part
// keeps them apart from the names of ended ones.
std::string newId() {
    std::random_device random;
    char id[40];
    std::snprintf(id, sizeof id, "%ld-%08x", static_cast<long>(getpid()), random());
    return id;
}

bool sameContent(const VoxelModel& a, const VoxelModel& b) {
    return std::memcmp(a.paletteA, b.paletteA, sizeof a.paletteA) == 0 &&
           std::memcmp(a.paletteB, b.paletteB, sizeof a.paletteB) == 0 &&
           std::memcmp(a.cells, b.cells, sizeof a.cells) == 0;
}

bool gestureInProgress(const App& app) {
    return app.gestures.strokeActive != 0 || app.gestures.rotateActive != 0 || app.gestures.panelGesture != 0;
}

void sayFailure(RecoveryState& r, const std::string& reason) {
    if (r.failureSaid) return;
    r.failureSaid = true;
    std::fprintf(stderr, "cubrik: the recovery copy was not written: %s\n", reason.c_str());
}

// Creates `folder`, and the folders above it that are missing, as 0700 whatever the umask.
bool makePrivateFolder(const fs::path& folder, std::string& reason) {
    std::error_code ec;
    if (fs::is_directory(folder, ec)) return true;
    const fs::path parent = folder.parent_path();
    if (!parent.empty() && parent != folder && !makePrivateFolder(parent, reason)) return false;
    if (::mkdir(folder.c_str(), 0700) != 0) {
        if (errno == EEXIST) return true;
        reason = "cannot create " + folder.string() + ": " + std::strerror(errno);
        return false;
    }
    if (::chmod(folder.c_str(), 0700) == 0) return true;
    reason = "cannot make " + folder.string() + " private: " + std::strerror(errno);
    return false;
}

// A folder the copies may be kept in: a folder itself, not a link to one,
// this user's, and nobody else may write in it. Made 0700 even when an
// earlier version made it readable to others.
bool checkOwnFolder(const fs::path& folder, std::string& reason) {
    struct stat info {};
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0 || ::fstat(fd, &info) != 0) {
        const int error = errno;
        if (fd >= 0) ::close(fd);
        const bool link = ::lstat(folder.c_str(), &info) == 0 && S_ISLNK(info.st_mode);
        reason = folder.string() + ": " +
                 (link ? "it is a symbolic link, which is not followed here" : std::strerror(error));
        return false;
    }
    std::string why;
    if (info.st_uid != ::geteuid()) why = "it belongs to another user";
    else if ((info.st_mode & 022) != 0) why = "other users may write in it";
    else if ((info.st_mode & 07777) != 0700 && ::fchmod(fd, 0700) != 0)
        why = std::string("it cannot be made private: ") + std::strerror(errno);
    ::close(fd);
    if (why.empty()) return true;
    reason = folder.string() + ": " + why;
    return false;
}

// The program's folder in the state folder, and the recovery folder in it.
bool checkRecoveryFolder(const fs::path& stateFolder, std::string& reason) {
    const fs::path folder = recoveryFolderOf(stateFolder);
    return checkOwnFolder(folder.parent_path(), reason) && checkOwnFolder(folder, reason);
}

bool makeRecoveryFolder(const fs::path& stateFolder, std::string& reason) {
    return makePrivateFolder(recoveryFolderOf(stateFolder), reason) && checkRecoveryFolder(stateFolder, reason);
}

// Whether `path` still names the file open as `fd`: a lock file removed by
// another start between its creation and its lock holds nothing.
bool stillNamed(const fs::path& path, int fd) {
    struct stat named {}, opened {};
    return ::stat(path.c_str(), &named) == 0 && ::fstat(fd, &opened) == 0 && named.st_dev == opened.st_dev &&
           named.st_ino == opened.st_ino;
}

int takeLock(RecoveryState& r, const fs::path& stateFolder, std::string& reason) {
    if (r.lockFd >= 0) return 1;
    if (!makeRecoveryFolder(stateFolder, reason)) return 0;
    const fs::path folder = recoveryFolderOf(stateFolder);
    for (int attempt = 0; attempt < 4; ++attempt) {
        r.id = newId();
        const fs::path lock = fileOf(folder, r.id, ".lock");
        r.lockFd = ::open(lock.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (r.lockFd < 0 || ::fchmod(r.lockFd, 0600) != 0 || ::flock(r.lockFd, LOCK_EX) != 0) {
            reason = lock.string() + ": " + std::strerror(errno);
            if (r.lockFd >= 0) ::close(r.lockFd);
            r.lockFd = -1;
            return 0;
        }
        if (stillNamed(lock, r.lockFd)) return 1;
        ::close(r.lockFd);
        r.lockFd = -1;
    }
    reason = "the lock files in " + folder.string() + " keep disappearing";
    return 0;
}

// 0600 from its creation; a link of that name is replaced, never followed.
bool writePrivateFile(const fs::path& path, std::string_view content, std::string& reason) {
    return writeFileAtomically(path, content, reason, Replacement::Private);
}

// The disk's part of the copy taken last: on the writer's thread, or on the
// window's when the copy is wanted at once. Touches only what the window
// leaves alone while the writer runs.
void writeTakenCopy(RecoveryState& r) {
    RecoveryState::TakenCopy& taken = r.taken;
    taken.reason.clear();
    try {
        const fs::path folder = recoveryFolderOf(taken.stateFolder);
        taken.written = takeLock(r, taken.stateFolder, taken.reason) &&
                        writePrivateFile(fileOf(folder, r.id, ".cbk"), formatModelFile(*r.copied), taken.reason) &&
                        writePrivateFile(fileOf(folder, r.id, ".txt"), taken.note, taken.reason);
    } catch (const std::bad_alloc&) {
        taken.written = false;
        taken.reason = "out of memory";
    }
}

// How the write went, on the window's thread once the writer has ended.
void collectWrite(RecoveryState& r) {
    if (r.taken.written) {
        r.failureSaid = false;
        ++r.copiesWritten;
        return;
    }
    sayFailure(r, r.taken.reason);
    r.copyKept = false;                // what is on disk, if anything, is older
    r.pendingSince = r.taken.time;     // tried again after another interval, not at every tick
}

// Waits for a copy being written, and takes its outcome.
void waitForWrite(RecoveryState& r) {
    if (r.writer.join()) collectWrite(r);
}

enum class Writing { InBackground, AtOnce };

// The model as it is now becomes the copy. A copy already being written is
// waited for first; callers that must not wait check writer.running().
void takeCopy(App& app, double now, Writing writing) {
    RecoveryState& r = app.recovery;
    waitForWrite(r);
    if (!r.copied) r.copied = std::make_unique<VoxelModel>();
    *r.copied = app.model();
    // Absolute, so a later start from another folder saves to the same file.
    const DocumentState& document = app.document;
    const RecoveryNote note{document.untitled ? document.path : absolutePath(document.path), document.title,
                            document.untitled, now};
    r.taken.stateFolder = app.paths.stateFolder;
    r.taken.note = formatRecoveryNote(note);
    r.taken.time = now;
    r.copyKept = true;
    r.pendingSince = -1;
    ++r.copiesTaken;
    if (writing == Writing::InBackground && app.platform.writesInBackground() &&
        r.writer.start([&r] { writeTakenCopy(r); }))
        return;
    writeTakenCopy(r);
    collectWrite(r);
}

// "14:32" today, "2024-05-01 14:32" another day.
std::string timeText(double time, double now) {
    const std::time_t at = static_cast<std::time_t>(time), today = static_cast<std::time_t>(now);
    std::tm atTm{}, todayTm{};
    localtime_r(&at, &atTm);
    localtime_r(&today, &todayTm);
    const bool sameDay = atTm.tm_year == todayTm.tm_year && atTm.tm_yday == todayTm.tm_yday;
    char text[32];
    std::strftime(text, sizeof text, sameDay ? "%H:%M" : "%Y-%m-%d %H:%M", &atTm);
    return text;
}

struct Orphan {
    std::string id;
    int lockFd = -1;  // held while it is offered, so no other start offers it too
    RecoveryNote note;
};

void release(Orphan& orphan) {
    if (orphan.lockFd >= 0) ::close(orphan.lockFd);
    orphan.lockFd = -1;
}

// A copy is an orphan when nobody holds its lock (a lock file that is gone is
// made again, so whoever offers the copy holds it).
bool claim(const fs::path& folder, Orphan& orphan) {
    const fs::path lock = fileOf(folder, orphan.id, ".lock");
    const int fd = ::open(lock.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || !stillNamed(lock, fd)) {
        ::close(fd);
        return false;
    }
    orphan.lockFd = fd;
    return true;
}

bool isLink(const fs::path& path) {
    std::error_code ignored;
    return fs::is_symlink(fs::symlink_status(path, ignored));
}

std::vector<Orphan> findOrphans(const fs::path& folder) {
    std::vector<Orphan> orphans;
    std::vector<fs::path> unfinished;
    bool anotherWindowRuns = false;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const fs::path& path = it->path();
        if (isTemporaryFileName(path.filename().string())) {
            unfinished.push_back(path);
            continue;
        }
        std::error_code missing;
        const bool lock = path.extension() == ".lock";
        if ((path.extension() != ".cbk" || isLink(path)) &&
            !(lock && !fs::exists(fs::symlink_status(fs::path(path).replace_extension(".cbk"), missing))))
            continue;
        Orphan orphan;
        orphan.id = path.stem().string();
        if (!claim(folder, orphan)) {
            anotherWindowRuns = true;
            continue;
        }
        if (lock) {  // a lock nobody holds, left by a copy never written or removed half-way
            removeFiles(folder, orphan.id);
            release(orphan);
            continue;
        }
        std::string text, ignored;
        const fs::path note = fileOf(folder, orphan.id, ".txt");
        if (!isLink(note) && readRegularFile(note, {kMaxNoteBytes}, text, ignored))
            orphan.note = parseRecoveryNote(text);
        orphans.push_back(std::move(orphan));
    }
    // A write cut short by a crash leaves its temporary file; while another
    // window runs, one may be its write in progress.
    if (!anotherWindowRuns)
        for (const fs::path& path : unfinished) fs::remove(path, ec);
    std::sort(orphans.begin(), orphans.end(),
              [](const Orphan& a, const Orphan& b) { return a.note.time > b.note.time; });
    return orphans;
}

int adoptCopy(App& app, const ModelFileContents& contents, const RecoveryNote& note) {
    if (!resetModel(app.store)) return -1;
    applyModelFile(contents, app.model());
    app.document.path = note.path;
    app.document.title = note.title;
    app.document.untitled = note.untitled != 0 ? 1 : 0;
    if (!app.document.untitled) app.document.lastFolder = folderOf(note.path);
    app.platform.setWindowTitle(app.document.title + " - Cubrik");
    app.flags.modelModified = 1;  // the copy is no file the user saved
    return 1;
}

// The recovered copy becomes this process's own, and is written again at once
// in this version's form: a crash before the next interval keeps it too.
void takeOver(App& app, Orphan& orphan) {
    RecoveryState& r = app.recovery;
    r.id = orphan.id;
    r.lockFd = orphan.lockFd;
    orphan.lockFd = -1;
    takeCopy(app, app.platform.now(), Writing::InBackground);
}

}  // namespace

fs::path recoveryFolderOf(const fs::path& stateFolder) { return stateFolder / "cubrik" / "recovery"; }

RecoveryState::~RecoveryState() {
    writer.join();
    if (lockFd >= 0) ::close(lockFd);
}

void keepRecoveryCopy(App& app) {
    if (app.paths.stateFolder.empty() || !app.store.model || app.recovery.ended) return;
    RecoveryState& r = app.recovery;
    if (!r.writer.running()) waitForWrite(r);  // an ended write's outcome, without waiting
    if (!app.flags.modelModified) {
        removeRecoveryCopy(app);
        return;
    }
    const double now = app.platform.now();
    if (r.pendingSince < 0 && (!r.copyKept || !sameContent(*r.copied, app.model()))) r.pendingSince = now;
    const int interval = app.settings.autosaveSeconds;
    if (r.pendingSince < 0 || interval <= 0) return;
    if (now < r.pendingSince) r.pendingSince = now;  // the clock was set back
    if (now - r.pendingSince < interval || r.messageDepth > 0 || gestureInProgress(app)) return;
    if (r.writer.running()) return;  // skipped, not queued: a later check takes it
    takeCopy(app, now, Writing::InBackground);
}

void writeRecoveryCopyNow(App& app) {
    RecoveryState& r = app.recovery;
    waitForWrite(r);  // nothing is left half-written, whatever follows
    if (app.paths.stateFolder.empty() || !app.store.model || !app.flags.modelModified || r.ended) return;
    if (r.copyKept && sameContent(*r.copied, app.model())) return;
    takeCopy(app, app.platform.now(), Writing::AtOnce);
}

void removeRecoveryCopy(App& app) {
    RecoveryState& r = app.recovery;
    waitForWrite(r);  // a write ending after the removal would bring the copy back
    r.copyKept = false;
    r.pendingSince = -1;
    if (r.lockFd < 0) return;
    removeFiles(recoveryFolderOf(app.paths.stateFolder), r.id);
    ::close(r.lockFd);
    r.lockFd = -1;
}

void endRecovery(App& app) {
    removeRecoveryCopy(app);
    app.recovery.ended = true;
}

int offerRecoveryCopies(App& app) {
    if (app.paths.stateFolder.empty()) return 0;
    const fs::path folder = recoveryFolderOf(app.paths.stateFolder);
    std::error_code ec;
    if (!fs::exists(fs::symlink_status(folder, ec))) return 0;  // the usual start: nothing more to look at
    if (std::string reason; !checkRecoveryFolder(app.paths.stateFolder, reason)) {
        std::fprintf(stderr, "cubrik: no recovery copy is looked for: %s\n", reason.c_str());
        return 0;
    }
    std::vector<Orphan> orphans = findOrphans(folder);
    int result = 0;
    for (Orphan& orphan : orphans) {
        ModelFileContents contents;
        std::string reason;
        if (!loadModelFile(fileOf(folder, orphan.id, ".cbk"), contents, reason)) {
            // Left for a look by hand; a damaged copy is not offered.
            std::fprintf(stderr, "cubrik: a recovery copy cannot be read: %s\n", reason.c_str());
            continue;
        }
        std::string question = app.strings().recoveryPrompt;
        if (const std::size_t at = question.find("%t"); at != std::string::npos)
            question.replace(at, 2, timeText(orphan.note.time, app.platform.now()));
        const RecoveryNote& note = orphan.note;
        const Reply reply = app.platform.askYesNoCancel(kCaption, fillIn(question, note.untitled ? note.title : note.path));
        if (reply == Reply::Cancel) break;
        if (reply == Reply::Yes) {
            result = adoptCopy(app, contents, note);
            if (result == 1) takeOver(app, orphan);
            break;
        }
        removeFiles(folder, orphan.id);
        release(orphan);
    }
    for (Orphan& orphan : orphans) release(orphan);
    return result;
}

}  // namespace cubrik
