// ReadFileImage: the file read in 64 KiB pieces.
#include "sound/file_image.h"

#include <stdio.h>

bool ReadFileImage(const char* path, std::vector<unsigned char>& bytes)
{
    FILE* file = fopen(path, "rb");
    if (file == nullptr) {
        return false;
    }
    unsigned char chunk[65536];
    size_t got;
    while ((got = fread(chunk, 1, sizeof(chunk), file)) > 0) {
        bytes.insert(bytes.end(), chunk, chunk + got);
    }
    const bool complete = ferror(file) == 0;
    fclose(file);
    return complete;
}
