#include "batch/folder_listing.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <map>

#include "browse/file_list.h"

namespace kobrix {
namespace {

// Reads one directory: its files (a symbolic link to a file counts) into `names` and, when
// asked, its subdirectories (not through links). The entry types come from the directory
// itself; only links and file systems that do not tell are asked with a stat.
bool ReadEntries(const std::string& directory, std::vector<std::string>& names,
                 std::vector<std::string>* subdirectories, std::string& error) {
    names.clear();
    DIR* stream = ::opendir(directory.c_str());
    if (!stream) {
        error = std::strerror(errno);
        return false;
    }
    const int fd = ::dirfd(stream);
    // A directory takes at least some 8 bytes an entry on every common file system; room for
    // that many names is only address space until it is used, and saves copying the list as
    // it grows (100,000 names copy 6 MB on the way).
    struct stat directoryInfo;
    if (::fstat(fd, &directoryInfo) == 0 && directoryInfo.st_size > 0) {
        names.reserve(std::min<std::size_t>(static_cast<std::size_t>(directoryInfo.st_size) / 8,
                                            std::size_t{1} << 22));
    }
    errno = 0;
    while (const dirent* entry = ::readdir(stream)) {
        const char* name = entry->d_name;
        if (name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0))) continue;
        unsigned char type = entry->d_type;
        struct stat info;
        if (type == DT_UNKNOWN && ::fstatat(fd, name, &info, AT_SYMLINK_NOFOLLOW) == 0) {
            type = S_ISREG(info.st_mode)   ? DT_REG
                   : S_ISDIR(info.st_mode) ? DT_DIR
                   : S_ISLNK(info.st_mode) ? DT_LNK
                                           : DT_UNKNOWN;
        }
        if (type == DT_LNK) {
            type =
                ::fstatat(fd, name, &info, 0) == 0 && S_ISREG(info.st_mode) ? DT_REG : DT_UNKNOWN;
        }
        if (type == DT_REG) {
            names.emplace_back(name);
        } else if (type == DT_DIR && subdirectories) {
            subdirectories->emplace_back(name);
        }
        errno = 0;
    }
    const int readError = errno;
    ::closedir(stream);
    if (readError != 0) {
        error = std::strerror(readError);
        return false;
    }
    FileList::SortIgnoringCase(names);
    if (subdirectories) FileList::SortIgnoringCase(*subdirectories);
    return true;
}

void ListTree(const std::string& directory, bool recursive, std::vector<FolderListing>& out,
              std::vector<std::string>& problems) {
    FolderListing listing{directory, {}};
    std::vector<std::string> subdirectories;
    std::string error;
    if (!ReadEntries(directory, listing.names, recursive ? &subdirectories : nullptr, error)) {
        problems.push_back(directory + ": " + error);
        return;
    }
    out.push_back(std::move(listing));
    for (const std::string& sub : subdirectories) {
        ListTree(JoinPath(directory, sub), recursive, out, problems);
    }
}

}  // namespace

bool ListFolder(const std::string& directory, std::vector<std::string>& names, std::string& error) {
    return ReadEntries(directory, names, nullptr, error);
}

std::vector<FolderListing> ListFolders(const std::vector<std::string>& roots, bool recursive,
                                       std::vector<std::string>& problems) {
    std::vector<FolderListing> out;
    for (const std::string& root : roots) ListTree(root, recursive, out, problems);
    return out;
}

void SortPathsOnce(std::vector<std::string>& paths) {
    FileList::SortIgnoringCase(paths);
    // Ties are broken by bytes, so that equal paths stand together.
    paths.erase(std::unique(paths.begin(), paths.end()), paths.end());
}

std::vector<FolderListing> ListingsOfPaths(const std::vector<std::string>& paths) {
    std::map<std::string, std::vector<std::string>> byFolder;
    for (const std::string& path : paths) {
        const std::size_t slash = path.rfind('/');
        if (slash == std::string::npos) {
            byFolder[""].push_back(path);
        } else {
            // "/name" lies in the root; its folder is "/", not the empty text of a bare name.
            byFolder[path.substr(0, slash == 0 ? 1 : slash)].push_back(path.substr(slash + 1));
        }
    }
    std::vector<std::string> folders;
    for (const auto& entry : byFolder) folders.push_back(entry.first);
    FileList::SortIgnoringCase(folders);
    std::vector<FolderListing> listings;
    for (const std::string& folder : folders) {
        std::vector<std::string>& names = byFolder[folder];
        SortPathsOnce(names);
        // A line that ends in '/' names a folder, not a file.
        names.erase(std::remove(names.begin(), names.end(), std::string()), names.end());
        if (!names.empty()) listings.push_back({folder, std::move(names)});
    }
    return listings;
}

}  // namespace kobrix
