// Where the show's data is read from: the folder --data names, else the first place holding all of
// it; a folder that cannot be used is named with the system's reason.
#include "app/DataDirectory.h"

#include "support/RunProgram.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// A folder holding the given parts of the data (empty files and folders are enough to find it).
fs::path dataFolder(const fs::path& dir, bool images, bool models, bool music) {
    fs::create_directories(dir);
    if (images) fs::create_directory(dir / "Images");
    if (models) fs::create_directory(dir / "Models");
    if (music) {
        fs::create_directory(dir / "Music");
        std::ofstream(dir / "Music/cq.mp3") << "x";
    }
    return dir;
}

// What the lookup says as an ordinary user: root passes every permission check, so as root the
// lookup runs in a child process that has become nobody.
std::string asOrdinaryUser(const std::function<std::string()>& look) {
    if (geteuid() != 0) return look();
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) return "pipe failed";
    const pid_t child = fork();
    if (child == 0) {
        close(pipeEnds[0]);
        if (setgid(65534) != 0 || setuid(65534) != 0) _exit(1);
        const std::string said = look();
        _exit(write(pipeEnds[1], said.data(), said.size()) == static_cast<ssize_t>(said.size()) ? 0 : 1);
    }
    close(pipeEnds[1]);
    std::string said;
    char buffer[4096];
    for (ssize_t n; (n = read(pipeEnds[0], buffer, sizeof buffer)) > 0;) said.append(buffer, n);
    close(pipeEnds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? said : "the child failed";
}

// A folder of mode 000 holding the whole data, readable again when the test ends.
struct LockedFolder {
    fs::path path;
    explicit LockedFolder(const fs::path& dir) : path(dataFolder(dir, true, true, true)) {
        fs::permissions(path, fs::perms::none);
    }
    ~LockedFolder() { fs::permissions(path, fs::perms::owner_all); }
};

TEST(DataDirectory, NamedFolderIsUsedOrRefusedWithTheSystemsReason) {
    const fs::path root = freshTempDir("data_named");
    const fs::path partial = dataFolder(root / "partial", false, true, false);
    EXPECT_EQ(findDataDirectory(partial.string(), {}).path, partial.string()) << "the loader names what it lacks";

    std::ofstream(root / "file") << "x";
    fs::create_directory_symlink("loop", root / "loop");
    fs::create_directory(root / "empty");
    const struct {
        fs::path named;
        const char* said;
    } refused[] = {
        {root / "missing", "' not found (it must hold Images/, Models/ and Music/)"},
        {root / "file", "' cannot be used: Not a directory"},
        {root / "file/sub", "' cannot be used: Not a directory"},
        {root / "loop", "' cannot be used: Too many levels of symbolic links"},
        {root / "empty", "' holds none of Images/, Models/ and Music/"},
    };
    for (const auto& r : refused) {
        const DataDirectory found = findDataDirectory(r.named.string(), {});
        EXPECT_TRUE(found.path.empty()) << r.named;
        EXPECT_EQ(found.error, "data directory '" + r.named.string() + r.said);
    }

    const LockedFolder locked(root / "locked");
    EXPECT_EQ(asOrdinaryUser([&] { return findDataDirectory(locked.path.string(), {}).error; }),
              "data directory '" + locked.path.string() + "' cannot be used: Permission denied");
}

TEST(DataDirectory, WithoutANameTheFirstPlaceHoldingAllOfTheDataIsTaken) {
    const fs::path root = freshTempDir("data_places");
    // A home folder with an Images/ of its own is passed over.
    const fs::path home = dataFolder(root / "home", true, false, false);
    const fs::path first = dataFolder(root / "first", true, true, true);
    const fs::path second = dataFolder(root / "second", true, true, true);
    const DataDirectory found =
        findDataDirectory("", {{home.string(), "the working directory"}, {first.string(), "installed"},
                               {second.string(), "the build's data"}});
    EXPECT_EQ(found.path, first.string());
    EXPECT_TRUE(found.error.empty());
}

TEST(DataDirectory, WhenNoPlaceHoldsTheDataEachPlaceIsNamedWithWhy) {
    const fs::path root = freshTempDir("data_nowhere");
    std::ofstream(root / "file") << "x";
    const LockedFolder locked(root / "locked");
    const std::vector<DataPlace> places = {
        {(root / "missing").string(), "a"},
        {(root / "file").string(), "b"},
        {dataFolder(root / "no-models", true, false, true).string(), "c"},
        {dataFolder(root / "no-music", true, true, false).string(), "d"},
        {locked.path.string(), "e"},
    };
    const std::string error = asOrdinaryUser([&] { return findDataDirectory("", places).error; });
    const std::string r = root.string();
    EXPECT_EQ(error, "the show's data (Images/, Models/ and Music/cq.mp3) was not found; looked in:\n"
                     "  " + r + "/missing (a): No such file or directory\n"
                     "  " + r + "/file (b): Not a directory\n"
                     "  " + r + "/no-models (c): no Models/\n"
                     "  " + r + "/no-music (d): no Music/cq.mp3\n"
                     "  " + r + "/locked (e): Permission denied\n"
                     "Name the folder that holds it with --data DIR.");
}

// The installed layout moved elsewhere and started through a link: the program finds the data
// beside its real location. That copy has no models, so the load failing on them shows it was
// this copy that was read and not the build's.
TEST(DataDirectory, ProgramReadsTheDataInstalledBesideItsRealLocation) {
    const fs::path root = freshTempDir("data_moved tree");
    fs::create_directories(root / "tree/bin");
    fs::copy_file(CASTRELLE_TEST_BINARY, root / "tree/bin/castrelle");
    const fs::path data = dataFolder(root / "tree/share/castrelle-quillmere", false, true, false);
    fs::create_directory_symlink(fs::path(dataDir()) / "Images", data / "Images");
    fs::create_directory_symlink(fs::path(dataDir()) / "Music", data / "Music");
    fs::create_directories(root / "links");
    fs::create_symlink(root / "tree/bin/castrelle", root / "links/castrelle");
    fs::create_directories(root / "elsewhere");

    const RunResult r = runProgramAt((root / "links/castrelle").string(), "--shot 0 --size 64x64 --no-music",
                                     (root / "elsewhere").string());
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_NE(r.err.find("Can't load file Models/"), std::string::npos) << r.err;
}

} // namespace
