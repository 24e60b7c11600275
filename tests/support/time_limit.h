#pragma once
// Ends the test program when a call has not returned within the limit: a
// read that waits on a FIFO would otherwise hang the whole suite.

#include <unistd.h>

namespace cubrik::testing {

class TimeLimit {
public:
    explicit TimeLimit(unsigned seconds) { alarm(seconds); }
    ~TimeLimit() { alarm(0); }
    TimeLimit(const TimeLimit&) = delete;
    TimeLimit& operator=(const TimeLimit&) = delete;
};

}  // namespace cubrik::testing
