#pragma once
// Opening the show's data files for reading. Only regular files (or links to them) are read: a
// FIFO or a device in a file's place would block the reading for ever or never end.

#include <cstdio>

// An open descriptor of a regular file, or -1 with errno set (EINVAL for anything not a regular
// file). The caller closes it.
int openDataFile(const char* path);

// The same as a stdio stream opened "rb", or null.
std::FILE* openDataStream(const char* path);

// Why openDataFile failed, from its errno, for messages: "not a regular file" or the system's reason.
const char* dataFileError(int error);
