#include "app/DataDirectory.h"

#include "app/ShowFiles.h"

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace {

// The installed layout: the program in bin/ (games/ in the Debian package), its data in
// share/castrelle-quillmere/.
constexpr const char* kInstalledData = "../share/castrelle-quillmere";

// Why dir cannot be entered, as the system says it; empty when it can. Looking at "dir/." needs
// the same search permission as entering, so a folder of mode 000 is told apart from a missing one.
std::error_code whyNotEnterable(const fs::path& dir) {
    std::error_code ec;
    const fs::file_status status = fs::status(dir, ec);
    if (ec) return ec;
    if (!fs::is_directory(status)) return std::make_error_code(std::errc::not_a_directory);
    (void)fs::status(dir / ".", ec); // only its error matters
    return ec;
}

// What of the data an enterable folder lacks; empty when it holds all of it. A folder with only
// some of it (a home folder with an Images/ of its own) is not taken for the show's.
std::string missingData(const fs::path& dir) {
    std::error_code ec;
    if (!fs::is_directory(dir / "Images", ec)) return "no Images/";
    if (!fs::is_directory(dir / "Models", ec)) return "no Models/";
    if (!fs::is_regular_file(dir / kMusicFile, ec)) return std::string("no ") + kMusicFile;
    return {};
}

std::string whyNoData(const fs::path& dir) {
    const std::error_code ec = whyNotEnterable(dir);
    return ec ? ec.message() : missingData(dir);
}

DataDirectory namedDirectory(const std::string& dir) {
    const std::error_code ec = whyNotEnterable(dir);
    if (ec == std::errc::no_such_file_or_directory)
        return {{}, "data directory '" + dir + "' not found (it must hold Images/, Models/ and Music/)"};
    if (ec) return {{}, "data directory '" + dir + "' cannot be used: " + ec.message()};
    std::error_code ignored;
    for (const char* part : {"Images", "Models", "Music"})
        if (fs::exists(fs::path(dir) / part, ignored)) return {dir, {}};
    return {{}, "data directory '" + dir + "' holds none of Images/, Models/ and Music/"};
}

} // namespace

std::vector<DataPlace> dataPlaces(const std::string& buildDataDir) {
    std::vector<DataPlace> places;
    std::error_code ec;
    const fs::path here = fs::current_path(ec);
    places.push_back({ec ? "." : here.string(), "the working directory"});
    // The kernel's link names the executable itself, whatever symbolic links it was started through.
    const fs::path program = fs::read_symlink("/proc/self/exe", ec);
    if (!ec)
        places.push_back({(program.parent_path() / kInstalledData).lexically_normal().string(),
                          "installed with the program"});
    if (!buildDataDir.empty()) places.push_back({buildDataDir, "the build's data"});
    return places;
}

DataDirectory findDataDirectory(const std::string& named, const std::vector<DataPlace>& places) {
    if (!named.empty()) return namedDirectory(named);
    std::string tried;
    for (const DataPlace& place : places) {
        const std::string why = whyNoData(place.path);
        if (why.empty()) return {place.path, {}};
        tried += "\n  " + place.path + " (" + place.what + "): " + why;
    }
    return {{}, "the show's data (Images/, Models/ and " + std::string(kMusicFile) + ") was not found; looked in:" +
                    tried + "\nName the folder that holds it with --data DIR."};
}

bool enterDataDirectory(const std::string& named, const std::string& buildDataDir, std::string& error) {
    const DataDirectory data = findDataDirectory(named, named.empty() ? dataPlaces(buildDataDir)
                                                                      : std::vector<DataPlace>());
    if (data.path.empty()) {
        error = data.error;
        return false;
    }
    std::error_code ec;
    fs::current_path(data.path, ec);
    if (ec) error = "data directory '" + data.path + "' cannot be entered: " + ec.message();
    return !ec;
}
