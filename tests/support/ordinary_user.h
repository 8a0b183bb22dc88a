// Runs a check as an ordinary user, so that refusals by file modes are tested even
// when the tests run as root (as CI does), whom no mode refuses: as root the check
// runs in a child process (see child_task.h) that has given up its rights for those
// of "nobody", otherwise directly. The check returns whether it held; gtest's own
// assertions would be lost in the child.
#pragma once

#include "support/child_task.h"

#include <sys/types.h>
#include <unistd.h>

constexpr uid_t kNobody = 65534;

inline bool asOrdinaryUser(const ChildTask& check)
{
    if (::geteuid() != 0) return check.run({});
    return childSucceeded(check.start({}, true));
}
