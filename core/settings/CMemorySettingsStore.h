#pragma once

#include "settings/CSettingsStore.h"

#include <map>
#include <string>
#include <tuple>

// Settings held in memory, filled by the caller: lets a test describe an installation
// without touching any file. Key paths and names compare exactly.
class CMemorySettingsStore final : public CSettingsStore {
public:
    void setUserValue(std::string keyPath, std::string name, std::string value);
    void setSystemValue(std::string keyPath, std::string name, std::string value);

    std::optional<std::string> userValue(std::string_view keyPath, std::string_view name) const override;
    std::optional<std::string> systemValue(std::string_view keyPath, std::string_view name) const override;

private:
    using Values = std::map<std::tuple<std::string, std::string>, std::string, std::less<>>;
    static std::optional<std::string> find(const Values& values, std::string_view keyPath, std::string_view name);

    Values user_;
    Values system_;
};
