#pragma once
// Read access to the registry: one root key and at most one open key.
#include <windows.h>

#include "AnsiString.h"
#include "Handle.h"

class TRegistry {
public:
    // `access` is the access mask with which keys are opened (KEY_READ for
    // reading).
    explicit TRegistry(REGSAM access);
    TRegistry(const TRegistry&) = delete;
    TRegistry& operator=(const TRegistry&) = delete;

    HKEY RootKey() const { return FRootKey; }
    // Closes the open key; HKEY_CURRENT_USER until set.
    void SetRootKey(HKEY root);
    HKEY CurrentKey() const { return FCurrentKey.Get(); }

    // Opens `key` without ever creating it: relative to the open key, or to
    // the root when none is open or `key` starts with a backslash. On success
    // the new key replaces the open one; on failure the open key stays.
    bool OpenKey(const AnsiString& key);
    void CloseKey();
    // Whether `key` (taken as in OpenKey) can be opened. Never raises.
    bool KeyExists(const AnsiString& key) const;
    // Whether the open key has the value `name`. Never raises.
    bool ValueExists(const AnsiString& name) const;

    // At most 4 bytes of data of type REG_DWORD. Raises ERegistryException
    // "Konnte Daten für '<name>' nicht holen" when the value is missing or
    // longer, "Ungültiger Datentyp für '<name>'" when it is of another type.
    int ReadInteger(const AnsiString& name) const;
    // The whole data of a REG_SZ or REG_EXPAND_SZ value (not expanded), cut at
    // its first NUL; a value of 0 bytes, whatever its type, is the empty
    // string. Raises as ReadInteger does.
    AnsiString ReadString(const AnsiString& name) const;

private:
    LSTATUS Open(const AnsiString& key, TRegistryKey& result) const;

    REGSAM FAccess;
    HKEY FRootKey = HKEY_CURRENT_USER;
    TRegistryKey FCurrentKey;
};
