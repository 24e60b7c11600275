#pragma once
// A zip archive built in memory through minizip, for packaged formats (3MF).
// Entries are deflated at level 1: the large parts are mostly digits, where
// the fastest level keeps most of the gain at a fraction of the time. Every
// entry is dated 1980-01-01 00:00, so the same content gives the same bytes.
// Pieces are deflated on two threads of their own while the caller writes
// on, and joined in order into one deflate stream.

#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

namespace cubrik {

// A step minizip refused; what() names the step. Running out of memory is
// thrown as std::bad_alloc instead.
struct ZipFailure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

class ZipPackage {
public:
    ZipPackage();
    ~ZipPackage();
    ZipPackage(const ZipPackage&) = delete;
    ZipPackage& operator=(const ZipPackage&) = delete;

    // Starts the entry `name`, ending the one before.
    void beginEntry(const std::string& name);
    // Appends to the current entry, in as many pieces as suits the caller
    // (a copy is queued for deflating; pieces of tens of kilobytes suit it:
    // each starts without the dictionary of the one before).
    void write(std::string_view bytes);
    // Ends the last entry and the archive; returns its bytes.
    std::string finish();

private:
    struct Archive;
    void endEntry();

    std::unique_ptr<Archive> archive_;
    bool inEntry_ = false;
};

}  // namespace cubrik
