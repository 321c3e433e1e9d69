// Temporary files beside the files they will replace: short names, so that a target name of
// any allowed length still has a temporary sibling, and removal when the program is stopped
// by Ctrl+C or a termination request before it could clean up itself.
#pragma once

#include <string>

// A fresh name such as ".veldra-1a2b3c4d"; creating it exclusively settles collisions.
std::string NewTemporaryName();

// Creates a new empty file with a name such as ".veldra-1a2b3c4d" in the folder open as
// `folderFd` (AT_FDCWD with `folder` for a path). Returns the descriptor, opened for writing,
// and the name in `name`; -1 with errno set when no file could be made.
int CreateTemporaryFileAt(int folderFd, const std::string& folder, std::string& name);

// While registered, a temporary file is removed if SIGINT or SIGTERM stops the program (once
// RemoveTemporaryFilesOnInterrupt was called). `folderFd` must stay open until Forget.
// Returns a handle for ForgetTemporaryFile; -1 when too many are registered at once, in which
// case only the owner's own clean-up removes it.
int RegisterTemporaryFile(int folderFd, const std::string& name);
void ForgetTemporaryFile(int handle);

// Installs the handlers for SIGINT and SIGTERM that remove the registered files and then let
// the signal stop the program as it would have. A signal the caller's parent ignores stays
// ignored.
void RemoveTemporaryFilesOnInterrupt();
