#include "platform/PendingFile.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

int PendingFile::create(const std::string& target) {
    discard();
    const std::filesystem::path t(target);
    const std::string base = (t.parent_path() / t.stem()).string() + ".partial-" + std::to_string(getpid());
    // O_EXCL: the name is ours alone, never a file that was there before.
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = base;
        if (attempt) name += '-' + std::to_string(attempt);
        name += t.extension().string();
        const int fd = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            target_ = target;
            temporary_ = std::move(name);
            return fd;
        }
        if (errno != EEXIST) return -1;
    }
    return -1;
}

bool PendingFile::commit() {
    if (temporary_.empty() || std::rename(temporary_.c_str(), target_.c_str()) != 0) return false;
    temporary_.clear();
    return true;
}

void PendingFile::discard() {
    if (temporary_.empty()) return;
    unlink(temporary_.c_str());
    temporary_.clear();
}
