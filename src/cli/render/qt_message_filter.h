// Keeps the toolkit quiet in veldra-cli: scripts read stderr, where a successful run must leave
// nothing and a failed one exactly the one line that names the file and the reason.
#pragma once

// Drops the toolkit's debug, info and warning messages (such as the note that
// XDG_RUNTIME_DIR is not set); critical and fatal ones still reach stderr. Setting
// VELDRA_DEBUG in the environment lets every message through.
void InstallQtMessageFilter();
