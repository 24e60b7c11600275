#pragma once
// The model file named on the command line, taken from the whole line as the
// desktop hands it over.

#include <string>
#include <string_view>
#include <vector>

namespace cubrik {

// Skips leading blanks and tabs. A name starting with a double quote runs to
// the last double quote of the line (none: no name); otherwise to the next
// blank or tab. Only the first name counts.
std::string commandLineFileName(std::string_view line);

// The line a shell would have been given for these arguments: each argument
// holding a blank or tab is quoted.
std::string commandLineOf(const std::vector<std::string>& args);

}  // namespace cubrik
