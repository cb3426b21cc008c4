#pragma once
// Runs an entry's uninstall command as a new process and waits for it to end.

#include <windows.h>

#include <cstddef>
#include <string_view>

// The longest command line that process creation takes whole: 32,767 units with the terminating
// zero. (Wine starts a longer one cut to this length.)
inline constexpr std::size_t kMaxCommandLength = 32766;

// Starts `command` exactly as given (the system finds the program from the start of the line),
// passes `show` to it as its first show state, and blocks until that process has ended; processes
// it starts in turn are not waited for. Returns the process's exit code, or -1 when nothing was
// started: creation failed, or the command is longer than kMaxCommandLength or holds a zero unit,
// since handing it over would run a shortened command.
int RunAndWait(std::wstring_view command, WORD show);
