// Movie playback on 1024 x 1024 frames: decoding every frame of a raw and an MJPEG movie into
// pictures against copying the same bytes, and the panel playing a raw movie at 30 frames a
// second by the real clock (frames shown and dropped). ffmpeg on the same files is timed by
// bench/playback_bench.sh.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QEventLoop>
#include <QTimer>
#include <QWidget>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "bench/ratio_reporter.h"
#include "movie/core/avi_writer.h"
#include "movie/core/movie_decoder.h"
#include "movie/movie_player.h"

namespace kobrix {
namespace {

constexpr int kSide = 1024;
constexpr int kFrames = 60;
const std::filesystem::path kDir = std::filesystem::temp_directory_path() / "kobrix-playback-bench";

Bitmap24 Frame(int i) {
    Bitmap24 frame(kSide, kSide);
    for (int y = 0; y < kSide; ++y) {
        std::uint8_t* row = frame.Row(y);
        for (int x = 0; x < kSide * 3; ++x) row[x] = static_cast<std::uint8_t>(x + y + 7 * i);
    }
    return frame;
}

std::string Raw() {
    return (kDir / "raw.avi").string();
}
std::string Mjpeg() {
    return (kDir / "mjpeg.avi").string();
}

void MakeMovies() {
    std::filesystem::create_directories(kDir);
    WriteMovieFromBitmaps(Raw(), kFrames, Frame, 30);
    const std::string command =
        "ffmpeg -nostdin -v error -y -i '" + Raw() + "' -c:v mjpeg -q:v 3 '" + Mjpeg() + "'";
    if (std::system(command.c_str()) != 0) std::filesystem::remove(Mjpeg());
}

void DecodeAll(benchmark::State& state, const std::string& path) {
    if (!std::filesystem::exists(path)) {
        state.SkipWithError("no movie (ffmpeg missing?)");
        return;
    }
    Bitmap24 frame;
    for (auto _ : state) {
        MovieDecoder movie(path);
        int frames = 0;
        while (movie.ReadFrame(frame) >= 0) ++frames;
        if (frames != kFrames) state.SkipWithError("frames missing");
    }
}
void DecodeRaw(benchmark::State& state) {
    DecodeAll(state, Raw());
}
void DecodeMjpeg(benchmark::State& state) {
    DecodeAll(state, Mjpeg());
}

void MemcpyFrames(benchmark::State& state) {
    const Bitmap24 source = Frame(0);
    Bitmap24 target(kSide, kSide);
    for (auto _ : state) {
        for (int i = 0; i < kFrames; ++i) {
            std::memcpy(target.Data(), source.Data(), source.SizeBytes());
            benchmark::ClobberMemory();
        }
    }
}

// The whole movie through the player into a 777 x 553 window, by the real clock.
void Playback30(benchmark::State& state) {
    for (auto _ : state) {
        QWidget window;
        window.resize(777, 553);
        window.show();
        MoviePlayer player;
        player.SetDisplayWindow(&window);
        player.Open(QString::fromStdString(Raw()));
        player.SetDisplayRect(QRect(0, 0, 553, 553));
        QEventLoop loop;
        QObject::connect(&player, &MoviePlayer::notified, &loop, &QEventLoop::quit);
        QTimer::singleShot(10000, &loop, &QEventLoop::quit);
        player.Play(-1, true);
        loop.exec();
        state.counters["shown"] = player.PresentedFrames();
        state.counters["dropped"] = player.DroppedFrames();
    }
}

BENCHMARK(DecodeRaw)->Unit(benchmark::kMillisecond);
BENCHMARK(DecodeMjpeg)->Unit(benchmark::kMillisecond);
BENCHMARK(MemcpyFrames)->Unit(benchmark::kMillisecond);
BENCHMARK(Playback30)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace kobrix

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    kobrix::MakeMovies();
    kobrix::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatio("DecodeRaw", "MemcpyFrames");
    reporter.PrintRatio("DecodeMjpeg", "MemcpyFrames");
    std::cout << "Playback30: " << kobrix::kFrames << " frames at 30 a second take "
              << 1000.0 * kobrix::kFrames / 30 << " ms by the clock\n";
    std::filesystem::remove_all(kobrix::kDir);
    benchmark::Shutdown();
    return 0;
}
