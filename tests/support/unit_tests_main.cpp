// The unit tests' main: gtest's, unless the program was started again to be a child
// process of a test (see child_task.h).
#include "support/child_task.h"

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    if (isChildTaskCall(argc, argv)) runChildTaskCall(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
