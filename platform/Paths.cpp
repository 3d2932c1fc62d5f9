#include "platform/Paths.h"

#include "platform/Debug.h"
#include "platform/FileLimits.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <strings.h>

namespace vorn::platform {

namespace {

bool pathExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

std::string joinPath(const std::string& dir, const std::string& name) {
    if (dir.empty()) return name;
    if (dir.back() == '/') return dir + name;
    return dir + "/" + name;
}

// The entry of dir whose name equals name ignoring ASCII case, first in listing order.
std::optional<std::string> findCaseInsensitive(const std::string& dir, const std::string& name) {
    auto entries = listDirectory(dir.empty() ? "." : dir);
    if (!entries) return std::nullopt;
    for (const auto& entry : *entries)
        if (::strcasecmp(entry.name.c_str(), name.c_str()) == 0) return entry.name;
    return std::nullopt;
}

}  // namespace

std::string resolvePath(std::string_view path) {
    std::string slashed(path);
    std::replace(slashed.begin(), slashed.end(), '\\', '/');
    if (slashed.empty() || pathExists(slashed)) return slashed;

    // Walk the components, correcting case where the exact name is missing.
    std::string resolved = slashed.front() == '/' ? "/" : "";
    std::size_t pos = 0;
    bool matching = true;
    while (pos <= slashed.size()) {
        std::size_t end = slashed.find('/', pos);
        if (end == std::string::npos) end = slashed.size();
        std::string component = slashed.substr(pos, end - pos);
        pos = end + 1;
        if (component.empty()) continue;
        std::string candidate = joinPath(resolved, component);
        if (matching && component != "." && component != ".." && !pathExists(candidate)) {
            if (auto found = findCaseInsensitive(resolved, component))
                candidate = joinPath(resolved, *found);
            else
                matching = false;  // the rest cannot exist; keep it as written
        }
        resolved = candidate;
    }
    return resolved;
}

namespace {

std::string sizeText(std::size_t bytes) {
    if (bytes >= kMiB && bytes % kMiB == 0) return std::to_string(bytes / kMiB) + " MiB";
    if (bytes >= 1024 && bytes % 1024 == 0) return std::to_string(bytes / 1024) + " KiB";
    return std::to_string(bytes) + " bytes";
}

std::string typeProblem(mode_t mode) { return S_ISDIR(mode) ? "is a directory" : "is not a regular file"; }

// The descriptor of a regular file, or -1 with the reason. The name is looked
// at first, so that a device or FIFO is not even opened; the open itself does
// not block and the type is decided again on the descriptor, in case the name
// was replaced in between. Writing never truncates here: the caller empties
// the file once it is known to be regular.
int openRegular(std::string_view path, int flags, std::size_t maxBytes, std::string* whyNot) {
    auto fail = [&](std::string reason) {
        if (whyNot) *whyNot = std::move(reason);
        return -1;
    };
    std::string resolved = resolvePath(path);
    struct stat st {};
    if (::stat(resolved.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) return fail(typeProblem(st.st_mode));

    int fd = ::open(resolved.c_str(), flags | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
    if (fd < 0) return fail(errno == EISDIR ? "is a directory" : std::strerror(errno));
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) ||
        ((flags & O_ACCMODE) != O_WRONLY && std::size_t(st.st_size) > maxBytes)) {
        std::string reason = S_ISREG(st.st_mode) ? "is larger than " + sizeText(maxBytes) : typeProblem(st.st_mode);
        ::close(fd);
        return fail(std::move(reason));
    }
    // Regular files never block; later reads and writes behave as usual.
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

}  // namespace

std::FILE* openFile(std::string_view path, const char* mode, std::string* whyNot, std::size_t maxBytes) {
    std::string_view m(mode);
    bool plus = m.find('+') != std::string_view::npos;
    int flags = 0;
    switch (m.empty() ? 'r' : m.front()) {
        case 'w': flags = (plus ? O_RDWR : O_WRONLY) | O_CREAT; break;
        case 'a': flags = (plus ? O_RDWR : O_WRONLY) | O_CREAT | O_APPEND; break;
        default: flags = plus ? O_RDWR : O_RDONLY; break;
    }
    int fd = openRegular(path, flags, maxBytes, whyNot);
    if (fd < 0) return nullptr;
    if (!m.empty() && m.front() == 'w' && ::ftruncate(fd, 0) != 0) {
        if (whyNot) *whyNot = std::strerror(errno);
        ::close(fd);
        return nullptr;
    }
    std::FILE* file = ::fdopen(fd, mode);
    if (!file) {
        if (whyNot) *whyNot = std::strerror(errno);
        ::close(fd);
    }
    return file;
}

std::optional<std::vector<uint8_t>> readFile(std::string_view path, std::size_t maxBytes, std::string* whyNot) {
    auto fail = [&](std::string reason) -> std::optional<std::vector<uint8_t>> {
        if (whyNot) *whyNot = std::move(reason);
        return std::nullopt;
    };
    int fd = openRegular(path, O_RDONLY, maxBytes, whyNot);
    if (fd < 0) return std::nullopt;
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};

