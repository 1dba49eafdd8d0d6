#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "decode/date_time.h"

namespace kobrix {

// One sol of an archive volume: data/solNNNN/ with its edr/ and rdr/ folders.
struct VolumeSol {
    int sol = 0;
    std::string folder;      // the solNNNN folder itself
    std::string edr;         // its edr/ folder (any letter case), empty when it has none
    std::string rdr;         // its rdr/ folder, empty when it has none
    DateTime middleUtc = 0;  // the middle of the sol as the decoder counts sols; 0 when the
                             // rover is not known
};

// A folder of the planetary archive laid out by sol: root/data/solNNNN/{edr,rdr}/.
struct Volume {
    std::string root;
    char rover = 0;  // '1' Opportunity, '2' Spirit, 0 when neither names nor folder say
    std::vector<VolumeSol> sols;  // by sol number
};

// The sol number of a folder name "solNNNN" (any letter case, one to five digits).
std::optional<int> SolOfFolderName(std::string_view name);

// True when `folder` holds data/ (any letter case) with at least one solNNNN folder in it.
bool IsVolumeRoot(const std::string& folder);

// The volume whose root is `folder`, or nothing when it is not a volume root. Only folders
// are listed: the sols' products are not read, except the first few names that tell the
// rover when the root's name does not.
std::optional<Volume> OpenVolume(const std::string& folder);

// The rover of a volume folder name: "mer1..." is Opportunity, "mer2..." Spirit (any case).
char RoverOfVolumeName(std::string_view name);

// The instant in the middle of sol `sol` of the rover ('1' or '2'), in UTC: the landing plus
// sol - 1 sols. The decoder gives this sol to every clock within half a sol of it.
DateTime SolMiddleUtc(int sol, char rover);

// "2004-04-14": the UTC date of a DateTime.
std::string IsoDate(DateTime utc);

// Where a folder lies in a volume: the root itself, or a sol folder or its edr/ or rdr/.
struct VolumePlace {
    std::string root;
    int sol = -1;  // -1 at the root
    enum class Kind { Root, Sol, Edr, Rdr } kind = Kind::Root;
};
std::optional<VolumePlace> LocateInVolume(const std::string& folder);

// The root of the volume that `folder` lies in at any depth (its data/ tree, index/, or the
// root itself); empty outside every volume.
std::string VolumeRootAbove(const std::string& folder);

// The product folders of the sols from `first` to `last` (both included): each sol's edr/
// then rdr/, the ones it has.
std::vector<std::string> SolProductFolders(const Volume& volume, int first, int last);

}  // namespace kobrix
