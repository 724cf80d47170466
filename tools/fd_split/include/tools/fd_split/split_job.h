#pragma once

#include <string>
#include <vector>

#include "tools/fd_split/fd_split.h"

namespace stratocue::tools {

// The files of a national bulletin split into the seven regional bulletin files.
struct FdSplitJob {
    std::string nationalFile;
    std::string stationsFile;
    std::string alaskaFile;
    std::string outFolder;
};

// Reads the national bulletin, the FD station list and the Alaska bulletin of the job,
// writes the seven <region>_fd1.txt files into the out folder (made when missing) and
// returns the bulletins written, in page order. Throws FdSplitError on any file or data
// fault; files written before it stay.
std::vector<RegionalBulletin> runSplitJob(const FdSplitJob& job);

}  // namespace stratocue::tools
