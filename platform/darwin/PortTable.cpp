#include "darwin/PortTable.h"

#include <cerrno>
#include <pthread.h>

namespace sim {

namespace {

// A user reference count beyond this is refused, as on the phone.
constexpr std::uint32_t kMaxUserReferences = 0xfffe;

bool receiverIsGone(int error)
{
    return error == ECONNREFUSED || error == ENOENT || error == ENOTSOCK || error == ECONNRESET ||
           error == ENOTDIR;
}

} // namespace

mach_msg_return_t SendChannel::send(const OutgoingMessage &packet, int timeoutMs)
{
    std::lock_guard lock(m_lock);
    if (!m_connection.valid()) {
        m_connection = connectTo(portSocketPath(m_address));
        if (!m_connection.valid())
            return receiverIsGone(errno) ? MACH_SEND_INVALID_DEST : MACH_SEND_NO_BUFFER;
    }
    std::vector<int> files;
    for (const OwnedFd &file : packet.memoryFiles)
        files.push_back(file.get());
    switch (sendPacket(m_connection.get(), packet.bytes, files, timeoutMs)) {
    case SendStatus::Sent:
        return MACH_MSG_SUCCESS;
    case SendStatus::TimedOut:
        return MACH_SEND_TIMED_OUT;
    case SendStatus::PeerGone:
        m_connection.reset();
        return MACH_SEND_INVALID_DEST;
    case SendStatus::Failed:
        break;
    }
    return MACH_SEND_NO_BUFFER;
}

PortTable &PortTable::shared()
{
    // Never destroyed: threads and exit handlers may still send while the process ends.
    static PortTable *table = new PortTable;
    return *table;
}

PortTable::PortTable()
{
    pthread_atfork(lockBeforeFork, unlockAfterFork, resetInChild);
}

void PortTable::lockBeforeFork()
{
    shared().m_lock.lock();
}

void PortTable::unlockAfterFork()
{
    shared().m_lock.unlock();
}

// A forked child is a new task: it starts without the parent's rights. The parent's
// entries are left behind unfreed (a thread of the parent may have held one of their
// locks at the fork), after the child closed its copies of their descriptors.
void PortTable::resetInChild()
{
    PortTable &table = shared();
    auto *abandoned = new std::map<mach_port_t, Entry>(std::move(table.m_entries));
    for (auto &[name, entry] : *abandoned) {
        if (entry.receive)
            entry.receive->abandonInChild();
        if (entry.channel)
            entry.channel->abandonInChild();
    }
    table.m_entries.clear();
    table.m_namesByAddress.clear();
    table.m_lock.unlock();
}

mach_port_t PortTable::insert(Entry entry)
{
    // Names look like the phone's: an index above a generation byte of 3.
    mach_port_t name;
    do {
        name = (m_nextIndex << 8) | 0x03;
        m_nextIndex = m_nextIndex >= 0xffffff ? 3 : m_nextIndex + 1;
    } while (m_entries.count(name) || name == kTaskSelfName || name == kBootstrapPortName);
    if (!entry.sendOnce)
        m_namesByAddress[entry.address] = name;
    m_entries.emplace(name, std::move(entry));
    return name;
}

mach_port_t PortTable::insertReceiveRight(std::shared_ptr<ReceiveRight> right)
{
    std::lock_guard lock(m_lock);
    std::string address = right->address();
    return insert(Entry{std::move(address), std::move(right), nullptr, 0, false});
}

mach_port_t PortTable::insertSendRight(const std::string &address)
{
    std::lock_guard lock(m_lock);
    auto known = m_namesByAddress.find(address);
    if (known != m_namesByAddress.end()) {
        Entry &entry = m_entries.at(known->second);
        if (entry.sendReferences < kMaxUserReferences)
            ++entry.sendReferences;
        return known->second;
    }
    return insert(Entry{address, nullptr, nullptr, 1, false});
}

mach_port_t PortTable::insertSendOnceRight(const std::string &address)
{
    std::lock_guard lock(m_lock);
    return insert(Entry{address, nullptr, nullptr, 0, true});
}

std::shared_ptr<ReceiveRight> PortTable::receiveRight(mach_port_t name)
{
    std::lock_guard lock(m_lock);
    auto entry = m_entries.find(name);
    return entry == m_entries.end() ? nullptr : entry->second.receive;
}

mach_msg_return_t PortTable::channelFor(mach_port_t name, mach_msg_type_name_t disposition,
                                        std::shared_ptr<SendChannel> &channel)
{
    std::lock_guard lock(m_lock);
    auto found = m_entries.find(name);
    if (found == m_entries.end())
        return MACH_SEND_INVALID_DEST;
    Entry &entry = found->second;
    bool allowed = false;
    switch (disposition) {
    case MACH_MSG_TYPE_COPY_SEND:
    case MACH_MSG_TYPE_MOVE_SEND:
        allowed = entry.sendReferences > 0;
        break;
    case MACH_MSG_TYPE_MOVE_SEND_ONCE:
        allowed = entry.sendOnce;
        break;
    case MACH_MSG_TYPE_MAKE_SEND:
    case MACH_MSG_TYPE_MAKE_SEND_ONCE:
        allowed = entry.receive != nullptr;
        break;
    default:
        return MACH_SEND_INVALID_HEADER;
    }
    if (!allowed)
        return MACH_SEND_INVALID_DEST;
    if (!entry.channel)
        entry.channel = std::make_shared<SendChannel>(entry.address);
    channel = entry.channel;
    return MACH_MSG_SUCCESS;
}

mach_msg_return_t PortTable::replyRightFor(mach_port_t name, mach_msg_type_name_t disposition,
                                           ReplyRight &reply, std::string &address)
{
    reply = ReplyRight::None;
    address.clear();
    if (name == MACH_PORT_NULL)
        return MACH_MSG_SUCCESS;
    std::lock_guard lock(m_lock);
    auto found = m_entries.find(name);
    if (found == m_entries.end())
        return MACH_SEND_INVALID_REPLY;
    const Entry &entry = found->second;
    switch (disposition) {
    case MACH_MSG_TYPE_MAKE_SEND:
    case MACH_MSG_TYPE_MAKE_SEND_ONCE:
        if (!entry.receive)
            return MACH_SEND_INVALID_REPLY;
        break;
    case MACH_MSG_TYPE_COPY_SEND:
    case MACH_MSG_TYPE_MOVE_SEND:
        if (entry.sendReferences == 0)
            return MACH_SEND_INVALID_REPLY;
        break;
    case MACH_MSG_TYPE_MOVE_SEND_ONCE:
        if (!entry.sendOnce)
            return MACH_SEND_INVALID_REPLY;
        break;
    default:
        return MACH_SEND_INVALID_HEADER;
    }
    bool once =
        disposition == MACH_MSG_TYPE_MAKE_SEND_ONCE || disposition == MACH_MSG_TYPE_MOVE_SEND_ONCE;
    reply = once ? ReplyRight::SendOnce : ReplyRight::Send;
    address = entry.address;
    return MACH_MSG_SUCCESS;
}

void PortTable::consumeMoved(mach_port_t name, mach_msg_type_name_t disposition)
{
    std::lock_guard lock(m_lock);
    auto found = m_entries.find(name);
    if (found == m_entries.end())
        return;
    if (disposition == MACH_MSG_TYPE_MOVE_SEND_ONCE) {
        found->second.sendOnce = false;
        eraseIfEmpty(found);
    } else if (disposition == MACH_MSG_TYPE_MOVE_SEND && found->second.sendReferences > 0) {
        --found->second.sendReferences;
        eraseIfEmpty(found);
    }
}

std::optional<std::string> PortTable::addressOf(mach_port_t name)
{
    std::lock_guard lock(m_lock);
    auto found = m_entries.find(name);
    if (found == m_entries.end() || found->second.sendOnce)
        return std::nullopt;
    return found->second.address;
}

void PortTable::eraseIfEmpty(std::map<mach_port_t, Entry>::iterator entry)
{
    const Entry &rights = entry->second;
    if (rights.receive || rights.sendReferences > 0 || rights.sendOnce)
        return;
    auto byAddress = m_namesByAddress.find(rights.address);
    if (byAddress != m_namesByAddress.end() && byAddress->second == entry->first)
        m_namesByAddress.erase(byAddress);
    m_entries.erase(entry);
}

kern_return_t PortTable::deallocate(mach_port_t name)
{
    if (name == kTaskSelfName || name == kBootstrapPortName || name == MACH_PORT_NULL ||
        name == MACH_PORT_DEAD)
        return KERN_SUCCESS;
    std::lock_guard lock(m_lock);
    auto found = m_entries.find(name);
    if (found == m_entries.end())
        return KERN_INVALID_NAME;
    if (found->second.sendOnce)
        found->second.sendOnce = false;
    else if (found->second.sendReferences > 0)
        --found->second.sendReferences;
    else
        return KERN_INVALID_RIGHT;
    eraseIfEmpty(found);
    return KERN_SUCCESS;
}

kern_return_t PortTable::modifyReferences(mach_port_t name, mach_port_right_t right,
                                          mach_port_delta_t delta)
{
    std::lock_guard lock(m_lock);
    auto found = m_entries.find(name);
    if (found == m_entries.end())
        return KERN_INVALID_NAME;
    switch (right) {
    case MACH_PORT_RIGHT_RECEIVE:
        return modifyReceive(found, delta);
    case MACH_PORT_RIGHT_SEND:
        return modifySend(found, delta);
    case MACH_PORT_RIGHT_SEND_ONCE:
        if (!found->second.sendOnce)
            return KERN_INVALID_RIGHT;
        if (delta < -1 || delta > 0)
            return KERN_INVALID_VALUE;
        if (delta == -1) {
            found->second.sendOnce = false;
            eraseIfEmpty(found);
        }
        return KERN_SUCCESS;
    case MACH_PORT_RIGHT_DEAD_NAME:
    case MACH_PORT_RIGHT_PORT_SET:
        return KERN_INVALID_RIGHT;
    default:
        return KERN_INVALID_VALUE;
    }
}

kern_return_t PortTable::modifyReceive(std::map<mach_port_t, Entry>::iterator entry,
                                       mach_port_delta_t delta)
{
    if (!entry->second.receive)
        return KERN_INVALID_RIGHT;
    if (delta < -1 || delta > 0)
        return KERN_INVALID_VALUE;
    if (delta == -1) {
        entry->second.receive->destroy();
        entry->second.receive.reset();
        eraseIfEmpty(entry);
    }
    return KERN_SUCCESS;
}

kern_return_t PortTable::modifySend(std::map<mach_port_t, Entry>::iterator entry,
                                    mach_port_delta_t delta)
{
    if (entry->second.sendOnce)
        return KERN_INVALID_RIGHT;
    long long references = static_cast<long long>(entry->second.sendReferences) + delta;
    if (references < 0)
        return KERN_INVALID_VALUE;
    if (references > kMaxUserReferences)
        return KERN_UREFS_OVERFLOW;
    entry->second.sendReferences = static_cast<std::uint32_t>(references);
    eraseIfEmpty(entry);
    return KERN_SUCCESS;
}

} // namespace sim
