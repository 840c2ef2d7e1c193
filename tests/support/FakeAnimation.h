#pragma once
// A stand-in for the system's minimise and restore animation setting, put in
// place of the library's system call for the life of a TAnimationSeam. It
// logs every call: "get", "set <value>", or "bad" for a call whose sizes or
// flags are not those of the setting.
#include <windows.h>

#include <vector>

#include "AnsiString.h"
#include "SysUtils.h"
#include "UtilsKxInternal_win32.h"

struct TFakeAnimation {
    static inline int Value = 0;
    static inline bool QueryFails = false;
    static inline std::vector<AnsiString> Calls;

    static BOOL WINAPI Call(UINT action, UINT size, PVOID parameter, UINT flags)
    {
        auto* info = static_cast<ANIMATIONINFO*>(parameter);
        if (size != 8 || flags != 0 || info->cbSize != 8) {
            Calls.push_back("bad");
            return FALSE;
        }
        if (action == SPI_GETANIMATION) {
            Calls.push_back("get");
            if (QueryFails)
                return FALSE;
            info->iMinAnimate = Value;
            return TRUE;
        }
        if (action == SPI_SETANIMATION) {
            Calls.push_back(Format("set %d", info->iMinAnimate));
            Value = info->iMinAnimate;
            return TRUE;
        }
        Calls.push_back("bad");
        return FALSE;
    }
};

class TAnimationSeam {
public:
    explicit TAnimationSeam(int value, bool queryFails = false) : FSaved(NUtilsKx::SystemParametersInfoCall)
    {
        TFakeAnimation::Value = value;
        TFakeAnimation::QueryFails = queryFails;
        TFakeAnimation::Calls.clear();
        NUtilsKx::SystemParametersInfoCall = TFakeAnimation::Call;
    }
    ~TAnimationSeam() { NUtilsKx::SystemParametersInfoCall = FSaved; }
    TAnimationSeam(const TAnimationSeam&) = delete;
    TAnimationSeam& operator=(const TAnimationSeam&) = delete;

private:
    NUtilsKx::TSystemParametersInfo FSaved;
};
