#pragma once
// Where the show's data (Images/, Models/, Music/cq.mp3) is read from. The folder --data names is
// used as it is; without one, the first of these places that holds the whole data: the working
// directory (as the show was always run), the data installed with the program (found from the
// executable's real location, so a package, an unpacked archive or a moved tree reads its own),
// and the data of the build the program was made in. A folder that cannot be used is reported
// with the system's reason (permission denied, not a directory...), never as merely missing.

#include <string>
#include <vector>

struct DataPlace {
    std::string path;
    const char* what = ""; // for the message: "the working directory", ...
};

struct DataDirectory {
    std::string path;  // the folder to read from; empty when none can be used
    std::string error; // then why, as one message
};

// The places looked in without --data, in order. buildDataDir is the build's generated data.
std::vector<DataPlace> dataPlaces(const std::string& buildDataDir);

// The named folder when it can be entered and holds any of the data (what it lacks, the loader
// names file by file); without a name, the first place holding all of it.
DataDirectory findDataDirectory(const std::string& named, const std::vector<DataPlace>& places);

// Finds the data and makes it the working directory, where the loaders look. False with the
// message in error when there is none to be had.
bool enterDataDirectory(const std::string& named, const std::string& buildDataDir, std::string& error);
