#pragma once
// The GDI objects (fonts, bitmaps) that the current page and the dialogs
// opened over it made for their controls. They live until the page is
// replaced: the page host deletes them all then.
#include <windows.h>

#include <array>
#include <vector>

#include "win32/gdi_handle.h"

namespace kz::win {

using OwnedGdiObject = Owned<HGDIOBJ, DeleteGdiObject>;

class PageObjects {
public:
    static constexpr int slot_count = 7;

    // Keeps the object in slot 1 to 7. An object already in the slot is not
    // deleted, since its control may still show it (the home page's label
    // keeps its font while the About box opened over the page uses slot 1
    // too): it is deleted with the others at the next page change.
    void store(int slot, OwnedGdiObject object);
    template <class Handle, class Deleter>
    void store(int slot, Owned<Handle, Deleter> object) {
        store(slot, OwnedGdiObject(object.release()));
    }

    // Deletes every object kept; while a dialog holds them, when it closes.
    void clear();

    // Held by a dialog that shows some of the objects while it is open over
    // the page (the About box): a page change meanwhile (the time limit
    // running out) leaves its fonts alone until it closes.
    class Hold {
    public:
        explicit Hold(PageObjects& objects);
        ~Hold();
        Hold(const Hold&) = delete;
        Hold& operator=(const Hold&) = delete;

    private:
        PageObjects& objects_;
    };

private:
    std::array<OwnedGdiObject, slot_count> slots_;
    std::vector<OwnedGdiObject> replaced_;
    std::vector<OwnedGdiObject> held_back_;  // cleared while held: deleted when the last hold ends
    int holds_ = 0;
};

}  // namespace kz::win
