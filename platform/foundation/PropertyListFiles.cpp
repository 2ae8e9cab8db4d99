// NSDictionary's property-list files (declared in NSDictionary.h).
//
// Paths are phone paths, resolved under the device root (sim::hostPath). Reading accepts
// whatever NSPropertyListSerialization reads (XML and binary; libplist 2.2 has no OpenStep
// parser) and answers nil unless the top level is a dictionary; only regular files are
// read (a FIFO or a device is refused rather than waited on), at most
// sim::kPropertyListMaxLength bytes.
//
// Writing is XML. An atomic write creates a uniquely named temporary file beside the target
// (".<name>.tmp-<pid>-<n>-<random>", created exclusively, mode 0666 less the umask, or the
// existing target's permission bits when there is one), writes every byte, fsyncs it and
// renames it over the target. Any failure before the rename removes the temporary file and
// leaves the old file untouched. A writer killed before its rename cannot remove its file,
// so each atomic write first removes the temporary files of the same target whose writer
// process no longer exists (the pid in the name); a live writer's file is left alone. The
// directory itself is not flushed: after a power loss the rename may be lost, leaving the
// previous complete file, never a broken one — and the settings panel writes on every
// change of a dragged slider, where a second flush per write would cost more than the frame
// it has. Missing directories are not created: a write into one fails. A non-atomic write
// truncates and writes the target directly.

#include "foundation/DeviceRoot.h"
#include "foundation/NSData.h"
#include "foundation/NSDictionary.h"
#include "foundation/NSPropertyList.h"
#include "foundation/NSString.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <dirent.h>
#include <fcntl.h>
#include <random>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    ~FileDescriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FileDescriptor(const FileDescriptor &) = delete;
    FileDescriptor &operator=(const FileDescriptor &) = delete;

    int get() const { return m_fd; }
    bool valid() const { return m_fd >= 0; }
    // Closes now, reporting the error close answers (a deferred write error, on NFS).
    bool close()
    {
        int fd = m_fd;
        m_fd = -1;
        return ::close(fd) == 0;
    }

private:
    int m_fd;
};

bool readWholeFile(const std::string &path, std::string &contents)
{
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (!file.valid())
        return false;
    struct stat info {};
    if (::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode) ||
        static_cast<unsigned long long>(info.st_size) > sim::kPropertyListMaxLength)
        return false;
    contents.resize(static_cast<std::size_t>(info.st_size) + 1);
    std::size_t filled = 0;
    for (;;) {
        if (filled == contents.size()) {
            if (contents.size() > sim::kPropertyListMaxLength)
                return false; // grew past the limit while being read
            contents.resize(
                std::min<std::size_t>(contents.size() * 2 + 4096, sim::kPropertyListMaxLength + 1));
        }
        ssize_t got = ::read(file.get(), contents.data() + filled, contents.size() - filled);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (got == 0)
            break;
        filled += static_cast<std::size_t>(got);
    }
    contents.resize(filled);
    return true;
}

bool writeAll(int fd, const std::uint8_t *bytes, std::size_t length)
{
    while (length > 0) {
        ssize_t written = ::write(fd, bytes, length);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes += written;
        length -= static_cast<std::size_t>(written);
    }
    return true;
}

