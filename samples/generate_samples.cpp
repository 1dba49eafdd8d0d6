// Writes the sample pictures: synthetic terrain under real-looking product names, a BMP, an
// animated GIF, a name outside the naming scheme and a text file.
//
//   kobrix_generate_samples OUTPUT_DIRECTORY [STAMP_FILE]
//
// The output is the same on every run.
#include <gif_lib.h>

#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "imaging/bmp_io.h"
#include "imaging/image_file.h"
#include "imaging/jpeg_io.h"
#include "samples/scenes.h"

namespace kobrix::samples {
namespace {

int AppendBytes(GifFileType* gif, const GifByteType* bytes, int count) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(gif->UserData);
    out->insert(out->end(), bytes, bytes + count);
    return count;
}

// Our GIF writer makes single frames, so the animation is put together here with giflib,
// in memory (giflib's own files would be readable by their owner only).
void WriteAnimatedGif(const std::string& path, const std::vector<Bitmap24>& frames,
                      int delayHundredths) {
    std::vector<std::uint8_t> bytes;
    int error = 0;
    GifFileType* gif = EGifOpen(&bytes, AppendBytes, &error);
    if (!gif) throw std::runtime_error(path + ": " + GifErrorString(error));
    const int width = frames.front().Width(), height = frames.front().Height();
    GifColorType greys[256];
    for (int i = 0; i < 256; ++i) {
        greys[i].Red = greys[i].Green = greys[i].Blue = static_cast<GifByteType>(i);
    }
    ColorMapObject* map = GifMakeMapObject(256, greys);
    EGifSetGifVersion(gif, true);
    bool ok = map && EGifPutScreenDesc(gif, width, height, 8, 0, map) == GIF_OK;
    // Loop for ever.
    const unsigned char loop[3] = {1, 0, 0};
    ok = ok && EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE) == GIF_OK &&
         EGifPutExtensionBlock(gif, 11, "NETSCAPE2.0") == GIF_OK &&
         EGifPutExtensionBlock(gif, 3, loop) == GIF_OK && EGifPutExtensionTrailer(gif) == GIF_OK;
    std::vector<GifPixelType> line(static_cast<std::size_t>(width));
    for (const Bitmap24& frame : frames) {
        GraphicsControlBlock control{DISPOSE_DO_NOT, false, delayHundredths, NO_TRANSPARENT_COLOR};
        GifByteType extension[4];
        const auto length = static_cast<int>(EGifGCBToExtension(&control, extension));
        ok = ok && EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, length, extension) == GIF_OK &&
             EGifPutImageDesc(gif, 0, 0, width, height, false, nullptr) == GIF_OK;
        for (int y = 0; ok && y < height; ++y) {
            const std::uint8_t* pixel = frame.Row(y);
            for (GifPixelType& grey : line) {
                grey = pixel[1];
                pixel += 3;
            }
            ok = EGifPutLine(gif, line.data(), width) == GIF_OK;
        }
    }
    const int failure = gif->Error;
    ok = EGifCloseFile(gif, &error) == GIF_OK && ok;
    GifFreeMapObject(map);
    if (!ok) throw std::runtime_error(path + ": " + GifErrorString(failure ? failure : error));
    WriteWholeFile(path, bytes);
}

void WriteText(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
    if (!out.flush()) throw std::runtime_error(path + ": cannot write");
}

