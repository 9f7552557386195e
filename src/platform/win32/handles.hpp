// Move-only owners for Win32 handles. Each wrapper is named after what acquired the handle,
// so the matching release call is never in doubt.
#pragma once

#include "platform/owned.hpp"

#include <windows.h>

namespace ondrel {

// Process, thread, event, job and pipe handles: null when absent.
struct KernelHandleTraits {
    using Handle = HANDLE;
    static Handle invalid() { return nullptr; }
    static void close(Handle h) { ::CloseHandle(h); }
};
using UniqueHandle = Owned<KernelHandleTraits>;

// CreateFileW reports failure with INVALID_HANDLE_VALUE rather than null.
struct FileHandleTraits {
    using Handle = HANDLE;
    static Handle invalid() { return INVALID_HANDLE_VALUE; }
    static void close(Handle h) { ::CloseHandle(h); }
};
using UniqueFile = Owned<FileHandleTraits>;

struct RegistryKeyTraits {
    using Handle = HKEY;
    static Handle invalid() { return nullptr; }
    static void close(Handle h) { ::RegCloseKey(h); }
};
using UniqueRegistryKey = Owned<RegistryKeyTraits>;

// GDI objects made with Create*: fonts, brushes, pens, bitmaps, regions.
template <class T> struct GdiObjectTraits {
    using Handle = T;
    static Handle invalid() { return nullptr; }
    static void close(Handle h) { ::DeleteObject(h); }
};
using UniqueFont = Owned<GdiObjectTraits<HFONT>>;
using UniqueBrush = Owned<GdiObjectTraits<HBRUSH>>;
using UniquePen = Owned<GdiObjectTraits<HPEN>>;
using UniqueBitmap = Owned<GdiObjectTraits<HBITMAP>>;
using UniqueRegion = Owned<GdiObjectTraits<HRGN>>;

// A DC from CreateCompatibleDC is deleted with DeleteDC.
struct CompatibleDcTraits {
    using Handle = HDC;
    static Handle invalid() { return nullptr; }
    static void close(Handle h) { ::DeleteDC(h); }
};
using CompatibleDc = Owned<CompatibleDcTraits>;

struct MenuTraits {
    using Handle = HMENU;
    static Handle invalid() { return nullptr; }
    static void close(Handle h) { ::DestroyMenu(h); }
};
using UniqueMenu = Owned<MenuTraits>;

// Only for windows the program itself destroys (tool windows, not the main window).
struct WindowTraits {
    using Handle = HWND;
    static Handle invalid() { return nullptr; }
    static void close(Handle h) { ::DestroyWindow(h); }
};
using UniqueWindow = Owned<WindowTraits>;

struct LocalMemoryTraits {
    using Handle = HLOCAL;
    static Handle invalid() { return nullptr; }
    static void close(Handle h) { ::LocalFree(h); }
};
using LocalMemory = Owned<LocalMemoryTraits>;

// A DC from GetDC is given back with ReleaseDC, which needs the window too.
class WindowDc {
public:
    explicit WindowDc(HWND window) : window_(window), dc_(::GetDC(window)) {}
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    ~WindowDc() {
        if (dc_ != nullptr) {
            ::ReleaseDC(window_, dc_);
        }
    }
    HDC get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// Puts a GDI object into a DC for one scope and puts the previous one back.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(::SelectObject(dc, object)) {}
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;
    ~SelectedObject() { ::SelectObject(dc_, previous_); }

private:
    HDC dc_;
    HGDIOBJ previous_;
};

} // namespace ondrel
