#include "batch/folder_listing.h"

#include <filesystem>
#include <system_error>

#include "app/file_list.h"

namespace kobrix {
namespace {

namespace fs = std::filesystem;

// Reads one directory: its files into `names` and, when asked, its subdirectories.
bool ReadEntries(const std::string& directory, std::vector<std::string>& names,
                 std::vector<std::string>* subdirectories, std::string& error) {
    names.clear();
    std::error_code ec;
    fs::directory_iterator it(directory, ec);
    if (ec) {
        error = ec.message();
        return false;
    }
    for (const fs::directory_iterator end; it != end; it.increment(ec)) {
        if (ec) break;
        std::error_code typeError;
        const fs::file_status status = it->symlink_status(typeError);
        if (subdirectories && fs::is_directory(status)) {
            subdirectories->push_back(it->path().filename().string());
        } else if (it->is_regular_file(typeError)) {
            names.push_back(it->path().filename().string());
        }
    }
    if (ec) {
        error = ec.message();
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

}  // namespace kobrix