void Generate(const std::filesystem::path& dir) {
    const auto at = [&dir](const char* name) { return (dir / name).string(); };

    // PANCAM stereo pair, filter 2 on both eyes, sol 1295 of Spirit.
    const TerrainView pancam{.hills = 0.08, .seed = 41};
    WriteJpegFile(RenderTerrain(pancam, -1), at("2P241329012EFFAUCTP2581L2M1.jpg"));
    WriteJpegFile(RenderTerrain(pancam, +1), at("2P241329012EFFAUCTP2581R2M1.jpg"));

    // One exposure through the left eye's filters 4, 5 and 6 (red, green, blue): the
    // brightness falls with the wavelength, so a composite comes out butterscotch.
    const TerrainView colour{.hills = 0.07, .rocks = 0.45, .seed = 17};
    WriteJpegFile(RenderTerrain(colour, -1, 1.0, 0.03), at("2P241328935EFFAUCTP2582L4M1.jpg"));
    WriteJpegFile(RenderTerrain(colour, -1, 0.8, 0.0), at("2P241328935EFFAUCTP2582L5M1.jpg"));
    WriteJpegFile(RenderTerrain(colour, -1, 0.58, -0.02), at("2P241328935EFFAUCTP2582L6M1.jpg"));

    const TerrainView navcam{
        .horizon = 0.38, .fieldOfView = 45, .baseline = 0.2, .hills = 0.04, .seed = 5};
    WriteJpegFile(RenderTerrain(navcam, -1), at("2N241329230EFFAUCTP1952L0M1.jpg"));
    WriteJpegFile(RenderTerrain(navcam, +1), at("2N241329230EFFAUCTP1952R0M1.jpg"));

    // Front HAZCAM: low and wide, mostly ground close to the wheels. No partner on purpose.
    const TerrainView hazcam{.horizon = 0.16,
                             .fieldOfView = 100,
                             .cameraHeight = 0.52,
                             .baseline = 0.1,
                             .hills = 0.03,
                             .rocks = 0.5,
                             .rockSize = 0.12,
                             .seed = 29};
    WriteJpegFile(RenderTerrain(hazcam, -1), at("2F241329405EFFAUCTP1214L0M1.jpg"));

    WriteJpegFile(RenderRockSurface(512, 3), at("2M241330101EFFAUCTP2936M1M1.jpg"));

    // Opportunity's NAVCAM on the rippled plains, as a BMP.
    const TerrainView plains{.width = 320,
                             .height = 320,
                             .horizon = 0.45,
                             .fieldOfView = 45,
                             .hills = 0.01,
                             .rocks = 0.04,
                             .ripples = 1.0,
                             .seed = 77};
    WriteBmpFile(RenderTerrain(plains, -1), at("1N241637757EFF8615P1999L0M1.bmp"));

    std::vector<Bitmap24> frames;
    for (int i = 0; i < 8; ++i) frames.push_back(RenderDustDevil(160, 120, 0.2 + 0.08 * i, 9));
    WriteAnimatedGif(at("2N241330800EDNAUCTP1980L0M1.gif"), frames, 25);

    WriteJpegFile(
        RenderTerrain({.width = 320, .height = 240, .horizon = 0.5, .fieldOfView = 60, .seed = 88},
                      0),
        at("rover_tracks.jpg"));

    WriteText(at("notes.txt"),
              "Sample pictures for trying the program. They are synthetic: terrain drawn by\n"
              "kobrix_generate_samples, named as the rovers' raw images are named.\n"
              "  2P241329012...L2M1 / R2M1  PANCAM stereo pair\n"
              "  2P241328935...L4M1, L5M1, L6M1  one PANCAM exposure through three filters\n"
              "  2N241329230...L0M1 / R0M1  NAVCAM stereo pair\n"
              "  2F241329405...L0M1  front HAZCAM, no partner\n"
              "  2M241330101...M1M1  microscopic imager\n"
              "  1N241637757...L0M1.bmp  Opportunity NAVCAM, as a BMP\n"
              "  2N241330800...L0M1.gif  animated: a dust devil crossing the plains\n"
              "  rover_tracks.jpg  a name outside the naming scheme\n"
              "  notes.txt  this file, which is not a picture\n");
}

}  // namespace
}  // namespace kobrix::samples

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::cerr << "usage: kobrix_generate_samples OUTPUT_DIRECTORY [STAMP_FILE]\n";
        return 2;
    }
    try {
        std::filesystem::create_directories(argv[1]);
        kobrix::samples::Generate(argv[1]);
        if (argc == 3) std::ofstream(argv[2]) << "samples written\n";
    } catch (const std::exception& e) {
        std::cerr << "kobrix_generate_samples: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
