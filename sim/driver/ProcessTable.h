#pragma once

#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace sim::driver {

// What the driver reads of other processes from /proc. Any process may end while it is read: its
// files then fail to open or fail mid-read (ESRCH), and the process simply is not there, never an
// exception.
class ProcessTable {
public:
    struct Stat {
        pid_t pid = 0;
        pid_t parent = 0;
        pid_t group = 0;
        pid_t session = 0;
    };

    // One process's /proc/<pid>/stat; nothing when it has gone.
    static std::optional<Stat> stat(pid_t);
    // Every process there is, as far as each could be read.
    static std::vector<Stat> all();
    // Resident memory in kilobytes, 0 when the process has gone.
    static long residentKilobytes(pid_t);

private:
    static std::optional<std::string> read(pid_t, const char* file);
};

}
