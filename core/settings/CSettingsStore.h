#pragma once

#include <optional>
#include <string>
#include <string_view>

// Read-only access to the installation's settings, the registry's two scopes or their
// equivalent elsewhere. A key path names nested keys with "\" between them, as the
// registry does ("SOFTWARE\Veltrix\Kinemo Solvane"); names compare as the platform's
// store compares them.
class CSettingsStore {
public:
    virtual ~CSettingsStore() = default;

    // The text value `name` under `keyPath` in the current user's scope; nothing when
    // the key or the value does not exist.
    virtual std::optional<std::string> userValue(std::string_view keyPath, std::string_view name) const = 0;
    // The same in the machine-wide scope.
    virtual std::optional<std::string> systemValue(std::string_view keyPath, std::string_view name) const = 0;
};
