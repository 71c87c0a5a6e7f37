// Reading a whole file into memory: how the capture, the tests and the benchmark get their images.
#pragma once

#include <vector>

// Appends the file's bytes; false when it cannot be opened or read to the end.
bool ReadFileImage(const char* path, std::vector<unsigned char>& bytes);
