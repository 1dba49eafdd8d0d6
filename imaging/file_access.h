#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "imaging/image_error.h"

namespace kobrix {

// File access for the codecs. Reads know the file's size before anything is allocated;
// scattered reads and gathered writes let a codec move rows straight between the file and a
// bitmap (a bottom-up BMP is one system call, not a read and a flip). Every failure is an
// ImageError naming the file. POSIX.

struct ReadPiece {
    std::uint8_t* data;
    std::size_t size;
};

struct WritePiece {
    const std::uint8_t* data;
    std::size_t size;
};

class InputFile {
  public:
    // Opens a regular file for reading; refuses directories, devices and pipes.
    explicit InputFile(const std::string& path);
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    const std::string& Path() const { return path_; }
    std::uint64_t Size() const { return size_; }

    // Fills the pieces in order from `offset` on; throws when the file ends first.
    void ReadAt(std::uint64_t offset, std::span<const ReadPiece> pieces);
    void ReadAt(std::uint64_t offset, std::uint8_t* data, std::size_t size);

  private:
    std::string path_;
    int fd_ = -1;
    std::uint64_t size_ = 0;
};

// How a finished file takes its name.
enum class Placement {
    // Replaces the file of that name, through symbolic links to the file they name (a link the
    // user made stays a link); the new file keeps the mode of the one it replaces. A target
    // that is not a regular file, or is read-only, is refused before anything is written.
    Replace,
    // Only where nothing has the name yet: no link is followed and nothing replaced. A name
    // taken before or during the write gives FileExistsError.
    NewName,
    // Over whatever has the name: a symbolic link there is replaced, not followed.
    ReplaceName,
};

// The name of a NewName file was taken; nothing was written under it.
class FileExistsError : public ImageError {
  public:
    using ImageError::ImageError;
};

// Writes go to a file beside the target that has no name until Commit() (the system's
// unnamed temporary file), so a failed write (a full disk, say) never leaves a cut-off
// picture behind or destroys the file that was there before, and a process killed mid-write
// leaves nothing. Where the file system cannot make unnamed files, the file gets a random
// hidden name, created exclusively, that Commit() renames; no link is ever followed at a
// temporary name, and only the file written here is ever put under the target's name.
class OutputFile {
  public:
    explicit OutputFile(const std::string& path, Placement placement = Placement::Replace);
    ~OutputFile();  // removes the temporary file unless committed
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    void Write(std::span<const WritePiece> pieces);
    void Write(const std::uint8_t* data, std::size_t size);
    // Overwrites bytes already written (a header whose sizes are known only at the end).
    void WriteAt(std::uint64_t offset, const std::uint8_t* data, std::size_t size);
    void Commit();

  private:
    [[noreturn]] void Fail(const std::string& what, int error);
    void Close();

    std::string path_;
    Placement placement_;
    std::string target_;     // through symbolic links
    std::string directory_;  // the target's
    std::string tempPath_;   // empty while the file has no name
    int fd_ = -1;
    unsigned mode_ = 0644;
    unsigned owner_ = 0;
    unsigned group_ = 0;
    bool keepOwner_ = false;
};

// Off, every OutputFile takes the named route (for tests of file systems without unnamed
// temporary files). On by default.
void AllowUnnamedTemporaryFiles(bool allowed);

}  // namespace kobrix
