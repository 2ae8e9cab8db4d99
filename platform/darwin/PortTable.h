#pragma once
// The process's port name space: which rights each 32-bit port name denotes. A name may
// hold the receive right of a port (a ReceiveRight of this process), send rights to a
// port with a count of user references, or one send-once right. Every port is known by
// its socket address, and one name stands for one port, so looking a service up twice
// answers the same name with two references, as on the phone.
//
// Sends go through a SendChannel: the connection to the port's socket, made on the
// first send and kept for later ones. A channel whose peer has gone away reports it and
// forgets the connection; the name stays until its owner deallocates it.

#include "darwin/MessageWire.h"
#include "darwin/ReceiveRight.h"
#include "darwin/mach.h"

#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

namespace sim {

// Names that every process holds without allocating them.
inline constexpr mach_port_t kTaskSelfName = 0x103;
inline constexpr mach_port_t kBootstrapPortName = 0x203;

class SendChannel {
public:
    explicit SendChannel(std::string address) : m_address(std::move(address)) {}

    const std::string &address() const { return m_address; }

    // Sends one packet, connecting first when needed. Answers MACH_MSG_SUCCESS,
    // MACH_SEND_INVALID_DEST (nobody receives there any more), MACH_SEND_TIMED_OUT or
    // MACH_SEND_NO_BUFFER.
    [[nodiscard]] mach_msg_return_t send(const OutgoingMessage &packet, int timeoutMs);

    // After fork: forgets the parent's connection.
    void abandonInChild() { m_connection.reset(); }

private:
    std::mutex m_lock;
    const std::string m_address;
    OwnedFd m_connection;
};

class PortTable {
public:
    static PortTable &shared();

    mach_port_t insertReceiveRight(std::shared_ptr<ReceiveRight> right);
    // A send right to the port at `address`: a new reference when the process already
    // names that port.
    mach_port_t insertSendRight(const std::string &address);
    mach_port_t insertSendOnceRight(const std::string &address);

    std::shared_ptr<ReceiveRight> receiveRight(mach_port_t name);

    // Where a message whose header names `name` with `disposition` goes.
    [[nodiscard]] mach_msg_return_t channelFor(mach_port_t name, mach_msg_type_name_t disposition,
                                               std::shared_ptr<SendChannel> &channel);
    // The right a message hands to its receiver for `name` with `disposition`.
    [[nodiscard]] mach_msg_return_t replyRightFor(mach_port_t name,
                                                  mach_msg_type_name_t disposition,
                                                  ReplyRight &reply, std::string &address);
    // After a successful send: rights moved into the message leave this process.
    void consumeMoved(mach_port_t name, mach_msg_type_name_t disposition);

    // The port address of a name holding a receive or send right.
    std::optional<std::string> addressOf(mach_port_t name);

    kern_return_t deallocate(mach_port_t name);
    kern_return_t modifyReferences(mach_port_t name, mach_port_right_t right,
                                   mach_port_delta_t delta);

private:
    struct Entry {
        std::string address;
        std::shared_ptr<ReceiveRight> receive;
        std::shared_ptr<SendChannel> channel; // made on the first send
        std::uint32_t sendReferences = 0;
        bool sendOnce = false;
    };

    PortTable();
    static void lockBeforeFork();
    static void unlockAfterFork();
    static void resetInChild();

    mach_port_t insert(Entry entry);
    void eraseIfEmpty(std::map<mach_port_t, Entry>::iterator entry);
    kern_return_t modifyReceive(std::map<mach_port_t, Entry>::iterator entry,
                                mach_port_delta_t delta);
    kern_return_t modifySend(std::map<mach_port_t, Entry>::iterator entry, mach_port_delta_t delta);

    std::mutex m_lock;
    std::map<mach_port_t, Entry> m_entries;
    std::map<std::string, mach_port_t> m_namesByAddress; // receive and send rights only
    std::uint32_t m_nextIndex = 3;
};

} // namespace sim
