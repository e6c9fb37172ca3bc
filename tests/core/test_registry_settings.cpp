#include "settings/CIniSettingsStore.h"
#include "settings/CRegistrySettingsStore.h"
#include "settings/PlatformSettings.h"
#include "settings/UnitList.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#ifdef _WIN32

#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <random>

namespace {

enum class Scope {
    User,
    Machine
};

const wchar_t* rootName(Scope scope)
{
    return scope == Scope::User ? L"HKEY_CURRENT_USER" : L"HKEY_LOCAL_MACHINE";
}

std::wstring wide(std::string_view utf8)
{
    return std::filesystem::u8path(utf8).wstring();
}

// One value as the registry editor's files write it: "name"="text", "name"=dword:...,
// "name"=hex(2):... (expandable text, UTF-16 bytes).
struct RegValue {
    Scope scope;
    std::string keyPath;
    std::string name;
    enum Type {
        Text,
        Expandable,
        Number
    } type;
    std::string data;
};

// A text between quotes as a registry editor file writes it.
std::wstring regText(std::wstring_view text)
{
    std::wstring out = L"\"";
    for (wchar_t c : text) {
        if (c == L'\\' || c == L'"')
            out += L'\\';
        out += c;
    }
    return out + L"\"";
}

std::wstring regLine(const RegValue& v)
{
    std::wstring line = regText(wide(v.name)) + L"=";
    switch (v.type) {
    case RegValue::Text: return line + regText(wide(v.data));
    case RegValue::Number: return line + L"dword:" + wide(v.data);
    case RegValue::Expandable: {
        line += L"hex(2):";
        const std::wstring text = wide(v.data) + L'\0';
        wchar_t hex[8];
        for (wchar_t c : text) {
            swprintf(hex, 8, L"%02x,%02x,", c & 0xFF, (c >> 8) & 0xFF);
            line += hex;
        }
        line.pop_back();
        return line;
    }
    }
    return line;
}

const wchar_t* const ScratchParent = L"SOFTWARE\\CrbEditTests";

// Runs Windows' own reg.exe (Wine's under Wine), quietly; true when it succeeded.
bool runReg(const std::wstring& arguments)
{
    const std::wstring command = L"reg " + arguments + L" >NUL 2>&1";
    return _wsystem(command.c_str()) == 0;
}

// Writes values into the registry with "reg import" of a registry editor file, and
// deletes the keys it made at the end.
class RegistryValues {
public:
    RegistryValues(const std::vector<RegValue>& values, std::vector<std::pair<Scope, std::string>> ownKeys)
        : ownKeys_(std::move(ownKeys))
    {
        std::wstring text = L"\xFEFFWindows Registry Editor Version 5.00\r\n";
        for (const auto& [scope, key] : ownKeys_)
            text += L"\r\n[" + std::wstring(rootName(scope)) + L"\\" + wide(key) + L"]\r\n";
        for (const RegValue& v : values)
            text +=
                L"\r\n[" + std::wstring(rootName(v.scope)) + L"\\" + wide(v.keyPath) + L"]\r\n" + regLine(v) + L"\r\n";
        const std::filesystem::path file = dir_.at("values.reg");
        std::ofstream(file, std::ios::binary)
            .write(reinterpret_cast<const char*>(text.data()),
                   static_cast<std::streamsize>(text.size() * sizeof(wchar_t)));
        imported_ = runReg(L"import \"" + file.wstring() + L"\" /reg:64");
    }
    ~RegistryValues()
    {
        for (const auto& [scope, key] : ownKeys_) {
            runReg(L"delete \"" + std::wstring(rootName(scope)) + L"\\" + wide(key) + L"\" /f /reg:64");
            // The test folder goes too once no other run uses it (it fails while a key is left).
            RegDeleteKeyExW(scope == Scope::User ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE, ScratchParent,
                            KEY_WOW64_64KEY, 0);
        }
    }
    RegistryValues(const RegistryValues&) = delete;
    RegistryValues& operator=(const RegistryValues&) = delete;

