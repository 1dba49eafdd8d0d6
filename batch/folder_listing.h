#pragma once

#include <string>
#include <vector>

namespace kobrix {

// The ordinary files of one directory, sorted as the file list sorts them (by name without
// regard to case, ties by bytes).
struct FolderListing {
    std::string directory;
    std::vector<std::string> names;
};

// Lists `directory`; false with `error` set when it cannot be read.
bool ListFolder(const std::string& directory, std::vector<std::string>& names, std::string& error);

// Lists every root and, with `recursive`, every directory below it (depth first, each
// directory's subdirectories in the file list's order; symbolic links to directories are not
// followed). Roots and directories that cannot be read go to `problems` as "path: reason".
std::vector<FolderListing> ListFolders(const std::vector<std::string>& roots, bool recursive,
                                       std::vector<std::string>& problems);

// Sorts paths as the file list sorts names and drops repeated ones.
void SortPathsOnce(std::vector<std::string>& paths);

// Paths of files, one listing a folder: the folder is the text before the last '/' (empty for
// a bare name), the folders and the names in them in the file list's order. Nothing is read
// from the disk.
std::vector<FolderListing> ListingsOfPaths(const std::vector<std::string>& paths);

}  // namespace kobrix