    struct stat st {};
    if (::fstat(fd, &st) != 0) return fail(std::strerror(errno));
    auto tooLarge = [&] { return fail("is larger than " + sizeText(maxBytes)); };

    // One byte more than the size, so that the read that finds the end needs
    // no larger buffer: growing it would copy the whole file once more.
    std::vector<uint8_t> bytes(std::size_t(st.st_size) + 1);
    std::size_t got = 0;
    for (;;) {
        if (got == bytes.size()) {  // the file has grown since fstat
            if (bytes.size() >= maxBytes + 1) return tooLarge();
            bytes.resize(std::min(maxBytes + 1, std::max<std::size_t>(bytes.size() * 2, 65536)));
        }
        ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return fail(std::strerror(errno));
        if (n == 0) break;
        got += std::size_t(n);
    }
    if (got > maxBytes) return tooLarge();
    bytes.resize(got);
    return bytes;
}

std::string displayPath(std::string_view path) { return shortenMiddle(resolvePath(path)); }

bool writeFile(std::string_view path, std::span<const uint8_t> bytes, std::string* whyNot) {
    std::FILE* file = openFile(path, "wb", whyNot);
    if (!file) return false;
    bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    if (std::fclose(file) == 0 && written) return true;
    if (whyNot) *whyNot = std::strerror(errno);
    return false;
}

bool fileExists(std::string_view path) { return pathExists(resolvePath(path)); }

bool isDirectory(std::string_view path) {
    struct stat st {};
    return ::stat(resolvePath(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool makeDirectory(std::string_view path) {
    std::string resolved = resolvePath(path);
    if (::mkdir(resolved.c_str(), 0777) == 0) return true;
    return errno == EEXIST && isDirectory(resolved);
}

std::string currentDirectory() {
    char buffer[PATH_MAX];
    if (!::getcwd(buffer, sizeof buffer)) return ".";
    return buffer;
}

bool changeDirectory(std::string_view path) { return ::chdir(resolvePath(path).c_str()) == 0; }

std::optional<std::vector<DirectoryEntry>> listDirectory(std::string_view path) {
    std::string dirPath = path.empty() ? std::string(".") : resolvePath(path);
    DIR* dir = ::opendir(dirPath.c_str());
    if (!dir) return std::nullopt;
    std::vector<DirectoryEntry> entries;
    while (dirent* entry = ::readdir(dir)) {
        std::string name = entry->d_name;
        if (name == "." || name == "..") continue;
        struct stat st {};
        bool directory = ::stat(joinPath(dirPath, name).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
        entries.push_back({name, directory});
    }
    ::closedir(dir);
    std::sort(entries.begin(), entries.end(), [](const DirectoryEntry& a, const DirectoryEntry& b) {
        int c = ::strcasecmp(a.name.c_str(), b.name.c_str());
        return c != 0 ? c < 0 : a.name < b.name;
    });
    return entries;
}

}  // namespace vorn::platform
