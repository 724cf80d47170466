#pragma once

#include <vector>

#include "standins/wx/wx_options.h"
#include "tools/fd_split/fd_split.h"

namespace stratocue::tools {

// Reads the national bulletin, the FD station list and the Alaska bulletin of the job,
// writes the seven <region>_fd1.txt files into the out folder (made when missing) and
// returns the bulletins written, in page order. Throws WxDataError on any file or data
// fault; files written before it stay.
std::vector<RegionalBulletin> runSplitJob(const standins::WxSplitJob& job);

}  // namespace stratocue::tools
