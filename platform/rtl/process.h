#pragma once
// Starting other programs: always with an argument vector (posix_spawn), never through a shell, so names with
// spaces, quotes or semicolons reach the program unchanged.
#include <string>
#include <vector>

struct TStartResult {
    bool Started = false;   // false: the program could not be started; Error says why
    int ExitCode = -1;      // when waited for: the exit status, or -1 when it was ended by a signal
    std::string Error;
};

// AArgs[0] is the program (searched on PATH when it holds no "/"). With AWait the call returns when the program
// ended; without, the program runs detached in its own session and is reaped in the background.
TStartResult StartProgram(const std::vector<std::string>& AArgs, bool AWait);

// Opens a file, a folder or an address (http:, mailto:) with the desktop's default program through xdg-open,
// detached. True when xdg-open was started; what it then does is not awaited.
bool OpenWithDefaultProgram(const std::string& ATarget);

// Percent-encodes every byte outside the unreserved set (letters, digits, "-", ".", "_", "~"), for the parts of a
// "mailto:" link (subject, body) and of a query.
std::string PercentEncode(const std::string& AText);
