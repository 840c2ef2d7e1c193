#pragma once
// Menus: items in a tree, each with a command identifier of its own, and
// popup menus that show them. Captions are in the system's ANSI code page.
#include <vector>

#include "AnsiString.h"
#include "Controls.h"

// A menu item. Items with items of their own open a submenu; the caption
// "-" draws a separator. Every item holds a command identifier (1 to 65535)
// that no other live item holds; the platform reports a chosen item by it.
class TMenuItem : public TComponent {
public:
    explicit TMenuItem(TComponent* owner);
    ~TMenuItem() override;

    AnsiString Caption;
    TNotifyEvent OnClick;

    unsigned Command() const { return FCommand; }
    TMenuItem* Parent() const { return FParent; }
    int Count() const { return static_cast<int>(FItems.size()); }
    TMenuItem* Items(int index) const { return FItems[static_cast<size_t>(index)]; }
    // Appends `item`, taking it from the item it was under before.
    void Add(TMenuItem* item);
    void Remove(TMenuItem* item);

    // The item with `command` among this item's items at any depth, then
    // among those of the menu merged into it; null when there is none.
    TMenuItem* Find(unsigned command) const;
    // The items of a menu merged into this one, shown behind its own.
    TMenuItem* Merged() const { return FMerged; }

    // Runs OnClick.
    void Click();

private:
    friend class TMenu;

    unsigned FCommand;
    TMenuItem* FParent = nullptr;
    std::vector<TMenuItem*> FItems;
    TMenuItem* FMerged = nullptr;
    TMenuItem* FMergedInto = nullptr;
};

class TMenu : public TComponent {
public:
    explicit TMenu(TComponent* owner);

    // The invisible root item whose items the menu shows.
    TMenuItem* Items() const { return FItems; }
    // The item with `command` at any depth, merged menus included, or null.
    TMenuItem* FindItem(unsigned command) const { return FItems->Find(command); }

    // Shows the items of `menu` behind this menu's own, and finds them, until
    // Unmerge (or until either menu goes). One menu at a time: merging
    // another replaces it; null unmerges.
    void Merge(TMenu* menu);
    void Unmerge(TMenu* menu);

private:
    TMenuItem* FItems;
};

// A menu shown on request at a point of the screen.
class TPopupMenu : public TMenu {
public:
    explicit TPopupMenu(TComponent* owner);
    ~TPopupMenu() override;

    // Platform: shows the menu with its top-left corner at the screen point
    // (x, y) and returns when it closes. The command of a chosen item is
    // posted to the thread's queue and carried out when it is dispatched.
    void Popup(int x, int y);

    // Carries out the command of an item of any live popup menu (merged
    // menus included): runs its OnClick. False when no item has it.
    static bool DispatchCommand(unsigned command);
};
