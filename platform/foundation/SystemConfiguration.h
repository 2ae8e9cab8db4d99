#pragma once
// Captive-network queries: which interfaces can join a Wi-Fi network, and which network
// the phone has joined. The answers come from the device profile: the Wi-Fi interface is
// "en0" and exists when the profile turns Wi-Fi on; the joined network is the profile's
// SSID. Its BSSID (the access point's hardware address) is made from the network's name,
// so one network always shows the same access point.

#include "foundation/CoreFoundation.h"

// Keys of the network information dictionary.
extern const CFStringRef kCNNetworkInfoKeySSIDData; // the name's bytes (CFData)
extern const CFStringRef kCNNetworkInfoKeySSID;
extern const CFStringRef kCNNetworkInfoKeyBSSID;

// ["en0"] when the phone has Wi-Fi, else NULL. The caller owns the array.
CFArrayRef CNCopySupportedInterfaces();

// The network that `interfaceName` has joined, with the keys above; NULL for an
// interface other than the Wi-Fi one or when no network is joined. The caller owns the
// dictionary.
CFDictionaryRef CNCopyCurrentNetworkInfo(CFStringRef interfaceName);
