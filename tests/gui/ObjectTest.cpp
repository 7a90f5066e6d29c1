// Control objects: routing through the shared window procedure, subclassing, the
// parent/child lists, anchors and the enabled state.
#include "tests/gui/GuiTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace gui_testing;
using VellGui::IObject;

namespace {

constexpr UINT kAsk = WM_APP + 5;

class Routing : public ::testing::Test {
protected:
    void SetUp() override {
        useThisModule();
        registerPlainClass();
        plainProcCalls.clear();
    }
    void TearDown() override { drainQuit(); }

    // A probe that logs its name for kAsk and answers with `answer`.
    void logAs(Probe& probe, const char* name, LRESULT& answer) {
        probe.handler = [this, name, &answer](HWND, UINT msg, WPARAM, LPARAM) -> LRESULT {
            if (msg != kAsk)
                return 0;
            log.push_back(name);
            return answer;
        };
    }

    // A popup of the counting class, owned by `probe`.
    static void createPlain(IObject& probe, DWORD style = WS_POPUP, IObject* parent = nullptr) {
        probe.style = style;
        probe.createWindow(parent, 0, "GuiTestPlain", nullptr);
        ASSERT_NE(probe.hwnd, nullptr);
    }

    std::vector<std::string> log;
};

} // namespace

TEST_F(Routing, DescendantsFirstDepthFirstAndAResultEndsTheWalk) {
    HookedWindow window;
    window.setSize(200, 100);
    window.create(nullptr, "Routing", 0);
    Probe child, grandchild, sibling;
    LRESULT windowAnswer = 0, childAnswer = 0, grandchildAnswer = 0, siblingAnswer = 0;
    window.hook = [&](HWND, UINT msg, WPARAM, LPARAM) -> LRESULT {
        if (msg == kAsk)
            log.push_back("window");
        return msg == kAsk ? windowAnswer : 0;
    };
    logAs(child, "child", childAnswer);
    logAs(grandchild, "grandchild", grandchildAnswer);
    logAs(sibling, "sibling", siblingAnswer);
    child.attach(&window);
    grandchild.attach(&child);
    sibling.attach(&window);

    windowAnswer = 9;
    EXPECT_EQ(SendMessageW(window.hwnd, kAsk, 0, 0), 9);
    EXPECT_EQ(log, (std::vector<std::string>{"grandchild", "child", "sibling", "window"}));

    // A real result from the child: neither the later sibling nor the window hears it.
    log.clear();
    childAnswer = 42;
    EXPECT_EQ(SendMessageW(window.hwnd, kAsk, 0, 0), 42);
    EXPECT_EQ(log, (std::vector<std::string>{"grandchild", "child"}));

    // A descendant's "handled" does not stop the walk; only the window's own counts.
    log.clear();
    childAnswer = 0;
    grandchildAnswer = VellGui::kHandled;
    siblingAnswer = VellGui::kHandled;
    windowAnswer = 0;
    EXPECT_EQ(SendMessageW(window.hwnd, kAsk, 0, 0), 0);
    EXPECT_EQ(log, (std::vector<std::string>{"grandchild", "child", "sibling", "window"}));
}

TEST_F(Routing, HandledSkipsThePreviousProcedureAndOtherResultsAreReturned) {
    Probe probe;
    LRESULT answer = VellGui::kHandled;
    logAs(probe, "probe", answer);
    createPlain(probe);
    plainProcCalls.clear();
    EXPECT_EQ(SendMessageW(probe.hwnd, kAsk, 0, 0), 0);
    EXPECT_EQ(plainProcCalls[kAsk], 0);
    answer = 0;
    SendMessageW(probe.hwnd, kAsk, 0, 0);
    EXPECT_EQ(plainProcCalls[kAsk], 1);
}

TEST_F(Routing, ClosingFromItsOwnCloseCallsNoStaleProcedure) {
    Probe probe;
    probe.handler = [&](HWND, UINT msg, WPARAM, LPARAM) -> LRESULT {
        if (msg == WM_CLOSE)
            probe.destroyWindow();
        return 0;
    };
    createPlain(probe);
    HWND window = probe.hwnd;
    plainProcCalls.clear();
    EXPECT_EQ(SendMessageW(window, WM_CLOSE, 0, 0), 0);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(probe.hwnd, nullptr);
    EXPECT_EQ(plainProcCalls[WM_DESTROY], 1); // heard while still subclassed
    EXPECT_EQ(plainProcCalls[WM_CLOSE], 0);

    // The same through a top-level window, whose WM_CLOSE closes it.
    VellGui::Window top;
    top.setSize(100, 100);
    top.create(nullptr, "Closing", 0);
    HWND topWindow = top.hwnd;
    EXPECT_EQ(SendMessageW(topWindow, WM_CLOSE, 0, 0), 0);
    EXPECT_FALSE(IsWindow(topWindow));
    WNDCLASSEXW info = {};
    info.cbSize = sizeof(info);
    EXPECT_FALSE(GetClassInfoExW(GetModuleHandleW(nullptr), L"Closing_window_class", &info));
    MSG quit;
    EXPECT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    top.close(); // again: harmless
}

