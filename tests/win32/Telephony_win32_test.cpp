// The telephony dialing prefix and the framework's registry reader, against
// a throw-away key: HKEY_LOCAL_MACHINE of the test process is redirected to a
// fresh key below HKEY_CURRENT_USER of the test prefix, and the redirection
// and the key end on every way out of each test.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Registry.h"
#include "SysUtils.h"
#include "UtilsKx.h"

namespace {

const char LocationsKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Telephony\\Locations";

// A value below the locations key: `Key` is "" for the key itself or the name
// of a location subkey.
struct TValue {
    std::string Key;
    std::string Name;
    DWORD Type;
    std::string Data;
};

TValue Dword(const std::string& key, const std::string& name, int value)
{
    return {key, name, REG_DWORD, std::string(reinterpret_cast<const char*>(&value), sizeof value)};
}

TValue Sz(const std::string& key, const std::string& name, const std::string& text, DWORD type = REG_SZ)
{
    return {key, name, type, text + '\0'};
}

class TRegistrySandbox {
public:
    TRegistrySandbox()
        : FName(Format("Software\\deployNotice tests\\%lu-%lu", GetCurrentProcessId(), ++Count))
    {
        FReady = RegCreateKeyExA(HKEY_CURRENT_USER, FName.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, FKey.Put(),
                                 nullptr) == ERROR_SUCCESS &&
                 RegOverridePredefKey(HKEY_LOCAL_MACHINE, FKey.Get()) == ERROR_SUCCESS;
    }
    ~TRegistrySandbox()
    {
        RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
        FKey.Reset();
        RegDeleteTreeA(HKEY_CURRENT_USER, FName.c_str());
    }
    TRegistrySandbox(const TRegistrySandbox&) = delete;
    TRegistrySandbox& operator=(const TRegistrySandbox&) = delete;

    bool Ready() const { return FReady; }
    const AnsiString& Name() const { return FName; }