    bool imported() const { return imported_; }

private:
    TempDirectory dir_;
    std::vector<std::pair<Scope, std::string>> ownKeys_;
    bool imported_ = false;
};

std::string scratchKey()
{
    return "SOFTWARE\\CrbEditTests\\run" + std::to_string(std::random_device{}());
}

bool keyExists(Scope scope, const std::string& path)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(scope == Scope::User ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE, wide(path).c_str(), 0,
                      KEY_QUERY_VALUE | KEY_WOW64_64KEY, &key)
        != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

bool underWine()
{
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

} // namespace

TEST(RegistrySettings, ReadsTextValuesOfEitherScope)
{
    const std::string key = scratchKey();
    const std::string deeper = key + "\\2.04\\Home";
    const std::string longest(CRegistrySettingsStore::MaxValueLength, 'a');
    const std::string accented = "C:\\Users\\\xC3\x89lodie\\Donn\xC3\xA9"
                                 "es\\Support \xE2\x82\xAC";
    const RegistryValues values(
        {
            {Scope::User, key, "Current Version", RegValue::Text, "2.04"},
            {Scope::User, key, "Vide", RegValue::Text, ""},
            {Scope::User, key, "Nombre", RegValue::Number, "00000204"},
            {Scope::User, key, "Long", RegValue::Text, longest},
            {Scope::User, key, "Trop long", RegValue::Text, longest + "b"},
            {Scope::User, key, "D\xC3\xA9p\xC3\xB4t", RegValue::Text, accented},
            {Scope::Machine, deeper, "Support", RegValue::Text, accented},
            {Scope::Machine, deeper, "Chemin", RegValue::Expandable, "%SystemRoot%\\Support"},
        },
        {{Scope::User, key}, {Scope::Machine, key}});
    ASSERT_TRUE(values.imported());

    wchar_t systemRoot[MAX_PATH];
    ASSERT_GT(GetEnvironmentVariableW(L"SystemRoot", systemRoot, MAX_PATH), 0u);
    const std::string expanded = utf8Of(std::filesystem::path(systemRoot)) + "\\Support";

    struct Case {
        Scope scope;
        std::string keyPath;
        std::string name;
        std::optional<std::string> expected;
    };
    const Case cases[] = {
        {Scope::User, key, "Current Version", "2.04"},
        {Scope::User, key, "CURRENT version", "2.04"}, // names compare without case
        {Scope::User, key, "Vide", ""},                // an empty text is a value
        {Scope::User, key, "Long", longest},
        {Scope::User, key, "Trop long", std::nullopt},
        {Scope::User, key, "Nombre", std::nullopt}, // not a text
        {Scope::User, key, "D\xC3\xA9p\xC3\xB4t", accented},
        {Scope::User, key, "Absent", std::nullopt},
        {Scope::User, key + "\\Absente", "Current Version", std::nullopt},
        {Scope::Machine, key, "Current Version", std::nullopt}, // the scopes are apart
        {Scope::Machine, deeper, "Support", accented},
        {Scope::Machine, deeper, "Chemin", expanded},
        {Scope::User, deeper, "Support", std::nullopt},
        {Scope::Machine, "SOFTWARE\\CrbEditTests\\Aucune\\Cl\xC3\xA9", "Support", std::nullopt},
        {Scope::User, key, "\xFF not UTF-8", std::nullopt},
    };
    const CRegistrySettingsStore store;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keyPath + " : " + c.name);
        EXPECT_EQ(c.scope == Scope::User ? store.userValue(c.keyPath, c.name) : store.systemValue(c.keyPath, c.name),
                  c.expected);
    }
}

