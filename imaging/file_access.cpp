#include "imaging/file_access.h"

#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <vector>

#include "imaging/image_error.h"

namespace kobrix {
namespace {

#ifdef IOV_MAX
constexpr std::size_t kMaxPiecesPerCall = IOV_MAX;
#else
constexpr std::size_t kMaxPiecesPerCall = 16;  // the least POSIX promises
#endif

std::string ErrorText(int error) {
    return std::strerror(error);
}

// Runs readv or writev until every vector is done, resuming after partial transfers and
// signals. `transfer` returns what the system call returned; 0 means the file ended.
template <typename Transfer>
int TransferAll(std::vector<iovec>& vectors, Transfer transfer) {
    std::size_t next = 0;
    while (true) {
        while (next < vectors.size() && vectors[next].iov_len == 0) ++next;
        if (next == vectors.size()) return 0;
        const std::size_t count = std::min(vectors.size() - next, kMaxPiecesPerCall);
        const ssize_t done = transfer(&vectors[next], static_cast<int>(count));
        if (done < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        if (done == 0) return -1;
        auto left = static_cast<std::size_t>(done);
        while (left > 0) {
            iovec& v = vectors[next];
            const std::size_t step = std::min(left, v.iov_len);
            v.iov_base = static_cast<char*>(v.iov_base) + step;
            v.iov_len -= step;
            left -= step;
            if (v.iov_len == 0) ++next;
        }
    }
}

// The file a write to `path` lands in: through any symbolic links to the file they name, so
// that the link stays a link. Relative link targets are taken from the link's directory.
std::string FinalTarget(const std::string& path) {
    std::string current = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat info {};
        if (::lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return current;
        std::vector<char> buffer(PATH_MAX);
        const ssize_t length = ::readlink(current.c_str(), buffer.data(), buffer.size());
        if (length < 0 || static_cast<std::size_t>(length) >= buffer.size()) return current;
        std::string target(buffer.data(), static_cast<std::size_t>(length));
        if (target.empty()) return current;
        if (target.front() != '/') {
            const std::size_t slash = current.rfind('/');
            if (slash != std::string::npos) target = current.substr(0, slash + 1) + target;
        }
        current = target;
    }
    throw ImageError(path, "too many levels of symbolic links");
}

std::string DirectoryOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

mode_t CurrentUmask() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

std::atomic<bool> unnamedAllowed{true};

// A hidden name in `directory` with 60 random bits, so that nobody can place anything there
// beforehand; the caller still creates it exclusively.
std::string HiddenName(const std::string& directory) {
    static std::atomic<unsigned long long> counter{0};
    static const char kDigits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
    unsigned long long seed = 0;
    if (::getrandom(&seed, sizeof seed, GRND_NONBLOCK) != static_cast<ssize_t>(sizeof seed)) {
        timespec now{};
        ::clock_gettime(CLOCK_MONOTONIC, &now);
        seed = static_cast<unsigned long long>(now.tv_nsec) * 0x9E3779B97F4A7C15ULL ^
               static_cast<unsigned long long>(::getpid()) << 32 ^ counter++;
    }
    std::string name = "/.kobrix-";
    for (int i = 0; i < 12; ++i) {
        name += kDigits[seed % 36];
        seed /= 36;
    }
    return directory + name;
}

bool SameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

}  // namespace

InputFile::InputFile(const std::string& path) : path_(path) {
    // Non-blocking so that opening a pipe by mistake cannot hang; it is refused below.
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd_ < 0) {
        const int error = errno;
        if (error == ENOENT) throw ImageError(path, "file not found");
        throw ImageError(path, "cannot open the file: " + ErrorText(error));
    }
    struct stat info {};
    if (::fstat(fd_, &info) != 0 || !S_ISREG(info.st_mode)) {
        const bool isDirectory = S_ISDIR(info.st_mode);
        ::close(fd_);
        fd_ = -1;
        throw ImageError(
            path, isDirectory ? "is a directory, not a picture file" : "is not a regular file");
    }
    size_ = static_cast<std::uint64_t>(info.st_size);
}

InputFile::~InputFile() {
    if (fd_ >= 0) ::close(fd_);
}

void InputFile::ReadAt(std::uint64_t offset, std::span<const ReadPiece> pieces) {
    std::vector<iovec> vectors;
    vectors.reserve(pieces.size());
    for (const ReadPiece& piece : pieces) vectors.push_back({piece.data, piece.size});
    if (::lseek(fd_, static_cast<off_t>(offset), SEEK_SET) < 0) {
        throw ImageError(path_, "cannot read the file: " + ErrorText(errno));
    }
    const int result =
        TransferAll(vectors, [this](const iovec* v, int count) { return ::readv(fd_, v, count); });
    if (result < 0) throw ImageError(path_, "the file ended early (was it changed while read?)");
    if (result > 0) throw ImageError(path_, "cannot read the file: " + ErrorText(result));
}

void InputFile::ReadAt(std::uint64_t offset, std::uint8_t* data, std::size_t size) {
    const ReadPiece piece{data, size};
    ReadAt(offset, std::span(&piece, 1));
}

OutputFile::OutputFile(const std::string& path, Placement placement)
    : path_(path), placement_(placement) {
    target_ = placement == Placement::Replace ? FinalTarget(path) : path;
    // What is there decides the new file's mode; only a regular file we may write is replaced.
    mode_t mode = 0666 & ~CurrentUmask();
    struct stat info {};
    const int found = placement == Placement::Replace ? ::stat(target_.c_str(), &info)
                                                      : ::lstat(target_.c_str(), &info);
    if (found == 0) {
        if (placement == Placement::NewName) throw FileExistsError(path, "exists already, kept");
        if (S_ISDIR(info.st_mode)) throw ImageError(path, "is a directory, not a file");
        if (placement == Placement::Replace && !S_ISREG(info.st_mode)) {
            throw ImageError(path, "is not a regular file; not replaced");
        }
        if (placement == Placement::Replace &&
            ((info.st_mode & 0222) == 0 || ::access(target_.c_str(), W_OK) != 0)) {
            throw ImageError(path, "is read-only; not replaced");
        }
        if (S_ISREG(info.st_mode)) {
            mode = info.st_mode & 07777;
            owner_ = info.st_uid;
            group_ = info.st_gid;
            keepOwner_ = true;
        }
    }
    directory_ = DirectoryOf(target_);
#ifdef O_TMPFILE
    // A file without a name until Commit, which links it in through /proc.
    if (unnamedAllowed && ::access("/proc/self/fd", X_OK) == 0) {
        fd_ = ::open(directory_.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
    }
#endif
    if (fd_ < 0) {
        for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
            tempPath_ = HiddenName(directory_);
            fd_ = ::open(tempPath_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                         0600);
            if (fd_ < 0 && errno != EEXIST) {
                const int error = errno;
                tempPath_.clear();
                throw ImageError(path, "cannot create the file: " + ErrorText(error));
            }
        }
        if (fd_ < 0) {
            tempPath_.clear();
            throw ImageError(path, "cannot create a temporary file beside it");
        }
    }
    mode_ = mode;
}

OutputFile::~OutputFile() {
    if (fd_ >= 0) ::close(fd_);
    if (!tempPath_.empty()) ::unlink(tempPath_.c_str());
}

void OutputFile::Fail(const std::string& what, int error) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    if (!tempPath_.empty()) ::unlink(tempPath_.c_str());
    tempPath_.clear();
    if (error == EEXIST && placement_ == Placement::NewName) {
        throw FileExistsError(path_, "exists already, kept");
    }
    throw ImageError(path_, what + ": " + ErrorText(error));
}

