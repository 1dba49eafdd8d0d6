#include "browse/program_directory.h"

#include <gtest/gtest.h>

namespace kobrix {
namespace {

TEST(ProgramDirectory, LaunchersGetAProgramDirectoryTerminalsKeepTheirs) {
    EXPECT_EQ(ProgramDirectoryFor("/data/mer", true, "/home/ann", nullptr), "/data/mer");
    // A desktop launcher starts in the home directory, or where nothing may be written.
    EXPECT_EQ(ProgramDirectoryFor("/home/ann/", true, "/home/ann", nullptr),
              "/home/ann/Kobrix2007");
    EXPECT_EQ(ProgramDirectoryFor("/usr/share", false, "/home/ann", nullptr),
              "/home/ann/Kobrix2007");
    EXPECT_EQ(ProgramDirectoryFor("/home/ann", true, "/home/ann", "/srv/mars"), "/srv/mars");
    EXPECT_EQ(ProgramDirectoryFor("/home/ann", true, "/home/ann", ""), "/home/ann/Kobrix2007");
}

}  // namespace
}  // namespace kobrix
