#include "movie/core/movie_module.h"

#include <dlfcn.h>

#include <filesystem>
#include <mutex>
#include <system_error>

namespace kobrix {
namespace {

namespace fs = std::filesystem;

struct ModuleState {
    std::mutex mutex;
    std::string override;    // the one place to look, when set
    std::string loadedFrom;  // where `open` came from
    OpenMovieFunction open = nullptr;
};

ModuleState& State() {
    static ModuleState state;
    return state;
}

// The loader's reason, with the module's path in front when the loader left it out (as it
// does for a library the module needs).
std::string LoaderError(const std::string& path) {
    const char* reason = dlerror();
    std::string text = reason != nullptr ? reason : "unknown error";
    if (text.find(path) == std::string::npos) text = path + ": " + text;
    return "Movies cannot be played: " + text;
}

// The module at `path` loaded and its entry point found, or null with the reason.
OpenMovieFunction Load(const std::string& path, std::string& error) {
    // Every library FFmpeg needs is bound now, so that a missing one is reported here rather
    // than ending the program at the first call that needs it.
    void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (module == nullptr) {
        error = LoaderError(path);
        return nullptr;
    }
    void* entry = dlsym(module, kOpenMovieSymbol);
    if (entry == nullptr) {
        error = LoaderError(path);
        dlclose(module);
        return nullptr;
    }
    return reinterpret_cast<OpenMovieFunction>(entry);
}

}  // namespace

std::vector<std::string> MovieModulePlaces() {
    std::error_code ec;
    const fs::path program = fs::read_symlink("/proc/self/exe", ec);
    if (ec || program.empty()) return {};
    const fs::path folder = program.parent_path();
    return {(folder / kMovieModuleName).string(),
            (folder.parent_path() / "lib" / "kobrix" / kMovieModuleName).string()};
}

OpenMovieFunction LoadMovieModule(std::string& error) {
    ModuleState& state = State();
    const std::lock_guard lock(state.mutex);
    std::vector<std::string> places;
    if (!state.override.empty()) {
        places = {state.override};
    } else {
        places = MovieModulePlaces();
        if (places.empty()) {
            error = std::string("Movies cannot be played: the folder of the program, where ") +
                    kMovieModuleName + " is looked for, is unknown.";
            return nullptr;
        }
    }
    // The first place that holds a file decides; with none, the last place says what is
    // missing where the package would have put it.
    std::string path = places.back();
    for (const std::string& place : places) {
        std::error_code ec;
        if (fs::exists(place, ec)) {
            path = place;
            break;
        }
    }
    if (state.open != nullptr && state.loadedFrom == path) return state.open;
    OpenMovieFunction open = Load(path, error);
    if (open != nullptr) {
        state.open = open;
        state.loadedFrom = path;
    }
    return open;
}

void SetMovieModulePath(const std::string& path) {
    ModuleState& state = State();
    const std::lock_guard lock(state.mutex);
    state.override = path;
}

}  // namespace kobrix
