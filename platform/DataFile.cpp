#include "platform/DataFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

int openDataFile(const char* path) {
    // Non-blocking, so that opening a FIFO returns at once instead of waiting for a writer.
    const int fd = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return -1;
    struct stat info = {};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(fd);
        errno = EINVAL;
        return -1;
    }
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

std::FILE* openDataStream(const char* path) {
    const int fd = openDataFile(path);
    if (fd < 0) return nullptr;
    std::FILE* stream = fdopen(fd, "rb");
    if (!stream) close(fd);
    return stream;
}

const char* dataFileError(int error) { return error == EINVAL ? "not a regular file" : std::strerror(error); }
