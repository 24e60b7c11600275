#pragma once
// Never lose work: while the document has unsaved changes a copy of the model
// is kept in the recovery folder ("ID.cbk", the bytes Save writes, and
// "ID.txt", what the document was), and a copy whose process no longer runs
// is offered again at the next start.
//
// A process owns its copy by holding an flock on "ID.lock" for as long as the
// copy exists; the kernel drops the lock when the process ends however it
// ends, so a reused process id never makes an orphan look owned. A lock file
// nobody holds and no copy goes with is removed at the next start.
//
// The folders are created 0700 and the files 0600 from their creation: a
// copy holds the model. Nothing there is reached through a link, and a folder
// that is a link, is another user's or that others may write in is refused:
// someone else could read or plant copies there. A temporary file a crash
// left half-written is removed at a start while no other window runs.
//
// The window only takes a copy of the model; formatting, writing and syncing
// happen on a worker thread, so the window never waits for the disk. A copy
// that falls due while the last one is still being written is taken at a
// later check, once the worker is free. Removing the copy, and a termination
// signal, wait for the worker first: a write that ends later never brings a
// removed copy back. A replay's platform has the copy written at once.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "app/state/recovery_note.h"
#include "app/state/worker_thread.h"
#include "model/voxel_model.h"

namespace cubrik {

struct App;

// "STATE/cubrik/recovery".
std::filesystem::path recoveryFolderOf(const std::filesystem::path& stateFolder);

// This process's side of recovery, kept in App.
class RecoveryState {
public:
    RecoveryState() = default;
    ~RecoveryState();  // waits for a copy being written, releases the lock; the copy stays for a later start
    RecoveryState(const RecoveryState&) = delete;
    RecoveryState& operator=(const RecoveryState&) = delete;

    // While `writer` runs, the worker alone touches `id`, `lockFd` and
    // `taken`, and reads `copied`; the window leaves them alone until it has
    // joined the worker.
    std::string id;             // the file names' stem, once a copy was written
    int lockFd = -1;            // held while this process keeps a copy
    bool copyKept = false;      // `copied` is what the copy on disk holds, or will once written
    double pendingSince = -1;   // when the oldest change not in the copy was seen; < 0: none
    std::unique_ptr<VoxelModel> copied;
    bool failureSaid = false;   // a failed write is said once, until one succeeds
    int messageDepth = 0;       // > 0 while a message is handled (a dialog may be open)
    std::uint32_t copiesTaken = 0;    // handed to the writer
    std::uint32_t copiesWritten = 0;  // on disk
    bool ended = false;         // the quit was answered: no copy any more

    struct TakenCopy {          // the copy handed to the writer, and how its write went
        std::filesystem::path stateFolder;
        std::string note;       // the note's text
        double time = 0;        // when it was taken
        bool written = false;
        std::string reason;     // why it was not
    } taken;
    WorkerThread writer;
};

// At the end of every message and at every timer tick: writes the copy when
// changes have waited `autosaveSeconds` and nothing is in progress, and
// removes it once nothing unsaved remains.
void keepRecoveryCopy(App& app);

// At a termination signal: a copy being written is finished, then the copy is
// brought up to date now, whatever is in progress, when there are unsaved
// changes.
void writeRecoveryCopyNow(App& app);

// This process's copy, note and lock go, once a copy being written is.
void removeRecoveryCopy(App& app);

// At a quit whose unsaved-changes question was answered: the copy goes and
// no other is written.
void endRecovery(App& app);

// Before the start-up document: each orphan, newest first, is offered. A
// recovered copy stays on disk until this process has written its own, at
// once. Returns 1 when one became the document, 0 when none did, -1 when
// memory ran out.
int offerRecoveryCopies(App& app);

}  // namespace cubrik
