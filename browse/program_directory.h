#pragma once

#include <string>

namespace kobrix {

// Where the program keeps its working tree when started without a directory. From a terminal
// inside a directory it works there, as always; from a desktop launcher (started in the home
// directory itself, or where it may not write) it works in $KOBRIX_HOME, else in
// home/Kobrix2007, so that its working tree never lands in the home directory itself.
std::string ProgramDirectoryFor(const std::string& currentDirectory, bool currentWritable,
                                const std::string& homeDirectory, const char* kobrixHome);

}  // namespace kobrix
