#include "settings/CMemorySettingsStore.h"

#include <utility>

void CMemorySettingsStore::setUserValue(std::string keyPath, std::string name, std::string value)
{
    user_[{std::move(keyPath), std::move(name)}] = std::move(value);
}

void CMemorySettingsStore::setSystemValue(std::string keyPath, std::string name, std::string value)
{
    system_[{std::move(keyPath), std::move(name)}] = std::move(value);
}

std::optional<std::string> CMemorySettingsStore::userValue(std::string_view keyPath, std::string_view name) const
{
    return find(user_, keyPath, name);
}

std::optional<std::string> CMemorySettingsStore::systemValue(std::string_view keyPath, std::string_view name) const
{
    return find(system_, keyPath, name);
}

std::optional<std::string> CMemorySettingsStore::find(const Values& values, std::string_view keyPath,
                                                      std::string_view name)
{
    auto it = values.find(std::tuple<std::string, std::string>(keyPath, name));
    if (it == values.end())
        return std::nullopt;
    return it->second;
}