TEST_F(Routing, UnsubclassRestoresThePreviousProcedure) {
    Probe probe;
    int heard = 0;
    probe.handler = [&](HWND, UINT msg, WPARAM, LPARAM) -> LRESULT {
        heard += msg == kAsk;
        return 0;
    };
    createPlain(probe);
    EXPECT_NE(GetWindowLongPtrW(probe.hwnd, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(plainProc));
    // A second subclass must not take the toolkit's own procedure for the previous one.
    probe.subclass();
    SendMessageW(probe.hwnd, kAsk, 0, 0);
    EXPECT_EQ(heard, 1);

    probe.unsubclass();
    EXPECT_EQ(GetWindowLongPtrW(probe.hwnd, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(plainProc));
    EXPECT_EQ(probe.previousProc, nullptr);
    SendMessageW(probe.hwnd, kAsk, 0, 0);
    EXPECT_EQ(heard, 1);
    EXPECT_EQ(plainProcCalls[kAsk], 2);
    DestroyWindow(probe.hwnd);
    probe.hwnd = nullptr;
}

TEST_F(Routing, ChildWindowsThatDieWithTheirParentLeaveNoStaleHandle) {
    Probe parent, child;
    createPlain(parent);
    createPlain(child, WS_CHILD, &parent);
    HWND childWindow = child.hwnd;
    parent.destroyWindow();
    EXPECT_FALSE(IsWindow(childWindow));
    EXPECT_EQ(child.hwnd, nullptr);
    EXPECT_EQ(child.previousProc, nullptr);
}

TEST_F(Routing, FailedCreationLeavesNoWindow) {
    Probe probe;
    probe.style = WS_POPUP;
    probe.createWindow(nullptr, 0, "NoSuchClass", "x");
    EXPECT_EQ(probe.hwnd, nullptr);
    probe.setPosition(5, 5);
    probe.setEnabled(false);
    probe.redraw();
    EXPECT_EQ(probe.x, 5);
}

TEST(ObjectTree, AttachMovesAnObjectAndDetachKeepsTheOthersInOrder) {
    Probe first, second, a, b, c;
    a.attach(&first);
    b.attach(&first);
    c.attach(&first);
    b.attach(&second);
    EXPECT_EQ(first.children, (std::vector<IObject*>{&a, &c}));
    EXPECT_EQ(second.children, (std::vector<IObject*>{&b}));
    EXPECT_EQ(b.parent, &second);
    a.detach();
    EXPECT_EQ(first.children, (std::vector<IObject*>{&c}));
    EXPECT_EQ(a.parent, nullptr);
    {
        Probe shortLived;
        c.attach(&shortLived);
    }
    EXPECT_EQ(c.parent, nullptr); // not left pointing at a destroyed parent
}

TEST(ObjectLayout, AnchorsPlaceByRightEdgeOrCentre) {
    Probe right;
    right.setPosition(600, 394);
    right.setHAnchor(VellGui::kAnchorEnd);
    right.setNaturalSize(80, 20);
    EXPECT_EQ(right.x, 520);
    EXPECT_EQ(right.y, 394);
    right.setVAnchor(7); // any other code is the far edge too
    EXPECT_EQ(right.y, 374);

    Probe centred;
    centred.setPosition(600, 394);
    centred.setHAnchor(VellGui::kAnchorCentre);
    centred.setNaturalSize(81, 20);
    EXPECT_EQ(centred.x, 560);
}

TEST(ObjectLayout, AnExplicitSizeWinsOverTheNaturalSizePerAxis) {
    Probe fixed;
    fixed.setSize(176, 34);
    fixed.setNaturalSize(90, 25);
    EXPECT_EQ(fixed.width, 176);
    EXPECT_EQ(fixed.height, 34);

    Probe heightOnly;
    heightOnly.setSize(0, 23);
    heightOnly.setNaturalSize(57, 18);
    EXPECT_EQ(heightOnly.width, 57);
    EXPECT_EQ(heightOnly.height, 23);
}

TEST_F(Routing, SetEnabledPassesThroughTheOppositeStateOnlyOnAChange) {
    Probe probe;
    int cancelModes = 0;
    std::vector<WPARAM> enables;
    probe.handler = [&](HWND, UINT msg, WPARAM wParam, LPARAM) -> LRESULT {
        cancelModes += msg == WM_CANCELMODE;
        if (msg == WM_ENABLE)
            enables.push_back(wParam);
        return 0;
    };
    createPlain(probe);

    probe.setEnabled(false);
    EXPECT_FALSE(IsWindowEnabled(probe.hwnd));
    EXPECT_EQ(cancelModes, 1);
    EXPECT_EQ(enables, (std::vector<WPARAM>{FALSE}));

    probe.setEnabled(false);
    EXPECT_EQ(cancelModes, 1);
    EXPECT_EQ(enables.size(), 1u);

    // Enabling passes through a disabling too, so labels hear WM_CANCELMODE both ways.
    probe.setEnabled(true);
    EXPECT_TRUE(IsWindowEnabled(probe.hwnd));
    EXPECT_EQ(cancelModes, 2);
    EXPECT_EQ(enables, (std::vector<WPARAM>{FALSE, TRUE}));

    probe.setEnabled(true);
    EXPECT_EQ(cancelModes, 2);
}
