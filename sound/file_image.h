// Reading a whole file into memory: how the music start, the capture, the tests and the benchmark get their
// images.
#pragma once

#include <stddef.h>

#include <memory>
#include <vector>

enum class FileImageStatus { Read, NotFound, Unreadable, NoMemory };

// Reads the file as one block: opened "rb", its size found by seeking to its end, a block of that size
// allocated, the file read into it as one item. On anything but Read the block is empty.
FileImageStatus ReadFileImage(const char* path, std::unique_ptr<char[]>& bytes, size_t& size);
// The same into a vector; false when the file cannot be read whole.
bool ReadFileImage(const char* path, std::vector<unsigned char>& bytes);