// The product's own keys lead to its units file; they are written only where no
// installation of the product can be overwritten (under Wine, or where they are absent).
TEST(RegistrySettings, TheProductsKeysLeadToItsUnitsFile)
{
    const std::string home = homeKeyPath("2.04");
    if (!underWine() && (keyExists(Scope::User, std::string(ProductKeyPath)) || keyExists(Scope::Machine, home)))
        GTEST_SKIP() << "the simulation product is installed here; its settings are left alone";

    TempDirectory dir;
    const std::string support = dir.path("Donn\xC3\xA9"
                                         "es\\Kinemo");
    const std::string units = dir.write("Donn\xC3\xA9"
                                        "es/Kinemo/units.ini",
                                        "[Longueurs]\r\nx(mm)=1\r\n[Temps]\r\nt(s)=1\r\n");
    const std::string empty = dir.path("Vide");
    std::filesystem::create_directory(dir.at("Vide"));
    const InstallationDirectories installation{dir.path("Programme"), dir.path(), dir.path()};

    struct Case {
        const char* what;
        std::vector<RegValue> values;
        std::optional<std::string> unitsFile;
        std::vector<std::string> entries;
    };
    const std::string product(ProductKeyPath);
    const Case cases[] = {
        {"version and support",
         {{Scope::User, product, "Current Version", RegValue::Text, "2.04"},
          {Scope::Machine, home, "Support", RegValue::Text, support}},
         units,
         {"", "mm", "s"}},
        {"support of another version",
         {{Scope::User, product, "Current Version", RegValue::Text, "3.0"},
          {Scope::Machine, home, "Support", RegValue::Text, support}},
         std::nullopt,
         {}},
        {"no support value",
         {{Scope::User, product, "Current Version", RegValue::Text, "2.04"},
          {Scope::Machine, home, "Autre", RegValue::Text, support}},
         std::nullopt,
         {}},
        {"no units file there",
         {{Scope::User, product, "Current Version", RegValue::Text, "2.04"},
          {Scope::Machine, home, "Support", RegValue::Text, empty}},
         std::nullopt,
         {}},
        {"no version", {{Scope::Machine, home, "Support", RegValue::Text, support}}, std::nullopt, {}},
    };
    const CRegistrySettingsStore store;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const RegistryValues values(c.values,
                                    {{Scope::User, "SOFTWARE\\Veltrix"}, {Scope::Machine, "SOFTWARE\\Veltrix"}});
        ASSERT_TRUE(values.imported());
        EXPECT_EQ(normalPath(findUnitsFile(store, installation.workingDirectory)), normalPath(c.unitsFile));
        const UnitList list = loadUnitList(store, installation);
        EXPECT_EQ(list.entries, c.entries);
        EXPECT_EQ(list.unitsFileMissing, !c.unitsFile.has_value());
    }
}

// Start-up reads the registry, and dorvane.ini where the profile functions look for it.
TEST(PlatformSettings, TheRegistryAndTheWindowsDirectory)
{
    const auto store = platformSettingsStore();
    EXPECT_NE(dynamic_cast<const CRegistrySettingsStore*>(store.get()), nullptr);
    wchar_t systemRoot[MAX_PATH];
    ASSERT_GT(GetEnvironmentVariableW(L"SystemRoot", systemRoot, MAX_PATH), 0u);
    const std::string profiles = platformProfileDirectory();
    EXPECT_EQ(_wcsicmp(wide(profiles).c_str(), systemRoot), 0) << profiles;
    EXPECT_TRUE(std::filesystem::is_directory(std::filesystem::u8path(profiles)));
}

#else

TEST(PlatformSettings, TheIniScopes)
{
    const auto store = platformSettingsStore();
    EXPECT_NE(dynamic_cast<const CIniSettingsStore*>(store.get()), nullptr);
}

// Without a registry the store holds nothing; the INI store stands in for it.
TEST(RegistrySettings, HoldsNoValueWithoutARegistry)
{
    const CRegistrySettingsStore store;
    EXPECT_EQ(store.userValue(ProductKeyPath, CurrentVersionValueName), std::nullopt);
    EXPECT_EQ(store.systemValue(homeKeyPath("2.04"), SupportValueName), std::nullopt);
}

#endif
