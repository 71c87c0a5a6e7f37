// ReadFileImage: one seek for the size, one block, one read.
#include "sound/file_image.h"

#include <stdio.h>

#include <new>

FileImageStatus ReadFileImage(const char* path, std::unique_ptr<char[]>& bytes, size_t& size)
{
    bytes.reset();
    size = 0;
    FILE* file = fopen(path, "rb");
    if (file == nullptr) {
        return FileImageStatus::NotFound;
    }
    fseek(file, 0, SEEK_END);
    const long length = ftell(file);
    fseek(file, 0, SEEK_SET);
    if (length < 0) {
        fclose(file);
        return FileImageStatus::Unreadable;
    }
    // An empty file still gets a block, so that its image is a valid pointer of length 0.
    bytes.reset(new (std::nothrow) char[length > 0 ? static_cast<size_t>(length) : 1]);
    if (bytes == nullptr) {
        fclose(file);
        return FileImageStatus::NoMemory;
    }
    const bool complete = length == 0 || fread(bytes.get(), static_cast<size_t>(length), 1, file) == 1;
    fclose(file);
    if (!complete) {
        bytes.reset();
        return FileImageStatus::Unreadable;
    }
    size = static_cast<size_t>(length);
    return FileImageStatus::Read;
}

bool ReadFileImage(const char* path, std::vector<unsigned char>& bytes)
{
    std::unique_ptr<char[]> block;
    size_t size = 0;
    if (ReadFileImage(path, block, size) != FileImageStatus::Read) {
        return false;
    }
    bytes.assign(block.get(), block.get() + size);
    return true;
}
