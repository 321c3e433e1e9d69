// Fresh memory costs a page fault per 4 KiB page on first touch, several times what copying
// a file's bytes into it costs; the large arrays a model file fills ask for 2 MiB pages.
#pragma once

#include <cstdint>

// Advises 2 MiB pages for the whole ones inside [data, data + bytes), before it is first
// touched; arrays under 4 MiB are left alone. Only advice: where the system has no large pages
// to give, nothing changes.
void AdviseLargePages(void* data, std::int64_t bytes);
