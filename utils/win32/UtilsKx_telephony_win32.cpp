// The outside-line prefix of the current telephony dialing location.
#include <windows.h>

#include "ConstKx.h"
#include "Registry.h"
#include "SysUtils.h"
#include "UtilsKx.h"

namespace NUtilsKx {

namespace {

const char LocationsKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Telephony\\Locations";

[[noreturn]] void LocationInfoError()
{
    throw Exception(LoadResString(SErrOnLocationInfo));
}

// The older layout: the locations are numbered from 0 and each carries its
// identifier as the value "ID". Opens the lowest-numbered one below `nextId`
// whose identifier is `currentId`.
bool OpenLocationById(TRegistry& registry, int currentId, int nextId)
{
    for (int number = 0; number < nextId; ++number) {
        if (!registry.OpenKey("Location" + IntToStr(number)))
            continue;
        if (registry.ValueExists("ID") && registry.ReadInteger("ID") == currentId)
            return true;
        registry.CloseKey();
        if (!registry.OpenKey(LocationsKey))
            return false;
    }
    return false;
}

} // namespace

AnsiString GetCurrentOutsideAccessPrefix()
{
    TRegistry registry(KEY_READ);
    registry.SetRootKey(HKEY_LOCAL_MACHINE);
    // A key that cannot be opened leaves none open: the next test fails then.
    registry.OpenKey(LocationsKey);
    if (!registry.ValueExists("CurrentID"))
        LocationInfoError();
    const int currentId = registry.ReadInteger("CurrentID");
    const int nextId = registry.ReadInteger("NextID");
    const int listVersion = registry.ValueExists("LocationListVersion") ? registry.ReadInteger("LocationListVersion") : 0;

    if (listVersion == 2) {
        // Each location's key is named by its identifier.
        const AnsiString location = "Location" + IntToStr(currentId);
        if (!registry.KeyExists(location) || !registry.OpenKey(location))
            LocationInfoError();
    } else if (!OpenLocationById(registry, currentId, nextId)) {
        LocationInfoError();
    }

    if (!registry.ValueExists("OutsideAccess"))
        LocationInfoError();
    return registry.ReadString("OutsideAccess");
}

} // namespace NUtilsKx