void OutputFile::Write(std::span<const WritePiece> pieces) {
    if (fd_ < 0) throw ImageError(path_, "the file is already closed");
    std::vector<iovec> vectors;
    vectors.reserve(pieces.size());
    for (const WritePiece& piece : pieces) {
        vectors.push_back({const_cast<std::uint8_t*>(piece.data), piece.size});
    }
    const int result =
        TransferAll(vectors, [this](const iovec* v, int count) { return ::writev(fd_, v, count); });
    // A write that takes nothing without an error is a full device as far as we can tell.
    if (result != 0) Fail("cannot write the file", result < 0 ? ENOSPC : result);
}

void OutputFile::Write(const std::uint8_t* data, std::size_t size) {
    const WritePiece piece{data, size};
    Write(std::span(&piece, 1));
}

void OutputFile::WriteAt(std::uint64_t offset, const std::uint8_t* data, std::size_t size) {
    if (fd_ < 0) throw ImageError(path_, "the file is already closed");
    while (size > 0) {
        const ssize_t done = ::pwrite(fd_, data, size, static_cast<off_t>(offset));
        if (done < 0) {
            if (errno == EINTR) continue;
            Fail("cannot write the file", errno);
        }
        if (done == 0) Fail("cannot write the file", ENOSPC);
        data += done;
        size -= static_cast<std::size_t>(done);
        offset += static_cast<std::uint64_t>(done);
    }
}

