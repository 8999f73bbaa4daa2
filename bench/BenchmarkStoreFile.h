#pragma once

#include <filesystem>
#include <string>
#include <unistd.h>

namespace Benchmark {

/// The store file a benchmark writes, starting from nothing: any file at its path is removed first, with
/// its -wal and -shm files. Without a path of the user's, it is a file in the temporary folder that is
/// removed again at the end.
class StoreFile {
public:
    StoreFile(std::string databasePath, const std::string& programName)
        : path_(std::move(databasePath))
        , isTemporary_(path_.empty()) {
        if (isTemporary_) {
            path_ = (std::filesystem::temp_directory_path() /
                     (programName + "-" + std::to_string(getpid()) + ".db"))
                        .string();
        }
        remove();
    }
    ~StoreFile() {
        if (isTemporary_) {
            remove();
        }
    }
    StoreFile(const StoreFile&) = delete;
    StoreFile& operator=(const StoreFile&) = delete;

    const std::string& path() const { return path_; }

private:
    void remove() const {
        for (const char* suffix : {"", "-wal", "-shm"}) {
            std::filesystem::remove(path_ + suffix);
        }
    }

    std::string path_;
    bool isTemporary_;
};

} // namespace Benchmark
