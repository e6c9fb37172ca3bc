#pragma once

#include "settings/CSettingsStore.h"

#include <optional>
#include <string>
#include <string_view>

// The Windows registry: the current user's scope is HKEY_CURRENT_USER, the machine's
// HKEY_LOCAL_MACHINE, both read in the 64-bit view whatever the program's own width, so
// that a 32-bit and a 64-bit build see the product's keys alike. Keys are opened for
// reading only; key paths, names and values are UTF-8 here and UTF-16 in the registry.
// A text value (REG_SZ, or REG_EXPAND_SZ expanded) is read whole up to MaxValueLength
// characters; a longer one, a value of another type, or a missing key or value reads
// as nothing. Elsewhere than on Windows the store holds no value.
class CRegistrySettingsStore final : public CSettingsStore {
public:
    // Characters a value holds at most, its terminating null excluded.
    static constexpr std::size_t MaxValueLength = 1023;

    std::optional<std::string> userValue(std::string_view keyPath, std::string_view name) const override;
    std::optional<std::string> systemValue(std::string_view keyPath, std::string_view name) const override;
};
