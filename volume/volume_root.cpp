#include "volume/volume_root.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <memory>

#include <dirent.h>
#include <sys/stat.h>

#include "decode/mission_time.h"
#include "imaging/ascii_case.h"

namespace kobrix {
namespace {

std::string Join(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    return folder.back() == '/' ? folder + name : folder + "/" + name;
}

bool IsFolder(const std::string& path) {
    struct stat status {};
    return stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

// The names in `folder`, without . and .., unsorted; empty when it cannot be read.
std::vector<std::string> Entries(const std::string& folder) {
    std::vector<std::string> names;
    std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(folder.c_str()), closedir);
    if (!dir) return names;
    while (const dirent* entry = readdir(dir.get())) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") names.push_back(name);
    }
    return names;
}

// The subfolder of `folder` called `name` in any letter case; the exact spelling first.
std::string SubFolder(const std::string& folder, std::string_view name) {
    const std::string exact = Join(folder, std::string(name));
    if (IsFolder(exact)) return exact;
    for (const std::string& entry : Entries(folder)) {
        if (EqualIgnoringCase(entry, name) && IsFolder(Join(folder, entry)))
            return Join(folder, entry);
    }
    return {};
}

std::string LastComponent(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The rover digit of a product name: '1' or '2' followed by a camera letter.
char RoverOfProductName(std::string_view name) {
    if (name.size() < 12 || (name[0] != '1' && name[0] != '2')) return 0;
    const char camera = static_cast<char>(std::toupper(static_cast<unsigned char>(name[1])));
    if (std::string_view("FRNPME").find(camera) == std::string_view::npos) return 0;
    return name[0];
}

// The rover of the first product names in the sols' folders, looking at a few only.
char RoverOfProducts(const std::vector<VolumeSol>& sols) {
    int looked = 0;
    for (const VolumeSol& sol : sols) {
        for (const std::string* folder : {&sol.edr, &sol.rdr}) {
            if (folder->empty()) continue;
            for (const std::string& name : Entries(*folder)) {
                if (const char rover = RoverOfProductName(name)) return rover;
                if (++looked > 200) return 0;
            }
        }
    }
    return 0;
}

std::string Parent(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace

std::optional<int> SolOfFolderName(std::string_view name) {
    if (name.size() < 4 || name.size() > 8 || !EqualIgnoringCase(name.substr(0, 3), "sol"))
        return std::nullopt;
    int sol = 0;
    for (const char c : name.substr(3)) {
        if (c < '0' || c > '9') return std::nullopt;
        sol = sol * 10 + (c - '0');
    }
    return sol;
}

bool IsVolumeRoot(const std::string& folder) {
    const std::string data = SubFolder(folder, "data");
    if (data.empty()) return false;
    for (const std::string& entry : Entries(data)) {
        if (SolOfFolderName(entry) && IsFolder(Join(data, entry))) return true;
    }
    return false;
}

char RoverOfVolumeName(std::string_view name) {
    if (name.size() < 4 || !EqualIgnoringCase(name.substr(0, 3), "mer")) return 0;
    return name[3] == '1' || name[3] == '2' ? name[3] : 0;
}

std::optional<Volume> OpenVolume(const std::string& folder) {
    const std::string data = SubFolder(folder, "data");
    if (data.empty()) return std::nullopt;
    Volume volume;
    volume.root = folder;
    for (const std::string& entry : Entries(data)) {
        const std::optional<int> sol = SolOfFolderName(entry);
        const std::string path = Join(data, entry);
        if (!sol || !IsFolder(path)) continue;
        VolumeSol item;
        item.sol = *sol;
        item.folder = path;
        item.edr = SubFolder(path, "edr");
        item.rdr = SubFolder(path, "rdr");
        volume.sols.push_back(std::move(item));
    }
    if (volume.sols.empty()) return std::nullopt;
    // Two spellings of one sol (sol0100 and sol100) keep their order by name.
    std::stable_sort(volume.sols.begin(), volume.sols.end(),
                     [](const VolumeSol& a, const VolumeSol& b) {
                         return a.sol != b.sol ? a.sol < b.sol : a.folder < b.folder;
                     });
    volume.rover = RoverOfVolumeName(LastComponent(folder));
    if (volume.rover == 0) volume.rover = RoverOfProducts(volume.sols);
    if (volume.rover != 0) {
        for (VolumeSol& sol : volume.sols) sol.middleUtc = SolMiddleUtc(sol.sol, volume.rover);
    }
    return volume;
}

DateTime SolMiddleUtc(int sol, char rover) {
    const DateTime landing = rover == '2' ? LandingUtcSpirit : LandingUtcOpportunity;
    return landing + static_cast<double>(sol - 1) * static_cast<double>(SolSeconds) / 86400.0;
}

std::string IsoDate(DateTime utc) {
    const CivilTime civil = DecodeDateTime(utc);
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", civil.year, civil.month, civil.day);
    return text;
}

std::optional<VolumePlace> LocateInVolume(const std::string& folder) {
    std::string path = folder;
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    VolumePlace place;
    const std::string last = AsciiLower(LastComponent(path));
    if (last == "edr" || last == "rdr") {
        place.kind = last == "edr" ? VolumePlace::Kind::Edr : VolumePlace::Kind::Rdr;
        path = Parent(path);
    }
    if (const std::optional<int> sol = SolOfFolderName(LastComponent(path))) {
        const std::string data = Parent(path);
        if (AsciiLower(LastComponent(data)) != "data") return std::nullopt;
        place.sol = *sol;
        if (place.kind == VolumePlace::Kind::Root) place.kind = VolumePlace::Kind::Sol;
        path = Parent(data);
    } else if (place.kind != VolumePlace::Kind::Root) {
        return std::nullopt;
    }
    if (!IsVolumeRoot(path)) return std::nullopt;
    place.root = path;
    return place;
}

std::string VolumeRootAbove(const std::string& folder) {
    std::string path = folder;
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    while (!path.empty()) {
        if (const std::optional<VolumePlace> place = LocateInVolume(path)) return place->root;
        const std::string parent = Parent(path);
        if (parent == path) break;
        path = parent;
    }
    return {};
}

std::vector<std::string> SolProductFolders(const Volume& volume, int first, int last) {
    std::vector<std::string> folders;
    for (const VolumeSol& sol : volume.sols) {
        if (sol.sol < first || sol.sol > last) continue;
        if (!sol.edr.empty()) folders.push_back(sol.edr);
        if (!sol.rdr.empty()) folders.push_back(sol.rdr);
    }
    return folders;
}

}  // namespace kobrix
