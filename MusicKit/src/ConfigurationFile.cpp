#include "ConfigurationFile.h"

#include "MusicKit/ServiceConfiguration.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace MusicKit {
namespace {

constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";

[[noreturn]] void fail(const std::filesystem::path& path, const std::string& problem) {
    throw ServiceConfigurationError(path.string() + " " + problem);
}

std::string systemMessage(int error) {
    return std::strerror(error);
}

std::string kindOfNonRegularFile(mode_t mode) {
    if (S_ISDIR(mode)) {
        return "a folder";
    }
    if (S_ISFIFO(mode)) {
        return "a named pipe";
    }
    if (S_ISSOCK(mode)) {
        return "a socket";
    }
    return "a device";
}

void requireRegularFileWithinLimit(const std::filesystem::path& path, const struct stat& status) {
    if (!S_ISREG(status.st_mode)) {
        fail(path, "is not a regular file but " + kindOfNonRegularFile(status.st_mode) + ".");
    }
    if (static_cast<std::size_t>(status.st_size) > configurationFileLimit) {
        fail(path, "is too large (" + std::to_string(status.st_size) + " bytes; at most 1 MiB is read).");
    }
}

[[noreturn]] void failMissing(const std::filesystem::path& path) {
    std::error_code error;
    const auto target = std::filesystem::read_symlink(path, error);
    fail(path,
         "is a link to " + (error ? std::string("a file") : target.string()) + ", which does not exist.");
}

class FileDescriptor {
public:
    explicit FileDescriptor(int descriptor)
        : descriptor_(descriptor) {}
    ~FileDescriptor() { ::close(descriptor_); }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return descriptor_; }

private:
    int descriptor_;
};

std::string readAtMostLimit(const std::filesystem::path& path, int descriptor) {
    // One byte beyond the limit tells a file that grew since it was measured.
    std::string contents(configurationFileLimit + 1, '\0');
    std::size_t filled = 0;
    while (filled < contents.size()) {
        const auto count = ::read(descriptor, contents.data() + filled, contents.size() - filled);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count < 0) {
            fail(path, "cannot be read: " + systemMessage(errno) + ".");
        }
        if (count == 0) {
            break;
        }
        filled += static_cast<std::size_t>(count);
    }
    if (filled > configurationFileLimit) {
        fail(path, "is too large (at most 1 MiB is read).");
    }
    contents.resize(filled);
    return contents;
}

bool isBlank(std::string_view text) {
    return text.find_first_not_of(" \t\r\n") == std::string_view::npos;
}

} // namespace

std::optional<std::string> readConfigurationFile(const std::filesystem::path& path) {
    // Measured before opening, so that opening never has a device's side effects or waits for a pipe's
    // writer; the open descriptor is checked again in case the file was swapped in between.
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        const int error = errno;
        struct stat link {};
        if (error == ENOENT && ::lstat(path.c_str(), &link) == 0) {
            failMissing(path);
        }
        if (error == ENOENT) {
            return std::nullopt;
        }
        fail(path, "cannot be read: " + systemMessage(error) + ".");
    }
    requireRegularFileWithinLimit(path, status);

    const FileDescriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (file.get() < 0) {
        fail(path, "cannot be read: " + systemMessage(errno) + ".");
    }
    if (::fstat(file.get(), &status) != 0) {
        fail(path, "cannot be read: " + systemMessage(errno) + ".");
    }
    requireRegularFileWithinLimit(path, status);

    std::string contents = readAtMostLimit(path, file.get());
    if (contents.starts_with(byteOrderMark)) {
        contents.erase(0, byteOrderMark.size());
    }
    if (isBlank(contents)) {
        fail(path, "is empty.");
    }
    return contents;
}

} // namespace MusicKit
