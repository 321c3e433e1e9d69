// The C library looks the local time zone up again (a stat of /etc/localtime) at every time
// conversion while TZ is unset, and libzip converts the time stamp of every archive entry when
// it opens an archive: a third of the cost of opening a game archive. Naming the same zone in
// TZ lets the library load it once. Call at the start of main, before any thread exists.
#pragma once

void LoadLocalTimeZoneOnce();
