#include "darwin/NotificationCenter.h"

#include "darwin/notify.h"

#include <limits>

namespace sim {

namespace {

// A process that registers more than this is runaway; its further registrations fail
// instead of growing the services without bound.
constexpr size_t kMaxRegistrationsPerClient = 4096;

} // namespace

std::uint32_t NotificationCenter::registerToken(ClientId client, int token, const std::string &name,
                                                bool wantsEvents)
{
    if (name.empty())
        return NOTIFY_STATUS_INVALID_NAME;
    Key key{client, token};
    auto existing = m_registrations.find(key);
    if (existing != m_registrations.end()) {
        // The same registration again (a reconnecting process replays its own): the name
        // keeps its state.
        if (existing->second.name == name) {
            existing->second.wantsEvents = wantsEvents;
            return NOTIFY_STATUS_OK;
        }
        remove(existing);
    }
    if (m_countsByClient[client] >= kMaxRegistrationsPerClient)
        return NOTIFY_STATUS_FAILED;
    m_registrations.emplace(key, Registration{name, wantsEvents});
    m_watchers[name].insert(key);
    ++m_countsByClient[client];
    return NOTIFY_STATUS_OK;
}

std::uint32_t NotificationCenter::cancel(ClientId client, int token)
{
    auto registration = m_registrations.find({client, token});
    if (registration == m_registrations.end())
        return NOTIFY_STATUS_INVALID_TOKEN;
    remove(registration);
    return NOTIFY_STATUS_OK;
}

void NotificationCenter::remove(std::map<Key, Registration>::iterator registration)
{
    const std::string &name = registration->second.name;
    auto watchers = m_watchers.find(name);
    if (watchers != m_watchers.end()) {
        watchers->second.erase(registration->first);
        // Nobody watches the name any more: it is forgotten, state included.
        if (watchers->second.empty()) {
            m_states.erase(name);
            m_watchers.erase(watchers);
        }
    }
    if (--m_countsByClient[registration->first.first] == 0)
        m_countsByClient.erase(registration->first.first);
    m_registrations.erase(registration);
}

std::vector<NotificationCenter::Delivery> NotificationCenter::post(const std::string &name)
{
    std::vector<Delivery> deliveries;
    auto watchers = m_watchers.find(name);
    if (watchers == m_watchers.end())
        return deliveries;
    for (const Key &key : watchers->second) {
        Registration &registration = m_registrations.at(key);
        registration.postedSinceCheck = true;
        if (registration.wantsEvents)
            deliveries.push_back({key.first, key.second});
    }
    return deliveries;
}

std::uint32_t NotificationCenter::check(ClientId client, int token, bool &posted)
{
    auto registration = m_registrations.find({client, token});
    if (registration == m_registrations.end())
        return NOTIFY_STATUS_INVALID_TOKEN;
    posted = registration->second.postedSinceCheck;
    registration->second.postedSinceCheck = false;
    return NOTIFY_STATUS_OK;
}

std::uint32_t NotificationCenter::state(ClientId client, int token, std::uint64_t &value) const
{
    auto registration = m_registrations.find({client, token});
    if (registration == m_registrations.end())
        return NOTIFY_STATUS_INVALID_TOKEN;
    auto stored = m_states.find(registration->second.name);
    value = stored == m_states.end() ? 0 : stored->second;
    return NOTIFY_STATUS_OK;
}

std::uint32_t NotificationCenter::setState(ClientId client, int token, std::uint64_t value)
{
    auto registration = m_registrations.find({client, token});
    if (registration == m_registrations.end())
        return NOTIFY_STATUS_INVALID_TOKEN;
    m_states[registration->second.name] = value;
    return NOTIFY_STATUS_OK;
}

void NotificationCenter::forgetClient(ClientId client)
{
    auto first = m_registrations.lower_bound({client, std::numeric_limits<int>::min()});
    while (first != m_registrations.end() && first->first.first == client)
        remove(first++);
}

} // namespace sim
