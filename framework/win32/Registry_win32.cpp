#include "Registry.h"

#include <cstring>
#include <vector>

#include "SysUtils.h"

namespace {

[[noreturn]] void ReadFailed(const AnsiString& name)
{
    throw ERegistryException(Format("Konnte Daten für '%s' nicht holen", name.c_str()));
}

[[noreturn]] void WrongType(const AnsiString& name)
{
    throw ERegistryException(Format("Ungültiger Datentyp für '%s'", name.c_str()));
}

} // namespace

TRegistry::TRegistry(REGSAM access) : FAccess(access) {}

void TRegistry::SetRootKey(HKEY root)
{
    CloseKey();
    FRootKey = root;
}

LSTATUS TRegistry::Open(const AnsiString& key, HKEY& result) const
{
    const bool fromRoot = FCurrentKey == nullptr || (!key.empty() && key[0] == '\\');
    const char* name = key.c_str() + (!key.empty() && key[0] == '\\' ? 1 : 0);
    return RegOpenKeyExA(fromRoot ? FRootKey : FCurrentKey, name, 0, FAccess, &result);
}

bool TRegistry::OpenKey(const AnsiString& key)
{
    HKEY opened = nullptr;
    if (Open(key, opened) != ERROR_SUCCESS)
        return false;
    CloseKey();
    FCurrentKey = opened;
    return true;
}

void TRegistry::CloseKey()
{
    if (FCurrentKey != nullptr)
        RegCloseKey(FCurrentKey);
    FCurrentKey = nullptr;
}

bool TRegistry::KeyExists(const AnsiString& key) const
{
    HKEY opened = nullptr;
    if (Open(key, opened) != ERROR_SUCCESS)
        return false;
    RegCloseKey(opened);
    return true;
}

bool TRegistry::ValueExists(const AnsiString& name) const
{
    return FCurrentKey != nullptr &&
           RegQueryValueExA(FCurrentKey, name.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

int TRegistry::ReadInteger(const AnsiString& name) const
{
    DWORD type = REG_NONE;
    DWORD value = 0;
    DWORD size = sizeof value;
    if (FCurrentKey == nullptr ||
        RegQueryValueExA(FCurrentKey, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
            ERROR_SUCCESS)
        ReadFailed(name);
    if (type != REG_DWORD)
        WrongType(name);
    return static_cast<int>(value);
}

AnsiString TRegistry::ReadString(const AnsiString& name) const
{
    DWORD size = 0;
    if (FCurrentKey == nullptr ||
        RegQueryValueExA(FCurrentKey, name.c_str(), nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS)
        ReadFailed(name);
    if (size == 0)
        return AnsiString();
    // The value may change between the two queries: a longer one fails here,
    // and the type is taken from the read that delivered the data.
    std::vector<char> data(size);
    DWORD type = REG_NONE;
    if (RegQueryValueExA(FCurrentKey, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size) !=
        ERROR_SUCCESS)
        ReadFailed(name);
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        WrongType(name);
    return AnsiString(data.data(), strnlen(data.data(), size));
}
