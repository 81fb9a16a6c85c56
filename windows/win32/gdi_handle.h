#pragma once
// Owning wrappers for the handles the runner creates: each is released once,
// by whoever holds it.
#include <windows.h>

#include <utility>

namespace kz::win {

template <class Handle, class Deleter>
class Owned {
public:
    Owned() = default;
    explicit Owned(Handle handle) : handle_(handle) {}
    ~Owned() { reset(); }
    Owned(Owned&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    Owned& operator=(Owned&& other) noexcept {
        if (this != &other) reset(std::exchange(other.handle_, nullptr));
        return *this;
    }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    void reset(Handle handle = nullptr) {
        if (handle_) Deleter{}(handle_);
        handle_ = handle;
    }
    Handle release() { return std::exchange(handle_, nullptr); }

private:
    Handle handle_ = nullptr;
};

struct DeleteGdiObject {
    void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
struct DestroyIconHandle {
    void operator()(HICON icon) const { DestroyIcon(icon); }
};
struct FreeModule {
    void operator()(HMODULE module) const { FreeLibrary(module); }
};

using OwnedFont = Owned<HFONT, DeleteGdiObject>;
using OwnedBrush = Owned<HBRUSH, DeleteGdiObject>;
using OwnedBitmap = Owned<HBITMAP, DeleteGdiObject>;
using OwnedIcon = Owned<HICON, DestroyIconHandle>;
using OwnedLibrary = Owned<HMODULE, FreeModule>;

}  // namespace kz::win