    bool Set(const TValue& value)
    {
        const std::string path = value.Key.empty() ? LocationsKey : std::string(LocationsKey) + "\\" + value.Key;
        TRegistryKey key;
        if (RegCreateKeyExA(FKey.Get(), path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.Put(), nullptr) !=
            ERROR_SUCCESS)
            return false;
        return value.Name.empty() ||
               RegSetValueExA(key.Get(), value.Name.c_str(), 0, value.Type,
                              reinterpret_cast<const BYTE*>(value.Data.data()),
                              static_cast<DWORD>(value.Data.size())) == ERROR_SUCCESS;
    }

private:
    static inline unsigned long Count = 0;
    AnsiString FName;
    TRegistryKey FKey;
    bool FReady = false;
};

enum TOutcome { Prefix, LocationError, RegistryError };

struct TPrefixCase {
    const char* Title;
    std::vector<TValue> Values;
    TOutcome Outcome;
    const char* Text; // the prefix, or the exception's message
};

const char NoLocation[] = "Fehler beim Ermitteln der Standortinformationen";

// Two locations, told apart by their subkey's number and by their "ID".
std::vector<TValue> NameOrId(int listVersion)
{
    return {Dword("", "LocationListVersion", listVersion), Dword("", "CurrentID", 1), Dword("", "NextID", 2),
            Dword("Location1", "ID", 7), Sz("Location1", "OutsideAccess", "by name"),
            Dword("Location0", "ID", 1), Sz("Location0", "OutsideAccess", "by ID")};
}

const TPrefixCase PrefixCases[] = {
    {"list version 2",
     {Dword("", "LocationListVersion", 2), Dword("", "CurrentID", 3), Dword("", "NextID", 4),
      Sz("Location3", "OutsideAccess", "0")},
     Prefix, "0"},
    {"list version 2, negative identifier",
     {Dword("", "LocationListVersion", 2), Dword("", "CurrentID", -1), Dword("", "NextID", 0),
      Sz("Location-1", "OutsideAccess", "9")},
     Prefix, "9"},
    {"older layout with gaps",
     {Dword("", "CurrentID", 5), Dword("", "NextID", 4), Dword("Location0", "ID", 1),
      Sz("Location0", "OutsideAccess", "a"), Dword("Location2", "ID", 5), Sz("Location2", "OutsideAccess", "b")},
     Prefix, "b"},
    {"older layout, the lower of two matches",
     {Dword("", "CurrentID", 5), Dword("", "NextID", 9), Sz("Location0", "OutsideAccess", "no ID"),
      Dword("Location3", "ID", 5), Sz("Location3", "OutsideAccess", "second"), Dword("Location1", "ID", 5),
      Sz("Location1", "OutsideAccess", "first")},
     Prefix, "first"},
    {"list version 1 is the older layout", NameOrId(1), Prefix, "by ID"},
    {"list version 3 is the older layout", NameOrId(3), Prefix, "by ID"},
    {"list version 2 goes by name", NameOrId(2), Prefix, "by name"},
    {"empty prefix",
     {Dword("", "CurrentID", 0), Dword("", "NextID", 1), Dword("Location0", "ID", 0),
      {"Location0", "OutsideAccess", REG_SZ, ""}},
     Prefix, ""},
    {"expandable text, not expanded, cut at its NUL",
     {Dword("", "LocationListVersion", 2), Dword("", "CurrentID", 1), Dword("", "NextID", 2),
      Sz("Location1", "OutsideAccess", std::string("%TEMP%9\0rest", 12), REG_EXPAND_SZ)},
     Prefix, "%TEMP%9"},

    {"no locations key", {}, LocationError, NoLocation},
    {"no CurrentID", {Dword("", "NextID", 2), Sz("Location0", "OutsideAccess", "0")}, LocationError, NoLocation},
    {"list version 2 without the current location",
     {Dword("", "LocationListVersion", 2), Dword("", "CurrentID", 3), Dword("", "NextID", 4),
      Sz("Location2", "OutsideAccess", "0")},
     LocationError, NoLocation},
    {"older layout, the only match at NextID",
     {Dword("", "CurrentID", 5), Dword("", "NextID", 4), Dword("Location4", "ID", 5),
      Sz("Location4", "OutsideAccess", "0")},
     LocationError, NoLocation},
    {"older layout, NextID 0",
     {Dword("", "CurrentID", 5), Dword("", "NextID", 0), Dword("Location0", "ID", 5),
      Sz("Location0", "OutsideAccess", "0")},
     LocationError, NoLocation},
    {"older layout, NextID negative",
     {Dword("", "CurrentID", 5), Dword("", "NextID", -3), Dword("Location0", "ID", 5),
      Sz("Location0", "OutsideAccess", "0")},
     LocationError, NoLocation},
    {"no OutsideAccess",
     {Dword("", "LocationListVersion", 2), Dword("", "CurrentID", 3), Dword("", "NextID", 4),
      Dword("Location3", "ID", 3)},
     LocationError, NoLocation},

    {"list version 2 without NextID",
     {Dword("", "LocationListVersion", 2), Dword("", "CurrentID", 3), Sz("Location3", "OutsideAccess", "0")},
     RegistryError, "Konnte Daten für 'NextID' nicht holen"},
    {"CurrentID of 8 bytes",
     {{"", "CurrentID", REG_QWORD, std::string("\3\0\0\0\0\0\0\0", 8)}, Dword("", "NextID", 4)},
     RegistryError, "Konnte Daten für 'CurrentID' nicht holen"},
    {"CurrentID as text",
     {Sz("", "CurrentID", "3"), Dword("", "NextID", 4)},
     RegistryError, "Ungültiger Datentyp für 'CurrentID'"},
    {"NextID as 4 binary bytes",
     {Dword("", "CurrentID", 3), {"", "NextID", REG_BINARY, std::string("\4\0\0\0", 4)}},
     RegistryError, "Ungültiger Datentyp für 'NextID'"},
    {"LocationListVersion as text",
     {Sz("", "LocationListVersion", "2"), Dword("", "CurrentID", 3), Dword("", "NextID", 4)},
     RegistryError, "Ungültiger Datentyp für 'LocationListVersion'"},
    {"ID as binary",
     {Dword("", "CurrentID", 3), Dword("", "NextID", 4), {"Location0", "ID", REG_BINARY, std::string("\3", 1)}},
     RegistryError, "Ungültiger Datentyp für 'ID'"},
    {"OutsideAccess as a number",
     {Dword("", "LocationListVersion", 2), Dword("", "CurrentID", 3), Dword("", "NextID", 4),
      Dword("Location3", "OutsideAccess", 0)},
     RegistryError, "Ungültiger Datentyp für 'OutsideAccess'"},
};

TEST(GetCurrentOutsideAccessPrefix, BothLayoutsAndEveryFailure)
{
    for (const TPrefixCase& c : PrefixCases) {
        SCOPED_TRACE(c.Title);
        TRegistrySandbox sandbox;
        ASSERT_TRUE(sandbox.Ready());
        for (const TValue& value : c.Values)
            ASSERT_TRUE(sandbox.Set(value)) << value.Key << '\\' << value.Name;
        try {
            const AnsiString prefix = NUtilsKx::GetCurrentOutsideAccessPrefix();
            EXPECT_EQ(c.Outcome, Prefix) << prefix;
            EXPECT_EQ(prefix, c.Text);
        } catch (const ERegistryException& error) {
            EXPECT_EQ(c.Outcome, RegistryError);
            EXPECT_STREQ(error.what(), c.Text);
        } catch (const Exception& error) {
            EXPECT_EQ(c.Outcome, LocationError);
            EXPECT_STREQ(error.what(), c.Text);
        }
    }
}

TEST(TRegistrySandbox, LeavesNothingBehind)
{
    AnsiString name;
    {
        TRegistrySandbox sandbox;
        ASSERT_TRUE(sandbox.Ready());
        ASSERT_TRUE(sandbox.Set(Dword("", "CurrentID", 1)));
        name = sandbox.Name();
        TRegistryKey key;
        ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, LocationsKey, 0, KEY_READ, key.Put()), ERROR_SUCCESS);
    }
    TRegistryKey key;
    EXPECT_NE(RegOpenKeyExA(HKEY_CURRENT_USER, name.c_str(), 0, KEY_READ, key.Put()), ERROR_SUCCESS);
    // HKEY_LOCAL_MACHINE is the real one again.
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion", 0, KEY_READ,
                            key.Put()),
              ERROR_SUCCESS);
}

