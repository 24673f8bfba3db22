#pragma once
// Without FFmpeg's headers, for the program's entry and the tests.

namespace media {

// Keeps the libraries' own chatter about damaged input off the terminal: every failure that
// matters reaches the caller as a MediaError anyway.
void QuietLibraryLogs();

}  // namespace media
