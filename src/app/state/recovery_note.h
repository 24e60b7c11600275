#pragma once
// The text file beside a recovery copy: what the document was. Its fields are
// percent-encoded, so any file name, newlines included, stays one field.

#include <cstdint>
#include <string>
#include <string_view>

namespace cubrik {

struct RecoveryNote {
    std::string path = "Untitled.cbk";  // absolute once the document has a file
    std::string title = "Untitled";
    std::int32_t untitled = 1;
    double time = 0;  // the platform's clock when the copy was written
};

std::string formatRecoveryNote(const RecoveryNote& note);

// Lenient: a missing or damaged line leaves its default. A file the note
// names is taken only when Save could have written it there, an absolute
// path with the program's own extension; otherwise the note stands for an
// untitled document, so that Save asks for a name.
RecoveryNote parseRecoveryNote(std::string_view text);

}  // namespace cubrik