void OutputFile::Close() {
    const int closed = ::close(fd_);
    fd_ = -1;
    if (closed != 0) Fail("cannot write the file", errno);
}

void OutputFile::Commit() {
    if (fd_ < 0) throw ImageError(path_, "the file is already closed");
    // The mode (and, where allowed, the owner) of the file it replaces; the new file is only
    // as readable as the old one.
    if (keepOwner_ && ::fchown(fd_, owner_, group_) != 0) {
        // Another user's file: ours it becomes, with its mode.
    }
    if (::fchmod(fd_, mode_) != 0) Fail("cannot set the file's permissions", errno);
    if (::fsync(fd_) != 0) Fail("cannot write the file", errno);
    // The name is taken: FileExistsError, and what was written goes.
    const auto taken = [this] { Fail("", EEXIST); };
    if (tempPath_.empty()) {
        // The unnamed file takes the target's name at once where that is free; a link at the
        // name makes the name taken, it is not followed.
        const std::string self = "/proc/self/fd/" + std::to_string(fd_);
        if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, target_.c_str(), AT_SYMLINK_FOLLOW) == 0) {
            Close();
            return;
        }
        if (errno != EEXIST) Fail("cannot name the file", errno);
        if (placement_ == Placement::NewName) taken();
        // A file to replace: a random hidden name first, then over the old file in one step.
        for (int attempt = 0; attempt < 100 && tempPath_.empty(); ++attempt) {
            const std::string name = HiddenName(directory_);
            if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
                tempPath_ = name;
            } else if (errno != EEXIST) {
                Fail("cannot name the file", errno);
            }
        }
        if (tempPath_.empty()) Fail("cannot name the file", EEXIST);
    } else {
        // The name must still be the file written here, not something put in its place.
        struct stat mine {};
        struct stat named {};
        if (::fstat(fd_, &mine) != 0 || ::lstat(tempPath_.c_str(), &named) != 0 ||
            !SameFile(mine, named)) {
            const std::string replaced = tempPath_;
            tempPath_.clear();  // not ours to remove
            ::close(fd_);
            fd_ = -1;
            throw ImageError(path_, "the temporary file " + replaced +
                                        " was replaced by something else; nothing was saved");
        }
        if (placement_ == Placement::NewName) {
            // A hard link is refused over anything at the name, a link included.
            const int linked = ::link(tempPath_.c_str(), target_.c_str());
            const int error = errno;
            if (linked != 0) {
                if (error == EEXIST) taken();
                Fail("cannot name the file", error);
            }
            ::unlink(tempPath_.c_str());
            tempPath_.clear();
            Close();
            return;
        }
    }
    Close();
    if (std::rename(tempPath_.c_str(), target_.c_str()) != 0)
        Fail("cannot replace the file", errno);
    tempPath_.clear();
}

void AllowUnnamedTemporaryFiles(bool allowed) {
    unnamedAllowed = allowed;
}

}  // namespace kobrix
