#include "platform/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace vs::platform {

namespace fs = std::filesystem;

ReadResult readFile(const fs::path& file, size_t maxBytes, std::string& out) {
    out.clear();
    int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return errno == ENOENT ? ReadResult::Missing : ReadResult::Failed;
    ReadResult result = ReadResult::Ok;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        result = ReadResult::Failed;
    } else if (uint64_t(st.st_size) > maxBytes) {
        result = ReadResult::TooLarge;
    } else {
        char buf[65536];
        for (;;) {
            ssize_t n = ::read(fd, buf, sizeof buf);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) {
                result = ReadResult::Failed;
                break;
            }
            if (n == 0) break;
            // The file may grow while it is read.
            if (out.size() + size_t(n) > maxBytes) {
                result = ReadResult::TooLarge;
                break;
            }
            out.append(buf, size_t(n));
        }
    }
    ::close(fd);
    if (result != ReadResult::Ok) out.clear();
    return result;
}

bool writeFileAtomically(const fs::path& file, std::string_view bytes, unsigned mode,
                         std::string* error) {
    const fs::path dir = file.has_parent_path() ? file.parent_path() : fs::path(".");
    std::string tmp = (dir / ("." + file.filename().string() + ".XXXXXX")).string();
    int fd = ::mkstemp(tmp.data());
    // Gives up: the temporary file goes, the reason stays.
    auto fail = [&](const char* what) {
        const int saved = errno;
        if (fd >= 0) ::close(fd);
        if (!tmp.empty()) ::unlink(tmp.c_str());
        if (error) *error = std::string(what) + ": " + std::strerror(saved);
        return false;
    };
    if (fd < 0) {
        tmp.clear();
        return fail("cannot create a temporary file");
    }
    if (::fchmod(fd, mode_t(mode)) != 0) return fail("chmod");
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return fail("write");
        done += size_t(n);
    }
    if (::fsync(fd) != 0) return fail("fsync");
    const int closed = ::close(fd);
    fd = -1;
    if (closed != 0) return fail("close");
    if (::rename(tmp.c_str(), file.c_str()) != 0) return fail("rename");
    // The rename itself lasts once the directory is synced.
    int dfd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
        ::fsync(dfd);
        ::close(dfd);
    }
    return true;
}

}  // namespace vs::platform
