#include "Desktop.h"

#include "AtSpi.h"

TBoxSeen WaitForBox(const TChildProcess& child)
{
    TBoxSeen seen;
    if (!StartAtSpi())
        return seen;
    TBoxView box;
    if (!WaitUntil([&] { return (box = ReadBox(child.Id())).Found; }, std::chrono::seconds(30)))
        return seen;
    return {true, box.Caption, box.Text, box.HasIcon};
}

bool PressBoxOk(const TChildProcess& child)
{
    return PressOk(child.Id());
}

bool WindowIsOpen(void* handle)
{
    // A form's window is the toolkit's widget for as long as the form has one.
    return handle != nullptr;
}