TEST(TRegistry, OpensWithoutCreatingRelativeToTheOpenKey)
{
    TRegistrySandbox sandbox;
    ASSERT_TRUE(sandbox.Ready());
    ASSERT_TRUE(sandbox.Set(Sz("Location0", "Text", "zero")));
    ASSERT_TRUE(sandbox.Set({"Location0", "List", REG_MULTI_SZ, std::string("a\0b\0", 5)}));

    TRegistry registry(KEY_READ);
    registry.SetRootKey(HKEY_LOCAL_MACHINE);
    EXPECT_FALSE(registry.ValueExists("Text")); // no key open
    EXPECT_FALSE(registry.OpenKey("Software\\Missing"));
    EXPECT_FALSE(registry.KeyExists("Software\\Missing")); // not created by the failed open
    ASSERT_TRUE(registry.OpenKey(LocationsKey));
    EXPECT_TRUE(registry.KeyExists("Location0"));   // relative to the open key
    EXPECT_FALSE(registry.OpenKey("Location1"));    // the open key stays
    EXPECT_TRUE(registry.OpenKey("Location0"));
    EXPECT_EQ(registry.ReadString("Text"), "zero");
    EXPECT_THROW(registry.ReadString("List"), ERegistryException);
    EXPECT_THROW(registry.ReadInteger("Missing"), ERegistryException);
    EXPECT_TRUE(registry.OpenKey(AnsiString("\\") + LocationsKey)); // from the root
    EXPECT_TRUE(registry.KeyExists("Location0"));
}

} // namespace
