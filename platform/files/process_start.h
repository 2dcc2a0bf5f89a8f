#pragma once

namespace sordanel {

// Readies a process that writes files for what its caller may have left it: standard input,
// output and error are opened on /dev/null where closed, so that no file the program opens
// takes descriptor 0, 1 or 2 and receives its messages; SIGPIPE and SIGXFSZ are ignored, so a
// write to a closed pipe or past the file size limit fails with EPIPE or EFBIG, which the
// program reports and cleans up after, instead of killing it mid-write.
void PrepareProcessForFiles();

}  // namespace sordanel
