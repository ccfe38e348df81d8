// What a hostile folder plants for libvlc to load: a shared library that
// records being loaded in the file its environment names.

#include <cstdio>
#include <cstdlib>

__attribute__((constructor)) static void announceLoad()
{
    if (const char *marker = std::getenv("VELMORA_PLANTED_MARKER")) {
        if (std::FILE *file = std::fopen(marker, "w"))
            std::fclose(file);
    }
}
