#include "darwin/OutOfLineMemory.h"

#include <fcntl.h>
#include <map>
#include <mutex>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace sim {

namespace {

constexpr int kRequiredSeals = F_SEAL_SEAL | F_SEAL_SHRINK | F_SEAL_GROW | F_SEAL_WRITE;

// Received mappings that the process owns: start address to length. There won't be many
// (the receiver gives each back after reading it), so a map under one lock is enough.
struct AdoptedMappings {
    std::mutex lock;
    std::map<const void *, size_t> lengths;
};

AdoptedMappings &adoptedMappings()
{
    static auto *mappings = new AdoptedMappings;
    return *mappings;
}

[[nodiscard]] bool writeAll(int fd, const std::byte *bytes, size_t size)
{
    while (size > 0) {
        ssize_t written = write(fd, bytes, size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        bytes += written;
        size -= static_cast<size_t>(written);
    }
    return true;
}

} // namespace

OwnedFd makeSealedMemory(const void *address, size_t size)
{
    OwnedFd fd(memfd_create("mach-ool", MFD_CLOEXEC | MFD_ALLOW_SEALING));
    if (!fd.valid())
        return {};
    if (!writeAll(fd.get(), static_cast<const std::byte *>(address), size) ||
        fcntl(fd.get(), F_ADD_SEALS, kRequiredSeals) != 0)
        return {};
    return fd;
}

MappedRegion::MappedRegion(MappedRegion &&other) noexcept
    : m_address(std::exchange(other.m_address, nullptr)), m_size(std::exchange(other.m_size, 0))
{
}

MappedRegion &MappedRegion::operator=(MappedRegion &&other) noexcept
{
    if (this != &other) {
        if (m_address)
            munmap(m_address, m_size);
        m_address = std::exchange(other.m_address, nullptr);
        m_size = std::exchange(other.m_size, 0);
    }
    return *this;
}

MappedRegion::~MappedRegion()
{
    if (m_address)
        munmap(m_address, m_size);
}

MappedRegion MappedRegion::mapSealed(int fd, size_t size)
{
    MappedRegion region;
    struct stat info {};
    int seals = fcntl(fd, F_GET_SEALS);
    if (size == 0 || seals < 0 || (seals & kRequiredSeals) != kRequiredSeals ||
        fstat(fd, &info) != 0 || static_cast<size_t>(info.st_size) < size)
        return region;
    // Private and writable like memory the kernel hands over; writes stay in this process.
    void *address = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE, fd, 0);
    if (address == MAP_FAILED)
        return region;
    region.m_address = address;
    region.m_size = size;
    return region;
}

void MappedRegion::adopt()
{
    if (!m_address)
        return;
    AdoptedMappings &mappings = adoptedMappings();
    std::lock_guard lock(mappings.lock);
    mappings.lengths[m_address] = m_size;
    m_address = nullptr;
    m_size = 0;
}

bool unmapAdopted(const void *address)
{
    AdoptedMappings &mappings = adoptedMappings();
    size_t length;
    {
        std::lock_guard lock(mappings.lock);
        auto found = mappings.lengths.find(address);
        if (found == mappings.lengths.end())
            return false;
        length = found->second;
        mappings.lengths.erase(found);
    }
    munmap(const_cast<void *>(address), length);
    return true;
}

} // namespace sim
