// The parts of menus that every platform shares.
#include "Menus.h"

#include <algorithm>
#include <bitset>

#include "Consts.h"
#include "SysUtils.h"

namespace {

constexpr unsigned LastCommand = 0xFFFF;

std::bitset<LastCommand + 1>& CommandsInUse()
{
    static std::bitset<LastCommand + 1> inUse;
    return inUse;
}

// The next free identifier after the one handed out last, so that an
// identifier comes back only after all others have been used.
unsigned AllocateCommand()
{
    static unsigned last = 0;
    auto& inUse = CommandsInUse();
    for (unsigned step = 0; step < LastCommand; ++step) {
        const unsigned command = (last + step) % LastCommand + 1;
        if (!inUse[command]) {
            inUse[command] = true;
            last = command;
            return command;
        }
    }
    throw EOutOfResources(SMenuIndexError);
}

std::vector<TPopupMenu*>& PopupMenus()
{
    static std::vector<TPopupMenu*> menus;
    return menus;
}

} // namespace

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner), FCommand(AllocateCommand()) {}

TMenuItem::~TMenuItem()
{
    if (FParent != nullptr)
        FParent->Remove(this);
    // Sub-items usually belong to the form and are deleted after it.
    for (TMenuItem* item : FItems)
        item->FParent = nullptr;
    if (FMerged != nullptr)
        FMerged->FMergedInto = nullptr;
    if (FMergedInto != nullptr)
        FMergedInto->FMerged = nullptr;
    CommandsInUse()[FCommand] = false;
}

void TMenuItem::Add(TMenuItem* item)
{
    if (item->FParent != nullptr)
        item->FParent->Remove(item);
    FItems.push_back(item);
    item->FParent = this;
}

void TMenuItem::Remove(TMenuItem* item)
{
    std::erase(FItems, item);
    item->FParent = nullptr;
}

TMenuItem* TMenuItem::Find(unsigned command) const
{
    for (TMenuItem* item : FItems) {
        if (item->FCommand == command)
            return item;
        if (TMenuItem* found = item->Find(command))
            return found;
    }
    return FMerged != nullptr ? FMerged->Find(command) : nullptr;
}

void TMenuItem::Click()
{
    if (OnClick)
        OnClick(this);
}

TMenu::TMenu(TComponent* owner) : TComponent(owner), FItems(new TMenuItem(this)) {}

void TMenu::Merge(TMenu* menu)
{
    TMenuItem* merged = menu != nullptr ? menu->FItems : nullptr;
    for (const TMenuItem* chain = merged; chain != nullptr; chain = chain->FMerged)
        if (chain == FItems)
            throw Exception(SMenuReinserted);
    if (FItems->FMerged != nullptr)
        FItems->FMerged->FMergedInto = nullptr;
    FItems->FMerged = merged;
    if (merged == nullptr)
        return;
    if (merged->FMergedInto != nullptr)
        merged->FMergedInto->FMerged = nullptr;
    merged->FMergedInto = FItems;
}

void TMenu::Unmerge(TMenu* menu)
{
    if (menu != nullptr && FItems->FMerged == menu->FItems)
        Merge(nullptr);
}

TPopupMenu::TPopupMenu(TComponent* owner) : TMenu(owner)
{
    PopupMenus().push_back(this);
}

TPopupMenu::~TPopupMenu()
{
    std::erase(PopupMenus(), this);
}

bool TPopupMenu::DispatchCommand(unsigned command)
{
    for (TPopupMenu* menu : PopupMenus())
        if (TMenuItem* item = menu->FindItem(command)) {
            item->Click();
            return true;
        }
    return false;
}
