#pragma once
// The device's Darwin notification centre, as the device services hold it: the names,
// their states, and the registrations of every connected process. It only keeps the
// books; the services turn what it answers into packets.

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace sim {

// One connected process, as the services number them.
using ClientId = std::uint64_t;

class NotificationCenter {
public:
    struct Delivery {
        ClientId client;
        int token;
    };

    // Registers (or re-registers) the client's token for `name`. Event registrations are
    // told of each post; check registrations only remember that one happened.
    [[nodiscard]] std::uint32_t registerToken(ClientId client, int token, const std::string &name,
                                              bool wantsEvents);
    [[nodiscard]] std::uint32_t cancel(ClientId client, int token);

    // Marks every check registration of `name` and answers the event registrations to tell.
    std::vector<Delivery> post(const std::string &name);

    [[nodiscard]] std::uint32_t check(ClientId client, int token, bool &posted);
    [[nodiscard]] std::uint32_t state(ClientId client, int token, std::uint64_t &value) const;
    [[nodiscard]] std::uint32_t setState(ClientId client, int token, std::uint64_t value);

    // Drops everything a process registered (its connection closed).
    void forgetClient(ClientId client);

private:
    using Key = std::pair<ClientId, int>;
    struct Registration {
        std::string name;
        bool wantsEvents;
        bool postedSinceCheck = true; // the first check after registering answers 1
    };

    void remove(std::map<Key, Registration>::iterator registration);

    std::map<Key, Registration> m_registrations;
    std::map<std::string, std::set<Key>> m_watchers;
    std::map<std::string, std::uint64_t> m_states;
    std::map<ClientId, size_t> m_countsByClient;
};

} // namespace sim
