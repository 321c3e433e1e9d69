#include "io/time_zone.h"

#include <stdlib.h>

void LoadLocalTimeZoneOnce() {
    // ":/etc/localtime" is the file the library reads when TZ is unset: the same zone, kept.
    ::setenv("TZ", ":/etc/localtime", 0);
}
