#include "Registry.h"

#include <cstring>
#include <utility>
#include <vector>

#include "Consts.h"
#include "SysUtils.h"

namespace {

[[noreturn]] void ReadFailed(const AnsiString& name, LSTATUS status = ERROR_SUCCESS)
{
    throw ERegistryException(Format(SRegGetDataFailed, name.c_str()), static_cast<unsigned long>(status));
}

[[noreturn]] void WrongType(const AnsiString& name)
{
    throw ERegistryException(Format(SInvalidRegType, name.c_str()));
}

} // namespace

TRegistry::TRegistry(REGSAM access) : FAccess(access) {}

void TRegistry::SetRootKey(HKEY root)
{
    CloseKey();
    FRootKey = root;
}

LSTATUS TRegistry::Open(const AnsiString& key, TRegistryKey& result) const
{
    const bool fromRoot = !FCurrentKey.Valid() || (!key.empty() && key[0] == '\\');
    const char* name = key.c_str() + (!key.empty() && key[0] == '\\' ? 1 : 0);
    return RegOpenKeyExA(fromRoot ? FRootKey : FCurrentKey.Get(), name, 0, FAccess, result.Put());
}

bool TRegistry::OpenKey(const AnsiString& key)
{
    TRegistryKey opened;
    if (Open(key, opened) != ERROR_SUCCESS)
        return false;
    FCurrentKey = std::move(opened);
    return true;
}

void TRegistry::CloseKey()
{
    FCurrentKey.Reset();
}

bool TRegistry::KeyExists(const AnsiString& key) const
{
    TRegistryKey opened;
    return Open(key, opened) == ERROR_SUCCESS;
}

bool TRegistry::ValueExists(const AnsiString& name) const
{
    return FCurrentKey.Valid() &&
           RegQueryValueExA(FCurrentKey.Get(), name.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

int TRegistry::ReadInteger(const AnsiString& name) const
{
    DWORD type = REG_NONE;
    DWORD value = 0;
    DWORD size = sizeof value;
    if (!FCurrentKey.Valid())
        ReadFailed(name);
    const LSTATUS status =
        RegQueryValueExA(FCurrentKey.Get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
    if (status != ERROR_SUCCESS)
        ReadFailed(name, status);
    if (type != REG_DWORD)
        WrongType(name);
    return static_cast<int>(value);
}

AnsiString TRegistry::ReadString(const AnsiString& name) const
{
    DWORD size = 0;
    if (!FCurrentKey.Valid())
        ReadFailed(name);
    if (const LSTATUS status = RegQueryValueExA(FCurrentKey.Get(), name.c_str(), nullptr, nullptr, nullptr, &size);
        status != ERROR_SUCCESS)
        ReadFailed(name, status);
    if (size == 0)
        return AnsiString();
    // The value may change between the two queries: a longer one fails here,
    // and the type is taken from the read that delivered the data.
    std::vector<char> data(size);
    DWORD type = REG_NONE;
    if (const LSTATUS status =
            RegQueryValueExA(FCurrentKey.Get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size);
        status != ERROR_SUCCESS)
        ReadFailed(name, status);
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        WrongType(name);
    return AnsiString(data.data(), strnlen(data.data(), size));
}
