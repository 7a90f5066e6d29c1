#include "gui/Object.h"

#include "platform/StartupValues.h"
#include "platform/Text.h"

#include <algorithm>
#include <map>

namespace VellGui {

namespace {

// Every subclassed toolkit window and its object. A handle is here exactly while its
// object has the window subclassed.
std::map<HWND, IObject*> windowMap;

int anchorOffset(uint8_t code, int size) {
    if (code == kAnchorStart)
        return 0;
    if (code == kAnchorCentre)
        return -(size / 2);
    return -size;
}

// The window is gone for good: its object no longer has one.
void forgetWindow(HWND window) {
    auto found = windowMap.find(window);
    if (found == windowMap.end())
        return;
    found->second->hwnd = nullptr;
    found->second->previousProc = nullptr;
    windowMap.erase(found);
}

// https://learn.microsoft.com/windows/win32/winmsg/window-procedures
LRESULT CALLBACK windowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto found = windowMap.find(window);
    if (found == windowMap.end())
        return 0;
    IObject* object = found->second;
    // Owner drawing goes straight to the control it is for.
    if (msg == WM_DRAWITEM && lParam) {
        const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        bool child = item.CtlType != ODT_MENU && GetParent(item.hwndItem) == window;
        auto control = child ? windowMap.find(item.hwndItem) : windowMap.end();
        if (control != windowMap.end()) {
            control->second->drawItem(item);
            return TRUE;
        }
    }
    LRESULT result = object->dispatch(window, msg, wParam, lParam);
    if (result == kHandled)
        result = 0;
    else if (result == kNotHandled) {
        // A handler may have closed the window (or destroyed its object): then there is
        // no previous procedure left to call.
        found = windowMap.find(window);
        bool stillOurs =
            found != windowMap.end() && found->second == object && object->previousProc;
        result = stillOurs ? CallWindowProcW(object->previousProc, window, msg, wParam, lParam) : 0;
    }
    // Child windows die with their parent while their objects live on (a closed screen's
    // controls until the screen object goes): drop the dead handle now, so it can never
    // be mistaken for a new window that happens to get the same value.
    if (msg == WM_NCDESTROY)
        forgetWindow(window);
    return result;
}

} // namespace

IObject::~IObject() {
    destroyWindow();
    detach();
    // Children may outlive this object: leave none pointing at it.
    for (IObject* child : children)
        child->parent = nullptr;
}

void IObject::layout() {
    x = anchorX + anchorOffset(hAnchor, width);
    y = anchorY + anchorOffset(vAnchor, height);
}

void IObject::setNaturalSize(int w, int h) {
    if (fixedWidth == 0)
        width = w;
    if (fixedHeight == 0)
        height = h;
    layout();
}

void IObject::setPosition(int newX, int newY) {
    x = anchorX = newX;
    y = anchorY = newY;
    layoutAndMove();
}

void IObject::setSize(int w, int h) {
    width = fixedWidth = w;
    height = fixedHeight = h;
    layoutAndMove();
}

void IObject::layoutAndMove() {
    layout();
    if (hwnd)
        MoveWindow(hwnd, x, y, width, height, TRUE);
}

void IObject::setHAnchor(uint8_t code) {
    hAnchor = code;
    layout();
}

void IObject::setVAnchor(uint8_t code) {
    vAnchor = code;
    layout();
}

void IObject::setEnabled(bool on) {
    if (on == enabled)
        return;
    enabled = on;
    if (!hwnd)
        return;
    // Through the opposite state first: every change then includes a disabling, and with
    // it the WM_CANCELMODE on which labels refresh themselves.
    EnableWindow(hwnd, !on);
    EnableWindow(hwnd, on);
}

IObject* IObject::fromHandle(HWND window) {
    auto found = windowMap.find(window);
    return found == windowMap.end() ? nullptr : found->second;
}

void IObject::draw(const DRAWITEMSTRUCT&) {}

void IObject::printClient(HDC dc) {
    // https://learn.microsoft.com/windows/win32/gdi/wm-printclient
    SendMessageW(hwnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
}

void IObject::drawItem(const DRAWITEMSTRUCT& item) {
    // Asked by its own paint (the context is its window's), not by the window's picture.
    if (paintsOverBackground() && hwnd && WindowFromDC(item.hDC) == hwnd) {
        // The top-level window of the toolkit draws its controls into its picture.
        HWND root = GetAncestor(hwnd, GA_ROOT);
        if (root && root != hwnd && fromHandle(root)) {
            RECT area = {};
            GetWindowRect(hwnd, &area);
            MapWindowPoints(nullptr, root, reinterpret_cast<POINT*>(&area), 2);
            InvalidateRect(root, &area, FALSE);
            return;
        }
    }
    draw(item);
}

void IObject::redraw() {
    if (!hwnd)
        return;
    if (parent && parent->hwnd) {
        RECT area = {x, y, x + width, y + height};
        InvalidateRect(parent->hwnd, &area, FALSE);
    }
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE);
}

void IObject::setDpi(UINT newDpi) {
    dpi = newDpi;
    for (IObject* child : children)
        child->setDpi(newDpi);
}

void IObject::createWindow(IObject* parentObject, DWORD exStyle, const char* windowClass,
                           const char* text) {
    if (hwnd)
        destroyWindow();
    inheritDpi(parentObject);
    hwnd = CreateWindowExW(exStyle, toWide(windowClass), toWide(text), style, x, y, width, height,
                           parentObject ? parentObject->hwnd : nullptr, nullptr, startup::instance,
                           nullptr);
    if (hwnd)
        subclass();
}

void IObject::destroyWindow() {
    if (!hwnd)
        return;
    // Still mapped, so the object hears its own WM_DESTROY; WM_NCDESTROY unmaps it. Should
    // the window survive (it belongs to another thread), the subclassing is undone here.
    DestroyWindow(hwnd);
    unsubclass();
    hwnd = nullptr;
}

void IObject::subclass() {
    if (!hwnd || windowMap.contains(hwnd))
        return;
    windowMap.emplace(hwnd, this);
    previousProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(windowProc)));
}

void IObject::unsubclass() {
    auto found = windowMap.find(hwnd);
    if (!hwnd || found == windowMap.end())
        return;
    windowMap.erase(found);
    // Fails quietly when the window has already been destroyed.
    SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previousProc));
    previousProc = nullptr;
}

void IObject::attach(IObject* parentObject) {
    if (parent)
        detach();
    parent = parentObject;
    if (parentObject)
        parentObject->children.push_back(this);
}

void IObject::detach() {
    if (!parent)
        return;
    auto& siblings = parent->children;
    auto found = std::find(siblings.begin(), siblings.end(), this);
    if (found != siblings.end())
        siblings.erase(found);
    parent = nullptr;
}

LRESULT IObject::dispatch(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    // By index: a handler may attach or detach objects while the walk goes on.
    for (size_t i = 0; i < children.size(); ++i) {
        LRESULT result = children[i]->dispatch(window, msg, wParam, lParam);
        if (result != kNotHandled && result != kHandled)
            return result;
    }
    return handleMessage(window, msg, wParam, lParam);
}

} // namespace VellGui
