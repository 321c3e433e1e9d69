// Fresh memory costs a page fault per 4 KiB page on first touch, several times what copying
// a file's bytes into it costs. The arrays a model file fills are prepared for that.
#pragma once

#include <cstdint>

// Before [data, data + bytes) is first touched: advises 2 MiB pages for the whole ones inside
// an array of 4 MiB or more, and has the pages of an array of 256 KiB or more made present
// in one call, which costs a fraction of a fault per page. Only requests: where the system
// grants neither, the array fills as before.
void PrepareFreshArray(void* data, std::int64_t bytes);
