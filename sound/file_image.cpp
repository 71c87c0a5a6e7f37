// ReadFileImage: the file read in 64 KiB pieces.
#include "sound/file_image.h"

#include <cstdio>

bool ReadFileImage(const char* path, std::vector<unsigned char>& bytes)
{
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr) {
        return false;
    }
    unsigned char chunk[65536];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof(chunk), file)) > 0) {
        bytes.insert(bytes.end(), chunk, chunk + got);
    }
    const bool complete = std::ferror(file) == 0;
    std::fclose(file);
    return complete;
}
