#include "imaging/file_access.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
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

std::string UniqueSuffix() {
    static std::atomic<unsigned> counter{0};
    return ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
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

OutputFile::OutputFile(const std::string& path) : path_(path) {
    for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
        tempPath_ = path + UniqueSuffix();
        fd_ = ::open(tempPath_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
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

OutputFile::~OutputFile() {
    if (fd_ >= 0) ::close(fd_);
    if (!tempPath_.empty()) ::unlink(tempPath_.c_str());
}

void OutputFile::Fail(const std::string& what, int error) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    ::unlink(tempPath_.c_str());
    tempPath_.clear();
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

void OutputFile::Commit() {
    if (fd_ < 0) throw ImageError(path_, "the file is already closed");
    const int closed = ::close(fd_);
    fd_ = -1;
    if (closed != 0) Fail("cannot write the file", errno);
    if (std::rename(tempPath_.c_str(), path_.c_str()) != 0) Fail("cannot replace the file", errno);
    tempPath_.clear();
}

}  // namespace kobrix
