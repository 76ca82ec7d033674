#include "core/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

Result reason(int error) { return failed(std::strerror(error)); }

// 0 when every byte went out, else the errno.
int write_all(int fd, std::span<const uint8_t> bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return n < 0 ? errno : ENOSPC;
        done += static_cast<size_t>(n);
    }
    return 0;
}

Result write_direct(const std::string& path, std::span<const uint8_t> bytes)
{
    const int fd = open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return reason(errno);
    int error = write_all(fd, bytes);
    if (close(fd) != 0 && error == 0) error = errno;
    return error ? reason(error) : Result{};
}

// A hidden name beside path that no one else uses, created empty.
int create_temporary(const std::string& path, std::string& temp)
{
    const size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
    const std::string base = path.substr(folder.size());
    for (int n = 0; n < 100; ++n) {
        temp = folder + "." + base + "." + std::to_string(getpid()) + "-" + std::to_string(n) + ".tmp";
        const int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

// Gives the finished file a name that must be new: link() fails if the name
// appeared meanwhile. A file system without hard links (the browser's
// in-memory one) takes a rename while the name is still free.
int link_new(const std::string& temp, const std::string& path)
{
    if (link(temp.c_str(), path.c_str()) == 0) return 0;
    struct stat st {};
    if ((errno != EMLINK && errno != EPERM) || stat(path.c_str(), &st) == 0) return -1;
    return rename(temp.c_str(), path.c_str());
}

}  // namespace

Result write_file_atomically(const std::string& path, std::span<const uint8_t> bytes, bool replace)
{
    struct stat st {};
    if (stat(path.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode)) return reason(EISDIR);
        if (!S_ISREG(st.st_mode)) return replace ? write_direct(path, bytes) : reason(EEXIST);
    }
    std::string temp;
    const int fd = create_temporary(path, temp);
    if (fd < 0) return reason(errno);
    int error = write_all(fd, bytes);
    if (error == 0 && fsync(fd) != 0) error = errno;
    if (close(fd) != 0 && error == 0) error = errno;
    if (error == 0 && (replace ? rename(temp.c_str(), path.c_str()) : link_new(temp, path)) != 0) error = errno;
    if (error != 0 || !replace) unlink(temp.c_str());
    return error ? reason(error) : Result{};
}
