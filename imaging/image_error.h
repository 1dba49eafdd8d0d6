#pragma once

#include <stdexcept>
#include <string>

namespace kobrix {

// The one error type of the image layer: says which file and what is wrong with it.
class ImageError : public std::runtime_error {
  public:
    ImageError(const std::string& file, const std::string& problem)
        : std::runtime_error(file.empty() ? problem : file + ": " + problem),
          file_(file),
          problem_(problem) {}

    const std::string& File() const { return file_; }
    const std::string& Problem() const { return problem_; }

  private:
    std::string file_;
    std::string problem_;
};

}  // namespace kobrix
