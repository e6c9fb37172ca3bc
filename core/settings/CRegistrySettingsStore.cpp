#include "settings/CRegistrySettingsStore.h"

#ifdef _WIN32

#include <windows.h>

#include <array>

namespace {

// UTF-8 to UTF-16; nothing for a text that is not valid UTF-8.
std::optional<std::wstring> wide(std::string_view text)
{
    if (text.empty())
        return std::wstring();
    const int size = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), size, nullptr, 0);
    if (length <= 0)
        return std::nullopt;
    std::wstring out(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), size, out.data(), length);
    return out;
}

std::string utf8(std::wstring_view text)
{
    if (text.empty())
        return {};
    const int size = static_cast<int>(text.size());
    const int length = WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(length > 0 ? length : 0), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), size, out.data(), length, nullptr, nullptr);
    return out;
}

// Opens a key for reading and closes it when done.
class OpenKey {
public:
    OpenKey(HKEY root, const std::wstring& path)
    {
        if (RegOpenKeyExW(root, path.c_str(), 0, KEY_QUERY_VALUE | KEY_WOW64_64KEY, &key_) != ERROR_SUCCESS)
            key_ = nullptr;
    }
    ~OpenKey()
    {
        if (key_)
            RegCloseKey(key_);
    }
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;

    HKEY handle() const { return key_; }

private:
    HKEY key_ = nullptr;
};

std::optional<std::string> readValue(HKEY root, std::string_view keyPath, std::string_view name)
{
    const auto path = wide(keyPath);
    const auto valueName = wide(name);
    if (!path || !valueName)
        return std::nullopt;
    const OpenKey key(root, *path);
    if (!key.handle())
        return std::nullopt;
    std::array<wchar_t, CRegistrySettingsStore::MaxValueLength + 1> buffer{};
    DWORD bytes = static_cast<DWORD>(sizeof buffer);
    // RegGetValueW ends the text with a null even when the stored one has none, and
    // answers ERROR_MORE_DATA rather than cutting a value that does not fit.
    if (RegGetValueW(key.handle(), nullptr, valueName->c_str(), RRF_RT_REG_SZ, nullptr, buffer.data(), &bytes)
        != ERROR_SUCCESS)
        return std::nullopt;
    // The text ends at its first null, as a C string read from it would.
    const std::size_t stored = bytes / sizeof(wchar_t);
    std::size_t length = 0;
    while (length < stored && buffer[length] != L'\0')
        ++length;
    return utf8(std::wstring_view(buffer.data(), length));
}

} // namespace

std::optional<std::string> CRegistrySettingsStore::userValue(std::string_view keyPath, std::string_view name) const
{
    return readValue(HKEY_CURRENT_USER, keyPath, name);
}

std::optional<std::string> CRegistrySettingsStore::systemValue(std::string_view keyPath, std::string_view name) const
{
    return readValue(HKEY_LOCAL_MACHINE, keyPath, name);
}

#else

std::optional<std::string> CRegistrySettingsStore::userValue(std::string_view, std::string_view) const
{
    return std::nullopt;
}

std::optional<std::string> CRegistrySettingsStore::systemValue(std::string_view, std::string_view) const
{
    return std::nullopt;
}

#endif
