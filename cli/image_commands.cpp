#include "cli/image_commands.h"

#include <cmath>
#include <cstdlib>
#include <exception>
#include <optional>

#include "archive/archive_file.h"
#include "imaging/bmp_io.h"
#include "imaging/gif_io.h"
#include "imaging/image_error.h"
#include "imaging/image_file.h"
#include "imaging/jpeg_io.h"

namespace kobrix::cli {
namespace {

struct PictureFacts {
    int width = 0;
    int height = 0;
    PixelFormat format = PixelFormat::Unknown;
    std::optional<int> frames;  // GIF only
};

// Decodes the whole file, so that a damaged file is reported rather than described.
PictureFacts Inspect(const std::string& path) {
    const std::vector<std::uint8_t> bytes = ReadWholeFile(path);
    PictureFacts facts;
    switch (PictureKindOf(path, bytes)) {
        case PictureKind::Gif: {
            const GifAnimation animation = DecodeGifAnimation(bytes, path);
            facts.width = animation.width;
            facts.height = animation.height;
            facts.frames = static_cast<int>(animation.frames.size());
            if (!animation.frames.empty()) {
                facts.format = animation.frames.front().picture.SourceFormat();
            }
            return facts;
        }
        case PictureKind::Jpeg: {
            const Bitmap24 picture = DecodeJpeg(bytes, path);
            return {picture.Width(), picture.Height(), picture.SourceFormat(), std::nullopt};
        }
        case PictureKind::Bmp:
            break;
    }
    const Bitmap24 picture = DecodeBmp(bytes, path);
    return {picture.Width(), picture.Height(), picture.SourceFormat(), std::nullopt};
}

// ImageError names the file itself; anything else (out of memory) gets the name here.
void Report(std::ostream& err, const std::string& file, const std::exception& e) {
    if (dynamic_cast<const ImageError*>(&e)) {
        err << e.what() << '\n';
    } else {
        err << file << ": " << e.what() << '\n';
    }
}

void DescribeArchiveFile(std::ostream& out, const std::string& file) {
    const ArchiveInfo info = InspectArchiveFile(file);
    out << file << ": " << ArchiveFormatName(info.facts.format) << ", " << info.width << " x "
        << info.height << " pixels, " << info.bands << (info.bands == 1 ? " band, " : " bands, ")
        << SampleKindName(info.type) << ", " << info.bits << " bits\n";
    for (std::size_t i = 0; i < kLabelFactKeys.size(); ++i) {
        if (info.facts.values[i])
            out << kLabelFactKeys[i] << " = " << *info.facts.values[i] << '\n';
    }
}

int Convert(const std::string& in, const std::string& out, std::optional<double> stretch,
            std::ostream& outStream, std::ostream& err) {
    if (!WritableKindOf(out)) {
        err << "kobrix-cli convert: " << out
            << ": cannot tell the picture type from the extension; use .jpg, .jpeg, .bmp or .gif\n";
        return 2;
    }
    const bool archive = HasArchiveExtension(in);
    if (stretch && !archive) {
        err << "kobrix-cli convert: --stretch applies to archive files (.IMG, .LBL, .xml ...)\n";
        return 2;
    }
    Bitmap24 picture;
    try {
        picture = archive ? ReadArchivePicture(in, stretch.value_or(kDefaultStretch * 100) / 100)
                          : ReadAnyPicture(in);
    } catch (const std::exception& e) {
        Report(err, in, e);
        return 1;
    }
    try {
        WritePictureByExtension(picture, out);
    } catch (const std::exception& e) {
        Report(err, out, e);
        return 1;
    }
    outStream << in << " -> " << out << " (" << picture.Width() << " x " << picture.Height()
              << " pixels)\n";
    return 0;
}

}  // namespace

int RunInfoCommand(const std::vector<std::string>& files, std::ostream& out, std::ostream& err) {
    if (files.empty()) {
        err << "kobrix-cli info: no file given\n";
        return 2;
    }
    int status = 0;
    for (const std::string& file : files) {
        try {
            if (HasArchiveExtension(file)) {
                DescribeArchiveFile(out, file);
                continue;
            }
            const PictureFacts facts = Inspect(file);
            out << file << ": " << facts.width << " x " << facts.height << " pixels, "
                << PixelFormatName(facts.format);
            if (facts.frames) {
                out << ", " << *facts.frames << (*facts.frames == 1 ? " frame" : " frames");
            }
            out << '\n';
        } catch (const std::exception& e) {
            Report(err, file, e);
            status = 1;
        }
    }
    return status;
}

int RunConvertCommand(const std::string& in, const std::string& out, std::ostream& outStream,
                      std::ostream& err) {
    return Convert(in, out, std::nullopt, outStream, err);
}

int RunConvertCommand(const std::vector<std::string>& args, std::ostream& outStream,
                      std::ostream& err) {
    std::vector<std::string> files;
    std::optional<double> stretch;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] != "--stretch") {
            files.push_back(args[i]);
            continue;
        }
        const std::string value = i + 1 < args.size() ? args[++i] : std::string();
        char* end = nullptr;
        const double p = std::strtod(value.c_str(), &end);
        if (value.empty() || *end != '\0' || !std::isfinite(p) || p < 0 || p > 49.9) {
            err << "kobrix-cli convert: --stretch takes a percentage from 0 to 49.9\n";
            return 2;
        }
        stretch = p;
    }
    if (files.size() != 2) {
        err << "kobrix-cli convert: give IN and OUT\n";
        return 2;
    }
    return Convert(files[0], files[1], stretch, outStream, err);
}

}  // namespace kobrix::cli