std::string directoryOf(const std::string &path)
{
    std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

std::string fileNameOf(const std::string &path)
{
    std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Creates a new file beside `target` under a name no other writer uses; -1 on failure.
int createTemporaryBeside(const std::string &target, std::string &temporaryPath)
{
    static std::atomic<unsigned long> counter{0};
    thread_local std::mt19937_64 random{std::random_device{}()};
    std::string directory = directoryOf(target);
    std::string prefix = (directory == "/" ? "" : directory) + "/." +
                         fileNameOf(target).substr(0, 100) + ".tmp-" + std::to_string(::getpid()) +
                         "-";
    for (int attempt = 0; attempt < 64; ++attempt) {
        temporaryPath = prefix + std::to_string(counter.fetch_add(1)) + "-" +
                        std::to_string(random() & 0xFFFFFFFFu);
        int fd = ::open(temporaryPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW,
                        0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

// The writer's pid in a temporary file's name ("<pid>-<n>-<random>" after the prefix);
// 0 when the name does not hold one.
pid_t writerOf(std::string_view rest)
{
    pid_t pid = 0;
    std::size_t digits = 0;
    for (; digits < rest.size() && digits < 9 && rest[digits] >= '0' && rest[digits] <= '9';
         ++digits)
        pid = pid * 10 + (rest[digits] - '0');
    bool delimited = digits > 0 && digits < rest.size() && rest[digits] == '-';
    return delimited ? pid : 0;
}

void removeOrphanedTemporaries(const std::string &target)
{
    DIR *directory = ::opendir(directoryOf(target).c_str());
    if (!directory)
        return;
    std::string prefix = "." + fileNameOf(target).substr(0, 100) + ".tmp-";
    while (const dirent *entry = ::readdir(directory)) {
        std::string_view name = entry->d_name;
        if (name.substr(0, prefix.size()) != prefix)
            continue;
        pid_t writer = writerOf(name.substr(prefix.size()));
        if (writer <= 0 || writer == ::getpid())
            continue;
        if (::kill(writer, 0) != 0 && errno == ESRCH)
            ::unlinkat(::dirfd(directory), entry->d_name, 0);
    }
    ::closedir(directory);
}

bool writeAtomically(const std::string &target, const NSData *data)
{
    removeOrphanedTemporaries(target);
    std::string temporaryPath;
    FileDescriptor file(createTemporaryBeside(target, temporaryPath));
    if (!file.valid())
        return false;
    struct stat existing {};
    if (::stat(target.c_str(), &existing) == 0 && S_ISREG(existing.st_mode))
        (void)::fchmod(file.get(), existing.st_mode & 07777); // best effort
    bool written =
        writeAll(file.get(), static_cast<const std::uint8_t *>(data->bytes()), data->length()) &&
        ::fsync(file.get()) == 0;
    written = file.close() && written;
    if (!written || ::rename(temporaryPath.c_str(), target.c_str()) != 0) {
        ::unlink(temporaryPath.c_str());
        return false;
    }
    return true;
}

bool writeDirectly(const std::string &target, const NSData *data)
{
    FileDescriptor file(
        ::open(target.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOCTTY, 0666));
    if (!file.valid())
        return false;
    bool written =
        writeAll(file.get(), static_cast<const std::uint8_t *>(data->bytes()), data->length());
    return file.close() && written;
}

} // namespace

NSDictionary *NSDictionary::dictionaryWithContentsOfFile(NSString *path)
{
    if (!path || path->str().empty())
        return nil;
    std::string contents;
    if (!readWholeFile(sim::hostPath(path->str()), contents))
        return nil;
    StrongRef<objc_object> plist;
    {
        // The data refers to `contents` without copying: it must not outlive them.
        AutoreleasePool pool;
        plist = NSPropertyListSerialization::propertyListWithData(
            NSData::dataWithBytesNoCopy(contents.data(), contents.size()), NSPropertyListImmutable,
            nullptr, nullptr);
    }
    if (!plist || !msg<BOOL>(plist, "isKindOfClass:"_sel, NSDictionary::class_()))
        return nil;
    return static_cast<NSDictionary *>(autorelease(plist.leak()));
}

bool NSDictionary::writeToFile(NSString *path, bool atomically) const
{
    if (!path || path->str().empty())
        return false;
    AutoreleasePool pool;
    NSData *data = NSPropertyListSerialization::dataFromPropertyList(
        const_cast<NSDictionary *>(this), NSPropertyListXMLFormat_v1_0, nullptr);
    if (!data)
        return false;
    std::string target = sim::hostPath(path->str());
    return atomically ? writeAtomically(target, data) : writeDirectly(target, data);
}
