#pragma once
// A file written under a temporary name beside its target and moved over the target only once it
// is whole, so a write that fails or is interrupted never destroys what was there. The temporary
// name keeps the target's extension: "show.mp4" is written as "show.partial-<pid>.mp4".

#include <string>

class PendingFile {
  public:
    PendingFile() = default;
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;
    ~PendingFile() { discard(); }

    // Creates the empty temporary file and returns its descriptor, which the caller closes; -1
    // with errno set when the target's folder refuses it.
    int create(const std::string& target);
    const std::string& path() const { return temporary_; }
    // Moves the file over the target. False with errno set when that fails.
    bool commit();
    // Removes the temporary file, if there is one.
    void discard();
    // Leaves the temporary file where it is, for good.
    void release() { temporary_.clear(); }

  private:
    std::string target_;
    std::string temporary_; // empty once committed or discarded
};
