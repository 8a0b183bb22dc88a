// Runs a check as an ordinary user, so that refusals by file modes are tested even
// when the tests run as root (as CI does), whom no mode refuses: as root the check
// runs in a child process that has given up its rights for those of "nobody",
// otherwise directly. The check returns whether it held; gtest's own assertions
// would be lost in the child.
#pragma once

#include <grp.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

constexpr uid_t kNobody = 65534;

template <typename Check>
bool asOrdinaryUser(Check check)
{
    if (::geteuid() != 0) return check();
    const pid_t child = ::fork();
    if (child == 0) {
        const bool dropped = ::setgroups(0, nullptr) == 0 && ::setgid(kNobody) == 0 && ::setuid(kNobody) == 0;
        ::_exit(dropped && check() ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}
