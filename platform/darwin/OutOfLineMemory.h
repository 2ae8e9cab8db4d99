#pragma once
// Out-of-line memory of Mach messages. The sender copies the bytes a descriptor points at
// into a memory file and seals it (no write, grow or shrink, no further seals), so the
// receiver may trust its size and contents once it holds the descriptor; the receiver maps
// the file privately and the received descriptor's address points at that mapping. The
// mapping then belongs to the process until vm_deallocate gives it back: received mappings
// are recorded here, and only those may be unmapped that way, so a stray vm_deallocate
// cannot unmap the heap.

#include "darwin/Socket.h"

#include <cstddef>

namespace sim {

// The largest out-of-line region one descriptor may carry.
inline constexpr size_t kMaxOutOfLineSize = 64u * 1024 * 1024;

// A sealed memory file holding a copy of `size` bytes at `address`; invalid on failure.
[[nodiscard]] OwnedFd makeSealedMemory(const void *address, size_t size);

// A private mapping of received out-of-line memory, unmapped on destruction unless the
// process adopted it.
class MappedRegion {
public:
    MappedRegion() = default;
    MappedRegion(MappedRegion &&other) noexcept;
    MappedRegion &operator=(MappedRegion &&other) noexcept;
    MappedRegion(const MappedRegion &) = delete;
    MappedRegion &operator=(const MappedRegion &) = delete;
    ~MappedRegion();

    // Maps `size` bytes of a sealed memory file; empty when the file is not sealed, is
    // shorter than `size`, or cannot be mapped.
    static MappedRegion mapSealed(int fd, size_t size);

    void *address() const { return m_address; }
    size_t size() const { return m_size; }
    bool valid() const { return m_address != nullptr; }

    // Hands the mapping to the process: it stays mapped until vm_deallocate.
    void adopt();

private:
    void *m_address = nullptr;
    size_t m_size = 0;
};

// Unmaps an adopted mapping that starts at `address`; false when none does.
[[nodiscard]] bool unmapAdopted(const void *address);

} // namespace sim
